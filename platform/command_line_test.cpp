// The program's own split of a command line, against the words Windows gives.
#include "platform/command_line.h"

#include <gtest/gtest.h>

#include "platform/contract/command_line_cases.h"
#include "testing/helpers.h"

namespace verdantix {
namespace {

class CommandLineSplit : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineSplit, GivesTheWordsAWindowsProgramGets) {
  EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(Lines, CommandLineSplit, testing::ValuesIn(kCommandLineCases), CaseName());

}  // namespace
}  // namespace verdantix
