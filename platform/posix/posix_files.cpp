// The POSIX platform's file operations, with the program's meanings of each.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/posix_errors.h"
#include "platform/posix/posix_platform.h"

namespace verdantix::posix {

namespace {

/// An open descriptor, closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

class PosixFile : public BinaryFile {
 public:
  PosixFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

  std::uint64_t Length() override {
    struct stat status {};
    if (fstat(fd_.get(), &status) != 0) throw ErrorFromErrno(errno, path_);
    return static_cast<std::uint64_t>(status.st_size);
  }

  void ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    while (!out.empty()) {
      ssize_t got = pread(fd_.get(), out.data(), out.size(), static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) throw ErrorFromErrno(errno, path_);
      if (got == 0) throw RuntimeError(ErrorNumber::kInputPastEndOfFile, path_);
      out = out.subspan(static_cast<std::size_t>(got));
      offset += static_cast<std::uint64_t>(got);
    }
  }

  void Flush() override {
    if (fsync(fd_.get()) != 0) throw ErrorFromErrno(errno, path_);
  }

  void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
    while (!bytes.empty()) {
      ssize_t put = pwrite(fd_.get(), bytes.data(), bytes.size(), static_cast<off_t>(offset));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) throw ErrorFromErrno(errno, path_);
      bytes = bytes.subspan(static_cast<std::size_t>(put));
      offset += static_cast<std::uint64_t>(put);
    }
  }

 private:
  Descriptor fd_;
  std::string path_;
};

bool Stat(const std::string& path, struct stat& status) { return stat(path.c_str(), &status) == 0; }

bool IsHiddenName(const std::string& path) {
  auto slash = path.find_last_of('/');
  std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
  return name.starts_with('.');
}

/// Windows refuses to overwrite or delete a read-only file even for an administrator; root on
/// POSIX is refused nothing, so the owner's write bit stands in for the attribute.
void RequireWritableIfPresent(const std::string& path) {
  struct stat status {};
  if (Stat(path, status) && S_ISREG(status.st_mode) && !(status.st_mode & S_IWUSR)) {
    throw RuntimeError(ErrorNumber::kPermissionDenied, path);
  }
}

int OpenOrThrow(const std::string& path, int flags, mode_t mode = 0666) {
  int fd;
  do {
    fd = open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) throw ErrorFromErrno(errno, path);
  return fd;
}

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

}  // namespace

void PosixPlatform::Copy(const std::string& source, const std::string& target) {
  Descriptor from(OpenOrThrow(source, O_RDONLY));
  struct stat status {};
  if (fstat(from.get(), &status) != 0) throw ErrorFromErrno(errno, source);
  if (!S_ISREG(status.st_mode)) throw RuntimeError(ErrorNumber::kPathFileAccessError, source);
  RequireWritableIfPresent(target);
  Descriptor to(OpenOrThrow(target, O_WRONLY | O_CREAT | O_TRUNC, status.st_mode & 07777));
  CopyContents(from.get(), to.get(), source, target);
}

void PosixPlatform::CreateFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0777) != 0) throw ErrorFromErrno(errno, path, ErrorNumber::kPathNotFound);
}

bool PosixPlatform::FileExists(const std::string& path) {
  struct stat status {};
  return Stat(path, status) && S_ISREG(status.st_mode) && !IsHiddenName(path);
}

bool PosixPlatform::FolderExists(const std::string& path) {
  struct stat status {};
  return Stat(path, status) && S_ISDIR(status.st_mode);
}

std::unique_ptr<BinaryFile> PosixPlatform::OpenBinary(const std::string& path) {
  RequireWritableIfPresent(path);
  return std::make_unique<PosixFile>(OpenOrThrow(path, O_RDWR | O_CREAT), path);
}

std::unique_ptr<BinaryFile> PosixPlatform::OpenForReading(const std::string& path) {
  return std::make_unique<PosixFile>(OpenOrThrow(path, O_RDONLY), path);
}

void PosixPlatform::Remove(const std::string& path) {
  RequireWritableIfPresent(path);
  if (unlink(path.c_str()) != 0) throw ErrorFromErrno(errno, path);
}

void PosixPlatform::SetCurrentFolder(const std::string& folder) {
  if (chdir(folder.c_str()) != 0) throw ErrorFromErrno(errno, folder, ErrorNumber::kPathNotFound);
}

}  // namespace verdantix::posix
