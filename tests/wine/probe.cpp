// A small Windows console program for the end-to-end tests under Wine: it finds the program's
// windows by title, reads and clicks their controls, and stands in for a running game.
//
// Usage (each prints plain lines on stdout and exits 0 on success, 1 on failure, 2 on misuse):
//   probe wait-window TITLE SECONDS  waits for a visible top-level window titled exactly TITLE;
//                                     prints "hwnd 0x..." and "pid N" (the owning process)
//   probe texts TITLE                one line per child window, in creation order:
//                                     "CLASS<TAB>ID<TAB>visible|hidden<TAB>TEXT"
//   probe click TITLE ID             posts WM_COMMAND (ID, BN_CLICKED, the child) to the window
//   probe client TITLE               "size W H" (client area), "origin X Y" (its top left on the
//                                     screen), "style 0x..." and "exstyle 0x..." (8 hex digits),
//                                     "rect L T R B" (the whole window on the screen)
//   probe close TITLE                posts WM_CLOSE to the window
//   probe press-ok TITLE             clicks the button "OK" of the message box titled TITLE
//   probe ping TITLE                 WM_NULL with a 1 s timeout; "answered" (0) or "no answer" (1)
//   probe cpu PID                    user + kernel CPU time of the process, in milliseconds
//   probe hold PATH SECONDS          opens PATH without sharing, prints "held", keeps it open
//                                     SECONDS seconds, then closes it
// TITLE matches the whole caption; a visible window is preferred over a hidden one.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "platform/win32/win32_text.h"

namespace {

constexpr UINT kTimeoutMilliseconds = 1000;

int Print(const std::wstring& line, int status = 0) {
  const std::string text = verdantix::win32::Narrow(line) + "\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
  return status;
}

std::wstring Hex(unsigned long long value) {
  wchar_t buffer[32];
  std::swprintf(buffer, 32, L"0x%08llX", value);
  return buffer;
}

/// The text of a window of any process: WM_GETTEXT is marshalled between processes.
std::wstring TextOf(HWND window) {
  wchar_t text[4096] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      kTimeoutMilliseconds, &copied);
  return std::wstring(text, copied);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

/// The top-level window titled `title`, visible preferred (or only, when `visible_only`).
HWND FindTitled(const wchar_t* title, bool visible_only = false) {
  HWND first = nullptr;
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, nullptr, title));) {
    if (IsWindowVisible(window)) return window;
    if (first == nullptr && !visible_only) first = window;
  }
  return first;
}

/// The next child window in creation order; the first when `child` is null.
HWND Next(HWND window, HWND child) {
  return child ? GetWindow(child, GW_HWNDNEXT) : GetWindow(window, GW_CHILD);
}

/// What a clicked button sends its parent; 0 when posted.
int PostClick(HWND window, HWND child) {
  const WPARAM command = MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED);
  return PostMessageW(window, WM_COMMAND, command, reinterpret_cast<LPARAM>(child)) == FALSE;
}

int WaitWindow(const wchar_t* title, const wchar_t* seconds) {
  const ULONGLONG deadline = GetTickCount64() + 1000ULL * std::wcstoul(seconds, nullptr, 10);
  HWND window;
  while ((window = FindTitled(title, true)) == nullptr) {
    if (GetTickCount64() >= deadline) {
      return Print(std::wstring(L"timed out waiting for \"") + title + L"\"", 1);
    }
    Sleep(50);
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  Print(L"hwnd " + Hex(reinterpret_cast<ULONG_PTR>(window)));
  return Print(L"pid " + std::to_wstring(pid));
}

int Cpu(const wchar_t* pid) {
  HANDLE process =
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, std::wcstoul(pid, nullptr, 10));
  FILETIME created{}, ended{}, kernel{}, user{};
  if (process == nullptr || !GetProcessTimes(process, &created, &ended, &kernel, &user)) {
    return Print(std::wstring(L"no times of process ") + pid, 1);
  }
  CloseHandle(process);
  ULARGE_INTEGER k{{kernel.dwLowDateTime, kernel.dwHighDateTime}};
  ULARGE_INTEGER u{{user.dwLowDateTime, user.dwHighDateTime}};
  return Print(std::to_wstring((k.QuadPart + u.QuadPart) / 10000));  // 100 ns units
}

int Hold(const wchar_t* path, const wchar_t* seconds) {
  HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Print(std::wstring(L"cannot open ") + path, 1);
  Print(L"held");
  Sleep(1000 * std::wcstoul(seconds, nullptr, 10));
  CloseHandle(file);
  return 0;
}

int Usage() {
  return Print(L"usage: probe wait-window|texts|click|client|close|press-ok|ping|cpu|hold ...", 2);
}

/// The commands on the window titled `argv[2]`.
int OnWindow(const std::wstring& command, HWND window, int argc, wchar_t** argv) {
  if (command == L"click" && argc == 4) {
    HWND child = GetDlgItem(window, static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
    return child ? PostClick(window, child) : Print(std::wstring(L"no control ") + argv[3], 1);
  }
  if (argc != 3) return Usage();
  if (command == L"texts") {
    for (HWND child = Next(window, nullptr); child; child = Next(window, child)) {
      Print(ClassOf(child) + L"\t" + std::to_wstring(GetDlgCtrlID(child)) + L"\t" +
            (IsWindowVisible(child) ? L"visible" : L"hidden") + L"\t" + TextOf(child));
    }
    return 0;
  }
  if (command == L"press-ok") {
    for (HWND child = Next(window, nullptr); child; child = Next(window, child)) {
      if (ClassOf(child) == L"Button" && TextOf(child) == L"OK") return PostClick(window, child);
    }
    return Print(L"no OK button", 1);
  }
  if (command == L"close") return PostMessageW(window, WM_CLOSE, 0, 0) == FALSE;
  DWORD_PTR result = 0;
  if (command == L"ping") {
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMilliseconds,
                               &result)
               ? Print(L"answered")
               : Print(L"no answer", 1);
  }
  if (command != L"client") return Usage();
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  Print(L"size " + std::to_wstring(client.right) + L" " + std::to_wstring(client.bottom));
  Print(L"origin " + std::to_wstring(origin.x) + L" " + std::to_wstring(origin.y));
  Print(L"style " + Hex(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE))));
  RECT outer{};
  GetWindowRect(window, &outer);
  Print(L"rect " + std::to_wstring(outer.left) + L" " + std::to_wstring(outer.top) + L" " +
        std::to_wstring(outer.right) + L" " + std::to_wstring(outer.bottom));
  return Print(L"exstyle " + Hex(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE))));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // plain "\n" line ends for the shell scripts
  if (argc < 3) return Usage();
  const std::wstring command = argv[1];
  if (command == L"cpu" && argc == 3) return Cpu(argv[2]);
  if (command == L"hold" && argc == 4) return Hold(argv[2], argv[3]);
  if (command == L"wait-window" && argc == 4) return WaitWindow(argv[2], argv[3]);
  HWND window = FindTitled(argv[2]);
  if (window == nullptr) return Print(std::wstring(L"no window titled \"") + argv[2] + L"\"", 1);
  return OnWindow(command, window, argc, argv);
}
