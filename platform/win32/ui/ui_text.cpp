// UTF-8 to UTF-16 for the window system's W functions.
#include "platform/win32/ui/ui_text.h"

#include <windows.h>

namespace verdantix::win32 {

std::wstring WideText(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), size);
  return wide;
}

}  // namespace verdantix::win32
