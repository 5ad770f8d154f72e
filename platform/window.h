// What a platform needs to draw the program's window and to route its events back.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace verdantix {

/// Lengths of the window description are twips: 1/1440 inch, 15 to a pixel at 96 DPI.
constexpr int kTwipsPerInch = 1440;

/// Converts twips to pixels at `dpi` dots per inch, rounding to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi) {
  return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

enum class ControlKind { kButton, kGraphicalButton, kTextBox };

/// One control of a window, in twips relative to the client area.
struct ControlDescription {
  std::string_view name;  ///< e.g. "Command2"
  int id;                 ///< fixed identifier that other programs use to click it
  ControlKind kind;
  int left, top, width, height;
  std::string_view text;  ///< caption of a button, content of a text box
  bool visible;
};

struct Rgb {
  std::uint8_t red, green, blue;
};

/// A fixed tool window: thin fixed border, small title bar with a close box, not resizable,
/// no minimise or maximise box, no taskbar entry, centred on the screen.
struct WindowDescription {
  std::string_view caption;
  int client_width, client_height;  ///< twips
  Rgb background;
  std::span<const ControlDescription> controls;  ///< in order of creation
};

/// The program's side of the window: the platform calls these on its user-interface thread,
/// from its event loop, from the wait for a started process and from a message box's loop.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  /// A click on the control with `control_id`, from the user or another program.
  virtual void OnClick(int control_id) = 0;
  /// The user asks to close the window. False keeps the program running with the window
  /// hidden; the program then ends by itself.
  virtual bool QueryClose() = 0;
};

}  // namespace verdantix
