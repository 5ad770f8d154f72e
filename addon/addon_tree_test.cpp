// The add-on tree builder on the in-memory platform: order of operations, and where each
// failure stops it.
#include "addon/addon_tree.h"

#include <gtest/gtest.h>

#include "addon/addon_tables.h"
#include "platform/memory/memory_platform.h"

namespace verdantix {
namespace {

std::vector<std::uint8_t> BytesNaming(const std::string& path) {
  return std::vector<std::uint8_t>(path.begin(), path.end());
}

class AddonTreeTest : public testing::Test {
 protected:
  /// Every source of the copy table, each naming itself, and the locale folder with the
  /// sources of the locale table unless `with_locale` is false.
  void InstallGame(bool with_locale = true) {
    for (const CopyRow& row : AddonCopyRows()) AddSource(row.source);
    if (!with_locale) return;
    for (const LocaleRow& row : kLocaleRows) AddSource(row.source);
  }

  void AddSource(std::string_view relative) {
    std::string path = disk_.PathOf(relative);
    disk_.AddFile(path, BytesNaming(path));
  }
  std::string Path(std::string_view relative) { return disk_.PathOf(relative); }
  std::string CopyEntry(std::string_view source, std::string_view destination) {
    return "copy " + Path(source) + " -> " + Path(destination);
  }
  /// The log of a complete run up to and including the copy of `rows` rows.
  std::vector<std::string> FoldersAndCopies(std::size_t rows) {
    std::vector<std::string> log;
    for (std::string_view folder : kAddonFolders) log.push_back("create-folder " + Path(folder));
    auto table = AddonCopyRows();
    for (std::size_t i = 0; i < rows; ++i) {
      log.push_back(CopyEntry(table[i].source, table[i].destination));
    }
    return log;
  }
  std::vector<std::string> LocaleCopies(std::size_t rows) {
    std::vector<std::string> log;
    for (std::size_t i = 0; i < rows; ++i) {
      log.push_back(CopyEntry(kLocaleRows[i].source, kLocaleRows[i].destination));
    }
    return log;
  }
  static std::vector<std::string> Joined(std::vector<std::string> a,
                                         const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }
  /// Runs the builder; operations() then holds what it did.
  void Build() {
    start_ = disk_.log().size();
    BuildAddonTree(disk_);
  }
  std::vector<std::string> operations() const {
    return {disk_.log().begin() + static_cast<std::ptrdiff_t>(start_), disk_.log().end()};
  }
  /// Runs the builder, expecting it to fail with `number` at `relative`.
  void ExpectFailure(ErrorNumber number, std::string_view relative) {
    try {
      Build();
      FAIL() << "no failure";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), number);
      EXPECT_EQ(error.subject(), Path(relative));
    }
  }

  MemoryPlatform disk_;
  std::size_t start_ = 0;
};

TEST_F(AddonTreeTest, CreatesTheFoldersThenCopiesEveryRowInOrderShowingNothing) {
  InstallGame();
  AddSource(kLocaleMarker);
  Build();
  EXPECT_EQ(operations(), FoldersAndCopies(102));
  for (const CopyRow& row : AddonCopyRows()) {
    EXPECT_EQ(disk_.FileBytes(Path(row.destination)), BytesNaming(Path(row.source)));
    EXPECT_TRUE(disk_.HasFile(Path(row.source)));
  }
  EXPECT_TRUE(disk_.messages().empty());
}

TEST_F(AddonTreeTest, MakesTheLocaleFilesWhenTheMarkerIsMissingReplacingOldOnes) {
  InstallGame();
  disk_.AddFile(Path(kLocaleRows[1].destination), BytesNaming("old"));
  Build();
  EXPECT_EQ(operations(), Joined(FoldersAndCopies(102), LocaleCopies(3)));
  for (const LocaleRow& row : kLocaleRows) {
    EXPECT_EQ(disk_.FileBytes(Path(row.destination)), BytesNaming(Path(row.source)));
  }
}

TEST_F(AddonTreeTest, ThePresentMarkerDecidesForAllThreeLocaleRows) {
  InstallGame();
  AddSource(kLocaleMarker);
  Build();
  EXPECT_FALSE(disk_.HasFile(Path(kLocaleRows[1].destination)));
  EXPECT_FALSE(disk_.HasFile(Path(kLocaleRows[2].destination)));
}

TEST_F(AddonTreeTest, AHiddenMarkerCountsAsMissing) {
  InstallGame();
  AddSource(kLocaleMarker);
  disk_.SetHidden(Path(kLocaleMarker));
  Build();
  EXPECT_EQ(operations(), Joined(FoldersAndCopies(102), LocaleCopies(3)));
}

TEST_F(AddonTreeTest, AMissingSourceStopsAtItsRowLeavingTheRowsBefore) {
  InstallGame();
  disk_.Remove(Path(R"(\data\gui\stad\13.big)"));
  ExpectFailure(ErrorNumber::kFileNotFound, R"(\data\gui\stad\13.big)");
  EXPECT_EQ(operations(), FoldersAndCopies(84));
  EXPECT_TRUE(disk_.HasFile(Path(R"(\data\kce\stad\12.big)")));
  EXPECT_FALSE(disk_.HasFile(Path(R"(\data\kce\stad\14.big)")));
}

TEST_F(AddonTreeTest, ASecondRunFailsAtTheFirstFolderChangingNothing) {
  InstallGame();
  Build();
  auto files = disk_.files();
  auto folders = disk_.folders();
  auto operations = disk_.log().size();
  ExpectFailure(ErrorNumber::kPathFileAccessError, R"(\data\kce)");
  EXPECT_EQ(disk_.files(), files);
  EXPECT_EQ(disk_.folders(), folders);
  EXPECT_EQ(disk_.log().size(), operations);
}

TEST_F(AddonTreeTest, AGameFolderWithoutDataFailsForWantOfAParent) {
  ExpectFailure(ErrorNumber::kPathNotFound, R"(\data\kce)");
  EXPECT_TRUE(operations().empty());
}

TEST_F(AddonTreeTest, AMissingLocaleFolderIsCreatedThenItsFirstCopyFails) {
  InstallGame(false);
  ExpectFailure(ErrorNumber::kFileNotFound, kLocaleRows[0].source);
  EXPECT_EQ(disk_.log(), Joined(FoldersAndCopies(102), {"create-folder " + Path(kLocaleFolder)}));
}

TEST_F(AddonTreeTest, AnUnwritableLocaleFileStopsAfterTheCopiesBeforeIt) {
  InstallGame();
  disk_.AddFile(Path(kLocaleRows[1].destination), BytesNaming("old"));
  disk_.SetReadOnly(Path(kLocaleRows[1].destination));
  ExpectFailure(ErrorNumber::kPermissionDenied, kLocaleRows[1].destination);
  EXPECT_EQ(operations(), Joined(FoldersAndCopies(102), LocaleCopies(1)));
}

}  // namespace
}  // namespace verdantix
