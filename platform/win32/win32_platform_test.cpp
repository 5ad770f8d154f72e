// The platform contract on real Windows files, and what only the Win32 platform does.
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <new>
#include <set>
#include <vector>

#include "platform/contract/platform_contract.h"
#include "platform/win32/win32_paths.h"
#include "platform/win32/win32_text.h"
#include "testing/helpers.h"

namespace verdantix::win32 {

namespace {

namespace fs = std::filesystem;

std::string AddAttribute(const std::string& path, DWORD attribute) {
  std::wstring wide = Wide(path);
  SetFileAttributesW(wide.c_str(), GetFileAttributesW(wide.c_str()) | attribute);
  return path;
}

/// Holds `path` open without sharing, as a running game does, until the result is destroyed.
std::shared_ptr<void> Hold(const std::string& path) {
  HANDLE held = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(held, INVALID_HANDLE_VALUE) << path;
  return std::shared_ptr<void>(held, [](void* handle) { CloseHandle(handle); });
}

ContractTarget Win32Target() {
  auto folder = std::make_shared<TemporaryFolder>();
  ContractTarget target;
  target.platform = std::make_unique<Win32Platform>(Narrow(folder->path().native()));
  target.program_elsewhere = "cmd";
  target.hide = [](const std::string& path) { return AddAttribute(path, FILE_ATTRIBUTE_HIDDEN); };
  target.make_read_only = [](const auto& path) { AddAttribute(path, FILE_ATTRIBUTE_READONLY); };
  target.lock = &Hold;
  target.tear_down = [folder]() mutable { folder.reset(); };
  return target;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, PlatformContract, testing::Values(&Win32Target));
INSTANTIATE_TEST_SUITE_P(Win32, DiskContract, testing::Values(&Win32Target));

TEST(Win32Paths, AbsoluteVerbatimAndCleanedUpByTheProgramNothingTrimmed) {
  const std::pair<std::string, std::wstring> kPaths[] = {
      {"C:\\FIFA 2004\\data\\fifa.fat", L"\\\\?\\C:\\FIFA 2004\\data\\fifa.fat"},
      {"C:/games//./x/../game. /", L"\\\\?\\C:\\games\\game. "},
      {"C:", L"\\\\?\\C:\\"},
      {"C:\\..", L"\\\\?\\C:\\"},
      {"\\\\server\\share\\..\\x.", L"\\\\?\\UNC\\server\\share\\x."},
      {"\\\\?\\C:\\a\\..\\b.", L"\\\\?\\C:\\a\\..\\b."},
      {"game.", L"\\\\?\\" + CurrentFolder() + L"\\game."},
  };
  for (const auto& [path, api] : kPaths) EXPECT_EQ(ApiPath(path), api) << path;
  const std::string too_long = "C:\\" + std::string(kMaxPathLength, 'd');
  EXPECT_THAT([&] { ApiPath(too_long); },
              ThrowsRuntimeError(ErrorNumber::kPathFileAccessError, too_long));
}

TEST(Win32Text, NamesAreUtf8AndLoneSurrogatesGoThroughUnchanged) {
  const std::pair<std::wstring, std::string> kNames[] = {
      {L"\u00C9t\u00E9 \u65E5\u672C", "\xC3\x89t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC"},
      {L"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
      {L"a\xD800", "a\xED\xA0\x80"},
      {L"\xDC00\xD800", "\xED\xB0\x80\xED\xA0\x80"}};
  for (const auto& [wide, narrow] : kNames) {
    EXPECT_EQ(Narrow(wide), narrow);
    EXPECT_EQ(Wide(narrow), wide);
  }
  // NTFS allows such a folder (Wine's disk cannot hold one): its files are named as it is.
  const std::wstring folder = L"C:\\FIFA \xD800 2004";
  EXPECT_EQ(ApiPath(Win32Platform(Narrow(folder)).PathOf("\\data\\fifa.fat")),
            L"\\\\?\\" + folder + L"\\data\\fifa.fat");
}

TEST(Win32Text, AnsiTextIsConvertedWholeOrRefusedUnread) {
  Win32Platform platform("C:\\game");
  EXPECT_EQ(platform.FromAnsiCodePage("caf\xE9"), "caf\xC3\xA9");  // Windows-1252 under Wine
  // Address space reserved, nothing committed: reading any byte of it would crash the test.
  constexpr std::size_t kGiB = std::size_t{1} << 30;
  void* reserved = VirtualAlloc(nullptr, 5 * kGiB, MEM_RESERVE, PAGE_NOACCESS);
  ASSERT_NE(reserved, nullptr);
  for (std::size_t size : {2 * kGiB, 4 * kGiB + 1}) {
    EXPECT_THROW(platform.FromAnsiCodePage({static_cast<const char*>(reserved), size}),
                 std::bad_alloc)
        << size;
  }
  VirtualFree(reserved, 0, MEM_RELEASE);
}

TEST(Win32Files, ACopyRemovesWhatKilledRunsLeftAndLeavesNothingWhenItFails) {
  TemporaryFolder folder;
  const fs::path& at = folder.path();
  const auto path = [&](const wchar_t* name) { return Narrow((at / name).native()); };
  // The table, its back-up, one that a running copy holds, and near misses of the names.
  const wchar_t* kHeld = L"~verdantix-fedcba9876543210.tmp";
  std::set<std::wstring> kept = {L"fifa.fat",
                                 L"fifa.fat.bak",
                                 kHeld,
                                 L"~verdantix-0123456789abcdef0.tmp",
                                 L"~verdantix-0123456789abcdeg.tmp",
                                 L"~verdantix-00000000DEADBEEF.tmp",
                                 L"x~verdantix-0123456789abcdef.tmp",
                                 L"~verdantix-0123456789abcdef.tmp.bak"};
  for (const auto& name : kept) std::ofstream(at / name) << "x";
  // Read-only, as older versions left it; a folder.
  const wchar_t *kLeftover = L"~verdantix-0123456789abcdef.tmp",
                *kFolder = L"~verdantix-00000000000000ff.tmp";
  std::ofstream(at / kLeftover) << "x";
  AddAttribute(path(kLeftover), FILE_ATTRIBUTE_READONLY);
  auto held = Hold(path(kHeld));
  fs::create_directory(at / kFolder);
  // The back-up held open too: the copy is made, then refused the rename.
  auto held_backup = Hold(path(L"fifa.fat.bak"));
  EXPECT_THAT(
      [&] { Win32Platform(Narrow(at.native())).Copy(path(L"fifa.fat"), path(L"fifa.fat.bak")); },
      ThrowsRuntimeError(ErrorNumber::kPermissionDenied, path(L"fifa.fat.bak")));
  kept.insert(kFolder);
  std::set<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(at)) names.insert(entry.path().filename());
  EXPECT_EQ(names, kept);
}

// A game folder whose name ends in a dot, beside "game", what Windows' path rules would make of
// it: every operation acts on it alone, and it is never made current (a final dot goes even
// before a separator); one whose name ends in a blank is made current exactly (a blank is
// trimmed only at the end of a path).
TEST(Win32Files, AFolderThatWindowsWouldTrimIsActedOnAloneAndMadeCurrentExactlyOrNot) {
  TemporaryFolder base;
  const fs::path neighbour = base.path() / "game";
  fs::create_directories(neighbour / "data");
  std::ofstream(neighbour / "data" / "fifa.fat") << "x";
  const std::string dot = Narrow((base.path() / "game.").native()),
                    blank = Narrow((base.path() / "game ").native());
  for (const auto& folder : {dot, blank}) CreateDirectoryW(ApiPath(folder).c_str(), nullptr);
  // Renamed from outside at the end, failed or not: the standard library would trim their names.
  const std::shared_ptr<void> rename(nullptr, [&](void*) {
    SetCurrentDirectoryW(base.path().c_str());
    MoveFileW(ApiPath(dot).c_str(), (base.path() / "dot").c_str());
    MoveFileW(ApiPath(blank).c_str(), (base.path() / "blank").c_str());
  });
  Win32Platform platform(dot);
  const std::string data = platform.PathOf("\\data"), table = data + "\\fifa.fat";
  const std::wstring before = CurrentFolder();
  platform.CreateFolder(data);
  platform.OpenBinary(table)->WriteAt(0, std::vector<std::uint8_t>(5, 't'));
  platform.Copy(table, table + ".bak");
  EXPECT_TRUE(platform.FolderExists(data));
  EXPECT_EQ(platform.OpenForReading(table + ".bak")->Length(), 5u);
  platform.Remove(table);
  EXPECT_FALSE(platform.FileExists(table));
  EXPECT_THAT([&] { platform.SetCurrentFolder(dot); },
              ThrowsRuntimeError(ErrorNumber::kPathNotFound, dot));
  EXPECT_EQ(CurrentFolder(), before);
  platform.SetCurrentFolder(blank);
  EXPECT_EQ(CurrentFolder(), Wide(blank));
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(neighbour), {}), 2);
}

}  // namespace verdantix::win32
