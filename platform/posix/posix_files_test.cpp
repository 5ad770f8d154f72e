// The POSIX platform's files in real temporary folders: what a killed run left, the copy's
// permission bits, failures injected at the system calls beneath it, a signal mid-copy, links,
// FIFOs, letter case beyond ASCII, held files on network file systems.
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "platform/posix/posix_files.h"
#include "platform/posix/posix_platform.h"
#include "testing/helpers.h"

namespace verdantix::posix {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

/// A POSIX platform whose game folder is a new temporary folder holding the table "fifa.fat".
class GameFolder : public testing::Test {
 protected:
  void SetUp() override { std::ofstream(At("fifa.fat")) << std::string(10000, 't'); }
  std::string At(const std::string& name) const { return (folder_.path() / name).string(); }
  std::string Contents(const std::string& name) const {
    std::ostringstream text;
    text << std::ifstream(At(name)).rdbuf();
    return text.str();
  }
  Names Listed() const {
    Names names;
    for (const auto& entry : fs::directory_iterator(folder_.path())) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  TemporaryFolder folder_;
  PosixPlatform platform_{CreateTerminalUi(), folder_.path().string()};
};

TEST_F(GameFolder, ACopyFirstRemovesOnlyTheUnheldFilesOfTheProgramsTemporaryNames) {
  const Names kept = {".verdantix-0123abc",  ".verdantix-0123abcd0", ".verdantix-0123ABCD",
                      ".verdantix-0123abcg", "verdantix-0123abcd",   ".verdantix-89abcdef"};
  for (const std::string& name : kept) std::ofstream(At(name)) << "x";
  std::ofstream(At(".verdantix-0123abcd")) << "left by a killed run";
  fs::create_directory(At(".verdantix-00000000"));
  fs::create_symlink("fifa.fat", At(".verdantix-11111111"));
  // Another running copy of the program holds its lock on this one.
  Descriptor held(open(At(".verdantix-89abcdef").c_str(), O_RDONLY));
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

/// From now on, makes the system call `number` of this process fail with `error` when its
/// argument `argument` has a bit of `mask` set (always, for `mask` 0). False where the system
/// allows no such filter.
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
                    FaultCase{"NoNamingByDescriptor", SYS_linkat, ENOENT, 4, AT_EMPTY_PATH, 0},
                    FaultCase{"NoNamingAtAll", SYS_linkat, ENOENT, 0, 0, 0},
                    FaultCase{"FileSizeLimit", SYS_copy_file_range, EFBIG, 0, 0, 61},
                    FaultCase{"DeviceError", SYS_copy_file_range, EIO, 0, 0, 57},
                    FaultCase{"OutOfMemory", SYS_copy_file_range, ENOMEM, 0, 0, 7},
                    FaultCase{"AccessDenied", SYS_openat, EACCES, 2, O_NOFOLLOW, 70}),
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
  for (bool hard : {false, true}) {  // a symbolic link elsewhere, then a hard link to the table
    fs::remove(At("fifa.fat.bak"));
    if (hard) fs::create_hard_link(At("fifa.fat"), At("fifa.fat.bak"));
    if (!hard) fs::create_symlink("other", At("fifa.fat.bak"));
    platform_.Copy(At("fifa.fat"), At("fifa.fat.bak"));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(At("fifa.fat.bak"))));
    EXPECT_EQ(Contents("fifa.fat.bak"), std::string(10000, 't'));
  }
  EXPECT_EQ(Contents("fifa.fat"), std::string(10000, 't'));
  EXPECT_EQ(Contents("other"), "other");
}

TEST_F(GameFolder, FifosAndDanglingLinksAreRefusedWithoutWaiting) {
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

TEST_F(GameFolder, OfSeveralSpellingsTheFirstInByteOrderIsTakenAndUnicodeLettersFold) {
  // "DATA" sorts before "Data", and is made first so that a listing may well put it last.
  fs::create_directories(At("DATA/\xC3\x89T\xC3\x89\xFF"));  // "ÉTÉ", a byte that is not UTF-8
  fs::create_directories(At("Data"));
  EXPECT_TRUE(platform_.FolderExists(At("data/\xC3\xA9t\xC3\xA9\xFF")));
  EXPECT_FALSE(platform_.FolderExists(At("data/\xC3\xA9t\xC3\xA9\xFE")));
}

struct LeaseCase {
  const char* name;
  int error;
  std::uint32_t file_system;
  bool held_open;
};

class LeaseRefused : public testing::TestWithParam<LeaseCase> {};

TEST_P(LeaseRefused, MeansHeldOpenOnlyWhereALeaseCanTell) {
  EXPECT_EQ(LeaseRefusalMeansHeldOpen(GetParam().error, GetParam().file_system),
            GetParam().held_open);
}

INSTANTIATE_TEST_SUITE_P(Posix, LeaseRefused,
                         testing::Values(LeaseCase{"Ext4", EAGAIN, 0xEF53, true},
                                         LeaseCase{"Nfs", EAGAIN, 0x6969, false},
                                         LeaseCase{"Cifs", EAGAIN, 0xFF534D42, false},
                                         LeaseCase{"Smb2", EAGAIN, 0xFE534D42, false},
                                         LeaseCase{"AnotherUsersFile", EACCES, 0xEF53, false},
                                         LeaseCase{"NoLeasesThere", EINVAL, 0xEF53, false}),
                         CaseName());

}  // namespace
}  // namespace verdantix::posix
