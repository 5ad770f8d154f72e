// Start-up: a completed patch ends the program unseen; a failed one opens the window silently.
#include "app/form1.h"

#include <gtest/gtest.h>

#include "app/form1_layout.h"
#include "patch/index_patch.h"
#include "patch/scans.h"
#include "platform/memory/matchers.h"

namespace verdantix {
namespace {

TEST(StartUp, ACompletedPatchEndsTheProgramBeforeTheWindowIsShown) {
  MemoryPlatform disk;
  std::vector<std::uint8_t> table(4000, 0x20);
  std::copy_n(kFormA, 3, table.begin() + 1608);
  disk.AddFile(disk.PathOf(kFileTablePath), table);
  disk.AddFile(disk.PathOf(kArchivePath), {kSequenceF[0], kSequenceF[1], kSequenceF[2]});
  EXPECT_THAT([&] { RunProgram(disk); }, EndsProgram(0));
  EXPECT_EQ(disk.windows_shown(), 0);
  EXPECT_EQ(disk.messages().size(), 1u);
}

TEST(StartUp, AFailedPatchShowsTheWindowWithNoMessageAndEndsWhenItCloses) {
  MemoryPlatform disk;  // no game files: the back-up fails
  EXPECT_EQ(RunProgram(disk), 0);
  EXPECT_EQ(disk.windows_shown(), 1);
  EXPECT_TRUE(disk.messages().empty());
  EXPECT_EQ(disk.log().back(), "window  Verdantix Installer");
}

TEST(Form1Layout, HiddenControlsLieBelowTheClientAreaWhichIsSizedInTwips) {
  for (const ControlDescription& control : kForm1.controls) {
    EXPECT_GE(control.top, kForm1.client_height) << control.name;
    EXPECT_LE(control.left + control.width, kForm1.client_width) << control.name;
    EXPECT_FALSE(control.visible) << control.name;
  }
  EXPECT_EQ(TwipsToPixels(kForm1.client_width, 96), 317);
  EXPECT_EQ(TwipsToPixels(kForm1.client_height, 96), 124);
  EXPECT_EQ(TwipsToPixels(kForm1.client_width, 144), 476);
  EXPECT_EQ(TwipsToPixels(kForm1.client_height, 144), 186);
}

}  // namespace
}  // namespace verdantix
