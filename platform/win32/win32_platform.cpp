// The Win32 platform's executable folder, window system and program end.
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <cstdio>
#include <limits>
#include <new>

#include "platform/win32/ui/form_window.h"
#include "platform/win32/ui/win32_ui.h"
#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_paths.h"
#include "platform/win32/win32_text.h"

namespace verdantix::win32 {

std::string ExecutableFolder() {
  // Room for the longest path Windows has: a name that fills the buffer was cut.
  std::wstring path(kMaxPathLength + 1, L'\0');
  const DWORD size = static_cast<DWORD>(path.size());
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
  if (length == 0 || length >= size) throw LastError("GetModuleFileNameW");
  path.resize(length);
  return Narrow(path.substr(0, path.find_last_of(L"\\/")));
}

Win32Platform::Win32Platform(std::string game_folder)
    : game_folder_(game_folder.empty() ? ExecutableFolder() : std::move(game_folder)) {}

Win32Platform::~Win32Platform() = default;

void Win32Platform::ShowMessage(std::string_view text, MessageIcon icon) {
  ShowMessageBox(text, icon);
}

std::string Win32Platform::FromAnsiCodePage(std::string_view bytes) {
  // MultiByteToWideChar counts in int: a longer text is refused before a byte of it is read,
  // never cut (the list's reader reports it as too large, error 7).
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw std::bad_alloc();
  }
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  std::wstring wide(bytes.size(), L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), length)));
  return Narrow(wide);
}

void Win32Platform::CreateHiddenWindow(const WindowDescription& window, WindowEvents& events) {
  window_ = CreateMainWindow(window, events);
}

void Win32Platform::ShowWindowUntilClosed() { RunMainWindow(*window_); }

void Win32Platform::EndNow(int exit_code) {
  std::fflush(nullptr);
  ExitProcess(static_cast<UINT>(exit_code));
}

}  // namespace verdantix::win32
