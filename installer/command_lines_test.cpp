// The gfxpak1 command lines of a record, or the error that refuses it, under any locale.
#include "installer/command_lines.h"

#include <gtest/gtest.h>

#include <clocale>

#include "testing/helpers.h"

namespace verdantix {
namespace {

using namespace std::string_view_literals;

const std::string kPath = "C:\\Games\\FIFA 2004\\installer.bin";

constexpr std::string_view kWithC = "gfxpak1 /i c b a /c | gfxpak1 /r c c";
constexpr std::string_view kWithoutC = "gfxpak1 /i c b a | gfxpak1 /r c c";
constexpr std::string_view kInvalid = "error 5", kNotANumber = "error 13";

struct RecordCase {
  const char* name;
  std::string_view record;
  std::string_view commands;  ///< "/i command | /r command", or "error N"
};

constexpr RecordCase kRecords[] = {
    {"FieldFourOneAddsC", "X1,X2,X3,1,X5", "gfxpak1 /i X3 X2 X1 /c | gfxpak1 /r X3 X3"},
    {"FieldFiveIgnored", "a,b,c,0,\"anything, at all\"", kWithoutC},
    {"BlanksJoinedUnquoted", "my file.pak,b,c d,0,e",
     "gfxpak1 /i c d b my file.pak | gfxpak1 /r c d c d"},
    {"NulInFieldOne", "a\0z,b,c,0,e"sv, kInvalid},
    {"NulInFieldThree", "a,b,c\0z,1,e"sv, kInvalid},
    {"FieldFourOnlyBlanksIsZero", "a,b,c,\" \t\",e", kWithoutC},
    {"FieldFourSignAndPoint", "a,b,c,+1.0,e", kWithC},
    {"FieldFourNegativeZero", "a,b,c,-0,e", kWithoutC},
    {"FieldFourExponent", "a,b,c,0.1E1,e", kWithC},
    {"FieldFourLowerCaseExponent", "a,b,c,1e0,e", kWithC},
    {"FieldFourOlderExponentD", "a,b,c,10D-1,e", kWithC},
    {"FieldFourLowerCaseD", "a,b,c,0.1d+1,e", kWithC},
    {"FieldFourHalf", "a,b,c,0.5,e", kInvalid},
    {"FieldFourMinusOne", "a,b,c,-1,e", kInvalid},
    {"FieldFourTwo", "a,b,c,2,e", kInvalid},
    {"FieldFourEleven", "a,b,c,11,e", kInvalid},
    {"FieldFourBeyondADouble", "a,b,c,1E999,e", kInvalid},
    {"FieldFourOnlyNearOne", "a,b,c,1.00000000000000001,e", kInvalid},  // a double would be 1
    {"FieldFourText", "a,b,c,yes,e", kNotANumber},
    {"FieldFourNumberThenText", "a,b,c,1x,e", kNotANumber},
    {"FieldFourExponentWithoutDigits", "a,b,c,1E,e", kNotANumber},
};

/// The commands of the one record `text` holds, or "error N" when it is refused.
std::string CommandsOf(std::string_view text) {
  try {
    const ListRecord record = ListFileReader(text, kPath).ReadRecord();
    return InstallCommand(record, kPath) + " | " + RemoveCommand(record);
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.subject(), kPath);
    return "error " + std::to_string(error.code());
  }
}

class CommandLines : public testing::TestWithParam<RecordCase> {};

TEST_P(CommandLines, JoinTheFieldsUnquotedOrRefuseTheRecord) {
  EXPECT_EQ(CommandsOf(GetParam().record), GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(Records, CommandLines, testing::ValuesIn(kRecords), CaseName());

// The GTK front's gtk_init sets the C library's locale from the environment. The build makes a
// German locale, whose decimal point is a comma, and CTest names its folder in LOCPATH.
TEST(CommandLinesUnderAnyLocale, AreTheSameUnderACommaDecimalLocale) {
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") ||
      std::localeconv()->decimal_point != std::string(",")) {
    std::setlocale(LC_ALL, "C");
    GTEST_SKIP() << "no comma-decimal locale de_DE.UTF-8 (the build makes one; LOCPATH names it)";
  }
  for (const RecordCase& c : kRecords) EXPECT_EQ(CommandsOf(c.record), c.commands) << c.name;
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace verdantix
