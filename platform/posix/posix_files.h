// The helpers behind the POSIX platform's file operations: descriptors, names found as Windows
// finds them, opens that refuse what is not a regular file, and replacement in one step.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <utility>

namespace verdantix::posix {

/// An open descriptor, closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~Descriptor();
  int get() const { return fd_; }

 private:
  int fd_;
};

/// `path` as Windows finds it below `root`, folder by folder: the exact name when it is there
/// (then nothing is listed), otherwise the entry of that folder equal to it ignoring letter case
/// (see posix_paths.cpp); a name found nowhere keeps the program's spelling. A path that is not
/// below `root` is returned as it is.
std::string FindIgnoringCase(const std::string& root, const std::string& path);

/// Opens the regular file `path` with `flags`, never through a symbolic link and never waiting
/// (on a FIFO); anything that is not a regular file is error 75. `status` receives its status.
Descriptor OpenRegular(const std::string& path, int flags, struct stat& status);

/// Error 70 when the file behind `fd` is open elsewhere as `lease` (F_RDLCK: open for writing;
/// F_WRLCK: open at all) tells, as Windows refuses a file that a running game holds. Where no
/// lease can tell (see LeaseRefusalMeansHeldOpen), nothing is known.
void RefuseIfHeldOpen(int fd, int lease, const std::string& path);

/// Whether a lease refused with `error` (errno of F_SETLEASE) on a file system of type
/// `file_system` (statfs's f_type) means that the file is open elsewhere. Not where no lease is
/// offered (another user's file, a file system without leases), nor on network file systems
/// whose clients refuse every lease their server has not granted them: NFS 4 without a
/// delegation, SMB/CIFS without an oplock.
bool LeaseRefusalMeansHeldOpen(int error, std::uint32_t file_system);

/// True for a name that begins with a dot, the POSIX way to hide a file.
bool IsHiddenName(const std::string& path);

/// Replaces `target` in one step by a copy of the open file `from` (named `source`), once the
/// copy is on the disk. First the leftovers of killed runs in the target's folder go
/// (RemoveLeftovers). The copy is made beside the target, locked, without a name where the system
/// allows it (else under a temporary name), flushed, given a temporary name and renamed over
/// the target, and the folder is flushed. Its permission bits are the source's less the umask,
/// the owner's write bit added. A failure leaves the target as it was and no temporary name; a
/// signal to end the program waits until then.
void ReplaceWithCopy(int from, const std::string& source, const std::string& target);

/// A new temporary name for a copy being made: ".verdantix-" and eight lowercase hex digits.
std::string NewTemporaryName();

/// True when `name` in `folder` is, now, the regular file open as `file` (never a link to it).
bool IsFileNamed(int folder, const char* name, int file);

/// Removes from the folder open as `folder` the copies that killed runs left: entries with a
/// name of NewTemporaryName's pattern exactly, regular files only, and only those whose lock
/// (flock) no running copy of the program still holds. Nothing else is ever removed.
void RemoveLeftovers(int folder);

}  // namespace verdantix::posix
