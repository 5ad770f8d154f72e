// The in-memory platform keeps the platform contract, like the real ones.
#include "platform/memory/memory_platform.h"
#include "platform/contract/platform_contract.h"

namespace verdantix {
namespace {

ContractTarget MemoryTarget() {
  auto disk = std::make_unique<MemoryPlatform>();
  MemoryPlatform* raw = disk.get();
  std::string root = raw->GameFolder() + "\\work";
  raw->AddFolder(root);
  ContractTarget target;
  target.platform = std::move(disk);
  target.root = root;
  target.hide = [raw](const std::string& path) {
    raw->SetHidden(path);
    return path;
  };
  target.make_read_only = [raw](const std::string& path) { raw->SetReadOnly(path); };
  return target;
}

INSTANTIATE_TEST_SUITE_P(Memory, PlatformContract, testing::Values(&MemoryTarget),
                         [](const auto&) { return std::string("InMemory"); });

}  // namespace
}  // namespace verdantix
