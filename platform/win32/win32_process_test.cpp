// Starting programs on Windows: where gfxpak1 is taken from (copies of this test program stand
// in for it), and what Windows makes of the command lines the program splits on its own.
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/contract/command_line_cases.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"
#include "testing/helpers.h"

namespace verdantix::win32 {

namespace {

namespace fs = std::filesystem;

/// Reaches names that end in a blank, which the system's path clean-up would drop.
std::wstring Verbatim(const fs::path& path) { return L"\\\\?\\" + path.native(); }

class WindowsCommandLine : public testing::TestWithParam<CommandLineCase> {};

}  // namespace

/// Not a test: the program that the test below starts. It ends with status 259 (STILL_ACTIVE),
/// which must not keep the tester waiting.
TEST(DISABLED_Win32Child, Run) { std::exit(STILL_ACTIVE); }

// "gfxpak1 \i.exe" is what a search over the unquoted command line would try after
// "gfxpak1.exe"; "current" is made the current folder. That the game folder's copy is the one
// that runs shows in tests/wine.
TEST(Win32Processes, OnlyGfxpak1OfTheGameFolderStartsAndOnlyWithItsWholeLine) {
  TemporaryFolder folder;
  const fs::path& at = folder.path();
  const wchar_t* kCopies[] = {L"game\\gfxpak1.exe", L"game\\gfxpak1 \\i.exe",
                              L"blank\\gfxpak1 \\i.exe", L"current\\gfxpak1.exe"};
  wchar_t self[1024] = {};
  GetModuleFileNameW(nullptr, self, 1024);
  for (const char* name : {"game", "blank", "current"}) fs::create_directory(at / name);
  for (const wchar_t* copy : kCopies) {
    CreateDirectoryW(Verbatim((at / copy).parent_path()).c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(self, Verbatim(at / copy).c_str(), TRUE)) << Narrow(copy);
  }
  const std::string line =
      "gfxpak1 /i --gtest_also_run_disabled_tests --gtest_filter=DISABLED_Win32Child.Run";
  const struct {
    const wchar_t* game;
    std::string line;
  } kRefused[] = {
      {L"blank", line},                                 // a game folder with "gfxpak1 \i.exe" only
      {L"game", line + " " + std::string(40000, 'x')},  // longer than Windows takes: not cut
      {L"game.", line},  // not "game", which the path rules would make of "game."
  };
  Win32Platform(Narrow(at.native())).SetCurrentFolder(Narrow((at / "current").native()));
  Win32Platform game(Narrow((at / "game").native()));
  game.WaitForExit(*game.StartHidden(line));
  for (const auto& [name, refused_line] : kRefused) {
    EXPECT_THAT([&] { Win32Platform(Narrow((at / name).native())).StartHidden(refused_line); },
                ThrowsRuntimeError(ErrorNumber::kFileNotFound, refused_line))
        << Narrow(name);
  }
  for (const wchar_t* copy : kCopies) {
    DeleteFileW(Verbatim(at / copy).c_str());
    RemoveDirectoryW(Verbatim((at / copy).parent_path()).c_str());
  }
}

TEST_P(WindowsCommandLine, GivesTheTablesWords) {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(Wide(GetParam().line).c_str(), &count);
  ASSERT_NE(words, nullptr);
  std::vector<std::string> split;
  for (int i = 0; i < count; ++i) split.push_back(Narrow(words[i]));
  LocalFree(words);
  EXPECT_EQ(split, GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(Lines, WindowsCommandLine, testing::ValuesIn(kCommandLineCases),
                         CaseName());

}  // namespace verdantix::win32
