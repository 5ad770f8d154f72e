// Functions of system DLLs looked up at run time: newer than Windows 7, or from a DLL the
// program loads only once it has restricted where DLLs come from (platform/win32/entry.cpp).
#pragma once

#include <windows.h>

namespace verdantix::win32 {

/// `name` from the system DLL `module`, or null when this Windows lacks either. The DLL is one
/// already loaded or one from the system folder: a DLL of the same name in the program's own
/// folder (the game folder, which others may write) would run with the program's rights.
/// Windows 7 without its update KB2533623 knows no LOAD_LIBRARY_SEARCH_SYSTEM32, so nothing is
/// loaded there: it has no shcore, and its controls still get Common Controls 6 through the
/// manifest's window classes, which a full path to comctl32 would bypass.
template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name) {
  HMODULE handle = GetModuleHandleW(module);
  if (handle == nullptr) handle = LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (handle == nullptr) return nullptr;
  // Through void(*)(): the cast GCC accepts between unrelated function pointer types.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(handle, name)));
}

}  // namespace verdantix::win32
