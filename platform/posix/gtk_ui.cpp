// The GTK front: message dialogs, the program window, and waits inside GLib's main context.
#include "platform/posix/gtk_ui.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "platform/posix/gtk_form_window.h"

namespace verdantix::posix {

namespace {

GtkMessageType MessageTypeOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return GTK_MESSAGE_INFO;
    case MessageIcon::kError:
      return GTK_MESSAGE_ERROR;
    case MessageIcon::kNone:
      break;
  }
  return GTK_MESSAGE_OTHER;
}

/// GTK 3 message dialogs show no icon of their own; the image has to be given.
const char* IconNameOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return "dialog-information";
    case MessageIcon::kError:
      return "dialog-error";
    case MessageIcon::kNone:
      break;
  }
  return nullptr;
}

void SetIcon(GtkMessageDialog* dialog, MessageIcon icon) {
  const char* name = IconNameOf(icon);
  if (name == nullptr) return;
  GtkWidget* image = gtk_image_new_from_icon_name(name, GTK_ICON_SIZE_DIALOG);
  gtk_widget_show(image);
  // Still the one call that puts an icon beside the text of a message dialog.
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_message_dialog_set_image(dialog, image);
  G_GNUC_END_IGNORE_DEPRECATIONS
  // Setting an image turns the dialog into GTK_MESSAGE_OTHER; its kind still matters to
  // accessibility tools.
  g_object_set(dialog, "message-type", MessageTypeOf(icon), nullptr);
}

/// A short message would leave the dialog too narrow for its title, which the window manager
/// then cuts; the text is given room for the title and the frame's buttons.
void LeaveRoomForTitle(GtkMessageDialog* dialog) {
  constexpr int kFrameButtonsInCharacters = 12;
  GtkWidget* area = gtk_message_dialog_get_message_area(dialog);
  GList* labels = gtk_container_get_children(GTK_CONTAINER(area));
  if (labels != nullptr && GTK_IS_LABEL(labels->data)) {
    gtk_label_set_width_chars(GTK_LABEL(labels->data), static_cast<int>(kApplicationTitle.size()) +
                                                           kFrameButtonsInCharacters);
  }
  g_list_free(labels);
}

gboolean MarkReady(gint, GIOCondition, gpointer ready) {
  *static_cast<bool*>(ready) = true;
  return G_SOURCE_REMOVE;
}

class GtkUi : public Ui {
 public:
  void ShowMessage(std::string_view text, MessageIcon icon) override {
    std::string message(text);
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, MessageTypeOf(icon),
                                               GTK_BUTTONS_OK, "%s", message.c_str());
    std::string title(kApplicationTitle);
    gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
    SetIcon(GTK_MESSAGE_DIALOG(dialog), icon);
    LeaveRoomForTitle(GTK_MESSAGE_DIALOG(dialog));
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    // The dialog leaves the screen now, also when the program ends right after it.
    gdk_display_flush(gdk_display_get_default());
  }

  void CreateHiddenWindow(const WindowDescription& window, WindowEvents& events) override {
    form_ = std::make_unique<GtkFormWindow>(window, events);
  }

  void ShowWindowUntilClosed() override { form_->Run(); }

  // The descriptor is one more source of the main context, so the window is served meanwhile
  // and nothing spins.
  void WaitForReadable(int pidfd) override {
    bool ready = false;
    g_unix_fd_add(pidfd, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), MarkReady,
                  &ready);
    while (!ready) g_main_context_iteration(nullptr, TRUE);
  }

 private:
  std::unique_ptr<GtkFormWindow> form_;
};

}  // namespace

std::unique_ptr<Ui> CreateGtkUi() {
  if (!gtk_init_check(nullptr, nullptr)) return nullptr;
  return std::make_unique<GtkUi>();
}

}  // namespace verdantix::posix
