// The list file's text: which encoding its bytes are read in.
#include "installer/package_list.h"

#include <gtest/gtest.h>

#include "testing/helpers.h"

namespace verdantix {
namespace {

struct EncodingCase {
  const char* name;
  std::string_view bytes;
  std::string_view text;
};

class ListText : public testing::TestWithParam<EncodingCase> {};

// The in-memory platform's ANSI code page is Latin-1: E9 is "é", C3 A9 is "Ã©".
TEST_P(ListText, IsUtf8OnlyWhenValidAndBeyondAscii) {
  MemoryPlatform disk;
  const std::string path = disk.PathOf("\\installer.bin");
  disk.AddFile(path, {GetParam().bytes.begin(), GetParam().bytes.end()});
  EXPECT_EQ(ReadListText(disk, *disk.OpenForReading(path), path), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Lists, ListText,
                         testing::Values(EncodingCase{"Ascii", "a,b,c,0,e\r\n", "a,b,c,0,e\r\n"},
                                         EncodingCase{"AnsiCodePage", "caf\xE9,b", "caf\xC3\xA9,b"},
                                         EncodingCase{"Utf8", "caf\xC3\xA9,b", "caf\xC3\xA9,b"},
                                         EncodingCase{"Utf8ByteOrderMarkDropped",
                                                      "\xEF\xBB\xBF"
                                                      "caf\xC3\xA9",
                                                      "caf\xC3\xA9"},
                                         EncodingCase{"InvalidUtf8IsAnsi", "\xC3\xA9\xC3",
                                                      "\xC3\x83\xC2\xA9\xC3\x83"},
                                         EncodingCase{"EncodedSurrogateIsAnsi", "\xED\xA0\x80",
                                                      "\xC3\xAD\xC2\xA0\xC2\x80"}),
                         CaseName());

}  // namespace
}  // namespace verdantix
