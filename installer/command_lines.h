// The two gfxpak1 command lines of a list record, joined as text with nothing quoted.
#pragma once

#include <string>
#include <string_view>

#include "installer/list_file.h"

namespace verdantix {

/// The tool's name as the command lines give it: no folder, no extension.
inline constexpr std::string_view kPackageTool = "gfxpak1";

/// "gfxpak1 /i " + field 3 + " " + field 2 + " " + field 1, then " /c" when field 4 is 1.
/// Field 4 other than 0 or 1, or a NUL character in field 1, 2 or 3 (it would cut the command
/// line short), is error 5 naming `list_path`: the record's commands run only when both are
/// whole.
std::string InstallCommand(const ListRecord& record, const std::string& list_path);

/// "gfxpak1 /r " + field 3 + " " + field 3.
std::string RemoveCommand(const ListRecord& record);

}  // namespace verdantix
