// The program's one failure type: a run-time error with a number, a description and a subject.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace verdantix {

/// The conventional run-time error numbers the program raises.
enum class ErrorNumber : int {
  kInvalidProcedureCall = 5,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kTypeMismatch = 13,
  kInternalError = 51,
  kFileNotFound = 53,
  kDeviceIoError = 57,
  kDiskFull = 61,
  kInputPastEndOfFile = 62,
  kPermissionDenied = 70,
  kDiskNotReady = 71,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
};

/// The conventional description of `number`, e.g. "File not found" for 53.
std::string_view DescriptionOf(ErrorNumber number);

/// A failure raised at the failing operation; `subject` is the path or command involved.
/// what() is the text of the standard report of an unhandled run-time error:
/// "Run-time error '53':", a blank line, the description, a blank line, the subject.
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(ErrorNumber number, std::string subject);

  int code() const { return static_cast<int>(number_); }
  const std::string& subject() const { return subject_; }

 private:
  ErrorNumber number_;
  std::string subject_;
};

}  // namespace verdantix
