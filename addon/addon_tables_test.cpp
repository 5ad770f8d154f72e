// Checks of the add-on tables that catch a mistyped, misplaced or dropped row.
#include "addon/addon_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>

namespace verdantix {
namespace {

std::string_view FolderOf(std::string_view path) { return path.substr(0, path.rfind('\\')); }

bool Contains(const auto& table, std::string_view value) {
  return std::find(table.begin(), table.end(), value) != table.end();
}

TEST(AddonTables, HoldElevenFoldersAHundredAndTwoCopiesAndThreeLocaleRows) {
  EXPECT_EQ(kAddonFolders.size(), 11u);
  EXPECT_EQ(AddonCopyRows().size(), 102u);
  EXPECT_EQ(kLocaleRows.size(), 3u);
}

TEST(AddonTables, CreateEveryFolderAfterItsParent) {
  EXPECT_EQ(kAddonFolders.front(), R"(\data\kce)");
  for (std::size_t i = 1; i < kAddonFolders.size(); ++i) {
    auto earlier = std::span(kAddonFolders).first(i);
    EXPECT_TRUE(Contains(earlier, FolderOf(kAddonFolders[i]))) << kAddonFolders[i];
  }
}

struct Spot {
  std::size_t row;  // counted from 1
  std::string_view source;
  std::string_view destination;
};

TEST(AddonTables, SpotRowsAreExact) {
  const Spot spots[] = {
      {1, R"(\data\cmn\be\script.big)", R"(\data\kce\be\script.big)"},
      {2, R"(\data\gui\FGCCASGB.pfr)", R"(\data\kce\FGCCASGB.pfr)"},
      {3, R"(\data\gui\goto.big)", R"(\data\kce\goto.big)"},
      {8, R"(\data\gui\audio\be_audio.big)", R"(\data\kce\audio\be_audio.big)"},
      {52, R"(\data\gui\pause\B1_pause.big)", R"(\data\kce\pause\B1_pause.big)"},
      {72, R"(\data\gui\team\78.big)", R"(\data\kce\team\78.big)"},
      {85, R"(\data\gui\stad\13.big)", R"(\data\kce\stad\13.big)"},
      {102, R"(\data\gui\stad\42.big)", R"(\data\kce\stad\42.big)"},
  };
  auto rows = AddonCopyRows();
  for (const Spot& spot : spots) {
    EXPECT_EQ(rows[spot.row - 1].source, spot.source) << "row " << spot.row;
    EXPECT_EQ(rows[spot.row - 1].destination, spot.destination) << "row " << spot.row;
  }
}

TEST(AddonTables, GuiRowsKeepTheirNameUnderTheAddonFolder) {
  auto rows = AddonCopyRows();
  for (std::size_t i = 1; i < rows.size(); ++i) {
    std::string_view source = rows[i].source;
    std::string_view destination = rows[i].destination;
    ASSERT_TRUE(source.starts_with(R"(\data\gui\)")) << source;
    ASSERT_TRUE(destination.starts_with(R"(\data\kce\)")) << destination;
    EXPECT_EQ(source.substr(10), destination.substr(10));
  }
}

// Each group's first and last row: a row dropped or moved shifts a boundary.
struct Group {
  std::string_view folder;
  std::size_t first;
  std::size_t last;
};

TEST(AddonTables, GuiRowsFallInTheirSubFoldersInOrder) {
  const Group groups[] = {
      {R"(\data\gui)", 2, 7},         {R"(\data\gui\audio)", 8, 9},
      {R"(\data\gui\cst)", 10, 29},   {R"(\data\gui\help)", 30, 43},
      {R"(\data\gui\main)", 44, 47},  {R"(\data\gui\options)", 48, 50},
      {R"(\data\gui\pause)", 51, 63}, {R"(\data\gui\sp)", 64, 71},
      {R"(\data\gui\team)", 72, 72},  {R"(\data\gui\stad)", 73, 102},
  };
  auto rows = AddonCopyRows();
  for (const Group& group : groups) {
    for (std::size_t row = group.first; row <= group.last; ++row) {
      EXPECT_EQ(FolderOf(rows[row - 1].source), group.folder) << "row " << row;
    }
  }
}

TEST(AddonTables, EveryDestinationLiesInACreatedFolderAndNoSourceDoes) {
  for (const CopyRow& row : AddonCopyRows()) {
    EXPECT_TRUE(Contains(kAddonFolders, FolderOf(row.destination))) << row.destination;
    EXPECT_FALSE(row.source.starts_with(R"(\data\kce\)")) << row.source;
  }
}

TEST(AddonTables, EachFileIsCopiedOnce) {
  std::set<std::string> sources, destinations;
  for (const CopyRow& row : AddonCopyRows()) {
    EXPECT_TRUE(sources.insert(row.source).second) << row.source;
    EXPECT_TRUE(destinations.insert(row.destination).second) << row.destination;
  }
}

TEST(AddonTables, LocaleRowsCopyTheSiblingWithADigitOneBeforeTheExtension) {
  for (const LocaleRow& row : kLocaleRows) {
    EXPECT_EQ(FolderOf(row.source), kLocaleFolder);
    std::string_view name = row.destination;
    auto dot = name.rfind('.');
    std::string expected{name.substr(0, dot)};
    expected += '1';
    expected += name.substr(dot);
    EXPECT_EQ(row.source, expected);
  }
  EXPECT_EQ(kLocaleMarker, R"(\data\locale\dat_eng.big)");
  EXPECT_EQ(kLocaleRows[1].destination, R"(\data\locale\hdr_eng.big)");
  EXPECT_EQ(kLocaleRows[2].destination, R"(\data\locale\pbp_eng.evt)");
}

}  // namespace
}  // namespace verdantix
