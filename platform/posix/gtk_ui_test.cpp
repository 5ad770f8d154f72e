// The GTK front against a real display: controls, close rule, callback failures, waits, dialogs.
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
    {"Button", 7, ControlKind::kButton, 4320, 3600, 375, 195, 2, "Button", false},
    {"Picture", 8, ControlKind::kGraphicalButton, 120, 3840, 2295, 375, 1, "", false},
    {"Entry", 9, ControlKind::kTextBox, 120, 3600, 4095, 285, 0, "Entry", false},
}};
constexpr WindowDescription kWindow = {" Test Window", 4755, 1860, Rgb{0, 0, 64}, kControls};

class RecordingEvents : public WindowEvents {
 public:
  void OnClick(int control_id) override {
    clicks.push_back(control_id);
    if (fail_clicks) throw RuntimeError(ErrorNumber::kFileNotFound, "gfxpak1");
  }
  bool QueryClose() override {
    bool answer = close_answers.at(close_queries);
    ++close_queries;
    return answer;
  }
  std::vector<int> clicks;
  std::vector<bool> close_answers;
  std::size_t close_queries = 0;
  bool fail_clicks = false;
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
  Every50Ms(const Every50Ms&) = delete;
  Every50Ms& operator=(const Every50Ms&) = delete;

 private:
  GSource* source_;
};

TEST(GtkFormWindow, ButtonClicksReachTheirControlIds) {
  RecordingEvents events;
  GtkFormWindow form(kWindow, events);
  gtk_button_clicked(GTK_BUTTON(form.Control("Picture")));
  gtk_button_clicked(GTK_BUTTON(form.Control("Button")));
  EXPECT_EQ(events.clicks, (std::vector<int>{8, 7}));
  EXPECT_TRUE(GTK_IS_ENTRY(form.Control("Entry")));
}

TEST(GtkFormWindow, HiddenControlsStayHiddenAndTakeNoFocus) {
  RecordingEvents events;
  GtkFormWindow form(kWindow, events);
  gtk_widget_show_all(GTK_WIDGET(form.window()));
  for (const char* name : {"Button", "Picture", "Entry"}) {
    GtkWidget* control = form.Control(name);
    ASSERT_NE(control, nullptr) << name;
    EXPECT_FALSE(gtk_widget_get_visible(control)) << name;
    EXPECT_FALSE(gtk_widget_get_can_focus(control)) << name;
  }
}

TEST(GtkFormWindow, ClientAreaIsTheTwipsAtTheScreenResolution) {
  RecordingEvents events;
  GtkFormWindow form(kWindow, events);
  int dpi = ScreenDpi(gtk_window_get_screen(form.window()));
  int width = 0;
  int height = 0;
  gtk_widget_get_size_request(gtk_bin_get_child(GTK_BIN(form.window())), &width, &height);
  EXPECT_EQ(width, TwipsToPixels(4755, dpi));
  EXPECT_EQ(height, TwipsToPixels(1860, dpi));
  EXPECT_FALSE(gtk_window_get_resizable(form.window()));
  EXPECT_EQ(gtk_window_get_type_hint(form.window()), GDK_WINDOW_TYPE_HINT_UTILITY);
  EXPECT_STREQ(gtk_window_get_title(form.window()), " Test Window");
}

TEST(GtkFormWindow, RefusedCloseHidesTheWindowAndGrantedCloseEndsRun) {
  RecordingEvents events;
  events.close_answers = {false, true};
  GtkFormWindow form(kWindow, events);
  std::vector<bool> visible_after_close;
  auto step = [&]() -> gboolean {
    if (events.close_queries > visible_after_close.size()) {
      visible_after_close.push_back(gtk_widget_get_visible(GTK_WIDGET(form.window())));
    }
    gtk_window_close(form.window());
    return events.close_queries < 2 ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
  };
  Every50Ms timer(step);
  form.Run();
  EXPECT_EQ(events.close_queries, 2u);
  ASSERT_FALSE(visible_after_close.empty());
  EXPECT_FALSE(visible_after_close.front());
}

TEST(GtkFormWindow, FailureInAClickIsRethrownByRun) {
  RecordingEvents events;
  events.fail_clicks = true;
  GtkFormWindow form(kWindow, events);
  auto step = [&]() -> gboolean {
    gtk_button_clicked(GTK_BUTTON(form.Control("Picture")));
    return G_SOURCE_REMOVE;
  };
  Every50Ms timer(step);
  EXPECT_THROW(form.Run(), RuntimeError);
  EXPECT_EQ(events.clicks, std::vector<int>{8});
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
  const char* icon_name;  // null: no image
};

class GtkMessage : public testing::TestWithParam<DialogCase> {};

struct SeenDialog {
  std::string title, text, icon_name;
  GtkMessageType type = GTK_MESSAGE_OTHER;
  int buttons = 0;
  bool found = false;
};

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

SeenDialog Inspect(GtkMessageDialog* dialog) {
  SeenDialog seen;
  seen.found = true;
  seen.title = gtk_window_get_title(GTK_WINDOW(dialog));
  gchar* text = nullptr;
  GtkWidget* image = nullptr;
  g_object_get(dialog, "text", &text, "message-type", &seen.type, "image", &image, nullptr);
  seen.text = text;
  g_free(text);
  if (image != nullptr) {
    const gchar* name = nullptr;
    gtk_image_get_icon_name(GTK_IMAGE(image), &name, nullptr);
    seen.icon_name = name ? name : "";
    g_object_unref(image);
  }
  GList* buttons = gtk_container_get_children(GTK_CONTAINER(gtk_widget_get_parent(
      gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK))));
  seen.buttons = static_cast<int>(g_list_length(buttons));
  g_list_free(buttons);
  return seen;
}

TEST_P(GtkMessage, IsAModalDialogTitledWithTheApplicationAndOneOkButton) {
  auto ui = CreateGtkUi();
  ASSERT_NE(ui, nullptr);
  SeenDialog seen;
  auto step = [&]() -> gboolean {
    GtkMessageDialog* dialog = ShownMessageDialog();
    if (dialog == nullptr) return G_SOURCE_CONTINUE;
    seen = Inspect(dialog);
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    return G_SOURCE_REMOVE;
  };
  Every50Ms timer(step);
  ui->ShowMessage("Run-time error '53':\n\nFile not found\n\ngfxpak1", GetParam().icon);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.title, kApplicationTitle);
  EXPECT_EQ(seen.text, "Run-time error '53':\n\nFile not found\n\ngfxpak1");
  EXPECT_EQ(seen.type, GetParam().type);
  EXPECT_EQ(seen.icon_name, GetParam().icon_name ? GetParam().icon_name : "");
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_EQ(ShownMessageDialog(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Icons, GtkMessage,
    testing::Values(DialogCase{MessageIcon::kNone, GTK_MESSAGE_OTHER, nullptr},
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
