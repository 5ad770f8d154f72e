// The GTK front of the POSIX platform, for a desktop with a display.
#pragma once

#include <memory>

#include "platform/posix/posix_platform.h"

namespace verdantix::posix {

/// Opens the display with GTK: message boxes become modal GTK message dialogs, the window a GTK
/// window, and waits for a process run GLib's main context. Null when no display can be opened.
std::unique_ptr<Ui> CreateGtkUi();

/// CreateGtkUi from the GTK module carried inside the program, loaded only when the environment
/// names a display. Null when there is none, or the module or the display cannot be opened.
std::unique_ptr<Ui> LoadGtkUi();

}  // namespace verdantix::posix
