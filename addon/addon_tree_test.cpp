// The add-on tree builder on the in-memory platform: order of operations, the locale rule, and
// where each failure stops it.
#include "addon/addon_tree.h"

#include <gtest/gtest.h>

#include "addon/addon_tables.h"
#include "platform/memory/matchers.h"

namespace verdantix {
namespace {

class AddonTreeTest : public testing::Test {
 protected:
  /// Every source of the copy table and, unless `with_locale` is false, the locale folder with
  /// the sources of the locale table.
  void InstallGame(bool with_locale = true) {
    for (const CopyRow& row : AddonCopyRows()) AddFile(row.source);
    if (with_locale) {
      for (const LocaleRow& row : kLocaleRows) AddFile(row.source);
    }
  }
  void AddFile(std::string_view relative) { disk_.AddFile(Path(relative), {1, 2}); }
  std::string Path(std::string_view relative) { return disk_.PathOf(relative); }

  /// The log of a run that creates the folders, then copies `copies` rows and `locale` rows.
  std::vector<std::string> Expected(std::size_t copies, std::size_t locale) {
    std::vector<std::string> log;
    for (std::string_view folder : kAddonFolders) log.push_back("create-folder " + Path(folder));
    auto copy = [&](std::string_view from, std::string_view to) {
      log.push_back("copy " + Path(from) + " -> " + Path(to));
    };
    for (std::size_t i = 0; i < copies; ++i) copy(rows_[i].source, rows_[i].destination);
    for (std::size_t i = 0; i < locale; ++i)
      copy(kLocaleRows[i].source, kLocaleRows[i].destination);
    return log;
  }

  MemoryPlatform disk_;
  std::vector<CopyRow> rows_ = AddonCopyRows();
};

TEST_F(AddonTreeTest, CreatesTheFoldersThenCopiesInOrderAndNoLocaleFileBesideTheMarker) {
  InstallGame();
  AddFile(kLocaleMarker);
  BuildAddonTree(disk_);
  EXPECT_EQ(disk_.log(), Expected(102, 0));
  EXPECT_FALSE(disk_.HasFile(Path(kLocaleRows[1].destination)));
  EXPECT_TRUE(disk_.messages().empty());
}

TEST_F(AddonTreeTest, AHiddenMarkerCountsAsMissing) {
  InstallGame();
  AddFile(kLocaleMarker);
  disk_.SetHidden(Path(kLocaleMarker));
  BuildAddonTree(disk_);
  EXPECT_EQ(disk_.log(), Expected(102, 3));
}

TEST_F(AddonTreeTest, AMissingSourceStopsAtItsRowLeavingTheRowsBefore) {
  InstallGame();
  disk_.Remove(Path(rows_[84].source));
  EXPECT_THAT([this] { BuildAddonTree(disk_); },
              ThrowsRuntimeError(ErrorNumber::kFileNotFound, Path(rows_[84].source)));
  auto expected = Expected(84, 0);
  expected.insert(expected.begin(), "remove " + Path(rows_[84].source));
  EXPECT_EQ(disk_.log(), expected);
}

TEST_F(AddonTreeTest, ASecondRunFailsAtTheFirstFolderChangingNothing) {
  InstallGame();
  BuildAddonTree(disk_);
  const auto files = disk_.files();
  const auto folders = disk_.folders();
  const auto operations = disk_.log().size();
  EXPECT_THAT([this] { BuildAddonTree(disk_); },
              ThrowsRuntimeError(ErrorNumber::kPathFileAccessError, Path(R"(\data\kce)")));
  EXPECT_EQ(disk_.files(), files);
  EXPECT_EQ(disk_.folders(), folders);
  EXPECT_EQ(disk_.log().size(), operations);
}

TEST_F(AddonTreeTest, AMissingLocaleFolderIsCreatedThenItsFirstCopyFails) {
  InstallGame(false);
  EXPECT_THAT([this] { BuildAddonTree(disk_); },
              ThrowsRuntimeError(ErrorNumber::kFileNotFound, Path(kLocaleRows[0].source)));
  auto expected = Expected(102, 0);
  expected.push_back("create-folder " + Path(kLocaleFolder));
  EXPECT_EQ(disk_.log(), expected);
}

}  // namespace
}  // namespace verdantix
