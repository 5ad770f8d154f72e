// A click on Command2 through Form1: the standard report of a run-time error that escapes the
// installer, and a second click while it waits.
#include <gtest/gtest.h>

#include "app/form1.h"
#include "app/form1_layout.h"
#include "platform/memory/matchers.h"

namespace verdantix {
namespace {

class Command2Click : public testing::Test {
 protected:
  Command2Click() {
    std::string_view list = "a,b,c,0,e\r\n";
    disk_.AddFile(disk_.GameFolder() + "\\installer.bin", {list.begin(), list.end()});
  }

  MemoryPlatform disk_;
  Form1 form_{disk_};
};

TEST_F(Command2Click, AnEscapingErrorShowsTheStandardReportAndEndsWithItsNumber) {
  EXPECT_THAT([this] { form_.OnClick(kCommand2Id); }, EndsProgram(53));  // no gfxpak1
  EXPECT_EQ(
      disk_.messages(),
      (std::vector<MemoryPlatform::Message>{
          {"Run-time error '53':\n\nFile not found\n\ngfxpak1 /i c b a", MessageIcon::kError}}));
}

TEST_F(Command2Click, ASecondClickDuringTheWaitStartsNothing) {
  disk_.AddFile(disk_.GameFolder() + "\\gfxpak1.exe", {});
  disk_.during_wait = [this] { form_.OnClick(kCommand2Id); };
  EXPECT_THAT([this] { form_.OnClick(kCommand2Id); }, EndsProgram(0));
  EXPECT_EQ(disk_.started().size(), 2u);
}

}  // namespace
}  // namespace verdantix
