// The main window in process: clicks on hidden buttons, closing, a WM_QUIT met while an action
// pumps messages, and its style and size. (The real program's window is tested under tests/wine.)
#include "platform/win32/ui/win32_ui.h"

#include "platform/win32/ui/form_window.h"

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
    {"Button", kButtonId, ControlKind::kButton, 4320, 3600, 375, 195, "Button", false},
    {"Picture", kPictureButtonId, ControlKind::kGraphicalButton, 120, 3840, 2295, 375, "", false},
    {"Text", kTextBoxId, ControlKind::kTextBox, 120, 3600, 4095, 285, "Text", false},
}};
constexpr WindowDescription kWindow = {"Win32 UI test window", 4755, 1860, Rgb{0, 0, 64},
                                       kControls};

HWND TestWindow() { return FindWindowW(nullptr, kCaption); }

void Post(UINT message, WPARAM wparam = 0) { PostMessageW(TestWindow(), message, wparam, 0); }

// A thread timer runs the test's steps from inside the window's message loop.
std::function<void()> timer_steps;

void CALLBACK RunSteps(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  timer_steps();
}

void CALLBACK CloseLateWindow(HWND, UINT, UINT_PTR, DWORD) { Post(WM_CLOSE); }

/// Records the window's events; each test decides what a click does and whether to close.
class Win32Ui : public testing::Test, public WindowEvents {
 protected:
  void OnClick(int control_id) override {
    clicks.push_back(control_id);
    if (on_click) on_click();
  }
  bool QueryClose() override { return ++close_requests > refusals; }

  /// Runs the window; `steps` run once the loop has started. A window still open after 5 s is
  /// asked to close, so that a lost WM_QUIT fails a test instead of hanging it.
  void Run(std::function<void()> steps) {
    timer_steps = std::move(steps);
    SetTimer(nullptr, 0, 1, &RunSteps);
    const UINT_PTR fallback = SetTimer(nullptr, 0, 5000, &CloseLateWindow);
    auto window = CreateMainWindow(kWindow, *this);
    RunMainWindow(*window);
    KillTimer(nullptr, fallback);
  }

  std::vector<int> clicks;
  std::function<void()> on_click;
  int refusals = 0;
  int close_requests = 0;
};

/// What a clicked button sends its parent.
void PostClick(int id) {
  PostMessageW(TestWindow(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(TestWindow(), id)));
}

TEST_F(Win32Ui, HiddenButtonsReportClicksByCommandAndByButtonMessage) {
  Run([] {
    PostClick(kButtonId);
    PostMessageW(GetDlgItem(TestWindow(), kPictureButtonId), BM_CLICK, 0, 0);
    PostClick(kTextBoxId);  // a text box has no click
    Post(WM_COMMAND, MAKEWPARAM(kButtonId, BN_SETFOCUS));
    Post(WM_CLOSE);
  });
  EXPECT_EQ(clicks, (std::vector<int>{kButtonId, kPictureButtonId}));
}

TEST_F(Win32Ui, RefusedCloseHidesTheWindowAndKeepsTheLoopRunning) {
  refusals = 1;
  on_click = [] {
    EXPECT_FALSE(IsWindowVisible(TestWindow()));
    Post(WM_CLOSE);
  };
  Run([] {
    Post(WM_CLOSE);
    PostClick(kButtonId);  // handled after the refused close, while hidden
  });
  EXPECT_EQ(close_requests, 2);
  EXPECT_EQ(TestWindow(), nullptr);
}

TEST_F(Win32Ui, QuitMetWhilePumpingEndsTheLoopOnceTheActionReturns) {
  on_click = [] {
    PostQuitMessage(0);
    Post(WM_NULL);
    PumpPendingMessages();
    EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE), 0u);
  };
  Run([] { PostClick(kButtonId); });
  EXPECT_EQ(close_requests, 0);  // not ended by the late close
}

TEST_F(Win32Ui, WindowIsAFixedToolWindowSizedFromTwips) {
  Run([] {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT client{};
    GetClientRect(TestWindow(), &client);
    EXPECT_EQ(client.right, TwipsToPixels(4755, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(1860, dpi));
    EXPECT_EQ(GetWindowLongPtrW(TestWindow(), GWL_STYLE) &
                  (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    EXPECT_TRUE(GetWindowLongPtrW(TestWindow(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    Post(WM_CLOSE);
  });
}

}  // namespace
}  // namespace verdantix::win32
