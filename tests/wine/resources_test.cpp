// The resources inside the built program: icon, Command2's picture, manifest and version.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/win32/resources/resource_ids.h"

namespace {

/// The program, found beside this test's own build folder (VERDANTIX_PROGRAM is relative).
std::wstring ProgramPath() {
  wchar_t own[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  return (std::filesystem::path(own).parent_path() / VERDANTIX_PROGRAM).native();
}

/// The bytes of resource `id` of `type` in the program; empty when there is none.
std::string_view Resource(int id, const wchar_t* type) {
  static const HMODULE program = LoadLibraryExW(
      ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HRSRC found = program != nullptr ? FindResourceW(program, MAKEINTRESOURCEW(id), type) : nullptr;
  if (found == nullptr) return {};
  const void* data = LockResource(LoadResource(program, found));
  return {static_cast<const char*>(data), SizeofResource(program, found)};
}

template <typename Value>
Value At(std::string_view bytes, std::size_t offset) {
  Value value{};
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

TEST(ProgramResources, IconGroupOneHoldsImage30001Of48By48In256Colours) {
  const std::string_view group = Resource(VERDANTIX_ICON_GROUP, MAKEINTRESOURCEW(14));
  ASSERT_EQ(group.size(), 20u);  // the header and one entry
  EXPECT_EQ(At<std::uint8_t>(group, 6), 48);
  EXPECT_EQ(At<std::uint8_t>(group, 7), 48);
  EXPECT_EQ(At<std::uint16_t>(group, 12), 8);  // bits per pixel
  EXPECT_EQ(At<std::uint32_t>(group, 14), 3752u);
  EXPECT_EQ(At<std::uint16_t>(group, 18), 30001);
  EXPECT_EQ(Resource(VERDANTIX_ICON_IMAGE, MAKEINTRESOURCEW(3)).size(), 3752u);
}

TEST(ProgramResources, Command2PictureIs150By22) {
  const std::string_view picture = Resource(VERDANTIX_COMMAND2_PICTURE, MAKEINTRESOURCEW(2));
  ASSERT_GE(picture.size(), sizeof(BITMAPINFOHEADER));
  EXPECT_EQ(At<BITMAPINFOHEADER>(picture, 0).biWidth, 150);
  EXPECT_EQ(At<BITMAPINFOHEADER>(picture, 0).biHeight, 22);
}

TEST(ProgramResources, ManifestAsksForAdministratorPerMonitorDpiAndLongPaths) {
  const std::string_view manifest = Resource(1, MAKEINTRESOURCEW(24));
  for (std::string_view wanted : {"level=\"requireAdministrator\"", ">PerMonitorV2</dpiAwareness>",
                                  ">true</longPathAware>"}) {
    EXPECT_NE(manifest.find(wanted), std::string_view::npos) << wanted;
  }
}

TEST(ProgramResources, VersionNamesTheProduct) {
  const std::wstring path = ProgramPath();
  std::string block(GetFileVersionInfoSizeW(path.c_str(), nullptr), '\0');
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  void* name = nullptr;
  UINT length = 0;
  ASSERT_TRUE(
      VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductName", &name, &length));
  EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(name)), L"Verdantix Installer");
}

}  // namespace
