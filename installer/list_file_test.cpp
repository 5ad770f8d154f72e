// The list file's reader: items, quotes, line ends, records across lines and its two errors.
// (Field 4's forms: command_lines_test.cpp.)
#include "installer/list_file.h"

#include <gtest/gtest.h>

#include <vector>

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
    testing::Values(
        ErrorCase{"EndsMidRecord", "a,b,c,1,e\r\nf,g\r\n", kInputPastEndOfFile},
        ErrorCase{"TrailingCommaPromisesAnItem", "a,b,c,1,e\nf,g,h,0,", kInputPastEndOfFile},
        ErrorCase{"UnclosedQuoteTakesTheRest", "a,b,c,1,e\n\"f,g,h,0,i", kInputPastEndOfFile},
        // Field 4 fails as it is read, before the end of the text is met.
        ErrorCase{"FieldFourTextAtTheEnd", "a,b,c,1,e\nf,g,h,x", kTypeMismatch}),
    CaseName());

}  // namespace
}  // namespace verdantix
