// The gfxpak1 command lines of a record.
#include "installer/command_lines.h"

#include <gtest/gtest.h>

#include "testing/helpers.h"

namespace verdantix {
namespace {

const std::string kPath = "C:\\Games\\FIFA 2004\\installer.bin";

struct CommandCase {
  const char* name;
  ListRecord record;
  std::string install;
  std::string remove;
};

class CommandLines : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandLines, JoinFieldsWithoutQuotes) {
  EXPECT_EQ(InstallCommand(GetParam().record, kPath), GetParam().install);
  EXPECT_EQ(RemoveCommand(GetParam().record), GetParam().remove);
}

INSTANTIATE_TEST_SUITE_P(Records, CommandLines,
                         testing::Values(CommandCase{"FieldFourOneAddsC",
                                                     {"X1", "X2", "X3", 1, "X5"},
                                                     "gfxpak1 /i X3 X2 X1 /c",
                                                     "gfxpak1 /r X3 X3"},
                                         CommandCase{"FieldFiveIgnored",
                                                     {"X1", "X2", "X3", 0, "anything, at all"},
                                                     "gfxpak1 /i X3 X2 X1",
                                                     "gfxpak1 /r X3 X3"},
                                         CommandCase{"BlankInAField",
                                                     {"my file.pak", "b", "c d", 0, ""},
                                                     "gfxpak1 /i c d b my file.pak",
                                                     "gfxpak1 /r c d c d"}),
                         CaseName());

// Field 4 other than 0 or 1: the list reader's FieldFour table.
TEST(InstallCommand, ANulInAnArgumentIsInvalidProcedureCall) {
  const std::string nul("c\0d", 3);
  for (const ListRecord& record :
       {ListRecord{"a", "b", nul, 0, "e"}, ListRecord{nul, "b", "c", 1, "e"}}) {
    EXPECT_THAT([&] { InstallCommand(record, kPath); },
                ThrowsRuntimeError(ErrorNumber::kInvalidProcedureCall, kPath))
        << record.field1 << "," << record.field3;
  }
}

}  // namespace
}  // namespace verdantix
