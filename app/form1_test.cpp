// Form1 on the in-memory platform: start-up, the two clicks, and the one failure policy.
#include "app/form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "addon/addon_tables.h"
#include "app/form1_layout.h"
#include "installer/command_lines.h"
#include "testing/helpers.h"

namespace verdantix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Log = std::vector<std::string>;
using Message = MemoryPlatform::Message;

Bytes Text(std::string_view text) { return {text.begin(), text.end()}; }

/// `length` bytes of 'x' with `sequence` at `at`.
Bytes With(std::size_t length, std::string_view sequence, std::size_t at) {
  Bytes bytes(length, 'x');
  std::copy(sequence.begin(), sequence.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
  return bytes;
}

struct StartCase {
  const char* name;
  std::optional<Bytes> table;
  std::string_view archive_sequence;
  std::vector<Message> messages;  ///< then the end; none and no end: the window is shown
};

class StartUp : public testing::TestWithParam<StartCase> {};

TEST_P(StartUp, CreatesTheWindowHiddenThenEndsAfterThePatchOrShowsTheWindow) {
  const StartCase& c = GetParam();
  MemoryPlatform disk;
  if (c.table) disk.AddFile(disk.PathOf("\\data\\fifa.fat"), *c.table);
  disk.AddFile(disk.PathOf("\\data\\zdata_02.big"), With(40003, c.archive_sequence, 7));
  const bool window_expected = !c.table || c.table->empty();
  if (window_expected) {
    EXPECT_EQ(RunProgram(disk), 0);
  } else {
    EXPECT_THAT([&] { RunProgram(disk); }, EndsProgram(0));
  }
  EXPECT_EQ(disk.log().front(), "create-window  Verdantix Installer");
  EXPECT_EQ(disk.log().back(), window_expected ? "window  Verdantix Installer" : "end 0");
  EXPECT_EQ(disk.messages(), c.messages);
}

const Bytes kTableInFormA = With(1700, "\x08\x84\xE8", 1628);

INSTANTIATE_TEST_SUITE_P(
    Games, StartUp,
    testing::Values(
        StartCase{"Installs", kTableInFormA, "fes", {{"Brantwell Installed", MessageIcon::kNone}}},
        StartCase{
            "Uninstalls", kTableInFormA, "ees", {{"Brantwell Uninstalled", MessageIcon::kNone}}},
        StartCase{"NothingToSwitchEndsWithoutAMessage", kTableInFormA, "xxx", {}},
        StartCase{"NoFileTableOpensTheWindow", std::nullopt, "fes", {}},
        StartCase{"EmptyFileTableOpensTheWindow", Bytes(), "fes", {}}),
    CaseName());

TEST(StartUpFailure, AWindowThatCannotBeCreatedEndsTheProgramWithTheReportBeforeThePatch) {
  MemoryPlatform disk;
  disk.AddFile(disk.PathOf("\\data\\fifa.fat"), kTableInFormA);
  disk.FailOn(Operation::kCreateWindow, " Verdantix Installer", ErrorNumber::kOutOfMemory);
  EXPECT_THAT([&] { RunProgram(disk); }, EndsProgram(7));
  EXPECT_EQ(disk.log(),
            (Log{"message Run-time error '7':\n\nOut of memory\n\n Verdantix Installer", "end 7"}));
}

class Clicks : public testing::Test {
 protected:
  Clicks() { disk_.AddFile(game_ + "\\gfxpak1.exe", {}); }

  /// How many programs have run so far.
  std::ptrdiff_t Runs() const { return std::count(disk_.log().begin(), disk_.log().end(), "wait"); }

  MemoryPlatform disk_;
  Form1 form_{disk_};
  std::string game_ = disk_.GameFolder();
  std::string list_ = game_ + "\\installer.bin";
};

// The command lines' text is shown by command_lines_test.cpp; here, their order and folder.
TEST_F(Clicks, Command2RunsBothCommandsOfEachRecordInOrderFromTheGameFolderThenRemovesTheList) {
  disk_.AddFile(list_, Text("a,b,c,1,e\r\nf,g,h,0,i\r\n"));
  EXPECT_THAT([this] { form_.OnClick(kCommand2Id); }, EndsProgram(0));
  const ListRecord first{"a", "b", "c", 1, "e"}, second{"f", "g", "h", 0, "i"};
  const std::string cd = "cd " + game_;
  EXPECT_EQ(
      disk_.log(),
      (Log{cd, "start " + InstallCommand(first, list_), "wait", "start " + RemoveCommand(first),
           "wait", cd, cd, "start " + InstallCommand(second, list_), "wait",
           "start " + RemoveCommand(second), "wait", cd, cd, "remove " + list_, "end 0"}));
  EXPECT_TRUE(disk_.messages().empty());
}

TEST_F(Clicks, Command2WithoutAPlainListShowsTheMessageAndEndsTouchingNothing) {
  disk_.AddFile(list_, Text("a,b,c,0,e\n"));
  disk_.SetHidden(list_);
  EXPECT_THAT([this] { form_.OnClick(kCommand2Id); }, EndsProgram(0));
  EXPECT_EQ(disk_.log(), (Log{"message Patch Not Installed! Error! Install it again", "end 0"}));
  EXPECT_EQ(disk_.messages()[0].icon, MessageIcon::kInformation);
}

struct ListCase {
  const char* name;
  Bytes list;
  int exit_status;
  std::string subject;  ///< of the report, relative to the game folder or a command line
  std::ptrdiff_t runs;
};

class Command2Lists : public Clicks, public testing::WithParamInterface<ListCase> {};

TEST_P(Command2Lists, EndTheProgramLeavingEarlierRunsDoneAndAFailedListInPlace) {
  const ListCase& c = GetParam();
  disk_.AddFile(list_, c.list);
  if (c.exit_status == 53) disk_.Remove(game_ + "\\gfxpak1.exe");
  EXPECT_THAT([this] { form_.OnClick(kCommand2Id); }, EndsProgram(c.exit_status));
  EXPECT_EQ(Runs(), c.runs);
  EXPECT_EQ(disk_.HasFile(list_), c.exit_status != 0);
  if (c.exit_status == 0) return;
  const std::string subject = c.subject.starts_with('\\') ? game_ + c.subject : c.subject;
  EXPECT_THAT(disk_.messages(), testing::ElementsAre(testing::Field(
                                    &Message::text, testing::EndsWith("\n\n" + subject))));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Command2Lists,
    testing::Values(ListCase{"EmptyRunsNothing", Text(" \r\n"), 0, "", 0},
                    ListCase{"EndsMidRecord", Text("a,b,c,0,e\r\nf,g"), 62, "\\installer.bin", 2},
                    ListCase{"NoTool", Text("a,b,c,0,e"), 53, "gfxpak1 /i c b a", 0}),
    CaseName());

TEST_F(Clicks, DuringTheWaitCommand3RunsASecondCommand2IsRefusedAndSoIsClosing) {
  // Every source of the add-on tree, and the locale file that spares it the locale copies.
  for (const CopyRow& row : AddonCopyRows()) disk_.AddFile(disk_.PathOf(row.source), {1});
  disk_.AddFile(disk_.PathOf(kLocaleMarker), {2});
  disk_.AddFile(list_, Text("a,b,c,0,e"));
  std::vector<bool> close_answers;
  disk_.during_wait = [&] {
    form_.OnClick(kCommand2Id);
    if (!disk_.FolderExists(game_ + "\\data\\kce")) form_.OnClick(kCommand3Id);
    close_answers.push_back(form_.QueryClose());
  };
  EXPECT_THAT([this] { form_.OnClick(kCommand2Id); }, EndsProgram(0));
  EXPECT_TRUE(disk_.HasFile(game_ + "\\data\\kce\\stad\\42.big"));
  EXPECT_EQ(close_answers, (std::vector<bool>{false, false}));
  EXPECT_EQ(Runs(), 2);
  EXPECT_TRUE(disk_.messages().empty());
}

struct PolicyCase {
  const char* name;
  std::exception_ptr failure;
  std::string report;
  int exit_status;
};

class UnhandledFailure : public testing::TestWithParam<PolicyCase> {};

TEST_P(UnhandledFailure, EndsWithTheStandardReport) {
  MemoryPlatform disk;
  EXPECT_THAT([&] { EndWithReport(disk, GetParam().failure); },
              EndsProgram(GetParam().exit_status));
  EXPECT_EQ(disk.messages(), (std::vector<Message>{{GetParam().report, MessageIcon::kError}}));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, UnhandledFailure,
    testing::Values(
        PolicyCase{"RunTimeError",
                   std::make_exception_ptr(RuntimeError(ErrorNumber::kPathNotFound, "X:\\data")),
                   "Run-time error '76':\n\nPath not found\n\nX:\\data", 76},
        PolicyCase{"MemoryRunOut", std::make_exception_ptr(std::bad_alloc()),
                   "Run-time error '7':\n\nOut of memory\n\n", 7},
        PolicyCase{"StringTooLongForMemory", std::make_exception_ptr(std::length_error("string")),
                   "Run-time error '7':\n\nOut of memory\n\n", 7},
        PolicyCase{"AnyOtherFailure", std::make_exception_ptr(std::logic_error("a bug")),
                   "Run-time error '51':\n\nInternal error\n\na bug", 51}),
    CaseName());

}  // namespace
}  // namespace verdantix
