// The gfxpak1 command lines of a list record.
#include "tools/command_lines.h"

#include "platform/runtime_error.h"

namespace verdantix {

namespace {

constexpr std::string_view kInstallSwitch = " /i ";
constexpr std::string_view kRemoveSwitch = " /r ";
constexpr std::string_view kCompleteSwitch = " /c";

}  // namespace

std::string InstallCommand(const ListRecord& record, const std::string& list_path) {
  if (record.field4 != 0 && record.field4 != 1) {
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
