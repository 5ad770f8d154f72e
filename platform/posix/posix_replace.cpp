// Replacing a file in one step: a durable copy made beside it, without a name while it is written
// where the system allows it, then renamed over it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

#include "platform/posix/posix_errors.h"
#include "platform/posix/posix_files.h"

namespace verdantix::posix {

namespace {

volatile std::sig_atomic_t deferred_signal = 0;

extern "C" void DeferSignal(int signal) { deferred_signal = signal; }

/// While it lives, a signal that would end the program (from the terminal, a shutdown) is only
/// noted, whichever thread gets it; it ends the program once the replacement is done or undone.
class EndingSignalsDeferred {
 public:
  EndingSignalsDeferred() {
    deferred_signal = 0;
    struct sigaction defer {};
    defer.sa_handler = DeferSignal;
    defer.sa_flags = SA_RESTART;
    sigemptyset(&defer.sa_mask);
    for (std::size_t i = 0; i < kEnding.size(); ++i) sigaction(kEnding[i], &defer, &previous_[i]);
  }
  ~EndingSignalsDeferred() {
    for (std::size_t i = 0; i < kEnding.size(); ++i) sigaction(kEnding[i], &previous_[i], nullptr);
    if (deferred_signal != 0) std::raise(deferred_signal);
  }
  EndingSignalsDeferred(const EndingSignalsDeferred&) = delete;
  EndingSignalsDeferred& operator=(const EndingSignalsDeferred&) = delete;

 private:
  static constexpr std::array<int, 4> kEnding = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};
  std::array<struct sigaction, kEnding.size()> previous_{};
};

/// The copy being made in the target's folder: locked (flock) from the moment it exists, so that
/// no other run takes it for a leftover, and under a temporary name only once it has one, which
/// is removed again unless the copy replaced the target.
class PendingCopy {
 public:
  PendingCopy(int folder, const std::string& target) : folder_(folder), target_(target) {}
  ~PendingCopy() {
    if (!name_.empty()) unlinkat(folder_, name_.c_str(), 0);
  }
  PendingCopy(const PendingCopy&) = delete;
  PendingCopy& operator=(const PendingCopy&) = delete;

  int fd() const { return file_.get(); }

  /// A new file without a name (O_TMPFILE); false where the system makes none here.
  bool CreateNameless(mode_t mode) {
    Descriptor file(openat(folder_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode));
    if (file.get() < 0) return false;
    Lock(file.get());
    Adopt(std::move(file));
    return true;
  }

  /// A new file under a new temporary name.
  void CreateNamed(mode_t mode) {
    for (int tries = 0; tries < 10; ++tries) {
      std::string name = NewTemporaryName();
      Descriptor file(
          openat(folder_, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
      if (file.get() < 0 && errno != EEXIST) throw ErrorFromErrno(errno, target_);
      if (file.get() < 0) continue;
      Lock(file.get());
      // A run removing leftovers may have taken the file before it was locked: another name.
      if (!IsFileNamed(folder_, name.c_str(), file.get())) continue;
      name_ = std::move(name);
      Adopt(std::move(file));
      return;
    }
    throw RuntimeError(ErrorNumber::kPathFileAccessError, target_);
  }

  /// Gives the nameless copy a temporary name, by its descriptor or else through /proc; false
  /// where neither works.
  bool Name() {
    const std::string self = "/proc/self/fd/" + std::to_string(file_.get());
    for (int tries = 0; tries < 10; ++tries) {
      std::string name = NewTemporaryName();
      if (linkat(file_.get(), "", folder_, name.c_str(), AT_EMPTY_PATH) == 0 ||
          linkat(AT_FDCWD, self.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        name_ = std::move(name);
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }

  /// Renames the copy over the target: a link there is replaced itself, never followed.
  void RenameOver() {
    const std::string last_name = target_.substr(target_.find_last_of('/') + 1);
    if (renameat(folder_, name_.c_str(), folder_, last_name.c_str()) != 0) {
      throw ErrorFromErrno(errno, target_);
    }
    name_.clear();
  }

 private:
  // Where the system has no locks, the copy goes unlocked: a run removing leftovers could then
  // take it, and the rename would fail, leaving the target as it was.
  static void Lock(int file) { flock(file, LOCK_EX); }

  /// Keeps the new, locked file, made writable by its owner: the umask may have taken that bit,
  /// and a copy is a plain, writable file.
  void Adopt(Descriptor file) {
    struct stat status {};
    if (fstat(file.get(), &status) != 0 ||
        (!(status.st_mode & S_IWUSR) && fchmod(file.get(), (status.st_mode & 0777) | S_IWUSR))) {
      throw ErrorFromErrno(errno, target_);
    }
    file_ = std::move(file);
  }

  int folder_;
  const std::string& target_;
  Descriptor file_;
  std::string name_;
};

/// Copies every byte from `from` to `to` in the kernel where it can, by reading otherwise.
void CopyContents(int from, int to, const std::string& source, const std::string& target) {
  for (;;) {
    ssize_t copied = copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
    if (copied == 0) return;
    if (copied > 0) continue;
    if (errno == EINTR) continue;
    if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) break;
    throw ErrorFromErrno(errno, target);
  }
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = read(from, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw ErrorFromErrno(errno, source);
    if (got == 0) return;
    for (ssize_t done = 0; done < got;) {
      ssize_t put = write(to, buffer + done, static_cast<std::size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) throw ErrorFromErrno(errno, target);
      done += put;
    }
  }
}

/// Fills the copy from `from` and flushes it to the disk.
void Fill(int from, PendingCopy& copy, const std::string& source, const std::string& target) {
  CopyContents(from, copy.fd(), source, target);
  if (fsync(copy.fd()) != 0) throw ErrorFromErrno(errno, target);
}

/// The permission bits a copy of `from` is created with (the umask then applies, as for `cp`):
/// never more open than its source. PendingCopy adds its owner's write bit.
mode_t ModeOfCopy(int from, const std::string& source) {
  struct stat status {};
  if (fstat(from, &status) != 0) throw ErrorFromErrno(errno, source);
  return status.st_mode & 0777;
}

}  // namespace

void ReplaceWithCopy(int from, const std::string& source, const std::string& target) {
  EndingSignalsDeferred deferred;
  Descriptor folder(open(ParentOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) throw ErrorFromErrno(errno, target);
  RemoveLeftovers(folder.get());
  const mode_t mode = ModeOfCopy(from, source);
  PendingCopy copy(folder.get(), target);
  bool named = false;
  if (copy.CreateNameless(mode)) {
    Fill(from, copy, source, target);
    named = copy.Name();
    // Rare (no /proc, and no naming by descriptor): the copy is made again, under a name.
    if (!named && lseek(from, 0, SEEK_SET) != 0) throw ErrorFromErrno(errno, source);
  }
  if (!named) {
    copy.CreateNamed(mode);
    Fill(from, copy, source, target);
  }
  copy.RenameOver();
  // Some file systems cannot flush a folder; the rename is then as durable as they make it.
  if (fsync(folder.get()) != 0 && errno != EINVAL) throw ErrorFromErrno(errno, target);
}

}  // namespace verdantix::posix
