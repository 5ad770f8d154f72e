// The Win32 window system side of the platform: message boxes, Form1's window, event pumping.
#pragma once

#include <string_view>

#include "platform/platform.h"

namespace verdantix::win32 {

/// MessageBoxW, application-modal, single OK button, captioned with the application title and
/// brought to the foreground; `icon` kNone for the patch's messages.
void ShowMessageBox(std::string_view text, MessageIcon icon);

/// Creates the window of `window` with its controls, shows it and runs its message loop until
/// it is closed (or hidden for good when `events.QueryClose()` refuses).
void RunMainWindow(const WindowDescription& window, WindowEvents& events);

/// Handles every message pending for the program's windows, then returns without waiting.
void PumpPendingMessages();

}  // namespace verdantix::win32
