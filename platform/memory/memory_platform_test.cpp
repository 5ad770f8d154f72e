// The in-memory platform keeps the part of the platform contract that the logic's tests rely on.
#include "platform/memory/memory_platform.h"
#include "platform/contract/platform_contract.h"

namespace verdantix {
namespace {

ContractTarget MemoryTarget() {
  auto disk = std::make_unique<MemoryPlatform>();
  ContractTarget target;
  target.program_elsewhere = "cmd";
  target.hide = [raw = disk.get()](const std::string& path) {
    raw->SetHidden(path);
    return path;
  };
  target.platform = std::move(disk);
  return target;
}

INSTANTIATE_TEST_SUITE_P(Memory, PlatformContract, testing::Values(&MemoryTarget),
                         [](const auto&) { return std::string("InMemory"); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DiskContract);

}  // namespace
}  // namespace verdantix
