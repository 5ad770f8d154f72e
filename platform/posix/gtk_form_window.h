// A program window drawn with GTK from its WindowDescription.
#pragma once

#include <gtk/gtk.h>

#include <string_view>
#include <vector>

#include "platform/window.h"

namespace verdantix::posix {

/// The window of a WindowDescription: a fixed, centred utility window without taskbar entry,
/// whose controls sit at their twips positions in pixels of the screen's resolution. Hidden
/// controls are never shown and nothing takes keyboard input. Built hidden; Run shows it.
class GtkFormWindow {
 public:
  GtkFormWindow(const WindowDescription& window, WindowEvents& events);
  ~GtkFormWindow();
  GtkFormWindow(const GtkFormWindow&) = delete;
  GtkFormWindow& operator=(const GtkFormWindow&) = delete;

  /// Shows the window and handles events until a close is granted by QueryClose. A close that
  /// is refused hides the window and goes on.
  void Run();

  GtkWindow* window() const { return GTK_WINDOW(window_); }
  /// The widget of the control named `name` ("Command2"), or null.
  GtkWidget* Control(std::string_view name) const;

 private:
  struct Binding {
    GtkFormWindow* owner;
    int control_id;
  };

  GtkWidget* CreateControl(const ControlDescription& control, int dpi);
  static void OnClicked(GtkButton* button, gpointer binding);
  static gboolean OnDeleteEvent(GtkWidget* widget, GdkEvent* event, gpointer self);

  WindowEvents& events_;
  GtkWidget* window_;
  std::vector<Binding> bindings_;
  bool close_granted_ = false;
};

/// The screen's resolution in dots per inch, 96 when GTK does not know it. GTK's scale factor
/// multiplies the pixels on top of this.
int ScreenDpi(GdkScreen* screen);

}  // namespace verdantix::posix
