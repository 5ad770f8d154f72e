// The Win32 window system side of the platform: message boxes, Form1's window, event pumping.
#pragma once

#include <memory>
#include <string_view>

#include "platform/platform.h"

namespace verdantix::win32 {

class FormWindow;

/// MessageBoxW, application-modal, single OK button, captioned with the application title;
/// `icon` kNone for the patch's messages.
void ShowMessageBox(std::string_view text, MessageIcon icon);

/// Creates the window of `window` with its controls, hidden; its messages are handled by any
/// message loop of the thread from now on.
std::unique_ptr<FormWindow> CreateMainWindow(const WindowDescription& window, WindowEvents& events);

/// Shows `window` and runs the message loop until it is closed (or hidden for good when its
/// events' QueryClose refuses).
void RunMainWindow(FormWindow& window);

/// Handles every message pending for the program's windows, then returns without waiting.
void PumpPendingMessages();

}  // namespace verdantix::win32
