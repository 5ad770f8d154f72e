// The entry point of the GTK front when it is built as a module of its own.
#include "platform/posix/gtk_ui.h"

/// Creates the GTK front, or returns null when no display can be opened.
extern "C" __attribute__((visibility("default"))) verdantix::posix::Ui* verdantix_create_gtk_ui() {
  return verdantix::posix::CreateGtkUi().release();
}
