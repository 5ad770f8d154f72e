// Maps POSIX errno values onto the program's run-time errors.
#pragma once

#include <string>

#include "platform/runtime_error.h"

namespace verdantix::posix {

/// The run-time error for `error` (an errno value) raised by an operation on `path`. A missing
/// entry is 76 when its folder is missing too, else `missing` (53 for files, 76 for folders).
RuntimeError ErrorFromErrno(int error, const std::string& path,
                            ErrorNumber missing = ErrorNumber::kFileNotFound);

/// The folder part of `path`, "." when it has none.
std::string ParentOf(const std::string& path);

}  // namespace verdantix::posix
