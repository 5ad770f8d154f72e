// A click of Command3 on Form1: success returns to the window showing nothing; a failure shows
// the standard report and ends the program.
#include <gtest/gtest.h>

#include "addon/addon_tables.h"
#include "app/form1.h"
#include "app/form1_layout.h"
#include "platform/memory/memory_platform.h"

namespace verdantix {
namespace {

void InstallGame(MemoryPlatform& disk) {
  for (const CopyRow& row : AddonCopyRows()) disk.AddFile(disk.PathOf(row.source), {1, 2, 3});
  for (const LocaleRow& row : kLocaleRows) disk.AddFile(disk.PathOf(row.source), {4, 5});
}

TEST(Command3, ASuccessfulClickReturnsShowingNothing) {
  MemoryPlatform disk;
  InstallGame(disk);
  Form1 form(disk);
  form.OnClick(kCommand3Id);
  EXPECT_TRUE(disk.messages().empty());
  EXPECT_EQ(disk.windows_shown(), 0);
  EXPECT_TRUE(disk.HasFile(disk.PathOf(kLocaleMarker)));
  EXPECT_TRUE(form.QueryClose());
}

TEST(Command3, AFailureShowsTheRunTimeErrorReportAndEndsTheProgram) {
  MemoryPlatform disk;
  InstallGame(disk);
  disk.AddFolder(disk.PathOf(R"(\data\kce)"));
  Form1 form(disk);
  try {
    form.OnClick(kCommand3Id);
    FAIL() << "the program went on";
  } catch (const ProgramEnded&) {
  }
  std::vector<MemoryPlatform::Message> expected = {
      {"Run-time error '75':\n\nPath/File access error\n\nC:\\Games\\FIFA 2004\\data\\kce",
       MessageIcon::kError}};
  EXPECT_EQ(disk.messages(), expected);
  EXPECT_EQ(disk.log().back().rfind("end ", 0), 0u);
}

}  // namespace
}  // namespace verdantix
