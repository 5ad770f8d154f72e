// The in-memory platform keeps the platform contract, like the real ones.
#include "platform/memory/memory_platform.h"
#include "platform/contract/platform_contract.h"

namespace verdantix {
namespace {

ContractTarget MemoryTarget() {
  auto disk = std::make_unique<MemoryPlatform>("C:\\Games\\FIFA 2004");
  MemoryPlatform* raw = disk.get();
  raw->AddFile("C:\\Windows\\System32\\cmd.exe", {});
  ContractTarget target;
  target.platform = std::move(disk);
  target.root = raw->GameFolder();
  target.program_elsewhere = "cmd";
  target.hide = [raw](const std::string& path) {
    raw->SetHidden(path);
    return path;
  };
  target.finds_names_in_any_case = false;
  target.holds_files_beyond_4_gib = false;
  return target;
}

INSTANTIATE_TEST_SUITE_P(Memory, PlatformContract, testing::Values(&MemoryTarget),
                         [](const auto&) { return std::string("InMemory"); });

}  // namespace
}  // namespace verdantix
