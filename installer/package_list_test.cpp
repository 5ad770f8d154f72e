// The list file's text: which encoding its bytes are read in, and a list too large for memory.
#include "installer/package_list.h"

#include <gtest/gtest.h>

#include <limits>

#include "testing/helpers.h"

namespace verdantix {
namespace {

struct EncodingCase {
  const char* name;
  std::string_view bytes;
  std::string_view text;
};

class ListText : public testing::TestWithParam<EncodingCase> {};

/// Marks text read in the ANSI code page, or refuses it as Windows does a text too large.
struct AnsiMarking : MemoryPlatform {
  std::string FromAnsiCodePage(std::string_view bytes) override {
    if (refuse) throw std::bad_alloc();
    return "ansi:" + std::string(bytes);
  }
  bool refuse = false;
};

TEST_P(ListText, IsUtf8OnlyWhenValidAndBeyondAscii) {
  AnsiMarking disk;
  const std::string path = disk.PathOf("\\installer.bin");
  disk.AddFile(path, {GetParam().bytes.begin(), GetParam().bytes.end()});
  EXPECT_EQ(ReadListText(disk, *disk.OpenForReading(path), path), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListText,
    testing::Values(EncodingCase{"Ascii", "a,b,c,0,e\r\n", "ansi:a,b,c,0,e\r\n"},
                    EncodingCase{"AnsiCodePage", "caf\xE9,b", "ansi:caf\xE9,b"},
                    EncodingCase{"Utf8", "caf\xC3\xA9,b", "caf\xC3\xA9,b"},
                    EncodingCase{"Utf8ThreeAndFourBytes", "\xE2\x82\xAC\xF0\x9F\x98\x80",
                                 "\xE2\x82\xAC\xF0\x9F\x98\x80"},
                    EncodingCase{"Utf8ByteOrderMarkDropped", "\xEF\xBB\xBF\xC3\xA9", "\xC3\xA9"},
                    EncodingCase{"CutShortIsAnsi", "\xC3\xA9\xC3", "ansi:\xC3\xA9\xC3"},
                    EncodingCase{"OverlongIsAnsi", "\xE0\x80\xAF", "ansi:\xE0\x80\xAF"},
                    EncodingCase{"EncodedSurrogateIsAnsi", "\xED\xA0\x80", "ansi:\xED\xA0\x80"},
                    EncodingCase{"BeyondU10FFFFIsAnsi", "\xF4\x90\x80\x80",
                                 "ansi:\xF4\x90\x80\x80"}),
    CaseName());

/// A list longer than any string can hold; reading it would be a bug.
class EndlessList : public BinaryFile {
  std::uint64_t Length() override { return std::numeric_limits<std::uint64_t>::max(); }
  void ReadAt(std::uint64_t, std::span<std::uint8_t>) override { ADD_FAILURE() << "read"; }
  void WriteAt(std::uint64_t, std::span<const std::uint8_t>) override {}
  void Flush() override {}
};

TEST(ListText, TooLargeToReadOrToConvertIsOutOfMemoryNamingTheList) {
  AnsiMarking disk;
  disk.refuse = true;
  const std::string path = disk.PathOf("\\installer.bin");
  disk.AddFile(path, {'a'});
  EndlessList endless;
  const auto out_of_memory = ThrowsRuntimeError(ErrorNumber::kOutOfMemory, path);
  EXPECT_THAT([&] { ReadListText(disk, endless, path); }, out_of_memory);
  EXPECT_THAT([&] { ReadListText(disk, *disk.OpenForReading(path), path); }, out_of_memory);
}

}  // namespace
}  // namespace verdantix
