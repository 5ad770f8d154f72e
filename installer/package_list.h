// The package installer's list file "\installer.bin": where it is, and its bytes as text.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace verdantix {

/// The list file, beside the executable.
inline constexpr std::string_view kListFile = "\\installer.bin";
/// Shown, with the information icon, when there is no list file.
inline constexpr std::string_view kMissingListMessage =
    "Patch Not Installed! Error! Install it again";

/// The whole text of the open list file `list` at `path`, as UTF-8. A list that is valid UTF-8
/// throughout and holds a non-ASCII character is taken as UTF-8, a leading byte-order mark
/// dropped; any other is text in the system's ANSI code page, as the classic text reader reads
/// it (ASCII reads the same either way). A list too large for memory, to read or to convert, is
/// error 7 naming `path`.
std::string ReadListText(Platform& platform, BinaryFile& list, const std::string& path);

}  // namespace verdantix
