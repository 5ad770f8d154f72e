// The list file's reader: items, quotes, line ends, records across lines, field 4 under any
// locale, and its two errors.
#include "installer/list_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <vector>

#include "installer/command_lines.h"
#include "testing/helpers.h"

namespace verdantix {
namespace {

using enum ErrorNumber;

const std::string kPath = "C:\\Games\\FIFA 2004\\installer.bin";
const ListRecord kAbc1{"a", "b", "c", 1, "e"};
const ListRecord kFgh0{"f", "g", "h", 0, "i"};

struct ReaderCase {
  const char* name;
  std::string_view text;
  std::vector<ListRecord> records;
};

class ListFileRecords : public testing::TestWithParam<ReaderCase> {};

TEST_P(ListFileRecords, ReadsTheRecordsWritten) {
  ListFileReader reader(GetParam().text, kPath);
  std::vector<ListRecord> records;
  while (!reader.AtEnd()) records.push_back(reader.ReadRecord());
  EXPECT_EQ(records, GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ListFileRecords,
    testing::Values(
        ReaderCase{"OnlyBlanksAndLineEnds", "  \r\n\t\n\r \r\n", {}},
        ReaderCase{"CrLfWithoutFinalLineEnd", "a,b,c,1,e\r\nf,g,h,0,i", {kAbc1, kFgh0}},
        ReaderCase{"LfAlone", "a,b,c,1,e\nf,g,h,0,i\n", {kAbc1, kFgh0}},
        ReaderCase{"CrAlone", "a,b,c,1,e\rf,g,h,0,i\r", {kAbc1, kFgh0}},
        ReaderCase{"RecordsAcrossLines", "a,b\nc,1,e,f\r\n\r\ng,h,0,i\n", {kAbc1, kFgh0}},
        ReaderCase{"Quoted", "\"a\",\"b\",\"c\",\"1\",\"e\"", {kAbc1}},
        ReaderCase{"CommaBlanksAndLineEndInsideQuotes",
                   "\"a, b\",\" c \",\"d\r\ne\",0,f",
                   {{"a, b", " c ", "d\r\ne", 0, "f"}}},
        ReaderCase{"TextAfterClosingQuoteDropped", "\"a\"x y,b,c,1,e", {kAbc1}},
        ReaderCase{"LeadingBlanksSkippedTrailingTrimmed", "  a,\tb ,   c\t, 1 ,  e  ", {kAbc1}},
        ReaderCase{"BlankInsideUnquotedKept", "my file,b,c,0,e", {{"my file", "b", "c", 0, "e"}}},
        ReaderCase{"EmptyItemsAndFieldFourZero", "a,,c,,\"\"", {{"a", "", "c", 0, ""}}}),
    CaseName());

constexpr std::string_view kWithC = "gfxpak1 /i c b a /c", kWithoutC = "gfxpak1 /i c b a";
constexpr std::string_view kInvalid = "error 5", kNotANumber = "error 13";

/// Field 4 of a record, and the /i command it gives or the error that refuses the record.
struct FieldFourCase {
  const char* name;
  std::string_view item;
  std::string_view outcome;
};

constexpr FieldFourCase kFieldFourCases[] = {
    {"One", "1", kWithC},
    {"Zero", "0", kWithoutC},
    {"OnlyBlanksIsZero", "\" \t\"", kWithoutC},
    {"SignAndPoint", "+1.0", kWithC},
    {"NegativeZero", "-0", kWithoutC},
    {"Exponent", "0.1E1", kWithC},
    {"LowerCaseExponent", "1e0", kWithC},
    {"OlderExponentD", "10D-1", kWithC},
    {"LowerCaseD", "0.1d+1", kWithC},
    {"Half", "0.5", kInvalid},
    {"OneAndAHalf", "1.5", kInvalid},
    {"BeyondADouble", "1E999", kInvalid},
    {"TooSmallForADouble", "1E-999", kInvalid},
    {"Text", "yes", kNotANumber},
    {"NumberThenText", "1x", kNotANumber},
    {"ExponentWithoutDigits", "1E", kNotANumber},
};

/// The /i command of the record "a,b,c,ITEM,e", or "error N" when it is refused.
std::string InstallCommandFor(std::string_view item) {
  const std::string text = "a,b,c," + std::string(item) + ",e";
  try {
    return InstallCommand(ListFileReader(text, kPath).ReadRecord(), kPath);
  } catch (const RuntimeError& error) {
    return "error " + std::to_string(error.code());
  }
}

class FieldFour : public testing::TestWithParam<FieldFourCase> {};

TEST_P(FieldFour, IsZeroOrOneOrTheRecordIsRefused) {
  EXPECT_EQ(InstallCommandFor(GetParam().item), GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(Items, FieldFour, testing::ValuesIn(kFieldFourCases), CaseName());

// The GTK front's gtk_init sets the C library's locale from the environment. The build makes a
// German locale, whose decimal point is a comma, and CTest names its folder in LOCPATH.
TEST(FieldFourUnderAnyLocale, ReadsTheSameUnderACommaDecimalLocale) {
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") ||
      std::localeconv()->decimal_point != std::string(",")) {
    std::setlocale(LC_ALL, "C");
    GTEST_SKIP() << "no comma-decimal locale de_DE.UTF-8 (the build makes one; LOCPATH names it)";
  }
  for (const FieldFourCase& c : kFieldFourCases) {
    EXPECT_EQ(InstallCommandFor(c.item), c.outcome) << c.name;
  }
  std::setlocale(LC_ALL, "C");
}

struct ErrorCase {
  const char* name;
  std::string_view text;
  ErrorNumber number;
};

class ListFileErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(ListFileErrors, FailsAtTheSecondRecordNamingTheList) {
  ListFileReader reader(GetParam().text, kPath);
  EXPECT_EQ(reader.ReadRecord(), kAbc1);
  EXPECT_THAT([&] { reader.ReadRecord(); }, ThrowsRuntimeError(GetParam().number, kPath));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ListFileErrors,
    testing::Values(ErrorCase{"EndsMidRecord", "a,b,c,1,e\r\nf,g\r\n", kInputPastEndOfFile},
                    ErrorCase{"TrailingCommaPromisesAnItem", "a,b,c,1,e\nf,g,h,0,",
                              kInputPastEndOfFile},
                    // Field 4 fails as it is read, before the end of the text is met.
                    ErrorCase{"FieldFourTextAtTheEnd", "a,b,c,1,e\nf,g,h,x", kTypeMismatch}),
    CaseName());

}  // namespace
}  // namespace verdantix
