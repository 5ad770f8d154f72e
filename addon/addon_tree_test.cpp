// The add-on tree builder: the tree of addon_tree.txt, the locale rule, where a failure stops it.
#include "addon/addon_tree.h"

#include <gtest/gtest.h>

#include <sstream>

#include "addon_tree_listing.h"
#include "testing/helpers.h"

namespace verdantix {
namespace {

using Log = std::vector<std::string>;

class AddonTree : public testing::Test {
 protected:
  /// Reads addon_tree.txt ("folder\tPATH", "copy\tSOURCE\tDESTINATION" or "locale\t...") as the
  /// log of a whole build, and gives the game every source of a "copy" line.
  AddonTree() {
    std::istringstream listing(kAddonTreeListing);
    for (std::string kind, path, copy; std::getline(listing, kind, '\t');) {
      std::getline(listing, path, kind == "folder" ? '\n' : '\t');
      if (kind != "folder") std::getline(listing, copy);
      if (kind == "copy") AddFile(path);
      if (kind == "locale") locale_sources_.push_back(path);
      whole_.push_back(kind == "folder" ? "create-folder " + At(path)
                                        : "copy " + At(path) + " -> " + At(copy));
    }
  }

  std::string At(std::string_view relative) { return disk_.PathOf(relative); }
  void AddFile(std::string_view relative) { disk_.AddFile(At(relative), {1, 2}); }
  /// The log of a build that creates the folders and makes the first `copies` copies listed.
  Log Whole(std::ptrdiff_t copies) { return {whole_.begin(), whole_.begin() + 11 + copies}; }

  MemoryPlatform disk_;
  Log whole_;
  std::vector<std::string> locale_sources_;
};

TEST_F(AddonTree, BuildsTheListedTreeAndLocaleFilesInOrder) {
  for (const std::string& source : locale_sources_) AddFile(source);
  BuildAddonTree(disk_);
  EXPECT_EQ(disk_.log(), Whole(102 + 3));
  EXPECT_EQ(whole_.size(), 11u + 102u + 3u);
}

TEST_F(AddonTree, APlainFirstLocaleFileSparesTheLocaleCopiesAHiddenOneFailsTheFirst) {
  for (const std::string& source : locale_sources_) AddFile(source);
  AddFile("\\data\\locale\\dat_eng.big");
  MemoryPlatform hidden_marker = disk_;
  hidden_marker.SetHidden(At("\\data\\locale\\dat_eng.big"));
  BuildAddonTree(disk_);
  EXPECT_EQ(disk_.log(), Whole(102));
  // Counted as missing, so the locale files are made; but Windows copies onto no hidden file.
  EXPECT_THAT(
      [&] { BuildAddonTree(hidden_marker); },
      ThrowsRuntimeError(ErrorNumber::kPermissionDenied, At("\\data\\locale\\dat_eng.big")));
  EXPECT_EQ(hidden_marker.log(), Whole(102));
}

TEST_F(AddonTree, AFailingCopyStopsAtItsRowLeavingTheRowsBefore) {
  const std::string source = At("\\data\\gui\\stad\\13.big");
  disk_.FailOn(Operation::kCopy, source, ErrorNumber::kFileNotFound);
  EXPECT_THAT([this] { BuildAddonTree(disk_); },
              ThrowsRuntimeError(ErrorNumber::kFileNotFound, source));
  EXPECT_EQ(disk_.log(), Whole(84));
}

TEST_F(AddonTree, ASecondRunFailsAtTheFirstFolderChangingNothing) {
  AddFile("\\data\\locale\\dat_eng.big");
  BuildAddonTree(disk_);
  EXPECT_THAT([this] { BuildAddonTree(disk_); },
              ThrowsRuntimeError(ErrorNumber::kPathFileAccessError, At("\\data\\kce")));
  EXPECT_EQ(disk_.log(), Whole(102));
}

TEST_F(AddonTree, AMissingLocaleFolderIsCreatedThenItsFirstCopyFails) {
  EXPECT_THAT([this] { BuildAddonTree(disk_); },
              ThrowsRuntimeError(ErrorNumber::kFileNotFound, At("\\data\\locale\\dat_eng1.big")));
  Log expected = Whole(102);
  expected.push_back("create-folder " + At("\\data\\locale"));
  EXPECT_EQ(disk_.log(), expected);
}

}  // namespace
}  // namespace verdantix
