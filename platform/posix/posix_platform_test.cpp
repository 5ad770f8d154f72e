// The POSIX platform: the platform contract in a real temporary folder, and real processes
// started from the game folder (the stand-in gfxpak1 copied there).
#include "platform/posix/posix_platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

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

std::string Contents(const fs::path& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

enum class Step { kCopyTableOnto, kCopyFrom, kOpen, kRead };  // the step's subject is `entry`

/// A folder holding "fifa.fat" and "other", where `entry` was made a symbolic link to
/// `points_to`, a hard link to fifa.fat ("="), or a FIFO (null) before `step`.
struct SpecialFileCase {
  const char* name;
  const char* entry;
  const char* points_to;
  Step step;
  int error;  // 0: the step succeeds
};

constexpr SpecialFileCase kSpecialFiles[] = {
    {"BackUpLinkedElsewhere", "fifa.fat.bak", "other", Step::kCopyTableOnto, 0},
    {"DanglingBackUp", "fifa.fat.bak", "nowhere.big", Step::kCopyTableOnto, 0},
    {"BackUpLinkedToTable", "fifa.fat.bak", "fifa.fat", Step::kCopyTableOnto, 0},
    {"BackUpHardLinkedToTable", "fifa.fat.bak", "=", Step::kCopyTableOnto, 0},
    {"SourceFifo", "table.fifo", nullptr, Step::kCopyFrom, 75},
    {"DanglingArchive", "zdata_02.big", "nowhere.big", Step::kOpen, 75},
    {"ArchiveFifo", "zdata_02.big", nullptr, Step::kOpen, 75},
    {"ListFifo", "installer.bin", nullptr, Step::kRead, 75},
};

class PosixSpecialFiles : public testing::TestWithParam<SpecialFileCase> {};

TEST_P(PosixSpecialFiles, AreNeitherWrittenThroughNorWaitedOn) {
  const SpecialFileCase& test = GetParam();
  TemporaryFolder folder;
  const fs::path& at = folder.path();
  std::ofstream(at / "fifa.fat") << "table";
  std::ofstream(at / "other") << "other";
  const std::string entry = (at / test.entry).string(), table = (at / "fifa.fat").string();
  if (!test.points_to) mkfifo(entry.c_str(), 0666);
  if (test.points_to && *test.points_to == '=') fs::create_hard_link(table, entry);
  if (test.points_to && *test.points_to != '=') fs::create_symlink(test.points_to, entry);
  PosixPlatform platform(CreateTerminalUi(), at.string());
  int error = 0;
  try {
    if (test.step == Step::kCopyTableOnto) platform.Copy(table, entry);
    if (test.step == Step::kCopyFrom) platform.Copy(entry, table + ".bak");
    if (test.step == Step::kOpen) platform.OpenBinary(entry);
    if (test.step == Step::kRead) platform.OpenForReading(entry);
  } catch (const RuntimeError& failure) {
    error = failure.code();
  }
  EXPECT_EQ(error, test.error);
  EXPECT_EQ(Contents(at / "fifa.fat"), "table");
  EXPECT_EQ(Contents(at / "other"), "other");
  EXPECT_FALSE(fs::exists(fs::symlink_status(at / "nowhere.big")));
  if (test.step == Step::kCopyTableOnto) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(entry)));
    EXPECT_EQ(Contents(entry), "table");
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PosixSpecialFiles, testing::ValuesIn(kSpecialFiles), CaseName());

TEST(PosixNames, OfSeveralSpellingsTheFirstInByteOrderIsTakenAndUnicodeLettersFold) {
  TemporaryFolder folder;
  fs::create_directories(folder.path() / "Data");
  fs::create_directories(folder.path() / "DATA" / "\xC3\x89T\xC3\x89");  // "ÉTÉ"
  PosixPlatform platform(CreateTerminalUi(), folder.path().string());
  EXPECT_TRUE(platform.FolderExists((folder.path() / "data" / "\xC3\xA9t\xC3\xA9").string()));
}

TEST(PosixTool, IsStartedOnlyAsAnExecutableFileOfTheGameFolder) {
  TemporaryFolder game, current;
  PosixPlatform platform(CreateTerminalUi(), game.path().string());
  auto start = [&] { platform.StartHidden("gfxpak1 /r a a"); };
  const auto not_found = ThrowsRuntimeError(ErrorNumber::kFileNotFound, "gfxpak1 /r a a");
  fs::copy_file(VERDANTIX_GFXPAK1_STANDIN, current.path() / "gfxpak1");
  platform.SetCurrentFolder(current.path().string());
  EXPECT_THAT(start, not_found) << "the tool in the current folder only";
  fs::create_directory(game.path() / "gfxpak1");
  EXPECT_THAT(start, not_found) << "a folder of the tool's name";
  fs::remove(game.path() / "gfxpak1");
  fs::copy_file(VERDANTIX_GFXPAK1_STANDIN, game.path() / "gfxpak1");
  fs::permissions(game.path() / "gfxpak1", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_THAT(start, not_found) << "a file that cannot be run";
}

TEST(TerminalWindow, StaysOpenUntilAStandardInputThatDoesNotBlockEnds) {
  EXPECT_EXIT(
      {
        int ends[2];
        if (pipe2(ends, O_NONBLOCK) != 0 || dup2(ends[0], STDIN_FILENO) < 0) std::exit(2);
        std::atomic<bool> input_ended = false;
        std::thread user([&] {
          std::this_thread::sleep_for(std::chrono::milliseconds(100));
          input_ended = true;
          close(ends[1]);
        });
        CreateTerminalUi()->ShowWindowUntilClosed();
        user.join();
        std::exit(input_ended ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace verdantix::posix
