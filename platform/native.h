// The meeting point of the program and the operating system it was built for.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace verdantix {

/// The platform of this build: Win32 on Windows; POSIX files and processes with a GTK window,
/// or the terminal when no display can be opened, elsewhere.
std::unique_ptr<Platform> CreateNativePlatform();

/// The program itself, called by the platform's entry point; returns the exit status.
int ProgramMain();

}  // namespace verdantix
