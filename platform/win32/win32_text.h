// UTF-8 <-> UTF-16 at the Win32 boundary, and paths as the wide-character API wants them.
#pragma once

#include <string>
#include <string_view>

namespace verdantix::win32 {

/// UTF-16 for a W function; invalid UTF-8 sequences become U+FFFD.
std::wstring Wide(std::string_view text);
/// UTF-8 for the program; unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view text);

/// `path` for a W file function: a long path (too long for the classic limit) is made absolute
/// and given the "\\?\" or "\\?\UNC\" prefix; any other path is passed as it is.
std::wstring ApiPath(const std::string& path);

}  // namespace verdantix::win32
