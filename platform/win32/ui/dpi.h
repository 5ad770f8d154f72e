// Dots per inch of windows, with the per-monitor functions of newer Windows looked up at run
// time (the program also runs on Windows 7, which lacks them).
#pragma once

#include <windows.h>

namespace verdantix::win32 {

/// The pixel density of a screen at 100 % scaling.
inline constexpr UINT kDefaultDpi = 96;

/// The DPI `window` is drawn at: its own on Windows 10 and later, its monitor's on 8.1, the
/// system's before.
UINT WindowDpi(HWND window);

/// The outer size of a window with `style` and `ex_style` whose client area is `client` at `dpi`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD ex_style, UINT dpi);

/// A new font: the system's message font (the default dialog font) at `dpi`. The caller owns it.
HFONT CreateMessageFont(UINT dpi);

}  // namespace verdantix::win32
