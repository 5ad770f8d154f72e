// errno to run-time error numbers.
#include "platform/posix/posix_errors.h"

#include <sys/stat.h>

#include <cerrno>

namespace verdantix::posix {

std::string ParentOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

bool IsFolder(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

RuntimeError ErrorFromErrno(int error, const std::string& path, ErrorNumber missing) {
  switch (error) {
    case ENOENT:
      return RuntimeError(IsFolder(ParentOf(path)) ? missing : ErrorNumber::kPathNotFound, path);
    case ENOTDIR:
    case ENAMETOOLONG:
      return RuntimeError(ErrorNumber::kPathNotFound, path);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
    case EAGAIN:
      return RuntimeError(ErrorNumber::kPermissionDenied, path);
    case EEXIST:
    case EISDIR:
      return RuntimeError(ErrorNumber::kPathFileAccessError, path);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return RuntimeError(ErrorNumber::kDiskFull, path);
    case EIO:
      return RuntimeError(ErrorNumber::kDeviceIoError, path);
    case ENOMEM:
      return RuntimeError(ErrorNumber::kOutOfMemory, path);
    default:
      return RuntimeError(ErrorNumber::kPathFileAccessError, path);
  }
}

}  // namespace verdantix::posix
