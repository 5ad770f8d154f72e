// The POSIX platform's file operations, with the program's meanings of each.
#include "platform/posix/posix_files.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/posix/posix_errors.h"
#include "platform/posix/posix_platform.h"

namespace verdantix::posix {

namespace {

class PosixFile : public BinaryFile {
 public:
  PosixFile(Descriptor fd, std::string path) : fd_(std::move(fd)), path_(std::move(path)) {}

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

/// Windows refuses to overwrite or delete a read-only file even for an administrator; root on
/// POSIX is refused nothing, so the owner's write bit stands in for the attribute.
bool IsReadOnly(const struct stat& status) { return !(status.st_mode & S_IWUSR); }

/// Windows refuses to replace a hidden or read-only file, or one that another program holds
/// open; a link is replaced itself, and anything else that is not a regular file is refused.
void RequireReplaceable(const std::string& target, const struct stat& source) {
  struct stat status {};
  if (lstat(target.c_str(), &status) != 0) return;  // nothing there, or the copy's error says why
  if (IsHiddenName(target)) throw RuntimeError(ErrorNumber::kPermissionDenied, target);
  if (S_ISLNK(status.st_mode)) return;
  if (!S_ISREG(status.st_mode)) throw RuntimeError(ErrorNumber::kPathFileAccessError, target);
  if (IsReadOnly(status)) throw RuntimeError(ErrorNumber::kPermissionDenied, target);
  // A hard link to the source is the source, whose lease was asked for already.
  if (status.st_dev == source.st_dev && status.st_ino == source.st_ino) return;
  RefuseIfHeldOpen(OpenRegular(target, O_RDONLY, status).get(), F_WRLCK, target);
}

}  // namespace

Descriptor::~Descriptor() {
  if (fd_ >= 0) close(fd_);
}

bool IsHiddenName(const std::string& path) {
  return path.compare(path.find_last_of('/') + 1, 1, ".") == 0;
}

Descriptor OpenRegular(const std::string& path, int flags, struct stat& status) {
  Descriptor file;
  do {
    file = Descriptor(open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
  } while (file.get() < 0 && errno == EINTR);
  if (file.get() < 0) throw ErrorFromErrno(errno, path);
  if (fstat(file.get(), &status) != 0) throw ErrorFromErrno(errno, path);
  if (!S_ISREG(status.st_mode)) throw RuntimeError(ErrorNumber::kPathFileAccessError, path);
  const int status_flags = fcntl(file.get(), F_GETFL);
  if (fcntl(file.get(), F_SETFL, status_flags & ~O_NONBLOCK) != 0)
    throw ErrorFromErrno(errno, path);
  return file;
}

bool LeaseRefusalMeansHeldOpen(int error, std::uint32_t file_system) {
  // Their clients answer EAGAIN for every file their server has not delegated (kernel sources:
  // nfs4_add_lease, cifs_setlease), so a refusal tells nothing there.
  constexpr std::uint32_t kLeaseBlind[] = {NFS_SUPER_MAGIC, CIFS_SUPER_MAGIC, SMB2_SUPER_MAGIC};
  return (error == EAGAIN || error == EBUSY) &&
         std::ranges::find(kLeaseBlind, file_system) == std::end(kLeaseBlind);
}

void RefuseIfHeldOpen(int fd, int lease, const std::string& path) {
  if (fcntl(fd, F_SETLEASE, lease) == 0) {
    fcntl(fd, F_SETLEASE, F_UNLCK);
    return;
  }
  const int error = errno;
  struct statfs file_system {};
  fstatfs(fd, &file_system);
  if (LeaseRefusalMeansHeldOpen(error, static_cast<std::uint32_t>(file_system.f_type))) {
    throw RuntimeError(ErrorNumber::kPermissionDenied, path);
  }
}

std::string PosixPlatform::Find(const std::string& path) const {
  return FindIgnoringCase(game_folder_, path);
}

void PosixPlatform::Copy(const std::string& source_as_given, const std::string& target_as_given) {
  const std::string source = Find(source_as_given), target = Find(target_as_given);
  struct stat status {};
  Descriptor from = OpenRegular(source, O_RDONLY, status);
  // Windows' CopyFile shares the source for reading only: a program writing it refuses the copy.
  RefuseIfHeldOpen(from.get(), F_RDLCK, source);
  RequireReplaceable(target, status);
  ReplaceWithCopy(from.get(), source, target);
}

void PosixPlatform::CreateFolder(const std::string& path_as_given) {
  const std::string path = Find(path_as_given);
  if (mkdir(path.c_str(), 0777) != 0) throw ErrorFromErrno(errno, path, ErrorNumber::kPathNotFound);
}

bool PosixPlatform::FileExists(const std::string& path_as_given) {
  const std::string path = Find(path_as_given);
  struct stat status {};
  return lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && !IsHiddenName(path);
}

bool PosixPlatform::FolderExists(const std::string& path) {
  struct stat status {};
  return stat(Find(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::unique_ptr<BinaryFile> PosixPlatform::OpenBinary(const std::string& path_as_given) {
  const std::string path = Find(path_as_given);
  struct stat status {};
  Descriptor file = OpenRegular(path, O_RDWR | O_CREAT, status);
  if (IsReadOnly(status)) throw RuntimeError(ErrorNumber::kPermissionDenied, path);
  RefuseIfHeldOpen(file.get(), F_WRLCK, path);
  return std::make_unique<PosixFile>(std::move(file), path);
}

std::unique_ptr<BinaryFile> PosixPlatform::OpenForReading(const std::string& path_as_given) {
  const std::string path = Find(path_as_given);
  struct stat status {};
  return std::make_unique<PosixFile>(OpenRegular(path, O_RDONLY, status), path);
}

void PosixPlatform::Remove(const std::string& path_as_given) {
  const std::string path = Find(path_as_given);
  struct stat status {};
  if (lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && IsReadOnly(status)) {
    throw RuntimeError(ErrorNumber::kPermissionDenied, path);
  }
  if (unlink(path.c_str()) != 0) throw ErrorFromErrno(errno, path);
}

void PosixPlatform::SetCurrentFolder(const std::string& folder) {
  const std::string path = Find(folder);
  if (chdir(path.c_str()) != 0) throw ErrorFromErrno(errno, path, ErrorNumber::kPathNotFound);
}

}  // namespace verdantix::posix
