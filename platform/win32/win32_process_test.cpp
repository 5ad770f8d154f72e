// Where a started program is taken from: copies of this test program stand in for gfxpak1.
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"
#include "testing/helpers.h"

namespace verdantix::win32 {

namespace {

namespace fs = std::filesystem;

/// A command line whose first word a copy of this program answers to; the rest runs its child.
constexpr char kCommandLine[] =
    "gfxpak1 /i --gtest_also_run_disabled_tests --gtest_filter=DISABLED_Win32Child.Run";

/// Reaches names that end in a blank, which the system's path clean-up would drop.
std::wstring Verbatim(const fs::path& path) { return L"\\\\?\\" + path.native(); }

struct Placement {
  const char* name;
  std::vector<const wchar_t*> copies;  ///< copies of this program, in the test's folder
  const wchar_t* current;              ///< the current folder, in the test's folder
  bool starts;                         ///< false: refused with 53
  std::string command_line = kCommandLine;
  const wchar_t* game = L"game";  ///< the game folder, in the test's folder
};

class Win32ProgramSearch : public testing::TestWithParam<Placement> {
 protected:
  void TearDown() override {
    for (const wchar_t* copy : GetParam().copies) {
      DeleteFileW(Verbatim(folder_.path() / copy).c_str());
      RemoveDirectoryW(Verbatim((folder_.path() / copy).parent_path()).c_str());
    }
  }
  TemporaryFolder folder_;
};

}  // namespace

/// Not a test: the program that the tests below start. It ends with status 259 (STILL_ACTIVE),
/// which must not keep the tester waiting.
TEST(DISABLED_Win32Child, Run) { std::exit(STILL_ACTIVE); }

// The game folder is "game"; the name "gfxpak1 \i.exe" is what a search over the unquoted
// command line would try after "gfxpak1.exe". That the copy of the game folder is the one that
// runs shows in tests/wine/clicks_test.sh.
INSTANTIATE_TEST_SUITE_P(
    Where, Win32ProgramSearch,
    testing::Values(Placement{"GameFolderPastAFolderWithATrailingBlank",
                              {L"game\\gfxpak1.exe", L"game\\gfxpak1 \\i.exe"},
                              L"game",
                              true},
                    Placement{"NotTheCurrentFolder", {L"here\\gfxpak1.exe"}, L"here", false},
                    Placement{
                        "NotAFolderWithATrailingBlank", {L"game\\gfxpak1 \\i.exe"}, L"game", false},
                    // Longer than Windows takes (32,767 characters): refused whole, not cut.
                    Placement{"NotALineTooLongForWindows",
                              {L"game\\gfxpak1.exe"},
                              L"game",
                              false,
                              std::string(kCommandLine) + " " + std::string(40000, 'x')},
                    // Not "game", which the path rules would make of "game.".
                    Placement{"NotTheNeighbourOfAFolderEndingInADot",
                              {L"game\\gfxpak1.exe"},
                              L"game",
                              false,
                              kCommandLine,
                              L"game."}),
    CaseName());

TEST_P(Win32ProgramSearch, StartsOnlyGfxpak1OfTheGameFolder) {
  const fs::path& folder = folder_.path();
  wchar_t self[1024] = {};
  GetModuleFileNameW(nullptr, self, 1024);
  fs::create_directories(folder / "game");
  for (const wchar_t* copy : GetParam().copies) {
    const fs::path path = folder / copy;
    CreateDirectoryW(Verbatim(path.parent_path()).c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(self, Verbatim(path).c_str(), TRUE)) << path;
  }
  Win32Platform platform(Narrow((folder / GetParam().game).native()));
  platform.SetCurrentFolder(Narrow((folder / GetParam().current).native()));
  if (GetParam().starts) {
    platform.WaitForExit(*platform.StartHidden(GetParam().command_line));
  } else {
    EXPECT_THAT([&] { platform.StartHidden(GetParam().command_line); },
                ThrowsRuntimeError(ErrorNumber::kFileNotFound, GetParam().command_line));
  }
}

}  // namespace verdantix::win32
