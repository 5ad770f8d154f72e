// Replacing a file in one step: a durable copy in a temporary file beside it, renamed over it.
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <random>

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

/// A new file beside `target` under a dot-name with a random part, which no game file has;
/// removed again unless it was renamed.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) {
    std::random_device random;
    for (int tries = 0;; ++tries) {
      char name[32];
      std::snprintf(name, sizeof name, "/.verdantix-%08x", random());
      path_ = ParentOf(target) + name;
      // Created as any new file is, from the umask: never with the source's read-only bits.
      fd_ = Descriptor(open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
      if (fd_.get() >= 0) return;
      if (errno != EEXIST || tries == 9) {
        path_.clear();
        throw ErrorFromErrno(errno, target);
      }
    }
  }
  ~TemporaryFile() {
    if (!path_.empty()) unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int fd() const { return fd_.get(); }
  /// Renames the file over `target`: a link there is replaced itself, never followed.
  void RenameOver(const std::string& target) {
    if (rename(path_.c_str(), target.c_str()) != 0) throw ErrorFromErrno(errno, target);
    path_.clear();
  }

 private:
  std::string path_;
  Descriptor fd_;
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

/// Flushes the folder of `target`, so that the rename itself is on the disk.
void FlushFolderOf(const std::string& target) {
  Descriptor folder(open(ParentOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // Some file systems cannot flush a folder; the rename is then as durable as they make it.
  if (folder.get() >= 0 && fsync(folder.get()) != 0 && errno != EINVAL) {
    throw ErrorFromErrno(errno, target);
  }
}

}  // namespace

void ReplaceWithCopy(int from, const std::string& source, const std::string& target) {
  EndingSignalsDeferred deferred;
  TemporaryFile copy(target);
  CopyContents(from, copy.fd(), source, target);
  if (fsync(copy.fd()) != 0) throw ErrorFromErrno(errno, target);
  copy.RenameOver(target);
  FlushFolderOf(target);
}

}  // namespace verdantix::posix
