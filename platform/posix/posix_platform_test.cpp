// The POSIX platform in real temporary folders and processes: the platform contract, then what
// only POSIX has.
#include "platform/posix/posix_platform.h"

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utmp.h>

#include <csignal>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>

#include "platform/contract/platform_contract.h"
#include "platform/posix/posix_files.h"
#include "testing/helpers.h"

namespace verdantix::posix {
namespace {

namespace fs = std::filesystem;
using Names = std::set<fs::path>;

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

INSTANTIATE_TEST_SUITE_P(Posix, PlatformContract, testing::Values(&PosixTarget));
INSTANTIATE_TEST_SUITE_P(Posix, DiskContract, testing::Values(&PosixTarget));

/// A POSIX platform whose game folder is a new temporary folder holding the table "fifa.fat".
class GameFolder : public testing::Test {
 protected:
  void SetUp() override { std::ofstream(At("fifa.fat")) << std::string(10000, 't'); }
  std::string At(const fs::path& name) const { return (folder_.path() / name).string(); }
  std::string Contents(const std::string& name) const {
    std::ifstream file(At(name));
    return {std::istreambuf_iterator<char>(file), {}};
  }
  Names Listed() const {
    Names names;
    for (const auto& entry : fs::directory_iterator(folder_.path()))
      names.insert(entry.path().filename());
    return names;
  }

  TemporaryFolder folder_;
  PosixPlatform platform_{CreateTerminalUi(), folder_.path().string()};
};

TEST_F(GameFolder, ACopyFirstRemovesOnlyTheUnheldFilesOfTheProgramsTemporaryNames) {
  const Names kept = {".verdantix-0123abc",  ".verdantix-0123abcd0", ".verdantix-0123ABCD",
                      ".verdantix-0123abcg", "verdantix-0123abcd",   ".verdantix-89abcdef"};
  for (const fs::path& name : kept) std::ofstream(At(name)) << "x";
  std::ofstream(At(".verdantix-0123abcd")) << "left by a killed run";
  fs::create_directory(At(".verdantix-00000000"));
  fs::create_symlink("fifa.fat", At(".verdantix-11111111"));
  Descriptor held(open(At(".verdantix-89abcdef").c_str(), O_RDONLY));  // by a running copy
  ASSERT_EQ(flock(held.get(), LOCK_EX), 0);
  platform_.Copy(At("fifa.fat"), At("fifa.fat.bak"));
  Names expected = kept;
  expected.insert({"fifa.fat", "fifa.fat.bak", ".verdantix-00000000", ".verdantix-11111111"});
  EXPECT_EQ(Listed(), expected);
}

struct ModeCase {
  const char* name;
  unsigned source, umask, copy;
};

class CopyMode : public GameFolder, public testing::WithParamInterface<ModeCase> {};

TEST_P(CopyMode, IsTheSourcesLessTheUmaskAndWritableByItsOwner) {
  fs::permissions(At("fifa.fat"), static_cast<fs::perms>(GetParam().source));
  const mode_t previous = umask(GetParam().umask);
  platform_.Copy(At("fifa.fat"), At("fifa.fat.bak"));
  umask(previous);
  EXPECT_EQ(fs::status(At("fifa.fat.bak")).permissions(), static_cast<fs::perms>(GetParam().copy));
}

INSTANTIATE_TEST_SUITE_P(Posix, CopyMode,
                         testing::Values(ModeCase{"OwnerOnly", 0600, 022, 0600},
                                         ModeCase{"StricterUmask", 0754, 027, 0750},
                                         ModeCase{"NoSpecialBits", 07755, 0, 0755},
                                         ModeCase{"UmaskWithoutOwnerWrite", 0644, 0277, 0600}),
                         CaseName());

/// From now on, fails this process's system call `number` with `error` when its argument
/// `argument` has a bit of `mask` set (always, for `mask` 0); false where no filter is allowed.
bool FailSystemCall(long number, int error, unsigned argument, std::uint32_t mask) {
  // The low half of a 64-bit argument, on a little-endian machine.
  const auto argument_at = static_cast<std::uint32_t>(offsetof(seccomp_data, args) + 8 * argument);
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<std::uint32_t>(number), 0, 3),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, argument_at),
      BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, mask, 0, static_cast<std::uint8_t>(mask == 0 ? 0 : 1)),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | static_cast<std::uint32_t>(error)),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
  return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

struct FaultCase {
  const char* name;
  long call;  ///< the system call that fails (FailSystemCall)
  int errno_value;
  unsigned argument;
  std::uint32_t mask;
  int error;  ///< the run-time error of the copy; 0: the copy is made all the same
};

class CopyFault : public GameFolder, public testing::WithParamInterface<FaultCase> {};

TEST_P(CopyFault, GivesItsErrorOrAWholeCopyAndNoStrayFile) {
  const FaultCase& c = GetParam();
  std::ofstream(At("fifa.fat.bak")) << "previous back-up";
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {  // std::exit, so that a coverage build writes the child's counts too
    if (!FailSystemCall(c.call, c.errno_value, c.argument, c.mask)) std::exit(255);
    try {
      platform_.Copy(At("fifa.fat"), At("fifa.fat.bak"));
    } catch (const RuntimeError& error) {
      std::exit(error.code());
    }
    std::exit(0);
  }
  int status = -1;
  waitpid(child, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 255) GTEST_SKIP() << "no seccomp filter here";
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, c.error);
  EXPECT_EQ(Contents("fifa.fat.bak"), c.error ? "previous back-up" : Contents("fifa.fat"));
  EXPECT_EQ(Listed(), (Names{"fifa.fat", "fifa.fat.bak"}));
}

INSTANTIATE_TEST_SUITE_P(
    Posix, CopyFault,
    testing::Values(FaultCase{"NoNamelessFile", SYS_openat, EOPNOTSUPP, 2, O_TMPFILE & ~O_DIRECTORY,
                              0},
                    FaultCase{"NoNamingAtAll", SYS_linkat, ENOENT, 0, 0, 0},
                    FaultCase{"FileSizeLimit", SYS_copy_file_range, EFBIG, 0, 0, 61},
                    FaultCase{"DeviceError", SYS_copy_file_range, EIO, 0, 0, 57},
                    FaultCase{"OutOfMemory", SYS_copy_file_range, ENOMEM, 0, 0, 7},
                    FaultCase{"AccessDenied", SYS_openat, EACCES, 2, O_NOFOLLOW, 70},
                    FaultCase{"RenameRefused", SYS_renameat, EACCES, 0, 0, 70}),
    CaseName());

TEST_F(GameFolder, ASignalToEndTheProgramWaitsUntilTheCopyIsInPlace) {
  EXPECT_EXIT(
      {
        // The signal's own action, standing in for its default one, ends the process.
        std::signal(SIGTERM, [](int) { std::exit(15); });
        int ends[2];
        if (pipe(ends) != 0) std::exit(2);
        std::thread user([&] {
          if (write(ends[1], "first half, ", 12) != 12) std::exit(2);
          // Once the copy has taken the first half it is under way: then the signal comes.
          for (int left = 1; ioctl(ends[0], FIONREAD, &left) == 0 && left > 0;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
          }
          kill(getpid(), SIGTERM);
          if (write(ends[1], "second half", 11) != 11) std::exit(2);
          close(ends[1]);
        });
        // A pipe, which copy_file_range refuses: the copy reads and writes.
        ReplaceWithCopy(ends[0], "pipe", At("fifa.fat.bak"));
        std::exit(0);  // not reached: the signal ends the process once the copy is in place
      },
      testing::ExitedWithCode(15), "");
  EXPECT_EQ(Contents("fifa.fat.bak"), "first half, second half");
  EXPECT_EQ(Listed(), (Names{"fifa.fat", "fifa.fat.bak"}));
}

TEST_F(GameFolder, ABackUpThatIsALinkIsReplacedNeverWrittenThrough) {
  std::ofstream(At("other")) << "other";
  fs::create_symlink("other", At("fifa.fat.bak"));
  platform_.Copy(At("fifa.fat"), At("fifa.fat.bak"));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(At("fifa.fat.bak"))));
  EXPECT_EQ(Contents("other"), "other");
  fs::remove(At("fifa.fat.bak"));
  fs::create_hard_link(At("fifa.fat"), At("fifa.fat.bak"));  // the table itself
  platform_.Copy(At("fifa.fat"), At("fifa.fat.bak"));
  EXPECT_EQ(Contents("fifa.fat"), std::string(10000, 't'));
  EXPECT_EQ(Contents("fifa.fat.bak"), std::string(10000, 't'));
}

TEST_F(GameFolder, FifosAndDanglingLinksAreRefusedWithoutWaiting) {
  const std::string fifo = At("installer.bin"), dangling = At("zdata_02.big");
  mkfifo(fifo.c_str(), 0666);
  fs::create_symlink("nowhere.big", dangling);
  const auto refused = ThrowsRuntimeError(ErrorNumber::kPathFileAccessError, fifo);
  EXPECT_THAT([&] { platform_.Copy(fifo, At("installer.bak")); }, refused);
  EXPECT_THAT([&] { platform_.OpenBinary(fifo); }, refused);
  EXPECT_THAT([&] { platform_.OpenForReading(fifo); }, refused);
  EXPECT_THAT([&] { platform_.OpenBinary(dangling); },
              ThrowsRuntimeError(ErrorNumber::kPathFileAccessError, dangling));
  EXPECT_FALSE(fs::exists(At("nowhere.big")));
}

TEST_F(GameFolder, OfSeveralSpellingsTheFirstInByteOrderIsTakenAndUnicodeLettersFold) {
  // "DATA" sorts before "Data", and is made first so that a listing may well put it last.
  fs::create_directories(At("DATA/\xC3\x89T\xC3\x89\xFF"));  // "ÉTÉ", a byte that is not UTF-8
  fs::create_directories(At("Data"));
  EXPECT_TRUE(platform_.FolderExists(At("data/\xC3\xA9t\xC3\xA9\xFF")));
  EXPECT_FALSE(platform_.FolderExists(At("data/\xC3\xA9t\xC3\xA9\xFE")));
}

TEST(LeaseRefusal, MeansHeldOpenOnlyWhereALeaseCanTell) {
  EXPECT_TRUE(LeaseRefusalMeansHeldOpen(EAGAIN, 0xEF53)) << "ext4: open elsewhere";
  EXPECT_FALSE(LeaseRefusalMeansHeldOpen(EAGAIN, 0x6969)) << "NFS";
  EXPECT_FALSE(LeaseRefusalMeansHeldOpen(EAGAIN, 0xFF534D42)) << "CIFS";
  EXPECT_FALSE(LeaseRefusalMeansHeldOpen(EAGAIN, 0xFE534D42)) << "SMB2";
  EXPECT_FALSE(LeaseRefusalMeansHeldOpen(EACCES, 0xEF53)) << "another user's file";
  EXPECT_FALSE(LeaseRefusalMeansHeldOpen(EINVAL, 0xEF53)) << "no leases there";
}

TEST_F(GameFolder, TheToolStartsOnlyFromTheGameFolderInTheCurrentOneWithTheListsBytesAndClean) {
  fs::create_directory(At("current"));
  platform_.SetCurrentFolder(At("current"));
  const std::string item = platform_.FromAnsiCodePage("f\xE9le.pak");  // not UTF-8
  const std::string line = "gfxpak1 /i c d b my " + item + " /c";
  auto start = [&] { return platform_.StartHidden(line); };
  const auto not_found = ThrowsRuntimeError(ErrorNumber::kFileNotFound, line);
  fs::copy_file(VERDANTIX_GFXPAK1_STANDIN, At("current/gfxpak1"));
  EXPECT_THAT(start, not_found) << "the tool in the current folder only";
  std::ofstream(At("gfxpak1")) << "not a program";
  fs::permissions(At("gfxpak1"), fs::perms::owner_all);
  EXPECT_THAT(start, not_found) << "a file that the system cannot run";
  fs::copy_file(VERDANTIX_GFXPAK1_STANDIN, At("gfxpak1"), fs::copy_options::overwrite_existing);
  std::ofstream(At("current/gfxpak1.control")) << "300";  // it sleeps 300 ms: the wait waits
  sigset_t blocked;  // one signal blocked, and SIGPIPE ignored as GTK ignores it
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  platform_.WaitForExit(*start());
  const std::string log = Contents("current/gfxpak1.log");
  EXPECT_EQ(log.substr(log.find("\tSig")),
            "\tSigBlk:\t0000000000000000\tSigIgn:\t0000000000000000\t" + At("current") +
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
    if (login_tty(user) != 0 || fcntl(STDIN_FILENO, F_SETFL, O_NONBLOCK) != 0) std::exit(2);
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
  EXPECT_EQ(write(terminal, "\n\n", 2), 2);  // Enter, then a line that does not end the input
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
