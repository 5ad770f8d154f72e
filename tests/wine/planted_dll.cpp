// A DLL planted in the game folder under the name of a system DLL, for the end-to-end tests
// under Wine: whoever loads it, it leaves a mark beside itself ("NAME.dll.loaded"), then fails
// to load, so that the program goes on as without it and the test sees the mark.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  wchar_t mark[MAX_PATH + 8];
  const DWORD length = GetModuleFileNameW(self, mark, MAX_PATH);
  if (reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH) {
    lstrcpyW(mark + length, L".loaded");
    CloseHandle(CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  return reason != DLL_PROCESS_ATTACH;
}
