// A program window drawn with GTK: frame hints, navy client area, hidden controls, close rule.
#include "platform/posix/gtk_form_window.h"

#include <cmath>
#include <string>

namespace verdantix::posix {

namespace {

constexpr int kDefaultDpi = 96;

/// Paints the window itself, not its controls, in `colour`.
void SetBackground(GtkWidget* window, Rgb colour) {
  std::string css = "window { background-image: none; background-color: rgb(" +
                    std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
                    std::to_string(colour.blue) + "); }";
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(window), GTK_STYLE_PROVIDER(provider),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

GtkWidget* NewFramedWindow(const WindowDescription& window) {
  GtkWidget* widget = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* frame = GTK_WINDOW(widget);
  std::string caption(window.caption);
  gtk_window_set_title(frame, caption.c_str());
  gtk_window_set_resizable(frame, FALSE);
  // The utility type gives a small title bar without minimise or maximise with most managers.
  gtk_window_set_type_hint(frame, GDK_WINDOW_TYPE_HINT_UTILITY);
  gtk_window_set_skip_taskbar_hint(frame, TRUE);
  gtk_window_set_skip_pager_hint(frame, TRUE);
  gtk_window_set_deletable(frame, TRUE);
  gtk_window_set_position(frame, GTK_WIN_POS_CENTER);
  SetBackground(widget, window.background);
  return widget;
}

gboolean SwallowKey(GtkWidget*, GdkEventKey*, gpointer) { return GDK_EVENT_STOP; }

}  // namespace

int ScreenDpi(GdkScreen* screen) {
  double resolution = screen ? gdk_screen_get_resolution(screen) : -1;
  return resolution > 0 ? static_cast<int>(std::lround(resolution)) : kDefaultDpi;
}

GtkFormWindow::GtkFormWindow(const WindowDescription& window, WindowEvents& events)
    : events_(events), window_(NewFramedWindow(window)) {
  int dpi = ScreenDpi(gtk_widget_get_screen(window_));
  // A window that cannot be resized ignores its default size, so the content carries it.
  GtkWidget* client = gtk_fixed_new();
  gtk_widget_set_size_request(client, TwipsToPixels(window.client_width, dpi),
                              TwipsToPixels(window.client_height, dpi));
  gtk_container_add(GTK_CONTAINER(window_), client);
  bindings_.reserve(window.controls.size());
  for (const ControlDescription& control : window.controls) {
    gtk_fixed_put(GTK_FIXED(client), CreateControl(control, dpi), TwipsToPixels(control.left, dpi),
                  TwipsToPixels(control.top, dpi));
  }
  gtk_widget_show(client);
  // No key has an effect: not Tab, Return, Space, nor GTK's own window bindings.
  g_signal_connect(window_, "key-press-event", G_CALLBACK(SwallowKey), nullptr);
  g_signal_connect(window_, "key-release-event", G_CALLBACK(SwallowKey), nullptr);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDeleteEvent), this);
}

GtkFormWindow::~GtkFormWindow() { gtk_widget_destroy(window_); }

GtkWidget* GtkFormWindow::CreateControl(const ControlDescription& control, int dpi) {
  std::string text(control.text);
  GtkWidget* widget = nullptr;
  if (control.kind == ControlKind::kTextBox) {
    widget = gtk_entry_new();
    gtk_entry_set_text(GTK_ENTRY(widget), text.c_str());
  } else {
    // A graphical button's picture is a Windows resource: it is never shown, so GTK has none.
    widget = gtk_button_new_with_label(text.c_str());
    bindings_.push_back(Binding{this, control.id});
    g_signal_connect(widget, "clicked", G_CALLBACK(OnClicked), &bindings_.back());
  }
  std::string name(control.name);
  gtk_widget_set_name(widget, name.c_str());
  gtk_widget_set_size_request(widget, TwipsToPixels(control.width, dpi),
                              TwipsToPixels(control.height, dpi));
  gtk_widget_set_can_focus(widget, FALSE);
  // A later show-all of the window must not show a control that is built hidden.
  gtk_widget_set_no_show_all(widget, TRUE);
  if (control.visible) gtk_widget_show(widget);
  return widget;
}

GtkWidget* GtkFormWindow::Control(std::string_view name) const {
  GtkWidget* client = gtk_bin_get_child(GTK_BIN(window_));
  GList* children = gtk_container_get_children(GTK_CONTAINER(client));
  GtkWidget* found = nullptr;
  for (GList* item = children; item != nullptr && found == nullptr; item = item->next) {
    GtkWidget* child = GTK_WIDGET(item->data);
    if (name == gtk_widget_get_name(child)) found = child;
  }
  g_list_free(children);
  return found;
}

void GtkFormWindow::OnClicked(GtkButton*, gpointer binding) {
  auto* bound = static_cast<Binding*>(binding);
  GtkFormWindow& self = *bound->owner;
  self.events_.OnClick(bound->control_id);
}

gboolean GtkFormWindow::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer data) {
  auto& self = *static_cast<GtkFormWindow*>(data);
  if (self.events_.QueryClose()) {
    self.close_granted_ = true;
  } else {
    gtk_widget_hide(self.window_);
  }
  // The window is destroyed by its owner, never by GTK's default handler.
  return GDK_EVENT_STOP;
}

void GtkFormWindow::Run() {
  gtk_widget_realize(window_);
  // Window managers that still draw minimise and maximise for a utility window honour this.
  gdk_window_set_functions(gtk_widget_get_window(window_),
                           static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
  gtk_widget_show(window_);
  while (!close_granted_) g_main_context_iteration(nullptr, TRUE);
  gtk_widget_hide(window_);
}

}  // namespace verdantix::posix
