// The POSIX platform: the platform contract in a real temporary folder, and real processes
// started from the game folder (the stand-in gfxpak1 copied there).
#include "platform/posix/posix_platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/contract/platform_contract.h"
#include "testing/helpers.h"

namespace verdantix::posix {
namespace {

namespace fs = std::filesystem;

ContractTarget PosixTarget() {
  auto folder = std::make_shared<TemporaryFolder>();
  ContractTarget target;
  target.platform = std::make_unique<PosixPlatform>(CreateTerminalUi(), folder->path().string());
  target.root = folder->path().string();
  target.program_elsewhere = "sh";
  target.hide = [](const std::string& path) {
    std::string name = ".";  // built in two steps: GCC 12 warns wrongly about "." + string
    name += fs::path(path).filename().string();
    fs::path hidden = fs::path(path).parent_path() / name;
    fs::rename(path, hidden);
    return hidden.string();
  };
  target.make_read_only = [](const std::string& path) { chmod(path.c_str(), 0444); };
  // Any other open description of a file keeps a lease from being granted, as a game's would.
  target.lock = [](const std::string& path) -> std::shared_ptr<void> {
    return {nullptr, [fd = open(path.c_str(), O_RDWR)](void*) { close(fd); }};
  };
  target.tear_down = [folder]() mutable { folder.reset(); };
  return target;
}

INSTANTIATE_TEST_SUITE_P(Posix, PlatformContract, testing::Values(&PosixTarget),
                         [](const auto&) { return std::string("TemporaryFolder"); });

TEST(PosixFiles, OffsetsAndLengthsBeyondFourGibibytes) {
  TemporaryFolder folder;
  PosixPlatform platform(CreateTerminalUi(), folder.path().string());
  auto file = platform.OpenBinary((folder.path() / "zdata_02.big").string());
  const std::uint64_t five_gib = 5ull << 30;
  const std::uint8_t last[1] = {0x66};
  file->WriteAt(five_gib, last);
  EXPECT_EQ(file->Length(), five_gib + 1);
  std::uint8_t back[1] = {0};
  file->ReadAt(five_gib, back);
  EXPECT_EQ(back[0], 0x66);
}

/// A game folder holding the stand-in gfxpak1, which logs each run in its current folder.
class PosixProcesses : public testing::Test {
 protected:
  PosixProcesses() {
    fs::copy_file(VERDANTIX_GFXPAK1_STANDIN, game_.path() / "gfxpak1");
    platform_.SetCurrentFolder(game_.path().string());
  }

  /// Tells the stand-in how long to sleep and which status to exit with.
  void Control(int sleep_ms, int exit_status) {
    std::ofstream(game_.path() / "gfxpak1.control") << sleep_ms << ' ' << exit_status << '\n';
  }

  /// Runs `command_line` as Form1's ejecutar does.
  void Run(const std::string& command_line) {
    platform_.WaitForExit(*platform_.StartHidden(command_line));
  }

  /// The runs the stand-in logged, in order: its current folder, then its arguments.
  std::vector<std::string> Runs() {
    std::vector<std::string> runs;
    std::ifstream log(game_.path() / "gfxpak1.log");
    for (std::string line; std::getline(log, line);) {
      runs.push_back(line.substr(line.find('\t', line.find('\t') + 1) + 1));  // times dropped
    }
    return runs;
  }

  TemporaryFolder game_;
  PosixPlatform platform_{CreateTerminalUi(), game_.path().string()};
};

TEST_F(PosixProcesses, TheRunnerReturnsOnlyOnceTheToolHasEndedWhateverItsStatus) {
  Control(300, 259);
  Run("gfxpak1 /i c d b my file.pak /c");
  // The stand-in writes its log as its last act, after sleeping; a blank splits a field.
  EXPECT_EQ(Runs(),
            std::vector<std::string>{game_.path().string() + "\t/i\tc\td\tb\tmy\tfile.pak\t/c"});
}

}  // namespace
}  // namespace verdantix::posix
