// The list file's reader: items, quotes, line ends, records across lines and its two errors.
#include "tools/list_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/runtime_error.h"

namespace verdantix {
namespace {

const std::string kPath = "C:\\Games\\FIFA 2004\\installer.bin";

std::vector<ListRecord> ReadAll(std::string_view text) {
  ListFileReader reader(text, kPath);
  std::vector<ListRecord> records;
  while (!reader.AtEnd()) records.push_back(reader.ReadRecord());
  return records;
}

struct ReaderCase {
  const char* name;
  std::string_view text;
  std::vector<ListRecord> records;
};

class ListFileRecords : public testing::TestWithParam<ReaderCase> {};

TEST_P(ListFileRecords, ReadsTheRecordsWritten) {
  EXPECT_EQ(ReadAll(GetParam().text), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ListFileRecords,
    testing::Values(
        ReaderCase{"Empty", "", {}}, ReaderCase{"OnlyBlanksAndLineEnds", "  \r\n\t\n\r \r\n", {}},
        ReaderCase{"OneRecordCrLf", "a,b,c,1,e\r\n", {{"a", "b", "c", 1, "e"}}},
        ReaderCase{"NoFinalLineEnd", "a,b,c,0,e", {{"a", "b", "c", 0, "e"}}},
        ReaderCase{"TwoRecordsLf",
                   "a,b,c,1,e\nf,g,h,0,i\n",
                   {{"a", "b", "c", 1, "e"}, {"f", "g", "h", 0, "i"}}},
        ReaderCase{"CrAlone",
                   "a,b,c,1,e\rf,g,h,0,i\r",
                   {{"a", "b", "c", 1, "e"}, {"f", "g", "h", 0, "i"}}},
        ReaderCase{"OneItemPerLine", "a\r\nb\r\nc\r\n1\r\ne\r\n", {{"a", "b", "c", 1, "e"}}},
        ReaderCase{"RecordsAcrossLines",
                   "a,b\nc,1,e,f\ng,h,0,i\n",
                   {{"a", "b", "c", 1, "e"}, {"f", "g", "h", 0, "i"}}},
        ReaderCase{"BlankLinesBetweenRecords",
                   "a,b,c,1,e\r\n\r\n\r\nf,g,h,0,i",
                   {{"a", "b", "c", 1, "e"}, {"f", "g", "h", 0, "i"}}},
        ReaderCase{"Quoted", "\"a\",\"b\",\"c\",1,\"e\"", {{"a", "b", "c", 1, "e"}}},
        ReaderCase{
            "CommaAndBlanksInsideQuotes", "\"a, b\",\" c \",d,0,e", {{"a, b", " c ", "d", 0, "e"}}},
        ReaderCase{"LineEndInsideQuotes", "\"a\r\nb\",c,d,0,e", {{"a\r\nb", "c", "d", 0, "e"}}},
        ReaderCase{"TextAfterClosingQuoteDropped", "\"a\"x y,b,c,0,e", {{"a", "b", "c", 0, "e"}}},
        ReaderCase{
            "UnclosedQuoteTakesTheRest", "a,b,c,0,\"e,f\r\n", {{"a", "b", "c", 0, "e,f\r\n"}}},
        ReaderCase{"LeadingBlanksSkipped", "  a,\tb,   c, 1,  e", {{"a", "b", "c", 1, "e"}}},
        ReaderCase{"TrailingBlanksTrimmed", "a  ,b\t,c ,1 ,e  \r\n", {{"a", "b", "c", 1, "e"}}},
        ReaderCase{"BlankInsideUnquotedKept", "my file,b,c,0,e", {{"my file", "b", "c", 0, "e"}}},
        ReaderCase{"EmptyItems", "a,,c,0,\"\"", {{"a", "", "c", 0, ""}}},
        ReaderCase{"EmptyFieldFourIsZero", "a,b,c,,e", {{"a", "b", "c", 0, "e"}}},
        ReaderCase{
            "NumbersInTextFieldsKeepTheirText", "007,1.50,-0,1,2", {{"007", "1.50", "-0", 1, "2"}}},
        ReaderCase{"FieldFourForms",
                   "a,b,c,\"1\",e\na,b,c,+1.0,e\na,b,c,1E0,e\na,b,c,2,e",
                   {{"a", "b", "c", 1, "e"},
                    {"a", "b", "c", 1, "e"},
                    {"a", "b", "c", 1, "e"},
                    {"a", "b", "c", 2, "e"}}}),
    [](const testing::TestParamInfo<ReaderCase>& param_info) { return param_info.param.name; });

struct ErrorCase {
  const char* name;
  std::string_view text;
  ErrorNumber number;
  std::size_t records_before;
};

class ListFileErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(ListFileErrors, FailsAtTheRecordNamingTheList) {
  ListFileReader reader(GetParam().text, kPath);
  for (std::size_t i = 0; i < GetParam().records_before; ++i) reader.ReadRecord();
  ASSERT_FALSE(reader.AtEnd());
  try {
    reader.ReadRecord();
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), GetParam().number);
    EXPECT_EQ(error.subject(), kPath);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ListFileErrors,
    testing::Values(
        ErrorCase{"EndsMidRecord", "a,b,c", ErrorNumber::kInputPastEndOfFile, 0},
        ErrorCase{"SecondRecordCutShort", "a,b,c,0,e\r\nf,g\r\n", ErrorNumber::kInputPastEndOfFile,
                  1},
        ErrorCase{"TrailingCommaPromisesAnItem", "a,b,c,0,", ErrorNumber::kInputPastEndOfFile, 0},
        ErrorCase{"FieldFourText", "a,b,c,yes,e", ErrorNumber::kTypeMismatch, 0},
        ErrorCase{"FieldFourNumberThenText", "a,b,c,1x,e", ErrorNumber::kTypeMismatch, 0},
        ErrorCase{"FieldFourBareSign", "a,b,c,-,e", ErrorNumber::kTypeMismatch, 0},
        ErrorCase{"FieldFourMissingExponent", "a,b,c,1e,e", ErrorNumber::kTypeMismatch, 0}),
    [](const testing::TestParamInfo<ErrorCase>& param_info) { return param_info.param.name; });

TEST(ListFileReader, TypeMismatchComesBeforeFieldFive) {
  // Field 4 fails as it is read, so a file cut short after it still reports the mismatch.
  ListFileReader reader("a,b,c,x", kPath);
  try {
    reader.ReadRecord();
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), ErrorNumber::kTypeMismatch);
  }
}

}  // namespace
}  // namespace verdantix
