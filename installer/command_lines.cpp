// The gfxpak1 command lines of a list record.
#include "installer/command_lines.h"

#include "platform/runtime_error.h"

namespace verdantix {

namespace {

constexpr std::string_view kInstallSwitch = " /i ";
constexpr std::string_view kRemoveSwitch = " /r ";
constexpr std::string_view kCompleteSwitch = " /c";

}  // namespace

std::string InstallCommand(const ListRecord& record, const std::string& list_path) {
  const bool holds_nul =
      (record.field1 + record.field2 + record.field3).find('\0') != std::string::npos;
  if ((record.field4 != 0 && record.field4 != 1) || holds_nul) {
    throw RuntimeError(ErrorNumber::kInvalidProcedureCall, list_path);
  }
  std::string command = std::string(kPackageTool) + std::string(kInstallSwitch) + record.field3 +
                        " " + record.field2 + " " + record.field1;
  if (record.field4 == 1) command += kCompleteSwitch;
  return command;
}

std::string RemoveCommand(const ListRecord& record) {
  return std::string(kPackageTool) + std::string(kRemoveSwitch) + record.field3 + " " +
         record.field3;
}

}  // namespace verdantix
