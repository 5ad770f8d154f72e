// The main window's message handling, in process: clicks on hidden buttons, closing, and a
// WM_QUIT met while an action pumps messages. (What a user sees is tested under tests/wine.)
#include "platform/win32/ui/win32_ui.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <utility>
#include <vector>

namespace verdantix::win32 {
namespace {

constexpr int kButtonId = 71;
constexpr int kPictureButtonId = 72;
constexpr int kTextBoxId = 73;
constexpr wchar_t kCaption[] = L"Win32 UI test window";

constexpr std::array<ControlDescription, 3> kControls = {{
    {"Button", kButtonId, ControlKind::kButton, 4320, 3600, 375, 195, 2, "Button", false},
    {"Picture", kPictureButtonId, ControlKind::kGraphicalButton, 120, 3840, 2295, 375, 1, "",
     false},
    {"Text", kTextBoxId, ControlKind::kTextBox, 120, 3600, 4095, 285, 0, "Text", false},
}};
constexpr WindowDescription kWindow = {"Win32 UI test window", 4755, 1860, Rgb{0, 0, 64},
                                       kControls};

/// Records the events and lets each test decide what a click does and whether to close.
class RecordingEvents : public WindowEvents {
 public:
  void OnClick(int control_id) override {
    clicks.push_back(control_id);
    if (on_click) on_click();
  }
  bool QueryClose() override {
    ++close_requests;
    return close_requests > refusals;
  }

  std::vector<int> clicks;
  std::function<void()> on_click;
  int refusals = 0;
  int close_requests = 0;
};

HWND TestWindow() { return FindWindowW(nullptr, kCaption); }

// A thread timer runs the test's steps from inside the window's message loop.
std::function<void()> timer_steps;

void CALLBACK RunSteps(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  timer_steps();
}

void CALLBACK CloseLateWindow(HWND, UINT, UINT_PTR, DWORD) {
  PostMessageW(TestWindow(), WM_CLOSE, 0, 0);
}

/// Runs the window with `events`; `steps` run once the loop has started. A window still open
/// after 5 s is asked to close, so that a lost WM_QUIT fails a test instead of hanging it.
void RunWindowWith(RecordingEvents& events, std::function<void()> steps) {
  timer_steps = std::move(steps);
  SetTimer(nullptr, 0, 1, &RunSteps);
  const UINT_PTR fallback = SetTimer(nullptr, 0, 5000, &CloseLateWindow);
  RunMainWindow(kWindow, events);
  KillTimer(nullptr, fallback);
}

void PostClick(int id) {
  HWND window = TestWindow();
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

TEST(Win32Ui, HiddenButtonsReportClicksByCommandAndByButtonMessage) {
  RecordingEvents events;
  RunWindowWith(events, [] {
    PostClick(kButtonId);
    PostMessageW(GetDlgItem(TestWindow(), kPictureButtonId), BM_CLICK, 0, 0);
    PostClick(kTextBoxId);  // a text box has no click
    PostMessageW(TestWindow(), WM_COMMAND, MAKEWPARAM(kButtonId, BN_SETFOCUS), 0);
    PostMessageW(TestWindow(), WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(events.clicks, (std::vector<int>{kButtonId, kPictureButtonId}));
  EXPECT_EQ(TestWindow(), nullptr);
}

TEST(Win32Ui, RefusedCloseHidesTheWindowAndKeepsTheLoopRunning) {
  RecordingEvents events;
  events.refusals = 1;
  bool visible_after_refusal = true;
  events.on_click = [&] {
    visible_after_refusal = IsWindowVisible(TestWindow()) != FALSE;
    PostMessageW(TestWindow(), WM_CLOSE, 0, 0);
  };
  RunWindowWith(events, [] {
    PostMessageW(TestWindow(), WM_CLOSE, 0, 0);
    PostClick(kButtonId);  // handled after the refused close, while hidden
  });
  EXPECT_FALSE(visible_after_refusal);
  EXPECT_EQ(events.close_requests, 2);
  EXPECT_EQ(TestWindow(), nullptr);
}

TEST(Win32Ui, QuitMetWhilePumpingEndsTheLoopOnceTheActionReturns) {
  RecordingEvents events;
  bool pumped_message_handled = false;
  events.on_click = [&] {
    PostQuitMessage(0);
    PostMessageW(TestWindow(), WM_NULL, 0, 0);
    PumpPendingMessages();
    pumped_message_handled = GetQueueStatus(QS_POSTMESSAGE) == 0;
  };
  RunWindowWith(events, [] { PostClick(kButtonId); });
  EXPECT_TRUE(pumped_message_handled);
  EXPECT_EQ(events.close_requests, 0);
  EXPECT_EQ(TestWindow(), nullptr);
}

TEST(Win32Ui, WindowIsAFixedToolWindowSizedFromTwips) {
  RecordingEvents events;
  RECT client{};
  LONG_PTR style = 0, ex_style = 0;
  RunWindowWith(events, [&] {
    HWND window = TestWindow();
    GetClientRect(window, &client);
    style = GetWindowLongPtrW(window, GWL_STYLE);
    ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(client.right, TwipsToPixels(4755, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(1860, dpi));
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_CAPTION | WS_SYSMENU);
  EXPECT_TRUE(ex_style & WS_EX_TOOLWINDOW);
}

}  // namespace
}  // namespace verdantix::win32
