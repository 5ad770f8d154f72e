// The GTK front of the POSIX platform, for a desktop with a display.
#pragma once

#include <memory>

#include "platform/posix/posix_platform.h"

namespace verdantix::posix {

/// Opens the display with GTK: message boxes become modal GTK message dialogs, the window a GTK
/// window, and waits for a process run GLib's main context. Null when no display can be opened.
std::unique_ptr<Ui> CreateGtkUi();

}  // namespace verdantix::posix
