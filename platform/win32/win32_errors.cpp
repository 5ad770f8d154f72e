// Win32 error codes to run-time error numbers.
#include "platform/win32/win32_errors.h"

#include <windows.h>

namespace verdantix::win32 {

namespace {

ErrorNumber NumberOf(DWORD code, ErrorNumber missing) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
      return missing;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
      return ErrorNumber::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_DRIVE_LOCKED:
      return ErrorNumber::kPermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ErrorNumber::kDiskFull;
    case ERROR_NOT_READY:
      return ErrorNumber::kDiskNotReady;
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
      return ErrorNumber::kDeviceIoError;
    case ERROR_HANDLE_EOF:
      return ErrorNumber::kInputPastEndOfFile;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ErrorNumber::kOutOfMemory;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
    default:
      return ErrorNumber::kPathFileAccessError;
  }
}

}  // namespace

RuntimeError ErrorFromWin32(std::uint32_t code, const std::string& subject, ErrorNumber missing) {
  return RuntimeError(NumberOf(code, missing), subject);
}

RuntimeError LastError(const std::string& subject, ErrorNumber missing) {
  return ErrorFromWin32(GetLastError(), subject, missing);
}

}  // namespace verdantix::win32
