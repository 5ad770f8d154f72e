// Starting hidden programs and waiting for them, with this test program as the started one.
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"

namespace verdantix::win32 {

namespace {

namespace fs = std::filesystem;

// The started copy of this program inherits where to write its report.
constexpr wchar_t kReportVariable[] = L"VERDANTIX_CHILD_REPORT";

/// This program, found in the platform's game folder (the executable's), ".exe" added.
constexpr char kChildCommandLine[] =
    "win32_platform_test --gtest_also_run_disabled_tests "
    "--gtest_filter=DISABLED_Win32Child.Run  two  blanks";

/// Where the started program reports; the tester's process id keeps parallel runs apart.
fs::path ReportPath() {
  return fs::temp_directory_path() / ("verdantix-child-" + std::to_string(GetCurrentProcessId()));
}

class Win32Processes : public testing::Test {
 protected:
  void SetUp() override {
    fs::remove(ReportPath());
    SetEnvironmentVariableW(kReportVariable, ReportPath().c_str());
  }
  void TearDown() override { fs::remove(ReportPath()); }
  void RunChild() { platform_.WaitForExit(*platform_.StartHidden(kChildCommandLine)); }

  Win32Platform platform_;
};

}  // namespace

/// Not a test: the program that the tests below start. It pauses, writes how it was started,
/// and ends with status 259 (STILL_ACTIVE), which must not keep the tester waiting.
TEST(DISABLED_Win32Child, Run) {
  Sleep(500);
  STARTUPINFOW startup{};
  GetStartupInfoW(&startup);
  bool hidden = (startup.dwFlags & STARTF_USESHOWWINDOW) && startup.wShowWindow == SW_HIDE;
  wchar_t report[1024] = {};
  GetEnvironmentVariableW(kReportVariable, report, 1024);
  std::ofstream(fs::path(report), std::ios::binary)
      << "hidden=" << hidden << "\nfolder=" << Narrow(fs::current_path().native())
      << "\nline=" << Narrow(GetCommandLineW());
  std::exit(STILL_ACTIVE);
}

TEST_F(Win32Processes, StartsTheCommandLineAsGivenHiddenInTheCurrentFolder) {
  const fs::path folder = fs::temp_directory_path();
  platform_.SetCurrentFolder(Narrow(folder.native()));
  RunChild();
  std::ifstream in(ReportPath(), std::ios::binary);
  EXPECT_EQ(
      std::string(std::istreambuf_iterator<char>(in), {}),
      "hidden=1\nfolder=" + Narrow(fs::current_path().native()) + "\nline=" + kChildCommandLine);
}

namespace {

// A timer's callback runs only when its message is dispatched; here that must happen while
// the child still runs, that is before its report exists.
bool timer_ran_before_the_report = false;

void CALLBACK NoteTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  timer_ran_before_the_report = !fs::exists(ReportPath());
}

}  // namespace

TEST_F(Win32Processes, MessagesAreHandledDuringTheWait) {
  SetTimer(nullptr, 0, 50, &NoteTimer);
  RunChild();
  EXPECT_TRUE(timer_ran_before_the_report);
}

}  // namespace verdantix::win32
