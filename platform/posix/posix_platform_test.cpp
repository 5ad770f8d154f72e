// The POSIX platform: the platform contract in a real temporary folder, then what only POSIX has:
// links, FIFOs, letter case beyond ASCII, real processes, the terminal front.
#include "platform/posix/posix_platform.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "platform/contract/platform_contract.h"
#include "testing/helpers.h"

namespace verdantix::posix {
namespace {

namespace fs = std::filesystem;

/// True when a lease is granted on a new file at `path` (removed again).
bool LeaseGranted(const fs::path& path) {
  std::ofstream(path).put('x');
  const int file = open(path.c_str(), O_RDONLY);
  const bool granted = fcntl(file, F_SETLEASE, F_WRLCK) == 0;
  close(file);
  fs::remove(path);
  return granted;
}

ContractTarget PosixTarget() {
  auto folder = std::make_shared<TemporaryFolder>();
  ContractTarget target;
  target.platform = std::make_unique<PosixPlatform>(CreateTerminalUi(), folder->path().string());
  target.program_elsewhere = "sh";
  target.hide = [](const std::string& path) {
    fs::path hidden = fs::path(path).parent_path() / (fs::path(".") += fs::path(path).filename());
    fs::rename(path, hidden);
    return hidden.string();
  };
  target.make_read_only = [](const std::string& path) { chmod(path.c_str(), 0444); };
  // Any other open description of a file keeps a lease from being granted, as a game's would;
  // where no lease is granted at all (a network file system), no held file can be told.
  if (LeaseGranted(folder->path() / "probe")) {
    target.lock = [](const std::string& path) -> std::shared_ptr<void> {
      return {nullptr, [fd = open(path.c_str(), O_RDWR)](void*) { close(fd); }};
    };
  }
  target.tear_down = [folder]() mutable { folder.reset(); };
  return target;
}

INSTANTIATE_TEST_SUITE_P(Posix, PlatformContract, testing::Values(&PosixTarget),
                         [](const auto&) { return std::string("TemporaryFolder"); });
INSTANTIATE_TEST_SUITE_P(Posix, DiskContract, testing::Values(&PosixTarget),
                         [](const auto&) { return std::string("TemporaryFolder"); });

std::string Contents(const fs::path& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

/// A POSIX platform with the terminal front whose game folder is a new temporary folder.
class PosixFolder : public testing::Test {
 protected:
  std::string At(const fs::path& name) const { return (folder_.path() / name).string(); }

  TemporaryFolder folder_;
  PosixPlatform platform_{CreateTerminalUi(), folder_.path().string()};
};

TEST_F(PosixFolder, OfSeveralSpellingsTheFirstInByteOrderIsTakenAndUnicodeLettersFold) {
  // "DATA" sorts before "Data", and is made first so that a listing may well put it last.
  fs::create_directories(At("DATA/\xC3\x89T\xC3\x89\xFF"));  // "ÉTÉ", a byte that is not UTF-8
  fs::create_directories(At("Data"));
  EXPECT_TRUE(platform_.FolderExists(At("data/\xC3\xA9t\xC3\xA9\xFF")));
  EXPECT_FALSE(platform_.FolderExists(At("data/\xC3\xA9t\xC3\xA9\xFE")));
}

TEST_F(PosixFolder, TheToolIsStartedOnlyAsAnExecutableFileOfTheGameFolder) {
  TemporaryFolder current;
  auto start = [&] { platform_.StartHidden("gfxpak1 /r a a"); };
  const auto not_found = ThrowsRuntimeError(ErrorNumber::kFileNotFound, "gfxpak1 /r a a");
  fs::copy_file(VERDANTIX_GFXPAK1_STANDIN, current.path() / "gfxpak1");
  platform_.SetCurrentFolder(current.path().string());
  EXPECT_THAT(start, not_found) << "the tool in the current folder only";
  fs::create_directory(At("gfxpak1"));
  EXPECT_THAT(start, not_found) << "a folder of the tool's name";
  fs::remove(At("gfxpak1"));
  fs::copy_file(VERDANTIX_GFXPAK1_STANDIN, At("gfxpak1"));
  fs::permissions(At("gfxpak1"), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_THAT(start, not_found) << "a file that may not be run";
  fs::permissions(At("gfxpak1"), fs::perms::owner_all);
  std::ofstream(At("gfxpak1")) << "not a program";
  EXPECT_THAT(start, not_found) << "a file that the system cannot run";
}

TEST_F(PosixFolder, TheToolRunsInTheCurrentFolderWithTheListsBytesAndNoSignalSetAside) {
  TemporaryFolder current;
  fs::copy_file(VERDANTIX_GFXPAK1_STANDIN, At("gfxpak1"));
  platform_.SetCurrentFolder(current.path().string());
  std::ofstream(current.path() / "gfxpak1.control") << "300 1\n";  // sleep (ms), exit status
  // As under GTK, which ignores SIGPIPE; and one signal blocked.
  sigset_t blocked, previous;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &blocked, &previous);
  auto ignored = std::signal(SIGPIPE, SIG_IGN);
  const std::string list_item = platform_.FromAnsiCodePage("f\xE9le.pak");  // not UTF-8
  platform_.WaitForExit(*platform_.StartHidden("gfxpak1 /i c d b my " + list_item + " /c"));
  std::signal(SIGPIPE, ignored);
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  // The stand-in logs its times, folder and arguments as its last act; a blank splits a field.
  const std::string run = Contents(current.path() / "gfxpak1.log");
  EXPECT_EQ(run.substr(run.find('\t', run.find('\t') + 1) + 1),
            current.path().string() + "\t/i\tc\td\tb\tmy\tf\xE9le.pak\t/c\n");
  EXPECT_EQ(Contents(current.path() / "gfxpak1.signals"),
            "SigBlk:\t0000000000000000\nSigIgn:\t0000000000000000\n");
}

TEST_F(PosixFolder, ABackUpThatIsALinkIsReplacedNeverWrittenThrough) {
  std::ofstream(At("fifa.fat")) << "table";
  std::ofstream(At("other")) << "other";
  const std::string table = At("fifa.fat"), back_up = At("fifa.fat.bak");
  // Symbolic links elsewhere and to the table itself, then a hard link to the table ("").
  for (std::string link_to : {"other", "fifa.fat", ""}) {
    fs::remove(back_up);
    if (link_to.empty()) fs::create_hard_link(table, back_up);
    if (!link_to.empty()) fs::create_symlink(link_to, back_up);
    platform_.Copy(table, back_up);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(back_up))) << link_to;
    EXPECT_EQ(Contents(back_up), "table") << link_to;
  }
  EXPECT_EQ(Contents(table), "table");
  EXPECT_EQ(Contents(At("other")), "other");
}

TEST_F(PosixFolder, FifosAndDanglingLinksAreRefusedWithoutWaiting) {
  const std::string fifo = At("installer.bin"), dangling = At("zdata_02.big");
  mkfifo(fifo.c_str(), 0666);
  fs::create_symlink("nowhere.big", dangling);
  auto refused = [](const std::string& path) {
    return ThrowsRuntimeError(ErrorNumber::kPathFileAccessError, path);
  };
  EXPECT_THAT([&] { platform_.Copy(fifo, At("installer.bak")); }, refused(fifo));
  EXPECT_THAT([&] { platform_.OpenBinary(fifo); }, refused(fifo));
  EXPECT_THAT([&] { platform_.OpenForReading(fifo); }, refused(fifo));
  EXPECT_THAT([&] { platform_.OpenBinary(dangling); }, refused(dangling));
  EXPECT_FALSE(fs::exists(At("nowhere.big")));
}

TEST(TerminalWindow, StaysOpenUntilAStandardInputThatDoesNotBlockEnds) {
  EXPECT_EXIT(
      {
        int ends[2];
        if (pipe2(ends, O_NONBLOCK) != 0 || dup2(ends[0], STDIN_FILENO) < 0) std::exit(2);
        std::thread user([&] {
          std::this_thread::sleep_for(std::chrono::milliseconds(100));
          close(ends[1]);
        });
        CreateTerminalUi()->ShowWindowUntilClosed();
        // The window closed only once the user had ended the input.
        std::exit(fcntl(ends[1], F_GETFD) < 0 ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(TerminalMessage, OnATerminalWaitsForEnter) {
  int terminal = -1, user = -1;
  if (openpty(&terminal, &user, nullptr, nullptr, nullptr) != 0) {
    GTEST_SKIP() << "no pseudo-terminal here (/dev/ptmx)";
  }
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {  // std::exit, so that a coverage build writes the child's counts too
    if (dup2(user, STDIN_FILENO) < 0 || dup2(user, STDOUT_FILENO) < 0) std::exit(2);
    CreateTerminalUi()->ShowMessage("Brantwell Installed", MessageIcon::kNone);
    std::exit(0);
  }
  char shown[64] = {};
  EXPECT_GT(read(terminal, shown, sizeof shown - 1), 0);
  EXPECT_STREQ(shown, "message: Brantwell Installed\r\n");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(waitpid(child, nullptr, WNOHANG), 0) << "the message did not wait";
  EXPECT_EQ(write(terminal, "\n", 1), 1);
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0);
  close(terminal);
  close(user);
}

}  // namespace
}  // namespace verdantix::posix
