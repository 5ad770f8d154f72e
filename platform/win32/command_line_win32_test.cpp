// What Windows itself makes of the command lines whose split the program does on its own.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include "platform/contract/command_line_cases.h"
#include "platform/win32/win32_text.h"
#include "testing/helpers.h"

namespace verdantix::win32 {
namespace {

class WindowsCommandLine : public testing::TestWithParam<CommandLineCase> {};

TEST_P(WindowsCommandLine, GivesTheTablesWords) {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(Wide(GetParam().line).c_str(), &count);
  ASSERT_NE(words, nullptr);
  std::vector<std::string> split;
  for (int i = 0; i < count; ++i) split.push_back(Narrow(words[i]));
  LocalFree(words);
  EXPECT_EQ(split, GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(Lines, WindowsCommandLine, testing::ValuesIn(kCommandLineCases),
                         CaseName());

}  // namespace
}  // namespace verdantix::win32
