// The gfxpak1 command lines of a record.
#include "tools/command_lines.h"

#include <gtest/gtest.h>

#include "platform/memory/matchers.h"

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
                         [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(InstallCommand, FieldFourNeitherZeroNorOneIsInvalidProcedureCallNamingTheList) {
  for (double field4 : {2.0, -1.0, 0.5}) {
    EXPECT_THAT(
        [&] {
          InstallCommand({"a", "b", "c", field4, "e"}, kPath);
        },
        ThrowsRuntimeError(ErrorNumber::kInvalidProcedureCall, kPath))
        << field4;
  }
}

}  // namespace
}  // namespace verdantix
