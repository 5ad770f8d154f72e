// A stand-in for the external tool gfxpak1 in the end-to-end tests under Windows: it logs how
// it was started, and can run for a while and end with a chosen status.
//
// It reads "gfxpak1.control" in its current folder, if there is one: two numbers, the
// milliseconds to run and the exit status. It appends to "gfxpak1.log" in its current folder,
// in UTF-8, one line when it starts and one when it ends:
//   start<TAB>COMMAND LINE<TAB>CURRENT FOLDER<TAB>show N<TAB>flags 0xN<TAB>time T<TAB>pid N
//   end<TAB>time T<TAB>pid N
// where show and flags are the wShowWindow and dwFlags of its STARTUPINFO and T is the system
// time in 100-nanosecond units.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  const int length = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

void AppendLine(const std::string& line) {
  if (FILE* log = _wfopen(L"gfxpak1.log", L"ab")) {
    std::fputs((line + "\n").c_str(), log);
    std::fclose(log);
  }
}

std::string Now() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  return "time " + std::to_string((static_cast<unsigned long long>(now.dwHighDateTime) << 32) |
                                  now.dwLowDateTime);
}

std::wstring CurrentFolder() {
  std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::string started = Now();
  unsigned long run_ms = 0;
  int exit_status = 0;
  if (FILE* control = _wfopen(L"gfxpak1.control", L"r")) {
    if (std::fscanf(control, "%lu %d", &run_ms, &exit_status) < 2) exit_status = 0;
    std::fclose(control);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  const std::string pid = "pid " + std::to_string(GetCurrentProcessId());
  char flags[32];
  std::snprintf(flags, sizeof flags, "flags 0x%lx", static_cast<unsigned long>(startup.dwFlags));
  AppendLine("start\t" + Utf8(GetCommandLineW()) + "\t" + Utf8(CurrentFolder()) + "\tshow " +
             std::to_string(startup.wShowWindow) + "\t" + flags + "\t" + started + "\t" + pid);
  Sleep(run_ms);
  AppendLine("end\t" + Now() + "\t" + pid);
  return exit_status;
}
