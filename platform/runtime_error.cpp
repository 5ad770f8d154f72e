// Descriptions and the report text of run-time errors.
#include "platform/runtime_error.h"

namespace verdantix {

std::string_view DescriptionOf(ErrorNumber number) {
  switch (number) {
    case ErrorNumber::kInvalidProcedureCall:
      return "Invalid procedure call or argument";
    case ErrorNumber::kOutOfMemory:
      return "Out of memory";
    case ErrorNumber::kSubscriptOutOfRange:
      return "Subscript out of range";
    case ErrorNumber::kTypeMismatch:
      return "Type mismatch";
    case ErrorNumber::kInternalError:
      return "Internal error";
    case ErrorNumber::kFileNotFound:
      return "File not found";
    case ErrorNumber::kDeviceIoError:
      return "Device I/O error";
    case ErrorNumber::kDiskFull:
      return "Disk full";
    case ErrorNumber::kInputPastEndOfFile:
      return "Input past end of file";
    case ErrorNumber::kPermissionDenied:
      return "Permission denied";
    case ErrorNumber::kDiskNotReady:
      return "Disk not ready";
    case ErrorNumber::kPathFileAccessError:
      return "Path/File access error";
    case ErrorNumber::kPathNotFound:
      return "Path not found";
  }
  return "Application-defined or object-defined error";
}

namespace {

std::string ReportOf(ErrorNumber number, const std::string& subject) {
  return "Run-time error '" + std::to_string(static_cast<int>(number)) + "':\n\n" +
         std::string(DescriptionOf(number)) + "\n\n" + subject;
}

}  // namespace

RuntimeError::RuntimeError(ErrorNumber number, std::string subject)
    : std::runtime_error(ReportOf(number, subject)),
      number_(number),
      subject_(std::move(subject)) {}

}  // namespace verdantix
