// Win32 message boxes, the main window's message loop and the pumping of pending messages.
#include "platform/win32/ui/win32_ui.h"

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/ui/form_window.h"
#include "platform/win32/ui/system_function.h"
#include "platform/win32/win32_text.h"

namespace verdantix::win32 {

namespace {

// A WM_QUIT that PumpPendingMessages took from the queue while an action waited; the main
// loop ends on it once the action returns. Posting it again instead would wake the waiting
// action at once, over and over.
bool quit_seen_while_pumping = false;

BOOL CALLBACK KeepFirstVisible(HWND window, LPARAM found) {
  if (!IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

/// The program's shown window, if any: a message box disables it while it is up.
HWND ShownWindowOfThisThread() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &KeepFirstVisible, reinterpret_cast<LPARAM>(&found));
  return found;
}

void InitialiseCommonControls() {
  // The manifest asks for Common Controls 6; its button and edit classes come with them. The
  // DLL is loaded here rather than imported: an imported DLL starts, and loads what it needs,
  // before the program has restricted where DLLs come from.
  static const auto initialise = SystemFunction<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(
      L"comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES;
  if (initialise != nullptr) initialise(&controls);
}

}  // namespace

void ShowMessageBox(std::string_view text, MessageIcon icon) {
  UINT style = MB_OK | MB_APPLMODAL;
  if (icon == MessageIcon::kInformation) style |= MB_ICONINFORMATION;
  if (icon == MessageIcon::kError) style |= MB_ICONERROR;
  MessageBoxW(ShownWindowOfThisThread(), Wide(text).c_str(), Wide(kApplicationTitle).c_str(),
              style);
}

std::unique_ptr<FormWindow> CreateMainWindow(const WindowDescription& window,
                                             WindowEvents& events) {
  InitialiseCommonControls();
  quit_seen_while_pumping = false;
  auto form = std::make_unique<FormWindow>(window, events);
  form->Create();
  return form;
}

void RunMainWindow(FormWindow& form) {
  form.Show();
  MSG message;
  while (!quit_seen_while_pumping && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void PumpPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit_seen_while_pumping = true;
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace verdantix::win32
