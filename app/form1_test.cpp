// Start-up: a completed patch ends the program unseen; a failed one opens the window silently.
#include "app/form1.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/form1_layout.h"
#include "patch/index_patch.h"
#include "patch/scans.h"
#include "platform/memory/memory_platform.h"

namespace verdantix {
namespace {

using Bytes = std::vector<std::uint8_t>;

void AddGameFiles(MemoryPlatform& disk) {
  Bytes table(4000, 0x20);
  std::copy(std::begin(kFormA), std::end(kFormA), table.begin() + 1608);
  Bytes archive(50000, 0x61);
  std::copy(std::begin(kSequenceF), std::end(kSequenceF), archive.begin() + 7);
  disk.AddFile(disk.PathOf(kFileTablePath), table);
  disk.AddFile(disk.PathOf(kArchivePath), archive);
}

TEST(StartUp, ACompletedPatchEndsTheProgramBeforeTheWindowIsShown) {
  MemoryPlatform disk;
  AddGameFiles(disk);
  try {
    RunProgram(disk);
    ADD_FAILURE() << "the program did not end";
  } catch (const ProgramEnded& end) {
    EXPECT_EQ(end.exit_code, 0);
  }
  EXPECT_EQ(disk.windows_shown(), 0);
  EXPECT_EQ(disk.messages().size(), 1u);
}

struct FailedStart {
  const char* name;
  std::function<void(MemoryPlatform&)> break_game;
};

class StartUpAfterAFailedPatch : public testing::TestWithParam<FailedStart> {};

TEST_P(StartUpAfterAFailedPatch, ShowsTheWindowWithNoMessageAndEndsWhenItCloses) {
  MemoryPlatform disk;
  AddGameFiles(disk);
  GetParam().break_game(disk);
  EXPECT_EQ(RunProgram(disk), 0);
  EXPECT_EQ(disk.windows_shown(), 1);
  EXPECT_TRUE(disk.messages().empty());
  EXPECT_EQ(disk.log().back(), "window  Verdantix Installer");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartUpAfterAFailedPatch,
    testing::Values(
        FailedStart{"NoFileTable", [](MemoryPlatform& d) { d.Remove(d.PathOf(kFileTablePath)); }},
        FailedStart{"TableLockedByTheGame",
                    [](MemoryPlatform& d) {
                      d.FailOn(Operation::kCopy, d.PathOf(kFileTablePath),
                               ErrorNumber::kPermissionDenied);
                    }},
        FailedStart{"EmptyTable",
                    [](MemoryPlatform& d) { d.AddFile(d.PathOf(kFileTablePath), {}); }},
        FailedStart{"NoArchive", [](MemoryPlatform& d) { d.Remove(d.PathOf(kArchivePath)); }},
        FailedStart{
            "ShortArchive",
            [](MemoryPlatform& d) { d.AddFile(d.PathOf(kArchivePath), Bytes(100, 0x61)); }}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST(Form1, ClicksOnAnythingButTheTwoButtonsDoNothing) {
  MemoryPlatform disk;
  disk.while_window_open = [](WindowEvents& form) {
    form.OnClick(kText2Id);
    form.OnClick(0);
    EXPECT_TRUE(form.QueryClose());
  };
  EXPECT_EQ(RunProgram(disk), 0);
  EXPECT_TRUE(disk.messages().empty());
  EXPECT_TRUE(disk.started().empty());
}

TEST(Form1Layout, EveryControlLiesBelowTheClientAreaAndWithinItsWidth) {
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
