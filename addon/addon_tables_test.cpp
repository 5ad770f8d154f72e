// Checks of the add-on tables that catch a mistyped, misplaced or dropped row.
#include "addon/addon_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    EXPECT_TRUE(Contains(std::span(kAddonFolders).first(i), FolderOf(kAddonFolders[i])))
        << kAddonFolders[i];
  }
}

TEST(AddonTables, SpotRowsAreExact) {
  const CopyRow spots[] = {
      {R"(\data\cmn\be\script.big)", R"(\data\kce\be\script.big)"},
      {R"(\data\gui\FGCCASGB.pfr)", R"(\data\kce\FGCCASGB.pfr)"},
      {R"(\data\gui\stad\13.big)", R"(\data\kce\stad\13.big)"},
      {R"(\data\gui\stad\42.big)", R"(\data\kce\stad\42.big)"},
  };
  auto rows = AddonCopyRows();
  EXPECT_EQ((std::vector{rows[0], rows[1], rows[84], rows[101]}), std::vector(spots, spots + 4));
  EXPECT_EQ(kLocaleMarker, R"(\data\locale\dat_eng.big)");
  EXPECT_EQ(kLocaleRows[2].source, R"(\data\locale\pbp_eng1.evt)");
}

TEST(AddonTables, GuiRowsKeepTheirNameUnderTheAddonFolder) {
  auto rows = AddonCopyRows();
  for (std::size_t i = 1; i < rows.size(); ++i) {
    ASSERT_TRUE(rows[i].source.starts_with(R"(\data\gui\)")) << rows[i].source;
    EXPECT_EQ(rows[i].destination, R"(\data\kce\)" + rows[i].source.substr(10));
  }
}

TEST(AddonTables, EveryDestinationLiesInACreatedFolderAndNoSourceDoes) {
  for (const CopyRow& row : AddonCopyRows()) {
    EXPECT_TRUE(Contains(kAddonFolders, FolderOf(row.destination))) << row.destination;
    EXPECT_FALSE(row.source.starts_with(R"(\data\kce\)")) << row.source;
  }
}

}  // namespace
}  // namespace verdantix
