// Start-up: a completed patch ends the program unseen; a failed one opens the window silently.
#include "app/form1.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace verdantix
