// A small Windows console program for the end-to-end tests under Wine: it finds the program's
// windows by title, reads and clicks their controls, and stands in for a running game.
//
// Usage (each prints plain lines on stdout and exits 0 on success, 1 on failure, 2 on misuse):
//   probe wait-window TITLE SECONDS  waits for a visible top-level window titled exactly TITLE;
//                                     prints "hwnd 0x..." and "pid N" (the owning process)
//   probe texts TITLE                one line per child window, in creation order:
//                                     "CLASS<TAB>ID<TAB>visible|hidden<TAB>TEXT"
//   probe click TITLE ID             posts WM_COMMAND (ID, BN_CLICKED, the child) to the window
//   probe bm-click TITLE ID          posts BM_CLICK to the child with ID
//   probe client TITLE               "size W H" (client area), "origin X Y" (its top left on the
//                                     screen), "style 0x..." and "exstyle 0x..." (8 hex digits)
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
#include <vector>

namespace {

constexpr DWORD kPollMilliseconds = 50;
constexpr UINT kTextTimeoutMilliseconds = 1000;

void Print(const std::wstring& line) {
  const int length = static_cast<int>(line.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, line.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.data(), length, text.data(), size, nullptr, nullptr);
  text += '\n';
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

std::wstring Hex(unsigned long long value, int digits) {
  wchar_t buffer[32];
  std::swprintf(buffer, 32, L"0x%0*llX", digits, value);
  return buffer;
}

/// The text of a window of any process: WM_GETTEXT is marshalled between processes.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                           kTextTimeoutMilliseconds, &length)) {
    return L"";
  }
  std::vector<wchar_t> buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                      SMTO_ABORTIFHUNG, kTextTimeoutMilliseconds, &copied);
  return std::wstring(buffer.data(), copied);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

struct Search {
  const wchar_t* title;
  HWND visible = nullptr;
  HWND hidden = nullptr;
};

/// The caption of a top-level window, read without sending it a message (a busy program's
/// windows would each cost a timeout).
std::wstring CaptionOf(HWND window) {
  wchar_t caption[512] = {};
  GetWindowTextW(window, caption, 512);
  return caption;
}

BOOL CALLBACK CheckTopLevel(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  if (CaptionOf(window) != search.title) return TRUE;
  if (IsWindowVisible(window)) {
    search.visible = window;
    return FALSE;
  }
  if (search.hidden == nullptr) search.hidden = window;
  return TRUE;
}

Search FindTopLevel(const wchar_t* title) {
  Search search{title};
  EnumWindows(&CheckTopLevel, reinterpret_cast<LPARAM>(&search));
  return search;
}

/// The window titled `title`, visible preferred; null (and a message) when there is none.
HWND FindWindowTitled(const wchar_t* title) {
  Search search = FindTopLevel(title);
  HWND found = search.visible != nullptr ? search.visible : search.hidden;
  if (found == nullptr) Print(std::wstring(L"no window titled \"") + title + L"\"");
  return found;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

std::vector<HWND> ChildrenOf(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

int WaitWindow(const wchar_t* title, const wchar_t* seconds) {
  const ULONGLONG deadline = GetTickCount64() + 1000ULL * std::wcstoul(seconds, nullptr, 10);
  for (;;) {
    HWND window = FindTopLevel(title).visible;
    if (window != nullptr) {
      DWORD pid = 0;
      GetWindowThreadProcessId(window, &pid);
      Print(L"hwnd " + Hex(reinterpret_cast<ULONG_PTR>(window), 8));
      Print(L"pid " + std::to_wstring(pid));
      return 0;
    }
    if (GetTickCount64() >= deadline) break;
    Sleep(kPollMilliseconds);
  }
  Print(std::wstring(L"timed out waiting for \"") + title + L"\"");
  return 1;
}

int Texts(const wchar_t* title) {
  HWND window = FindWindowTitled(title);
  if (window == nullptr) return 1;
  for (HWND child : ChildrenOf(window)) {
    Print(ClassOf(child) + L"\t" + std::to_wstring(GetDlgCtrlID(child)) + L"\t" +
          (IsWindowVisible(child) ? L"visible" : L"hidden") + L"\t" + TextOf(child));
  }
  return 0;
}

HWND ChildWithId(HWND window, const wchar_t* id_text) {
  const int id = static_cast<int>(std::wcstol(id_text, nullptr, 10));
  HWND child = GetDlgItem(window, id);
  if (child == nullptr) Print(std::wstring(L"no control with id ") + id_text);
  return child;
}

int Click(const wchar_t* title, const wchar_t* id_text, bool by_button_message) {
  HWND window = FindWindowTitled(title);
  HWND child = window != nullptr ? ChildWithId(window, id_text) : nullptr;
  if (child == nullptr) return 1;
  BOOL posted = by_button_message
                    ? PostMessageW(child, BM_CLICK, 0, 0)
                    : PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED),
                                   reinterpret_cast<LPARAM>(child));
  return posted ? 0 : 1;
}

int Client(const wchar_t* title) {
  HWND window = FindWindowTitled(title);
  if (window == nullptr) return 1;
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  Print(L"size " + std::to_wstring(client.right) + L" " + std::to_wstring(client.bottom));
  Print(L"origin " + std::to_wstring(origin.x) + L" " + std::to_wstring(origin.y));
  Print(L"style " + Hex(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), 8));
  Print(L"exstyle " + Hex(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), 8));
  return 0;
}

int Close(const wchar_t* title) {
  HWND window = FindWindowTitled(title);
  return window != nullptr && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
}

int PressOk(const wchar_t* title) {
  HWND box = FindWindowTitled(title);
  if (box == nullptr) return 1;
  for (HWND child : ChildrenOf(box)) {
    if (ClassOf(child) != L"Button" || TextOf(child) != L"OK") continue;
    // What the button itself sends its dialog when it is clicked.
    return PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED),
                        reinterpret_cast<LPARAM>(child))
               ? 0
               : 1;
  }
  Print(L"no OK button");
  return 1;
}

int Ping(const wchar_t* title) {
  HWND window = FindWindowTitled(title);
  if (window == nullptr) return 1;
  DWORD_PTR result = 0;
  const bool answered =
      SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
  Print(answered ? L"answered" : L"no answer");
  return answered ? 0 : 1;
}

ULONGLONG Milliseconds(const FILETIME& time) {
  ULARGE_INTEGER value{};
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return value.QuadPart / 10000;  // 100 ns units
}

int Cpu(const wchar_t* pid_text) {
  const DWORD pid = std::wcstoul(pid_text, nullptr, 10);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) {
    Print(std::wstring(L"cannot open process ") + pid_text);
    return 1;
  }
  FILETIME created{}, ended{}, kernel{}, user{};
  const BOOL got = GetProcessTimes(process, &created, &ended, &kernel, &user);
  CloseHandle(process);
  if (!got) return 1;
  Print(std::to_wstring(Milliseconds(kernel) + Milliseconds(user)));
  return 0;
}

int Hold(const wchar_t* path, const wchar_t* seconds) {
  HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Print(std::wstring(L"cannot open ") + path);
    return 1;
  }
  Print(L"held");
  Sleep(1000 * std::wcstoul(seconds, nullptr, 10));
  CloseHandle(file);
  return 0;
}

int Usage() {
  Print(L"usage: probe wait-window|texts|click|bm-click|client|close|press-ok|ping|cpu|hold ...");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // plain "\n" line ends for the shell scripts
  if (argc < 3) return Usage();
  const std::wstring command = argv[1];
  if (argc == 3) {
    if (command == L"texts") return Texts(argv[2]);
    if (command == L"client") return Client(argv[2]);
    if (command == L"close") return Close(argv[2]);
    if (command == L"press-ok") return PressOk(argv[2]);
    if (command == L"ping") return Ping(argv[2]);
    if (command == L"cpu") return Cpu(argv[2]);
  } else if (argc == 4) {
    if (command == L"wait-window") return WaitWindow(argv[2], argv[3]);
    if (command == L"click") return Click(argv[2], argv[3], false);
    if (command == L"bm-click") return Click(argv[2], argv[3], true);
    if (command == L"hold") return Hold(argv[2], argv[3]);
  }
  return Usage();
}
