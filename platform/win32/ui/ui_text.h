// UTF-8 text of the program as the wide-character window functions want it.
#pragma once

#include <string>
#include <string_view>

namespace verdantix::win32 {

/// UTF-16 for a W function; invalid UTF-8 sequences become U+FFFD.
std::wstring WideText(std::string_view text);

}  // namespace verdantix::win32
