// The add-on tree builder on a real folder with the POSIX platform: the sample installation's
// tree, compared byte for byte with its sources.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "addon/addon_tables.h"
#include "addon/addon_tree.h"
#include "platform/posix/posix_platform.h"
#include "sample/sample_files.h"

namespace verdantix {
namespace {

namespace fs = std::filesystem;

TEST(AddonTreePosix, TheSampleInstallationGetsTheWholeTreeByteForByte) {
  const fs::path game =
      fs::temp_directory_path() / ("addon-tree-" + std::to_string(std::random_device()()));
  for (const auto& [relative, bytes] : sample::OtherGameFiles()) {
    fs::create_directories((game / relative).parent_path());
    std::ofstream(game / relative, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  auto under = [&](std::string_view relative) {
    std::string native(relative.substr(1));
    std::ranges::replace(native, '\\', '/');
    return game / native;
  };
  auto contents = [&](std::string_view relative) {
    std::ifstream in(under(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  posix::PosixPlatform platform(posix::CreateTerminalUi(), game.string());
  BuildAddonTree(platform);

  for (const CopyRow& row : AddonCopyRows()) {
    EXPECT_EQ(contents(row.destination), contents(row.source)) << row.destination;
  }
  // With every destination in place, the count leaves no room for anything else in the tree.
  auto tree = fs::recursive_directory_iterator(under(kAddonFolders[0]));
  EXPECT_EQ(std::distance(begin(tree), end(tree)), 10 + 102);
  for (const LocaleRow& row : kLocaleRows) {
    EXPECT_FALSE(contents(row.source).empty());
    EXPECT_EQ(contents(row.destination), contents(row.source));
  }
  fs::remove_all(game);
}

}  // namespace
}  // namespace verdantix
