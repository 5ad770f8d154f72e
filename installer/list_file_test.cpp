// The list file's reader: items, quotes, line ends, records and errors (field 4: command_lines).
#include "installer/list_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "testing/helpers.h"

namespace verdantix {
namespace {

const std::string kPath = "C:\\Games\\FIFA 2004\\installer.bin";
const ListRecord kAbc1{"a", "b", "c", 1, "e"};
const ListRecord kFgh0{"f", "g", "h", 0, "i"};

struct ReaderCase {
  const char* name;
  std::string_view text;
  std::vector<ListRecord> records;
  int error = 0;  ///< the run-time error after the records, 0 when the text ends
};

class ListFile : public testing::TestWithParam<ReaderCase> {};

TEST_P(ListFile, ReadsTheRecordsWrittenThenFailsNamingTheList) {
  ListFileReader reader(GetParam().text, kPath);
  std::vector<ListRecord> records;
  int error = 0;
  try {
    while (!reader.AtEnd()) records.push_back(reader.ReadRecord());
  } catch (const RuntimeError& failure) {
    EXPECT_EQ(failure.subject(), kPath);
    error = failure.code();
  }
  EXPECT_EQ(records, GetParam().records);
  EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ListFile,
    testing::Values(
        ReaderCase{"OnlyBlanksAndLineEnds", "  \r\n\t\n\r \r\n", {}},
        ReaderCase{"CrLfWithoutFinalLineEnd", "a,b,c,1,e\r\nf,g,h,0,i", {kAbc1, kFgh0}},
        ReaderCase{"CrAndLfAlone", "a,b,c,1,e\rf,g,h,0,i\n", {kAbc1, kFgh0}},
        ReaderCase{"RecordsAcrossLines", "a,b\nc,1,e,f\r\n\r\ng,h,0,i\n", {kAbc1, kFgh0}},
        ReaderCase{"QuotedTextAfterClosingQuoteDropped", "\"a\"x y,\"b\",c,\"1\",e", {kAbc1}},
        ReaderCase{"CommaBlanksAndLineEndInsideQuotes",
                   "\"a, b\",\" c \",\"d\r\ne\",0,f",
                   {{"a, b", " c ", "d\r\ne", 0, "f"}}},
        ReaderCase{"LeadingBlanksSkippedTrailingTrimmed", "  a,\tb ,   c\t, 1 ,  e  ", {kAbc1}},
        ReaderCase{"EmptyItemsAndFieldFourZero", "a,,c,,\"\"", {{"a", "", "c", 0, ""}}},
        ReaderCase{"EndsMidRecord", "a,b,c,1,e\r\nf,g\r\n", {kAbc1}, 62},
        ReaderCase{"TrailingCommaPromisesAnItem", "a,b,c,1,e\nf,g,h,0,", {kAbc1}, 62},
        ReaderCase{"UnclosedQuoteTakesTheRest", "a,b,c,1,e\n\"f,g,h,0,i", {kAbc1}, 62},
        ReaderCase{"FieldFourFailsAsItIsRead", "a,b,c,1,e\nf,g,h,x", {kAbc1}, 13}),
    CaseName());

}  // namespace
}  // namespace verdantix
