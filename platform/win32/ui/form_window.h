// The program's main window on Win32, drawn from its WindowDescription.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/window.h"

namespace verdantix::win32 {

/// One top-level window with its controls. Created hidden; the static window procedure finds
/// the object through the window's user data and routes each message to one short member.
class FormWindow {
 public:
  FormWindow(const WindowDescription& description, WindowEvents& events);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  /// Creates the window and its controls, hidden, at the DPI of the monitor Windows opens it
  /// on. Failing to create it is an out-of-memory run-time error, and leaves no window.
  void Create();
  /// Centres the window on the whole screen of its monitor, then shows and activates it (its
  /// controls keep their own visibility).
  void Show();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  /// Any program may send the window any message with any parameters: the handlers trust only
  /// what the window itself knows.
  LRESULT Handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  void OnCommand(WPARAM wparam);
  void OnClose();
  void OnDpiChanged();
  /// Destroys the window for real: only then do its WM_NCDESTROY detach this object.
  void Destroy();

  void RegisterWindowClass();
  /// False when a control cannot be created.
  bool CreateControls();
  /// Lays out the controls, their font and Command2's picture for `dpi`.
  void ApplyDpi(UINT dpi);
  /// Command2's picture, sized for `dpi`; the caller owns it.
  HBITMAP LoadPicture(UINT dpi) const;
  /// The outer size of the window whose client area the description gives, at `dpi`.
  SIZE WindowSize(UINT dpi) const;

  const WindowDescription& description_;
  WindowEvents& events_;
  HINSTANCE instance_;
  ATOM window_class_ = 0;
  HWND window_ = nullptr;
  bool destroying_ = false;     ///< Destroy has begun: the WM_NCDESTROY that comes is real
  std::vector<HWND> controls_;  ///< parallel to description_.controls
  HFONT font_ = nullptr;
  HBITMAP picture_ = nullptr;
  UINT dpi_ = 0;
};

}  // namespace verdantix::win32
