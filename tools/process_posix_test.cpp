// The process runner with real processes: the stand-in gfxpak1 beside this test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/memory/matchers.h"
#include "platform/posix/posix_platform.h"
#include "tools/process_runner.h"

namespace verdantix {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

/// A fresh current folder, where the stand-in reads its control file and writes its log.
class RealProcesses : public testing::Test {
 protected:
  RealProcesses() {
    fs::create_directories(folder_);
    fs::current_path(folder_);
  }
  ~RealProcesses() override {
    fs::current_path(previous_);
    fs::remove_all(folder_);
  }

  /// Tells the stand-in how long to sleep and which status to exit with.
  void Control(int sleep_ms, int exit_status) {
    std::ofstream(folder_ / "gfxpak1.control") << sleep_ms << ' ' << exit_status << '\n';
  }

  /// The runs the stand-in logged, in order: its current folder, then its arguments.
  std::vector<Words> Runs() {
    std::vector<Words> runs;
    std::ifstream log(folder_ / "gfxpak1.log");
    for (std::string line; std::getline(log, line);) {
      std::istringstream fields(line);
      Words& run = runs.emplace_back();
      for (std::string word; std::getline(fields, word, '\t');) run.push_back(word);
      run.erase(run.begin(), run.begin() + 2);  // the start and end times
    }
    return runs;
  }

  fs::path folder_ =
      fs::temp_directory_path() / ("verdantix-tools-" + std::to_string(std::random_device()()));
  fs::path previous_ = fs::current_path();
  posix::PosixPlatform platform_{posix::CreateTerminalUi(), folder_.string()};
};

TEST_F(RealProcesses, RunnerReturnsOnlyAfterTheToolHasEnded) {
  Control(300, 0);
  RunAndWait(platform_, "gfxpak1 /i a b");
  // The stand-in writes its log as its last act, after sleeping.
  EXPECT_EQ(Runs(), (std::vector<Words>{{folder_.string(), "/i", "a", "b"}}));
}

TEST_F(RealProcesses, MissingProgramIsFileNotFoundWithTheCommandLine) {
  EXPECT_THAT([this] { RunAndWait(platform_, "gfxpak1-missing /i a b"); },
              ThrowsRuntimeError(ErrorNumber::kFileNotFound, "gfxpak1-missing /i a b"));
}

TEST_F(RealProcesses, StillActiveExitStatusReturns) {
  Control(0, 259);
  RunAndWait(platform_, "gfxpak1 /r x x");
  EXPECT_EQ(Runs().size(), 1u);
}

TEST_F(RealProcesses, ABlankInAFieldSplitsItIntoTwoWords) {
  RunAndWait(platform_, "gfxpak1 /i c d b my file.pak /c");
  ASSERT_EQ(Runs().size(), 1u);
  EXPECT_EQ(Runs()[0], (Words{folder_.string(), "/i", "c", "d", "b", "my", "file.pak", "/c"}));
}

}  // namespace
}  // namespace verdantix
