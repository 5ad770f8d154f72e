// The runner and the installer with real processes: the stand-in gfxpak1 beside this test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/posix/posix_platform.h"
#include "tools/package_installer.h"
#include "tools/process_runner.h"

namespace verdantix {
namespace {

namespace fs = std::filesystem;

struct Ended {
  int exit_code;
};

/// The POSIX platform whose program end returns to the test.
class TestPlatform : public posix::PosixPlatform {
 public:
  explicit TestPlatform(const std::string& folder)
      : PosixPlatform(posix::CreateTerminalUi(), folder) {}

 protected:
  [[noreturn]] void EndNow(int exit_code) override { throw Ended{exit_code}; }
};

/// One run of the stand-in: its current folder and its arguments.
struct ToolRun {
  std::string folder;
  std::vector<std::string> arguments;
};

class RealProcesses : public testing::Test {
 protected:
  RealProcesses()
      : folder_(fs::temp_directory_path() /
                ("verdantix-tools-" + std::to_string(std::random_device()()))),
        previous_(fs::current_path()) {
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

  /// The runs the stand-in logged, in order.
  std::vector<ToolRun> Runs() {
    std::vector<ToolRun> runs;
    std::ifstream log(folder_ / "gfxpak1.log");
    for (std::string line; std::getline(log, line);) {
      std::istringstream fields(line);
      std::string start, end;
      ToolRun run;
      std::getline(fields, start, '\t');
      std::getline(fields, end, '\t');
      std::getline(fields, run.folder, '\t');
      for (std::string word; std::getline(fields, word, '\t');) run.arguments.push_back(word);
      runs.push_back(run);
    }
    return runs;
  }

  fs::path folder_;
  fs::path previous_;
  TestPlatform platform_{folder_.string()};
};

TEST_F(RealProcesses, RunnerReturnsOnlyAfterTheToolHasEnded) {
  Control(300, 0);
  RunAndWait(platform_, "gfxpak1 /i a b");
  // The stand-in writes its log as its last act, after sleeping.
  ASSERT_EQ(Runs().size(), 1u);
  EXPECT_EQ(Runs()[0].arguments, (std::vector<std::string>{"/i", "a", "b"}));
  EXPECT_EQ(fs::path(Runs()[0].folder), folder_);
}

TEST_F(RealProcesses, MissingProgramIsFileNotFoundWithTheCommandLine) {
  try {
    RunAndWait(platform_, "gfxpak1-missing /i a b");
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), ErrorNumber::kFileNotFound);
    EXPECT_EQ(error.subject(), "gfxpak1-missing /i a b");
  }
}

TEST_F(RealProcesses, StillActiveExitStatusReturns) {
  Control(0, 259);
  RunAndWait(platform_, "gfxpak1 /r x x");
  EXPECT_EQ(Runs().size(), 1u);
}

TEST_F(RealProcesses, InstallerSplitsABlankFieldIntoTwoWordsAndDeletesTheList) {
  Control(0, 1);  // a failing tool does not stop the pass
  std::ofstream(folder_ / "installer.bin") << "\"my file\",b,c,1,e\r\nf,g,h,0,i\r\n";
  fs::current_path(previous_);
  try {
    RunPackageInstaller(platform_,
                        [this](std::string& command) { RunAndWait(platform_, command); });
  } catch (const Ended& ended) {
    EXPECT_EQ(ended.exit_code, 0);
  }
  std::vector<ToolRun> runs = Runs();
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].arguments, (std::vector<std::string>{"/i", "c", "b", "my", "file", "/c"}));
  EXPECT_EQ(runs[1].arguments, (std::vector<std::string>{"/r", "c", "c"}));
  EXPECT_EQ(runs[2].arguments, (std::vector<std::string>{"/i", "h", "g", "f"}));
  EXPECT_EQ(runs[3].arguments, (std::vector<std::string>{"/r", "h", "h"}));
  for (const ToolRun& run : runs) EXPECT_EQ(fs::path(run.folder), folder_);
  EXPECT_FALSE(fs::exists(folder_ / "installer.bin"));
}

}  // namespace
}  // namespace verdantix
