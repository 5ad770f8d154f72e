// The add-on tree builder on the in-memory platform: the whole tree as written out in
// addon_tree.txt, the locale rule, and where each failure stops it.
#include "addon/addon_tree.h"

#include <gtest/gtest.h>

#include <sstream>

#include "addon_tree_listing.h"
#include "testing/helpers.h"

namespace verdantix {
namespace {

using Log = std::vector<std::string>;

/// A line of addon_tree.txt: "folder\tPATH", "copy\tSOURCE\tDESTINATION" or "locale\t...".
struct Row {
  std::string kind, source, destination;
};

class AddonTree : public testing::Test {
 protected:
  AddonTree() {
    std::istringstream listing(kAddonTreeListing);
    for (Row row; std::getline(listing, row.kind, '\t');) {
      if (row.kind != "folder") std::getline(listing, row.source, '\t');
      std::getline(listing, row.kind == "folder" ? row.source : row.destination);
      rows_.push_back(row);
    }
  }

  /// Every source of the listing, the locale ones only `with_locale`.
  void InstallGame(bool with_locale = true) {
    for (const Row& row : rows_) {
      if (row.kind == "copy" || (row.kind == "locale" && with_locale)) AddFile(row.source);
    }
  }
  void AddFile(std::string_view relative) { disk_.AddFile(disk_.PathOf(relative), {1, 2}); }

  /// The log of a run that creates the folders and makes the first `copies` copies listed.
  Log Expected(std::size_t copies) {
    Log log;
    for (const Row& row : rows_) {
      if (row.kind == "folder") log.push_back("create-folder " + disk_.PathOf(row.source));
      if (row.kind != "folder" && copies > 0 && copies--) {
        log.push_back("copy " + disk_.PathOf(row.source) + " -> " + disk_.PathOf(row.destination));
      }
    }
    return log;
  }

  MemoryPlatform disk_;
  std::vector<Row> rows_;
};

TEST_F(AddonTree, BuildsTheListedTreeAndLocaleFilesInOrder) {
  ASSERT_EQ(rows_.size(), 11u + 102u + 3u);
  InstallGame();
  BuildAddonTree(disk_);
  EXPECT_EQ(disk_.log(), Expected(102 + 3));
}

TEST_F(AddonTree, APlainFirstLocaleFileSparesTheLocaleCopiesAHiddenOneFailsTheFirst) {
  InstallGame();
  const std::string marker = disk_.PathOf("\\data\\locale\\dat_eng.big");
  AddFile("\\data\\locale\\dat_eng.big");
  MemoryPlatform hidden_marker = disk_;
  hidden_marker.SetHidden(marker);
  BuildAddonTree(disk_);
  EXPECT_EQ(disk_.log(), Expected(102));
  // Counted as missing, so the locale files are made; but Windows copies onto no hidden file.
  EXPECT_THAT([&] { BuildAddonTree(hidden_marker); },
              ThrowsRuntimeError(ErrorNumber::kPermissionDenied, marker));
  EXPECT_EQ(hidden_marker.log(), Expected(102));
}

TEST_F(AddonTree, AMissingSourceStopsAtItsRowLeavingTheRowsBefore) {
  InstallGame();
  const std::string missing = disk_.PathOf("\\data\\gui\\stad\\13.big");
  disk_.Remove(missing);
  EXPECT_THAT([this] { BuildAddonTree(disk_); },
              ThrowsRuntimeError(ErrorNumber::kFileNotFound, missing));
  Log expected = Expected(84);
  expected.insert(expected.begin(), "remove " + missing);
  EXPECT_EQ(disk_.log(), expected);
}

TEST_F(AddonTree, ASecondRunFailsAtTheFirstFolderChangingNothing) {
  InstallGame();
  BuildAddonTree(disk_);
  const MemoryPlatform after_first = disk_;
  EXPECT_THAT([this] { BuildAddonTree(disk_); },
              ThrowsRuntimeError(ErrorNumber::kPathFileAccessError, disk_.PathOf("\\data\\kce")));
  EXPECT_EQ(disk_.files(), after_first.files());
  EXPECT_EQ(disk_.log(), after_first.log());
}

TEST_F(AddonTree, AMissingLocaleFolderIsCreatedThenItsFirstCopyFails) {
  InstallGame(false);
  EXPECT_THAT(
      [this] { BuildAddonTree(disk_); },
      ThrowsRuntimeError(ErrorNumber::kFileNotFound, disk_.PathOf("\\data\\locale\\dat_eng1.big")));
  Log expected = Expected(102);
  expected.push_back("create-folder " + disk_.PathOf("\\data\\locale"));
  EXPECT_EQ(disk_.log(), expected);
}

}  // namespace
}  // namespace verdantix
