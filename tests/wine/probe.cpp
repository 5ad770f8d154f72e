// The end-to-end tests' helper under Wine: finds windows by whole caption (a visible one first),
// reads and clicks their controls. Each command prints plain lines and exits 0, or 1 on failure:
//   visible TITLE   a window of that caption is visible
//   texts TITLE     per child, in creation order: CLASS\tID\tvisible|hidden\tTEXT
//   click TITLE ID  posts WM_COMMAND (ID, BN_CLICKED, the control) to the window
//   close TITLE     posts WM_CLOSE to the window
//   ping TITLE      the window answers WM_NULL within 1 s
//   client TITLE    "size W H" of the client area, "origin X Y" of it on the screen, "style N"
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "platform/win32/win32_text.h"

namespace {

constexpr UINT kTimeoutMs = 1000;

int Print(const std::wstring& line, int status = 0) {
  std::fputs((verdantix::win32::Narrow(line) + "\n").c_str(), stdout);
  std::fflush(stdout);
  return status;
}

/// The text of a window of any process: WM_GETTEXT is marshalled between processes.
std::wstring TextOf(HWND window) {
  wchar_t text[4096] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      kTimeoutMs, &copied);
  return std::wstring(text, copied);
}

HWND FindTitled(const wchar_t* title, bool visible_only) {
  HWND first = nullptr;
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, nullptr, title));) {
    if (IsWindowVisible(window)) return window;
    if (first == nullptr && !visible_only) first = window;
  }
  return first;
}

int Texts(HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[256] = {};
    GetClassNameW(child, name, 256);
    Print(name + (L"\t" + std::to_wstring(GetDlgCtrlID(child))) +
          (IsWindowVisible(child) ? L"\tvisible\t" : L"\thidden\t") + TextOf(child));
  }
  return 0;
}

int Client(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  Print(L"size " + std::to_wstring(client.right) + L" " + std::to_wstring(client.bottom));
  Print(L"origin " + std::to_wstring(origin.x) + L" " + std::to_wstring(origin.y));
  return Print(L"style " + std::to_wstring(GetWindowLongPtrW(window, GWL_STYLE)));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // plain "\n" line ends for the shell scripts
  if (argc < 3) return Print(L"usage: probe COMMAND TITLE [ID]", 2);
  const std::wstring command = argv[1];
  if (command == L"visible") return FindTitled(argv[2], true) == nullptr;
  HWND window = FindTitled(argv[2], false);
  if (window == nullptr) return Print(L"no window titled " + std::wstring(argv[2]), 1);
  const int id = argc > 3 ? static_cast<int>(std::wcstol(argv[3], nullptr, 10)) : 0;
  if (command == L"texts") return Texts(window);
  if (command == L"client") return Client(window);
  if (command == L"close") return !PostMessageW(window, WM_CLOSE, 0, 0);
  if (command == L"ping") {
    return !SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, nullptr);
  }
  if (command == L"click" && GetDlgItem(window, id)) {
    return !PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
  }
  return Print(L"cannot " + command + L" " + argv[2], 1);
}
