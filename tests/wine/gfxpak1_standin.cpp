// A stand-in for gfxpak1 under Wine: it runs for the milliseconds that "gfxpak1.control" in its
// current folder gives (none: it ends at once) and appends to "gfxpak1.log" there, in UTF-8,
// "start\tCOMMAND LINE\tCURRENT FOLDER\tshow N\ttime T", then "end\ttime T": N the window state
// it was given, or "default"; T the system time in 100 ns units.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/win32_text.h"

namespace {

std::string Now() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  return "\ttime " + std::to_string((ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime);
}

void Log(const std::string& line) {
  if (FILE* log = _wfopen(L"gfxpak1.log", L"ab")) {
    std::fputs((line + "\n").c_str(), log);
    std::fclose(log);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string started = Now();
  unsigned long run_ms = 0;
  if (FILE* control = _wfopen(L"gfxpak1.control", L"r")) {
    if (std::fscanf(control, "%lu", &run_ms) != 1) run_ms = 0;
    std::fclose(control);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  wchar_t folder[32768] = {};
  GetCurrentDirectoryW(32768, folder);
  using verdantix::win32::Narrow;
  Log("start\t" + Narrow(GetCommandLineW()) + "\t" + Narrow(folder) + "\tshow " +
      ((startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_string(startup.wShowWindow) : "default") +
      started);
  Sleep(run_ms);
  Log("end" + Now());
  return 0;
}
