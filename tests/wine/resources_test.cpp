// The resources inside the built program: icon, Command2's picture, manifest and version.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/win32/resources/resource_ids.h"

namespace {

/// The program, found beside this test's own build folder (VERDANTIX_PROGRAM is relative).
std::wstring ProgramPath() {
  wchar_t own[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  std::wstring path = own;
  path.erase(path.find_last_of(L"\\/") + 1);
  return path + VERDANTIX_PROGRAM;
}

class ProgramResources : public testing::Test {
 protected:
  void SetUp() override {
    program_ = LoadLibraryExW(ProgramPath().c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program_, nullptr) << "cannot load the program's resources";
  }
  void TearDown() override {
    if (program_ != nullptr) FreeLibrary(program_);
  }

  /// The bytes of resource `id` of `type`; empty when there is none.
  std::string_view Resource(int id, const wchar_t* type) const {
    HRSRC found = FindResourceW(program_, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) return {};
    const void* data = LockResource(LoadResource(program_, found));
    return {static_cast<const char*>(data), SizeofResource(program_, found)};
  }

  HMODULE program_ = nullptr;
};

template <typename Value>
Value At(std::string_view bytes, std::size_t offset) {
  Value value{};
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

TEST_F(ProgramResources, IconGroupOneHoldsOneImage48By48In256Colours) {
  const std::string_view group = Resource(VERDANTIX_ICON_GROUP, MAKEINTRESOURCEW(14));
  ASSERT_EQ(group.size(), 20u);
  EXPECT_EQ(At<std::uint16_t>(group, 2), 1);  // an icon
  EXPECT_EQ(At<std::uint16_t>(group, 4), 1);  // one image
  EXPECT_EQ(At<std::uint8_t>(group, 6), 48);
  EXPECT_EQ(At<std::uint8_t>(group, 7), 48);
  EXPECT_EQ(At<std::uint8_t>(group, 8), 0);  // 256 colours
  EXPECT_EQ(At<std::uint16_t>(group, 12), 8);
  EXPECT_EQ(At<std::uint32_t>(group, 14), 3752u);
  EXPECT_EQ(At<std::uint16_t>(group, 18), 30001);
}

TEST_F(ProgramResources, IconImage30001IsA256ColourBitmapWithMask) {
  const std::string_view image = Resource(VERDANTIX_ICON_IMAGE, MAKEINTRESOURCEW(3));
  ASSERT_EQ(image.size(), 3752u);  // header, 256-entry palette, pixels and 1-bit mask
  const auto header = At<BITMAPINFOHEADER>(image, 0);
  EXPECT_EQ(header.biWidth, 48);
  EXPECT_EQ(header.biHeight, 96);  // colour image and mask
  EXPECT_EQ(header.biBitCount, 8);
  EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
}

TEST_F(ProgramResources, Command2PictureIs150By22In256Colours) {
  const std::string_view picture = Resource(VERDANTIX_COMMAND2_PICTURE, MAKEINTRESOURCEW(2));
  ASSERT_GE(picture.size(), sizeof(BITMAPINFOHEADER));
  const auto header = At<BITMAPINFOHEADER>(picture, 0);
  EXPECT_EQ(header.biWidth, 150);
  EXPECT_EQ(header.biHeight, 22);
  EXPECT_EQ(header.biBitCount, 8);
  EXPECT_EQ(picture.size(), 40u + 256 * 4 + 152 * 22);
}

TEST_F(ProgramResources, ManifestDeclaresWhatTheProgramNeeds) {
  const std::string_view manifest = Resource(1, MAKEINTRESOURCEW(24));
  for (std::string_view wanted : {
           "level=\"requireAdministrator\"",
           ">true/pm</dpiAware>",
           ">PerMonitorV2</dpiAwareness>",
           ">true</longPathAware>",
           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
           "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
       }) {
    EXPECT_NE(manifest.find(wanted), std::string_view::npos) << wanted;
  }
}

TEST_F(ProgramResources, VersionNamesTheProduct) {
  const std::wstring path = ProgramPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
  auto text = [&block](const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(block.data(), key.c_str(), &value, &length) || length == 0)
      return std::wstring();
    return std::wstring(static_cast<const wchar_t*>(value));
  };
  EXPECT_EQ(text(L"ProductName"), L"Verdantix Installer");
  EXPECT_EQ(text(L"FileDescription"), L"Verdantix Installer");
  EXPECT_EQ(text(L"ProductVersion"), L"1.0.0.0");
  void* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &fixed, &length));
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
  EXPECT_EQ(info->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(info->dwFileVersionLS, 0u);
}

}  // namespace
