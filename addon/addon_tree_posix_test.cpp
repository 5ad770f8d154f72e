// The add-on tree builder on a real folder with the POSIX platform: the sample installation's
// tree, compared byte for byte with its sources.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "addon/addon_tables.h"
#include "addon/addon_tree.h"
#include "platform/posix/posix_platform.h"
#include "sample/sample_files.h"

namespace verdantix {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// "\data\kce\x.big" as a path under `game`.
fs::path Under(const fs::path& game, std::string_view relative) {
  std::string native(relative.substr(1));
  for (char& c : native) c = c == '\\' ? '/' : c;
  return game / native;
}

/// The sample installation in a fresh temporary folder, removed afterwards.
class AddonTreePosixTest : public testing::Test {
 protected:
  void SetUp() override {
    game_ = fs::temp_directory_path() /
            ("addon-tree-" + std::to_string(testing::UnitTest::GetInstance()->random_seed()) + "-" +
             testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(game_);
    for (const auto& [relative, bytes] : sample::OtherGameFiles()) {
      fs::create_directories((game_ / relative).parent_path());
      std::ofstream(game_ / relative, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
    }
  }
  void TearDown() override { fs::remove_all(game_); }

  fs::path game_;
};

TEST_F(AddonTreePosixTest, TheSampleInstallationGetsTheWholeTreeByteForByte) {
  posix::PosixPlatform platform(posix::CreateTerminalUi(), game_.string());
  BuildAddonTree(platform);

  std::set<fs::path> expected_files, expected_folders;
  for (std::string_view folder : kAddonFolders) expected_folders.insert(Under(game_, folder));
  for (const CopyRow& row : AddonCopyRows()) {
    expected_files.insert(Under(game_, row.destination));
    EXPECT_EQ(Contents(Under(game_, row.destination)), Contents(Under(game_, row.source)))
        << row.destination;
  }
  std::set<fs::path> files, folders{game_ / "data" / "kce"};
  for (const auto& entry : fs::recursive_directory_iterator(game_ / "data" / "kce")) {
    (entry.is_directory() ? folders : files).insert(entry.path());
  }
  EXPECT_EQ(files, expected_files);
  EXPECT_EQ(folders, expected_folders);
  for (const LocaleRow& row : kLocaleRows) {
    EXPECT_FALSE(Contents(Under(game_, row.source)).empty());
    EXPECT_EQ(Contents(Under(game_, row.destination)), Contents(Under(game_, row.source)));
  }
}

TEST_F(AddonTreePosixTest, ASecondClickFailsAtTheAddonFolder) {
  posix::PosixPlatform platform(posix::CreateTerminalUi(), game_.string());
  BuildAddonTree(platform);
  try {
    BuildAddonTree(platform);
    FAIL() << "no failure";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), ErrorNumber::kPathFileAccessError);
    EXPECT_EQ(error.subject(), (game_ / "data" / "kce").string());
  }
}

}  // namespace
}  // namespace verdantix
