// The GTK front where no other program can reach it, under the display of tests/gtk/gtk_test.sh:
// clicks on Form1's hidden buttons, a wait for a tool with the close it refuses meanwhile, and the
// dialogs.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/form1_layout.h"
#include "platform/posix/gtk_form_window.h"
#include "platform/posix/gtk_ui.h"

namespace verdantix::posix {
namespace {

/// Records clicks and requests to close, and refuses every close, as Form1 does during a wait.
class RecordingEvents : public WindowEvents {
 public:
  void OnClick(int control_id) override { clicks.push_back(control_id); }
  bool QueryClose() override {
    ++close_requests;
    return false;
  }
  std::vector<int> clicks;
  int close_requests = 0;
};

/// Runs `step` from the main loop every 50 ms until it returns false.
template <typename Step>
void Every50Ms(Step& step) {
  g_timeout_add(
      50, [](gpointer data) -> gboolean { return (*static_cast<Step*>(data))(); }, &step);
}

TEST(GtkFormWindow, ClicksOnForm1sButtonsReachTheirControlIds) {
  CreateGtkUi();  // opens the display
  RecordingEvents events;
  GtkFormWindow form(kForm1, events);
  gtk_button_clicked(GTK_BUTTON(form.Control("Command2")));
  gtk_button_clicked(GTK_BUTTON(form.Control("Command3")));
  EXPECT_EQ(events.clicks, (std::vector<int>{1002, 1003}));
}

TEST(GtkUi, AWaitServesTheWindowUntilTheDescriptorIsReadyAndARefusedCloseHidesIt) {
  auto ui = CreateGtkUi();
  RecordingEvents events;
  GtkFormWindow form({" Test Window", 4755, 1860, Rgb{0, 0, 64}, {}}, events);
  gtk_widget_show(GTK_WIDGET(form.window()));
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  // The user closes the window on the first turn; the tool ends on the third.
  int steps = 0;
  auto step = [&] {
    if (++steps == 1) gtk_window_close(form.window());
    return steps < 3 || write(ends[1], "x", 1) != 1;
  };
  Every50Ms(step);
  ui->WaitForReadable(ends[0]);
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(events.close_requests, 1);
  EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(form.window())));
  close(ends[0]);
  close(ends[1]);
}

struct DialogCase {
  MessageIcon icon;
  GtkMessageType type;
  const char* icon_name;  // empty: no image
};

class GtkMessage : public testing::TestWithParam<DialogCase> {};

TEST_P(GtkMessage, ShowsItsTextWithItsKindAndIcon) {
  auto ui = CreateGtkUi();
  std::string text, icon_name;
  GtkMessageType type = GTK_MESSAGE_OTHER;
  // Reads the message dialog on the screen (modal, it holds the grab), then answers it.
  auto step = [&] {
    GtkWidget* dialog = gtk_grab_get_current();
    if (!GTK_IS_MESSAGE_DIALOG(dialog)) return true;
    g_autofree gchar* shown = nullptr;
    g_autoptr(GtkWidget) image = nullptr;
    g_object_get(dialog, "text", &shown, "message-type", &type, "image", &image, nullptr);
    text = shown;
    if (image != nullptr) {
      const gchar* name = nullptr;
      gtk_image_get_icon_name(GTK_IMAGE(image), &name, nullptr);
      icon_name = name ? name : "";
    }
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    return false;
  };
  Every50Ms(step);
  ui->ShowMessage("Run-time error '53':\n\nFile not found\n\ngfxpak1", GetParam().icon);
  EXPECT_EQ(text, "Run-time error '53':\n\nFile not found\n\ngfxpak1");
  EXPECT_EQ(type, GetParam().type);
  EXPECT_EQ(icon_name, GetParam().icon_name);
}

INSTANTIATE_TEST_SUITE_P(
    Icons, GtkMessage,
    testing::Values(DialogCase{MessageIcon::kNone, GTK_MESSAGE_OTHER, ""},
                    DialogCase{MessageIcon::kInformation, GTK_MESSAGE_INFO, "dialog-information"},
                    DialogCase{MessageIcon::kError, GTK_MESSAGE_ERROR, "dialog-error"}));

}  // namespace
}  // namespace verdantix::posix
