// UTF-8 <-> UTF-16 at the Win32 boundary.
#pragma once

#include <string>
#include <string_view>

namespace verdantix::win32 {

/// UTF-16 for a W function. The text is generalised UTF-8 (WTF-8), as Narrow writes it, so a
/// lone surrogate comes back as it was; bytes that start no valid sequence become U+FFFD.
std::wstring Wide(std::string_view text);
/// UTF-8 for the program. A lone surrogate, which NTFS allows in names, is written as its own
/// three-byte form (WTF-8), so that a path names the same file after Wide.
std::string Narrow(std::wstring_view text);

}  // namespace verdantix::win32
