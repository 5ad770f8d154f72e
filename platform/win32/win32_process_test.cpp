// Starting hidden programs and waiting for them, with this test program as the started one.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"

namespace verdantix::win32 {

namespace {

namespace fs = std::filesystem;

// How the started copy of this program learns what to do: it inherits these variables.
constexpr wchar_t kReportVariable[] = L"VERDANTIX_CHILD_REPORT";
constexpr wchar_t kWindowVariable[] = L"VERDANTIX_CHILD_WINDOW";
constexpr wchar_t kExitVariable[] = L"VERDANTIX_CHILD_EXIT";
constexpr UINT kHelloMessage = WM_APP + 7;

/// Found by the system's search in the folder of the running executable, ".exe" added by it.
constexpr char kChildCommandLine[] =
    "win32_platform_test --gtest_also_run_disabled_tests "
    "--gtest_filter=DISABLED_Win32Child.Run  two  blanks";

std::wstring Variable(const wchar_t* name) {
  wchar_t value[1024];
  DWORD length = GetEnvironmentVariableW(name, value, 1024);
  return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

/// Receives the started program's message during the wait; notes whether the program had
/// already finished its report by then.
struct Listener {
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kHelloMessage) {
      heard = true;
      report_existed = fs::exists(report);
      return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }
  static inline bool heard = false;
  static inline bool report_existed = false;
  static inline fs::path report;
};

class Win32Processes : public testing::Test {
 protected:
  void SetUp() override {
    report_ = fs::temp_directory_path() /
              ("verdantix-child-" + std::to_string(GetCurrentProcessId()) + ".txt");
    fs::remove(report_);
    SetEnvironmentVariableW(kReportVariable, report_.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableW(kReportVariable, nullptr);
    SetEnvironmentVariableW(kWindowVariable, nullptr);
    SetEnvironmentVariableW(kExitVariable, nullptr);
    std::error_code ignored;
    fs::remove(report_, ignored);
  }
  std::string Report() {
    std::ifstream in(report_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  fs::path report_;
  Win32Platform platform_{"C:\\game"};
};

}  // namespace

/// Not a test: the program that the tests below start. It says hello to the tester's window,
/// pauses, then writes how it was started and ends with the requested exit status.
TEST(DISABLED_Win32Child, Run) {
  std::wstring report = Variable(kReportVariable);
  ASSERT_FALSE(report.empty());
  std::wstring window = Variable(kWindowVariable);
  if (!window.empty()) {
    PostMessageW(reinterpret_cast<HWND>(std::stoull(window)), kHelloMessage, 0, 0);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  bool hidden = (startup.dwFlags & STARTF_USESHOWWINDOW) && startup.wShowWindow == SW_HIDE;
  std::ofstream(fs::path(report), std::ios::binary)
      << "hidden=" << hidden << "\nfolder=" << Narrow(fs::current_path().native())
      << "\nline=" << Narrow(GetCommandLineW());
  std::wstring exit_status = Variable(kExitVariable);
  if (!exit_status.empty()) ExitProcess(static_cast<UINT>(std::stoul(exit_status)));
}

TEST_F(Win32Processes, StartsTheCommandLineAsGivenHiddenInTheCurrentFolder) {
  fs::path folder = fs::temp_directory_path();
  platform_.SetCurrentFolder(Narrow(folder.native()));
  auto child = platform_.StartHidden(kChildCommandLine);
  EXPECT_FALSE(fs::exists(report_)) << "StartHidden waited for the program to end";
  platform_.WaitForExit(*child);
  std::ostringstream expected;
  expected << "hidden=1\nfolder=" << Narrow(fs::current_path().native())
           << "\nline=" << kChildCommandLine;
  EXPECT_EQ(Report(), expected.str());
}

TEST_F(Win32Processes, PendingMessagesAreHandledBeforeAndDuringTheWait) {
  WNDCLASSW listener_class{};
  listener_class.lpfnWndProc = Listener::Procedure;
  listener_class.hInstance = GetModuleHandleW(nullptr);
  listener_class.lpszClassName = L"VerdantixTestListener";
  RegisterClassW(&listener_class);
  HWND window = CreateWindowExW(0, listener_class.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, listener_class.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  Listener::report = report_;
  SetEnvironmentVariableW(kWindowVariable,
                          std::to_wstring(reinterpret_cast<std::uintptr_t>(window)).c_str());
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);

  auto child = platform_.StartHidden(kChildCommandLine);
  platform_.WaitForExit(*child);

  MSG left{};
  EXPECT_FALSE(PeekMessageW(&left, nullptr, WM_APP, WM_APP, PM_NOREMOVE)) << "not pumped";
  EXPECT_TRUE(Listener::heard);
  EXPECT_FALSE(Listener::report_existed) << "handled only after the program had ended";
  DestroyWindow(window);
}

TEST_F(Win32Processes, AProgramEndingWithTheStillActiveStatusEndsTheWait) {
  SetEnvironmentVariableW(kExitVariable, L"259");
  auto child = platform_.StartHidden(kChildCommandLine);
  platform_.WaitForExit(*child);
  EXPECT_TRUE(fs::exists(report_));
}

TEST_F(Win32Processes, AProgramThatCannotBeFoundIsFileNotFoundNamingTheCommandLine) {
  try {
    platform_.StartHidden("gfxpak1 /i zdata_02.big");
    FAIL() << "started";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), ErrorNumber::kFileNotFound);
    EXPECT_EQ(error.subject(), "gfxpak1 /i zdata_02.big");
  }
}

}  // namespace verdantix::win32
