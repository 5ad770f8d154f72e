// The Windows program's entry point.
#include <windows.h>

#include "platform/native.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return verdantix::ProgramMain(); }
