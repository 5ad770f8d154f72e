// The main window: class registration, creation from the description, DPI, and message routing.
#include "platform/win32/ui/form_window.h"

#include <algorithm>

#include "platform/runtime_error.h"
#include "platform/win32/resources/resource_ids.h"
#include "platform/win32/ui/dpi.h"
#include "platform/win32/win32_text.h"

namespace verdantix::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VerdantixForm";
// A fixed tool window: thin fixed border, small caption with a close box, nothing to resize,
// minimise or maximise; a tool window without owner has no taskbar entry.
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, newer than the headers' Windows 7

int Pixels(int twips, UINT dpi) { return TwipsToPixels(twips, static_cast<int>(dpi)); }

bool IsButton(ControlKind kind) {
  return kind == ControlKind::kButton || kind == ControlKind::kGraphicalButton;
}

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD ex_style;
};

ControlClass ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kButton:
      return {L"BUTTON", BS_PUSHBUTTON, 0};
    case ControlKind::kGraphicalButton:
      return {L"BUTTON", BS_PUSHBUTTON | BS_BITMAP, 0};
    case ControlKind::kTextBox:
      return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
  }
  return {L"STATIC", 0, 0};
}

}  // namespace

FormWindow::FormWindow(const WindowDescription& description, WindowEvents& events)
    : description_(description), events_(events), instance_(GetModuleHandleW(nullptr)) {}

FormWindow::~FormWindow() {
  Destroy();
  // The controls are gone now, so nothing draws with the font or the picture any more.
  if (font_ != nullptr) DeleteObject(font_);
  if (picture_ != nullptr) DeleteObject(picture_);
  if (window_class_ != 0) UnregisterClassW(kClassName, instance_);
}

void FormWindow::RegisterWindowClass() {
  const Rgb& colour = description_.background;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &FormWindow::Procedure;
  window_class.hInstance = instance_;
  window_class.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(VERDANTIX_ICON_GROUP));
  window_class.hIconSm = static_cast<HICON>(
      LoadImageW(instance_, MAKEINTRESOURCEW(VERDANTIX_ICON_GROUP), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  // The system deletes a class's brush when the class is unregistered.
  window_class.hbrBackground = CreateSolidBrush(RGB(colour.red, colour.green, colour.blue));
  window_class.lpszClassName = kClassName;
  window_class_ = RegisterClassExW(&window_class);
  if (window_class_ == 0) throw RuntimeError(ErrorNumber::kOutOfMemory, "RegisterClassExW");
}

SIZE FormWindow::WindowSize(UINT dpi) const {
  SIZE client{Pixels(description_.client_width, dpi), Pixels(description_.client_height, dpi)};
  return WindowSizeForClient(client, kStyle, kExStyle, dpi);
}

void FormWindow::Create() {
  RegisterWindowClass();
  // Windows picks the monitor (the one the program was started on); Show sizes the window for
  // that monitor's DPI and centres it there.
  const SIZE size = WindowSize(kDefaultDpi);
  HWND created = CreateWindowExW(kExStyle, kClassName, Wide(description_.caption).c_str(), kStyle,
                                 CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr,
                                 instance_, this);
  // The window procedure keeps the handle from WM_NCCREATE on; a failed creation may have
  // got that far, so the result decides.
  if (created == nullptr) {
    window_ = nullptr;
    throw RuntimeError(ErrorNumber::kOutOfMemory, "CreateWindowExW");
  }
  // The controls are made here rather than in WM_CREATE, which any program can send again.
  if (!CreateControls()) {
    Destroy();
    throw RuntimeError(ErrorNumber::kOutOfMemory, "CreateWindowExW");
  }
  ApplyDpi(WindowDpi(window_));
}

void FormWindow::Destroy() {
  if (window_ == nullptr) return;
  destroying_ = true;
  DestroyWindow(window_);
}

void FormWindow::Show() {
  // Centred on the whole screen, as a window centred on its owner is when it has none.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& screen = monitor.rcMonitor;
  const SIZE size = WindowSize(dpi_);
  SetWindowPos(window_, nullptr, screen.left + (screen.right - screen.left - size.cx) / 2,
               screen.top + (screen.bottom - screen.top - size.cy) / 2, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) return self->Handle(window, message, wparam, lparam);
  if (message == WM_NCCREATE) {
    // The window's own creation, which brings the object along.
    self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT FormWindow::Handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCREATE:  // not the window's own, which came before the object was attached
      return TRUE;
    case WM_COMMAND:
      OnCommand(wparam);
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case kDpiChanged:
      OnDpiChanged();
      return 0;
    case WM_NCDESTROY:
      if (!destroying_) return 0;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window_ = nullptr;
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

bool FormWindow::CreateControls() {
  for (const ControlDescription& control : description_.controls) {
    const ControlClass control_class = ClassOf(control.kind);
    DWORD style = WS_CHILD | WS_TABSTOP | control_class.style;
    if (control.visible) style |= WS_VISIBLE;
    // Placed properly by ApplyDpi once the window knows its DPI.
    HWND handle = CreateWindowExW(
        control_class.ex_style, control_class.name, Wide(control.text).c_str(), style, 0, 0, 0, 0,
        window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance_, nullptr);
    if (handle == nullptr) return false;
    controls_.push_back(handle);
  }
  return true;
}

void FormWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  // The old font and picture stay alive until every control has been given the new ones.
  HFONT old_font = font_;
  HBITMAP old_picture = picture_;
  font_ = CreateMessageFont(dpi);
  picture_ = LoadPicture(dpi);
  for (std::size_t i = 0; i < std::min(controls_.size(), description_.controls.size()); ++i) {
    const ControlDescription& control = description_.controls[i];
    SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (control.kind == ControlKind::kGraphicalButton) {
      SendMessageW(controls_[i], BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_));
    }
    MoveWindow(controls_[i], Pixels(control.left, dpi), Pixels(control.top, dpi),
               Pixels(control.width, dpi), Pixels(control.height, dpi), FALSE);
  }
  if (old_font != nullptr) DeleteObject(old_font);
  if (old_picture != nullptr) DeleteObject(old_picture);
}

HBITMAP FormWindow::LoadPicture(UINT dpi) const {
  auto load = [this](int width, int height) {
    return static_cast<HBITMAP>(LoadImageW(instance_, MAKEINTRESOURCEW(VERDANTIX_COMMAND2_PICTURE),
                                           IMAGE_BITMAP, width, height, LR_DEFAULTCOLOR));
  };
  HBITMAP natural = load(0, 0);
  BITMAP size{};
  if (natural == nullptr || dpi == kDefaultDpi || GetObjectW(natural, sizeof size, &size) == 0) {
    return natural;
  }
  // The picture is drawn for 96 DPI; elsewhere it is stretched to keep its share of the button.
  const int scale = static_cast<int>(dpi), base = static_cast<int>(kDefaultDpi);
  HBITMAP scaled = load(MulDiv(size.bmWidth, scale, base), MulDiv(size.bmHeight, scale, base));
  if (scaled == nullptr) return natural;
  DeleteObject(natural);
  return scaled;
}

void FormWindow::OnCommand(WPARAM wparam) {
  const int id = LOWORD(wparam);
  if (HIWORD(wparam) != BN_CLICKED) return;
  const auto& controls = description_.controls;
  auto control = std::find_if(controls.begin(), controls.end(),
                              [id](const ControlDescription& c) { return c.id == id; });
  if (control != controls.end() && IsButton(control->kind)) events_.OnClick(id);
}

void FormWindow::OnClose() {
  if (!events_.QueryClose()) {
    // The running action ends the program itself; until then the window is out of the way.
    ShowWindow(window_, SW_HIDE);
    return;
  }
  Destroy();
  PostQuitMessage(0);
}

void FormWindow::OnDpiChanged() {
  // The new DPI is the window's own, and it keeps its place: the message's DPI and suggested
  // rectangle may come from any program, the rectangle's address included.
  const UINT dpi = WindowDpi(window_);
  if (dpi == dpi_) return;
  ApplyDpi(dpi);
  const SIZE size = WindowSize(dpi);
  SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace verdantix::win32
