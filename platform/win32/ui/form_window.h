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

  /// Creates the window and its controls, hidden, centred on the primary monitor's work area,
  /// sized for that monitor's DPI. Failing to create it is an out-of-memory run-time error.
  void Create();
  /// Shows and activates the window (its controls keep their own visibility).
  void Show();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

  /// False when a control cannot be created: the window's creation then fails.
  bool OnCreate();
  void OnCommand(WPARAM wparam);
  void OnClose();
  void OnDpiChanged(UINT dpi, const RECT& suggested);

  void RegisterWindowClass();
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
  std::vector<HWND> controls_;  ///< parallel to description_.controls
  HFONT font_ = nullptr;
  HBITMAP picture_ = nullptr;
  UINT dpi_ = 0;
};

}  // namespace verdantix::win32
