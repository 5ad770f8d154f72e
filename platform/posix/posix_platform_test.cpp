// The POSIX platform: the platform contract in a real temporary folder, then the tool's real
// processes and the terminal front.
#include "platform/posix/posix_platform.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "platform/contract/platform_contract.h"
#include "platform/posix/posix_files.h"
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
    fs::path hidden = fs::path(path).parent_path() / (fs::path(".") += fs::path(path).filename());
    fs::rename(path, hidden);
    return hidden.string();
  };
  target.make_read_only = [](const std::string& path) { fs::permissions(path, fs::perms(0444)); };
  // Any other open description of a file keeps a lease from being granted, as a game's would;
  // where no lease is granted at all (a network file system), no held file can be told.
  const fs::path probe = folder->path() / "probe";
  std::ofstream(probe).put('x');
  if (fcntl(Descriptor(open(probe.c_str(), O_RDONLY)).get(), F_SETLEASE, F_WRLCK) == 0) {
    target.lock = [](const std::string& path) -> std::shared_ptr<void> {
      return {nullptr, [fd = open(path.c_str(), O_RDWR)](void*) { close(fd); }};
    };
  }
  fs::remove(probe);
  target.tear_down = [folder]() mutable { folder.reset(); };
  return target;
}

INSTANTIATE_TEST_SUITE_P(Posix, PlatformContract, testing::Values(&PosixTarget),
                         [](const auto&) { return std::string("TemporaryFolder"); });

TEST(Tool, IsStartedOnlyFromTheGameFolderAndAsAProgram) {
  TemporaryFolder game, current;
  PosixPlatform platform(CreateTerminalUi(), game.path().string());
  auto start = [&] { platform.StartHidden("gfxpak1 /r a a"); };
  const auto not_found = ThrowsRuntimeError(ErrorNumber::kFileNotFound, "gfxpak1 /r a a");
  fs::copy_file(VERDANTIX_GFXPAK1_STANDIN, current.path() / "gfxpak1");
  platform.SetCurrentFolder(current.path().string());
  EXPECT_THAT(start, not_found) << "the tool in the current folder only";
  std::ofstream(game.path() / "gfxpak1") << "not a program";
  fs::permissions(game.path() / "gfxpak1", fs::perms::owner_all);
  EXPECT_THAT(start, not_found) << "a file that the system cannot run";
}

TEST(Tool, RunsInTheCurrentFolderWithTheListsBytesAndNoSignalSetAside) {
  TemporaryFolder game, current;
  PosixPlatform platform(CreateTerminalUi(), game.path().string());
  fs::copy_file(VERDANTIX_GFXPAK1_STANDIN, game.path() / "gfxpak1");
  platform.SetCurrentFolder(current.path().string());
  std::ofstream(current.path() / "gfxpak1.control") << "300";  // it sleeps 300 ms: the wait waits
  // As under GTK, which ignores SIGPIPE; and one signal blocked.
  sigset_t blocked;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  const std::string list_item = platform.FromAnsiCodePage("f\xE9le.pak");  // not UTF-8
  platform.WaitForExit(*platform.StartHidden("gfxpak1 /i c d b my " + list_item + " /c"));
  std::ostringstream log;
  log << std::ifstream(current.path() / "gfxpak1.log").rdbuf();
  EXPECT_EQ(log.str().substr(log.str().find("\tSig")),
            "\tSigBlk:\t0000000000000000\tSigIgn:\t0000000000000000\t" + current.path().string() +
                "\t/i\tc\td\tb\tmy\tf\xE9le.pak\t/c\n");
}

TEST(TerminalUi, OnATerminalAMessageWaitsForEnterAndTheWindowForTheEndOfInput) {
  int terminal = -1, user = -1;
  if (openpty(&terminal, &user, nullptr, nullptr, nullptr) != 0) {
    GTEST_SKIP() << "no pseudo-terminal here (/dev/ptmx)";
  }
  termios settings{};
  tcgetattr(user, &settings);
  settings.c_lflag &= ~static_cast<tcflag_t>(ECHO);  // what the user types is not read back
  tcsetattr(user, TCSANOW, &settings);
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {  // std::exit, so that a coverage build writes the child's counts too
    // An input that does not block, as a shell may leave it.
    if (dup2(user, STDIN_FILENO) < 0 || dup2(user, STDOUT_FILENO) < 0 ||
        fcntl(user, F_SETFL, O_NONBLOCK) != 0) {
      std::exit(2);
    }
    auto ui = CreateTerminalUi();
    ui->ShowMessage("Brantwell Installed", MessageIcon::kNone);
    ui->ShowWindowUntilClosed();
    std::exit(0);
  }
  // Reads what the program shows next (waiting up to 10 s for it), then sees it wait there.
  fcntl(terminal, F_SETFL, O_NONBLOCK);
  auto shows_and_waits = [&](const char* expected) {
    pollfd output{terminal, POLLIN, 0};
    char shown[64] = {};
    poll(&output, 1, 10000);
    EXPECT_GT(read(terminal, shown, sizeof shown - 1), 0);
    EXPECT_STREQ(shown, expected);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(poll(&output, 1, 0), 0) << "it went on after " << expected;
    EXPECT_EQ(waitpid(child, nullptr, WNOHANG), 0) << "it ended after " << expected;
  };
  shows_and_waits("message: Brantwell Installed\r\n");
  EXPECT_EQ(write(terminal, "\n", 1), 1);
  shows_and_waits("window: \r\n");
  EXPECT_EQ(write(terminal, "\x04", 1), 1);  // Ctrl-D
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0);
  close(terminal);
  close(user);
}

}  // namespace
}  // namespace verdantix::posix
