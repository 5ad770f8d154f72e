// The platform contract on real Windows files, and what only the Win32 platform does.
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "platform/contract/platform_contract.h"
#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_text.h"

namespace verdantix::win32 {

namespace {

namespace fs = std::filesystem;

/// A new empty folder under the system's temporary folder.
fs::path NewTemporaryFolder() {
  static int count = 0;
  fs::path folder =
      fs::temp_directory_path() /
      ("verdantix-win32-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(count++));
  fs::create_directories(folder);
  return folder;
}

/// Deletes the tree at `folder` (a "\\\\?\\" path, as its depth may need), read-only files too.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

/// Leaves the folder (a current folder cannot be deleted), then deletes it.
void RemoveTemporaryFolder(const fs::path& folder) {
  SetCurrentDirectoryW(fs::temp_directory_path().c_str());
  RemoveTree(L"\\\\?\\" + folder.native());
  EXPECT_FALSE(fs::exists(folder)) << "left behind: " << folder;
}

void AddAttribute(const std::string& path, DWORD attribute) {
  std::wstring wide = Wide(path);
  SetFileAttributesW(wide.c_str(), GetFileAttributesW(wide.c_str()) | attribute);
}

ContractTarget Win32Target() {
  fs::path folder = NewTemporaryFolder();
  std::string root = Narrow(folder.native());
  ContractTarget target;
  target.platform = std::make_unique<Win32Platform>(root);
  target.root = root;
  target.hide = [](const std::string& path) {
    AddAttribute(path, FILE_ATTRIBUTE_HIDDEN);
    return path;
  };
  target.make_read_only = [](const std::string& path) {
    AddAttribute(path, FILE_ATTRIBUTE_READONLY);
  };
  target.lock = [](const std::string& path) -> std::shared_ptr<void> {
    HANDLE held = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(held, INVALID_HANDLE_VALUE) << path;
    return std::shared_ptr<void>(held, [](void* handle) { CloseHandle(handle); });
  };
  target.tear_down = [folder] { RemoveTemporaryFolder(folder); };
  return target;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, PlatformContract, testing::Values(&Win32Target));

struct ErrorCase {
  DWORD code;
  ErrorNumber missing;
  ErrorNumber expected;
};

TEST(Win32Errors, MapOntoRunTimeErrorsWithThePathAsSubject) {
  const ErrorCase cases[] = {
      {ERROR_FILE_NOT_FOUND, ErrorNumber::kFileNotFound, ErrorNumber::kFileNotFound},
      {ERROR_FILE_NOT_FOUND, ErrorNumber::kPathNotFound, ErrorNumber::kPathNotFound},
      {ERROR_PATH_NOT_FOUND, ErrorNumber::kFileNotFound, ErrorNumber::kPathNotFound},
      {ERROR_SHARING_VIOLATION, ErrorNumber::kFileNotFound, ErrorNumber::kPermissionDenied},
      {ERROR_LOCK_VIOLATION, ErrorNumber::kFileNotFound, ErrorNumber::kPermissionDenied},
      {ERROR_ACCESS_DENIED, ErrorNumber::kFileNotFound, ErrorNumber::kPermissionDenied},
      {ERROR_WRITE_PROTECT, ErrorNumber::kFileNotFound, ErrorNumber::kPermissionDenied},
      {ERROR_ALREADY_EXISTS, ErrorNumber::kPathNotFound, ErrorNumber::kPathFileAccessError},
      {ERROR_DISK_FULL, ErrorNumber::kFileNotFound, ErrorNumber::kDiskFull},
      {ERROR_HANDLE_DISK_FULL, ErrorNumber::kFileNotFound, ErrorNumber::kDiskFull},
      {ERROR_NOT_READY, ErrorNumber::kFileNotFound, ErrorNumber::kDeviceIoError},
      {ERROR_CRC, ErrorNumber::kFileNotFound, ErrorNumber::kDeviceIoError},
      {ERROR_INVALID_FUNCTION, ErrorNumber::kFileNotFound, ErrorNumber::kPathFileAccessError},
  };
  for (const auto& c : cases) {
    RuntimeError error = ErrorFromWin32(c.code, "C:\\FIFA 2004\\data\\fifa.fat", c.missing);
    EXPECT_EQ(error.number(), c.expected) << "Win32 error " << c.code;
    EXPECT_EQ(error.subject(), "C:\\FIFA 2004\\data\\fifa.fat");
  }
}

TEST(Win32Paths, LongPathsGetTheVerbatimPrefixOthersStayAsGiven) {
  const std::string deep(300, 'd');
  const std::wstring wide_deep(300, L'd');
  EXPECT_EQ(ApiPath("C:\\FIFA 2004\\data\\fifa.fat"), L"C:\\FIFA 2004\\data\\fifa.fat");
  EXPECT_EQ(ApiPath("C:\\games\\" + deep), L"\\\\?\\C:\\games\\" + wide_deep);
  EXPECT_EQ(ApiPath("C:/games/./x/../" + deep), L"\\\\?\\C:\\games\\" + wide_deep);
  EXPECT_EQ(ApiPath("\\\\server\\share\\" + deep), L"\\\\?\\UNC\\server\\share\\" + wide_deep);
  EXPECT_EQ(ApiPath("\\\\?\\C:\\" + deep), L"\\\\?\\C:\\" + wide_deep);
}

TEST(Win32Platform, GameFolderIsTheExecutablesFolderWithoutTrailingSeparator) {
  Win32Platform platform;
  std::string folder = platform.GameFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_TRUE(platform.FileExists(folder + "\\win32_platform_test.exe"));
}

class Win32Files : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = NewTemporaryFolder();
    root_ = Narrow(folder_.native());
  }
  void TearDown() override { RemoveTemporaryFolder(folder_); }

  fs::path folder_;
  std::string root_;
  Win32Platform platform_{"C:\\game"};
};

TEST_F(Win32Files, PathsLongerThanTheClassicLimitWork) {
  std::string path = root_;
  while (path.size() < 2 * MAX_PATH) {
    path += "\\a rather long folder name of the add-on tree";
    platform_.CreateFolder(path);
  }
  std::string file = path + "\\fifa.fat";
  std::uint8_t byte = 0x66;
  platform_.OpenBinary(file)->WriteAt(0, std::span(&byte, 1));
  platform_.Copy(file, file + ".bak");
  EXPECT_TRUE(platform_.FileExists(file + ".bak"));
  EXPECT_TRUE(platform_.FolderExists(path));
  EXPECT_EQ(platform_.OpenForReading(file + ".bak")->Length(), 1u);
  platform_.Remove(file);
  EXPECT_FALSE(platform_.FileExists(file));
}

TEST_F(Win32Files, NamesReachTheDiskAsTheirUtf16) {
  const std::string name = "\xC3\x89t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.big";
  platform_.OpenBinary(root_ + "\\" + name);
  EXPECT_TRUE(fs::exists(folder_ / L"\u00C9t\u00E9 \u65E5\u672C.big"));
}

TEST_F(Win32Files, OffsetsBeyondFourGigabytes) {
  constexpr std::uint64_t kFar = (5ull << 30) + 3;
  std::string path = root_ + "\\zdata_02.big";
  auto file = platform_.OpenBinary(path);
  // Sparse where the file system allows it, so the test needs no gigabytes of disk.
  DWORD returned = 0;
  auto handle = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  DeviceIoControl(handle, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
  CloseHandle(handle);
  const std::uint8_t bytes[] = {0x65, 0x65, 0x73};
  file->WriteAt(kFar, bytes);
  EXPECT_EQ(file->Length(), kFar + 3);
  std::uint8_t back[3] = {};
  file->ReadAt(kFar, back);
  EXPECT_EQ(back[2], 0x73);
}

TEST_F(Win32Files, SetCurrentFolderMakesRelativeNamesResolveThere) {
  std::ofstream(folder_ / "installer.bin") << "x";
  wchar_t before[MAX_PATH * 4];
  GetCurrentDirectoryW(MAX_PATH * 4, before);
  platform_.SetCurrentFolder(root_);
  EXPECT_EQ(fs::current_path(), folder_);
  EXPECT_TRUE(platform_.FileExists("installer.bin"));
  SetCurrentDirectoryW(before);
}

}  // namespace verdantix::win32
