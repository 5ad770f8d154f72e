// The POSIX platform keeps the platform contract in a real temporary folder.
#include "platform/posix/posix_platform.h"

#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "platform/contract/platform_contract.h"

namespace verdantix::posix {
namespace {

namespace fs = std::filesystem;

fs::path NewTemporaryFolder() {
  std::random_device random;
  fs::path folder = fs::temp_directory_path() / ("verdantix-test-" + std::to_string(random()));
  fs::create_directories(folder);
  return folder;
}

ContractTarget PosixTarget() {
  fs::path folder = NewTemporaryFolder();
  ContractTarget target;
  target.platform = std::make_unique<PosixPlatform>(CreateTerminalUi(), folder.string());
  target.root = folder.string();
  target.hide = [](const std::string& path) {
    std::string name = ".";
    name += fs::path(path).filename().string();
    fs::path hidden = fs::path(path).parent_path() / name;
    fs::rename(path, hidden);
    return hidden.string();
  };
  target.make_read_only = [](const std::string& path) { chmod(path.c_str(), 0444); };
  target.tear_down = [folder] { fs::remove_all(folder); };
  return target;
}

INSTANTIATE_TEST_SUITE_P(Posix, PlatformContract, testing::Values(&PosixTarget),
                         [](const auto&) { return std::string("TemporaryFolder"); });

TEST(PosixPlatform, OffsetsAndLengthsBeyondFourGibibytes) {
  fs::path folder = NewTemporaryFolder();
  {
    PosixPlatform platform(CreateTerminalUi(), folder.string());
    auto file = platform.OpenBinary((folder / "zdata_02.big").string());
    const std::uint64_t five_gib = 5ull << 30;
    const std::uint8_t last[1] = {0x66};
    file->WriteAt(five_gib, last);
    EXPECT_EQ(file->Length(), five_gib + 1);
    std::uint8_t back[1] = {0};
    file->ReadAt(five_gib, back);
    EXPECT_EQ(back[0], 0x66);
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace verdantix::posix
