// Win32 message boxes, Form1's window and the pumping of pending messages (first cut).
#include "platform/win32/ui/win32_ui.h"

#include <windows.h>

#include <string>

namespace verdantix::win32 {

namespace {

std::wstring Wide(std::string_view text) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

}  // namespace

void ShowMessageBox(std::string_view text, MessageIcon icon) {
  UINT style = MB_OK | MB_SETFOREGROUND;
  if (icon == MessageIcon::kInformation) style |= MB_ICONINFORMATION;
  if (icon == MessageIcon::kError) style |= MB_ICONERROR;
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(kApplicationTitle).c_str(), style);
}

void RunMainWindow(const WindowDescription&, WindowEvents&) {}

void PumpPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace verdantix::win32
