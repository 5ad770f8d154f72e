// Form1 on the in-memory platform: start-up, the two clicks, and the one failure policy.
#include "app/form1.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "addon/addon_tables.h"
#include "app/form1_layout.h"
#include "testing/helpers.h"

namespace verdantix {
namespace {

using Log = std::vector<std::string>;

const std::string kGame = "C:\\Games\\FIFA 2004", kArchive = kGame + "\\data\\zdata_02.big";
const std::string kList = kGame + "\\installer.bin", kCd = "cd " + kGame;
const std::vector<std::uint8_t> kTableInFormA = Filled(1700, {{"\x08\x84\xE8", 1628}});

struct StartCase {
  const char* name;
  bool table;
  std::string_view archive_sequence;
  Log last;  ///< the last effects: the message, if any, and the end; or the window
};

class StartUp : public testing::TestWithParam<StartCase> {};

TEST_P(StartUp, CreatesTheWindowHiddenThenEndsAfterThePatchOrShowsTheWindow) {
  MemoryPlatform disk;
  if (GetParam().table) disk.AddFile(kGame + "\\data\\fifa.fat", kTableInFormA);
  disk.AddFile(kArchive, Filled(40003, {{GetParam().archive_sequence, 7}}));
  try {
    EXPECT_EQ(RunProgram(disk), 0);
  } catch (const ProgramEnded&) {
  }
  const Log& log = disk.log();
  EXPECT_EQ(log.front(), "create-window  Verdantix Installer");
  EXPECT_EQ(Log(log.end() - std::ssize(GetParam().last), log.end()), GetParam().last);
}

INSTANTIATE_TEST_SUITE_P(
    Games, StartUp,
    testing::Values(
        StartCase{"Installs", true, "fes", {"message Brantwell Installed", "end 0"}},
        StartCase{"Uninstalls", true, "ees", {"message Brantwell Uninstalled", "end 0"}},
        StartCase{"NothingToSwitchNoMessage", true, "xxx", {"flush " + kArchive, "end 0"}},
        StartCase{"NoFileTableOpensTheWindow", false, "fes", {"window"}}),
    CaseName());

TEST(StartUpFailure, AWindowThatCannotBeCreatedEndsTheProgramWithTheReportBeforeThePatch) {
  MemoryPlatform disk;
  disk.AddFile(kGame + "\\data\\fifa.fat", kTableInFormA);
  disk.FailOn(Operation::kCreateWindow, " Verdantix Installer", ErrorNumber::kOutOfMemory);
  EXPECT_THROW(RunProgram(disk), ProgramEnded);
  EXPECT_EQ(disk.log(),
            (Log{"error Run-time error '7':\n\nOut of memory\n\n Verdantix Installer", "end 7"}));
}

class Clicks : public testing::Test {
 protected:
  Clicks() { disk_.AddFile(kGame + "\\gfxpak1.exe", {}); }

  /// Clicks Command2, which ends the program, and returns the log.
  Log Command2() {
    EXPECT_THROW(form_.OnClick(kCommand2Id), ProgramEnded);
    return disk_.log();
  }
  void AddList(std::string_view text) { disk_.AddFile(kList, {text.begin(), text.end()}); }

  MemoryPlatform disk_;
  Form1 form_{disk_};
};

TEST_F(Clicks, Command2RunsBothCommandsOfEachRecordInOrderFromTheGameFolderThenRemovesTheList) {
  AddList("a,b,c,1,e\r\nf,g,h,0,i\r\n");
  EXPECT_EQ(Command2(),
            (Log{kCd, "start gfxpak1 /i c b a /c", "wait", "start gfxpak1 /r c c", "wait", kCd, kCd,
                 "start gfxpak1 /i h g f", "wait", "start gfxpak1 /r h h", "wait", kCd, kCd,
                 "remove " + kList, "end 0"}));
}

TEST_F(Clicks, Command2WithoutAListShowsTheMessageAndEnds) {
  EXPECT_EQ(Command2(), (Log{"information Patch Not Installed! Error! Install it again", "end 0"}));
}

TEST_F(Clicks, Command2WithAnEmptyListRunsNothing) {
  AddList(" \r\n");
  EXPECT_EQ(Command2(), (Log{kCd, "remove " + kList, "end 0"}));
}

// A failure ends the program with its report, the runs before it done and the list in place.
TEST_F(Clicks, Command2StopsWhereTheListEndsMidRecord) {
  AddList("a,b,c,0,e\r\nf,g");
  EXPECT_EQ(Command2(),
            (Log{kCd, "start gfxpak1 /i c b a", "wait", "start gfxpak1 /r c c", "wait", kCd,
                 "error Run-time error '62':\n\nInput past end of file\n\n" + kList, "end 62"}));
}

TEST_F(Clicks, Command2StopsWhereGfxpak1CannotStart) {
  AddList("a,b,c,0,e");
  disk_.Remove(kGame + "\\gfxpak1.exe");
  EXPECT_EQ(Command2(),
            (Log{"remove " + kGame + "\\gfxpak1.exe", kCd,
                 "error Run-time error '53':\n\nFile not found\n\ngfxpak1 /i c b a", "end 53"}));
}

TEST_F(Clicks, DuringTheWaitCommand3RunsASecondCommand2IsRefusedAndSoIsClosing) {
  // Every source of the add-on tree, and the locale file that spares it the locale copies.
  for (const CopyRow& row : AddonCopyRows()) disk_.AddFile(disk_.PathOf(row.source), {1});
  disk_.AddFile(disk_.PathOf(kLocaleMarker), {2});
  AddList("a,b,c,0,e");
  std::vector<bool> close_answers;
  disk_.during_wait = [&] {
    form_.OnClick(kCommand2Id);
    if (!disk_.FolderExists(kGame + "\\data\\kce")) form_.OnClick(kCommand3Id);
    close_answers.push_back(form_.QueryClose());
  };
  const Log log = Command2();
  EXPECT_EQ(std::count(log.begin(), log.end(), "wait"), 2);  // a failed Command3 ends the pass
  EXPECT_TRUE(disk_.FileExists(kGame + "\\data\\kce\\stad\\42.big"));
  EXPECT_EQ(close_answers, (std::vector<bool>{false, false}));
}

struct PolicyCase {
  const char* name;
  std::exception_ptr failure;
  Log log;
};

class UnhandledFailure : public testing::TestWithParam<PolicyCase> {};

TEST_P(UnhandledFailure, EndsWithTheStandardReport) {
  MemoryPlatform disk;
  EXPECT_THROW(EndWithReport(disk, GetParam().failure), ProgramEnded);
  EXPECT_EQ(disk.log(), GetParam().log);
}

const Log kOutOfMemory = {"error Run-time error '7':\n\nOut of memory\n\n", "end 7"};

INSTANTIATE_TEST_SUITE_P(
    Kinds, UnhandledFailure,
    testing::Values(
        PolicyCase{"MemoryRunOut", std::make_exception_ptr(std::bad_alloc()), kOutOfMemory},
        PolicyCase{"StringTooLong", std::make_exception_ptr(std::length_error("")), kOutOfMemory},
        PolicyCase{"AnyOtherFailure",
                   std::make_exception_ptr(std::logic_error("a bug")),
                   {"error Run-time error '51':\n\nInternal error\n\na bug", "end 51"}}),
    CaseName());

}  // namespace
}  // namespace verdantix
