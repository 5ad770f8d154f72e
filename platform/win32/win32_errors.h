// Maps Win32 error codes onto the program's run-time errors.
#pragma once

#include <cstdint>
#include <string>

#include "platform/runtime_error.h"

namespace verdantix::win32 {

/// The run-time error for the Win32 error `code` (a GetLastError value) raised by an operation
/// on `subject`. A missing file is `missing` (53 for files, 76 where a folder was wanted).
RuntimeError ErrorFromWin32(std::uint32_t code, const std::string& subject,
                            ErrorNumber missing = ErrorNumber::kFileNotFound);

/// ErrorFromWin32 of GetLastError().
RuntimeError LastError(const std::string& subject,
                       ErrorNumber missing = ErrorNumber::kFileNotFound);

}  // namespace verdantix::win32
