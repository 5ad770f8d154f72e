// A click on Command2 through Form1: the installer's runs through ejecutar, and the standard
// report of a run-time error that escapes it.
#include <gtest/gtest.h>

#include "app/form1.h"
#include "app/form1_layout.h"
#include "platform/memory/memory_platform.h"

namespace verdantix {
namespace {

class Command2Click : public testing::Test {
 protected:
  std::string At(const std::string& relative) { return disk_.GameFolder() + relative; }
  void WriteList(std::string_view text) {
    disk_.AddFile(At("\\installer.bin"), std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  /// Clicks Command2; returns the program's exit status.
  int Click() {
    Form1 form(disk_);
    try {
      form.OnClick(kCommand2Id);
    } catch (const ProgramEnded& ended) {
      return ended.exit_code;
    }
    ADD_FAILURE() << "the click returned to the window";
    return -1;
  }

  MemoryPlatform disk_;
};

TEST_F(Command2Click, RunsTheToolThroughEjecutarAndEnds) {
  disk_.AddFile(At("\\gfxpak1.exe"), {});
  WriteList("a,b,c,1,e\r\n");
  EXPECT_EQ(Click(), 0);
  ASSERT_EQ(disk_.started().size(), 2u);
  EXPECT_EQ(disk_.started()[0].command_line, "gfxpak1 /i c b a /c");
  EXPECT_EQ(disk_.started()[1].command_line, "gfxpak1 /r c c");
  EXPECT_FALSE(disk_.HasFile(At("\\installer.bin")));
}

TEST_F(Command2Click, ListEndingMidRecordShowsTheStandardReport) {
  disk_.AddFile(At("\\gfxpak1.exe"), {});
  WriteList("a,b,c,0,e\r\nf,g");
  EXPECT_EQ(Click(), 62);
  EXPECT_EQ(disk_.messages(),
            (std::vector<MemoryPlatform::Message>{
                {"Run-time error '62':\n\nInput past end of file\n\n" + At("\\installer.bin"),
                 MessageIcon::kError}}));
  EXPECT_EQ(disk_.started().size(), 2u);
  EXPECT_TRUE(disk_.HasFile(At("\\installer.bin")));
}

TEST_F(Command2Click, MissingToolShowsTheReportWithTheCommandLine) {
  WriteList("a,b,c,0,e\r\n");
  EXPECT_EQ(Click(), 53);
  EXPECT_EQ(
      disk_.messages(),
      (std::vector<MemoryPlatform::Message>{
          {"Run-time error '53':\n\nFile not found\n\ngfxpak1 /i c b a", MessageIcon::kError}}));
  EXPECT_TRUE(disk_.HasFile(At("\\installer.bin")));
}

TEST_F(Command2Click, SecondClickDuringTheWaitStartsNothing) {
  disk_.AddFile(At("\\gfxpak1.exe"), {});
  WriteList("a,b,c,0,e\r\n");
  Form1 form(disk_);
  disk_.during_wait = [&form] { form.OnClick(kCommand2Id); };
  EXPECT_THROW(form.OnClick(kCommand2Id), ProgramEnded);
  EXPECT_EQ(disk_.started().size(), 2u);
}

}  // namespace
}  // namespace verdantix
