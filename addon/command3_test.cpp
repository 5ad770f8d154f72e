// A click of Command3 on Form1: success returns to the window showing nothing; a failure shows
// the standard report and ends the program.
#include <gtest/gtest.h>

#include "addon/addon_tables.h"
#include "app/form1.h"
#include "app/form1_layout.h"
#include "platform/memory/matchers.h"

namespace verdantix {
namespace {

class Command3Click : public testing::Test {
 protected:
  Command3Click() {
    for (const CopyRow& row : AddonCopyRows()) disk_.AddFile(disk_.PathOf(row.source), {1});
    for (const LocaleRow& row : kLocaleRows) disk_.AddFile(disk_.PathOf(row.source), {2});
  }

  MemoryPlatform disk_;
  Form1 form_{disk_};
};

TEST_F(Command3Click, ASuccessReturnsToTheWindowShowingNothing) {
  form_.OnClick(kCommand3Id);
  EXPECT_TRUE(disk_.messages().empty());
  EXPECT_TRUE(disk_.HasFile(disk_.PathOf(kLocaleMarker)));
  EXPECT_TRUE(form_.QueryClose());
}

TEST_F(Command3Click, AFailureShowsTheRunTimeErrorReportAndEndsTheProgram) {
  disk_.AddFolder(disk_.PathOf(R"(\data\kce)"));
  EXPECT_THAT([this] { form_.OnClick(kCommand3Id); }, EndsProgram(75));
  EXPECT_EQ(
      disk_.messages(),
      (std::vector<MemoryPlatform::Message>{
          {"Run-time error '75':\n\nPath/File access error\n\nC:\\Games\\FIFA 2004\\data\\kce",
           MessageIcon::kError}}));
}

}  // namespace
}  // namespace verdantix
