// The Windows program's entry point: DLLs from the system folder only, then the program.
#include <windows.h>

#include "platform/native.h"
#include "platform/win32/ui/system_function.h"

namespace {

/// From here on a DLL named without a folder, whoever loads it, is looked for in the system
/// folder only: the program runs with administrator rights from the game folder, which others
/// may write, and Windows would look there first. Windows 7 without its update KB2533623 lacks
/// the function, hence the look-up.
void LoadDllsFromTheSystemFolderOnly() {
  const auto set_default_dll_directories = verdantix::win32::SystemFunction<BOOL(WINAPI*)(DWORD)>(
      L"kernel32.dll", "SetDefaultDllDirectories");
  if (set_default_dll_directories != nullptr) {
    set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  LoadDllsFromTheSystemFolderOnly();
  return verdantix::ProgramMain();
}
