// The Win32 platform's executable folder, window system and program end.
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/win32/ui/form_window.h"
#include "platform/win32/ui/win32_ui.h"
#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_text.h"

namespace verdantix::win32 {

std::string ExecutableFolder() {
  // The path has no length limit of its own, so the buffer grows until the name fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) throw LastError("GetModuleFileNameW");
    if (length < size) {
      std::wstring_view path(buffer.data(), length);
      return Narrow(path.substr(0, path.find_last_of(L"\\/")));
    }
    buffer.resize(buffer.size() * 2);
  }
}

Win32Platform::Win32Platform(std::string game_folder)
    : game_folder_(game_folder.empty() ? ExecutableFolder() : std::move(game_folder)) {}

Win32Platform::~Win32Platform() = default;

void Win32Platform::ShowMessage(std::string_view text, MessageIcon icon) {
  ShowMessageBox(text, icon);
}

std::string Win32Platform::FromAnsiCodePage(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
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
