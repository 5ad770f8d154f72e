// Paths as the wide-character Win32 API must be given them to name exactly the file meant.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace verdantix::win32 {

/// The longest path Windows takes, in UTF-16 code units, without the terminating NUL.
inline constexpr std::size_t kMaxPathLength = 32767;

/// `path` (UTF-8) as a W file function must be given it to name exactly that file: the "\\?\"
/// (or "\\?\UNC\") form of the absolute path, which Windows passes on untrimmed. The program
/// cleans the path up itself: slashes become backslashes, empty and "." segments go, ".." takes
/// the segment before it away; a name's final dot or blank stays. "C:" alone, or followed by a
/// name, is taken from the drive's root; a relative path from the current folder. A path in the
/// "\\?\" form already is passed as it is. Longer than Windows takes: error 75 naming `path`.
std::wstring ApiPath(std::string_view path);

/// The same absolute path without the prefix ("C:\" for a drive's root), the form in which
/// Windows keeps the current folder; Windows' rules may still trim it.
std::wstring PlainPath(std::string_view path);

/// True when Windows' own rules leave the plain path `plain` as it is: none of its names ends
/// in a dot, and the last one in no blank either.
bool IsKeptByWindows(const std::wstring& plain);

/// The current folder as Windows keeps it ("C:\games\FIFA 2004", "C:\").
std::wstring CurrentFolder();

}  // namespace verdantix::win32
