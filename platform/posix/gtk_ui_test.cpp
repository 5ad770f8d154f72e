// The GTK front against a real display: controls, close rule, waits.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <array>
#include <string>
#include <vector>

#include "platform/posix/gtk_form_window.h"
#include "platform/posix/gtk_ui.h"

namespace verdantix::posix {
namespace {

constexpr std::array<ControlDescription, 3> kControls = {{
    {"Button", 7, ControlKind::kButton, 4320, 3600, 375, 195, "Button", false},
    {"Picture", 8, ControlKind::kGraphicalButton, 120, 3840, 2295, 375, "", false},
    {"Entry", 9, ControlKind::kTextBox, 120, 3600, 4095, 285, "Entry", false},
}};
constexpr WindowDescription kWindow = {" Test Window", 4755, 1860, Rgb{0, 0, 64}, kControls};

class RecordingEvents : public WindowEvents {
 public:
  void OnClick(int control_id) override { clicks.push_back(control_id); }
  bool QueryClose() override { return close_answers.at(close_queries++); }
  std::vector<int> clicks;
  std::vector<bool> close_answers;
  std::size_t close_queries = 0;
};

/// Runs `step` from the main loop every 50 ms until it returns false or this goes out of scope.
class Every50Ms {
 public:
  template <typename Step>
  explicit Every50Ms(Step& step) : source_(g_timeout_source_new(50)) {
    g_source_set_callback(
        source_, [](gpointer data) -> gboolean { return (*static_cast<Step*>(data))(); }, &step,
        nullptr);
    g_source_attach(source_, nullptr);
  }
  ~Every50Ms() {
    g_source_destroy(source_);
    g_source_unref(source_);
  }

 private:
  GSource* source_;
};

class GtkFormWindowTest : public testing::Test {
 protected:
  RecordingEvents events_;
  GtkFormWindow form_{kWindow, events_};
};

TEST_F(GtkFormWindowTest, ButtonClicksReachTheirControlIds) {
  gtk_button_clicked(GTK_BUTTON(form_.Control("Picture")));
  gtk_button_clicked(GTK_BUTTON(form_.Control("Button")));
  EXPECT_EQ(events_.clicks, (std::vector<int>{8, 7}));
}

TEST_F(GtkFormWindowTest, HiddenControlsStayHiddenAndTakeNoFocus) {
  gtk_widget_show_all(GTK_WIDGET(form_.window()));
  for (const char* name : {"Button", "Picture", "Entry"}) {
    GtkWidget* control = form_.Control(name);
    ASSERT_NE(control, nullptr) << name;
    EXPECT_FALSE(gtk_widget_get_visible(control)) << name;
    EXPECT_FALSE(gtk_widget_get_can_focus(control)) << name;
  }
}

TEST_F(GtkFormWindowTest, RefusedCloseHidesTheWindowAndGrantedCloseEndsRun) {
  events_.close_answers = {false, true};
  bool visible_after_refusal = true;
  auto step = [&]() -> gboolean {
    if (events_.close_queries == 1) {
      visible_after_refusal = gtk_widget_get_visible(GTK_WIDGET(form_.window()));
    }
    gtk_window_close(form_.window());
    return events_.close_queries < 2 ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
  };
  Every50Ms timer(step);
  form_.Run();
  EXPECT_EQ(events_.close_queries, 2u);
  EXPECT_FALSE(visible_after_refusal);
}

TEST(GtkUi, WaitForReadableServesTheMainLoopUntilTheDescriptorIsReady) {
  auto ui = CreateGtkUi();
  ASSERT_NE(ui, nullptr);
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  int steps = 0;
  // The descriptor turns readable only through a source of the main loop, on its third turn.
  auto step = [&]() -> gboolean {
    if (++steps < 3) return G_SOURCE_CONTINUE;
    EXPECT_EQ(write(ends[1], "x", 1), 1);
    return G_SOURCE_REMOVE;
  };
  Every50Ms timer(step);
  ui->WaitForReadable(ends[0]);
  EXPECT_EQ(steps, 3);
  close(ends[0]);
  close(ends[1]);
}

struct DialogCase {
  MessageIcon icon;
  GtkMessageType type;
  const char* icon_name;  // empty: no image
};

class GtkMessage : public testing::TestWithParam<DialogCase> {};

/// The message dialog on the screen, or null.
GtkMessageDialog* ShownMessageDialog() {
  GList* windows = gtk_window_list_toplevels();
  GtkMessageDialog* found = nullptr;
  for (GList* item = windows; item != nullptr; item = item->next) {
    if (GTK_IS_MESSAGE_DIALOG(item->data) && gtk_widget_get_visible(GTK_WIDGET(item->data))) {
      found = GTK_MESSAGE_DIALOG(item->data);
    }
  }
  g_list_free(windows);
  return found;
}

TEST_P(GtkMessage, ShowsItsTextAndIcon) {
  auto ui = CreateGtkUi();
  ASSERT_NE(ui, nullptr);
  std::string text, icon_name;
  GtkMessageType type = GTK_MESSAGE_OTHER;
  auto step = [&]() -> gboolean {
    GtkMessageDialog* dialog = ShownMessageDialog();
    if (dialog == nullptr) return G_SOURCE_CONTINUE;
    gchar* shown = nullptr;
    GtkWidget* image = nullptr;
    g_object_get(dialog, "text", &shown, "message-type", &type, "image", &image, nullptr);
    text = shown;
    g_free(shown);
    if (image != nullptr) {
      const gchar* name = nullptr;
      gtk_image_get_icon_name(GTK_IMAGE(image), &name, nullptr);
      icon_name = name ? name : "";
      g_object_unref(image);
    }
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    return G_SOURCE_REMOVE;
  };
  Every50Ms timer(step);
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

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "gtk_ui_test needs a display\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
