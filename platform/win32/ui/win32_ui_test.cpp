// The main window in process (the real program's is tested under tests/wine): clicks after
// crafted messages, a WM_QUIT met while pumping, a failed creation, style and place; box icons.
#include "platform/win32/ui/win32_ui.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/form1_layout.h"
#include "platform/runtime_error.h"
#include "platform/win32/ui/form_window.h"

namespace verdantix::win32 {
namespace {

// Form1's window, under a name of its own: ctest may run these tests side by side.
const std::string kCaption = "Win32 UI test window " + std::to_string(GetCurrentProcessId());
const WindowDescription kWindow = {kCaption, kForm1.client_width, kForm1.client_height,
                                   kForm1.background, kForm1Controls};

HWND TestWindow() { return FindWindowA(nullptr, kCaption.c_str()); }

void Post(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  PostMessageW(TestWindow(), message, wparam, lparam);
}

/// What a clicked button sends its parent.
void PostClick(int id) {
  Post(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
       reinterpret_cast<LPARAM>(GetDlgItem(TestWindow(), id)));
}

// A thread timer runs a test's steps from inside the message loop that runs next: the window's
// or a message box's.
std::function<void()> timer_steps;

void CALLBACK RunSteps(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  timer_steps();
}

void RunInNextLoop(std::function<void()> steps) {
  timer_steps = std::move(steps);
  SetTimer(nullptr, 0, 1, &RunSteps);
}

/// Records the window's events; each test decides what a click does.
class Win32Ui : public testing::Test, public WindowEvents {
 protected:
  void OnClick(int control_id) override {
    clicks.push_back(control_id);
    if (on_click) on_click();
  }
  bool QueryClose() override { return true; }

  /// Runs the window until its loop ends (a loop that never ends fails by ctest's timeout);
  /// `steps` run once the loop has started.
  void Run(std::function<void()> steps) {
    RunInNextLoop(std::move(steps));
    auto window = CreateMainWindow(kWindow, *this);
    RunMainWindow(*window);
  }

  std::vector<int> clicks;
  std::function<void()> on_click;
};

TEST_F(Win32Ui, QuitMetWhilePumpingEndsTheLoopOnceTheActionReturns) {
  on_click = [] {
    PostQuitMessage(0);
    Post(WM_NULL);
    PumpPendingMessages();
    EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE), 0u);
  };
  Run([] { PostClick(kCommand3Id); });
}

TEST_F(Win32Ui, HiddenButtonsReportClicksWhateverMessagesCameBefore) {
  // What any program can send the window besides clicks: creation messages whose creation
  // parameter points anywhere, a DPI change to another DPI without a rectangle, destruction.
  CREATESTRUCTW hostile{};
  hostile.lpCreateParams = reinterpret_cast<void*>(16);
  const std::tuple<UINT, WPARAM, LPARAM> kCrafted[] = {
      {WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&hostile)},
      {WM_CREATE, 0, reinterpret_cast<LPARAM>(&hostile)},
      {0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(192, 192), 16},
      {WM_DESTROY, 0, 0},
      {WM_NCDESTROY, 0, 0},
  };
  for (const auto& crafted : kCrafted) {
    SCOPED_TRACE(std::get<UINT>(crafted));
    clicks.clear();
    Run([&crafted] {
      RECT before{}, after{};
      GetWindowRect(TestWindow(), &before);
      std::apply([](auto... message) { SendMessageW(TestWindow(), message...); }, crafted);
      GetWindowRect(TestWindow(), &after);
      EXPECT_TRUE(EqualRect(&before, &after));
      // The controls, once: none after the last one made.
      EXPECT_EQ(GetWindow(GetDlgItem(TestWindow(), kText2Id), GW_HWNDNEXT), nullptr);
      PostClick(kCommand3Id);
      PostMessageW(GetDlgItem(TestWindow(), kCommand2Id), BM_CLICK, 0, 0);
      PostClick(kText2Id);  // a text box has no click
      Post(WM_COMMAND, MAKEWPARAM(kCommand3Id, BN_SETFOCUS));
      Post(WM_CLOSE);
    });
    EXPECT_EQ(clicks, (std::vector<int>{kCommand3Id, kCommand2Id}));
    EXPECT_EQ(TestWindow(), nullptr);
  }
}

TEST_F(Win32Ui, FailedCreationIsARunTimeErrorAndLeavesNoWindow) {
  WNDCLASSW taken{};  // the window's class, registered already: its registration fails
  taken.lpfnWndProc = &DefWindowProcW;
  taken.hInstance = GetModuleHandleW(nullptr);
  taken.lpszClassName = L"VerdantixForm";
  ASSERT_NE(RegisterClassW(&taken), 0);
  EXPECT_THROW(CreateMainWindow(kWindow, *this), RuntimeError);
  EXPECT_EQ(TestWindow(), nullptr);
  UnregisterClassW(taken.lpszClassName, taken.hInstance);
}

// Its size in pixels is tested at 144 DPI under tests/wine. The Wine session of
// scripts/wine-env.sh has a panel across the top, as a taskbar takes.
TEST_F(Win32Ui, AFixedToolWindowCentredOnTheWholeScreen) {
  Run([] {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(TestWindow(), MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_FALSE(EqualRect(&monitor.rcWork, &monitor.rcMonitor)) << "no panel on the screen";
    RECT window{};
    GetWindowRect(TestWindow(), &window);
    EXPECT_NEAR(window.left + window.right, monitor.rcMonitor.left + monitor.rcMonitor.right, 1);
    EXPECT_NEAR(window.top + window.bottom, monitor.rcMonitor.top + monitor.rcMonitor.bottom, 1);
    EXPECT_EQ(GetWindowLongPtrW(TestWindow(), GWL_STYLE) &
                  (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    EXPECT_TRUE(GetWindowLongPtrW(TestWindow(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    Post(WM_CLOSE);
  });
}

TEST(Win32UiMessageBox, ShowsOnlyTheIconItIsGiven) {
  const std::pair<MessageIcon, HICON> cases[] = {
      {MessageIcon::kNone, nullptr},
      {MessageIcon::kInformation, LoadIconW(nullptr, IDI_INFORMATION)},
      {MessageIcon::kError, LoadIconW(nullptr, IDI_ERROR)},
  };
  for (const auto& [icon, expected] : cases) {
    HICON shown = nullptr;
    RunInNextLoop([&shown] {
      HWND box = FindWindowW(L"#32770", L"Verdantix Installer");
      for (HWND child = nullptr; (child = FindWindowExW(box, child, L"Static", nullptr));) {
        if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
          shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        }
      }
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ShowMessageBox("text", icon);
    EXPECT_EQ(shown, expected) << static_cast<int>(icon);
  }
}

}  // namespace
}  // namespace verdantix::win32
