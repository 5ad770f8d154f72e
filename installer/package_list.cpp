// Reading the list file's bytes and choosing their encoding.
#include "installer/package_list.h"

#include <cstdint>
#include <new>
#include <span>

namespace verdantix {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

/// The length of the UTF-8 sequence at the start of `text`, 0 when it is not a valid one
/// (overlong forms, surrogates and code points beyond U+10FFFF are not).
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto lead = static_cast<std::uint8_t>(text[0]);
  const std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC2 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
  if (length == 0 || length > text.size()) return 0;
  std::uint32_t code = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<std::uint8_t>(text[i]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return overlong || surrogate || code > 0x10FFFF ? 0 : length;
}

/// Valid UTF-8 throughout, with at least one character beyond ASCII.
bool IsUtf8BeyondAscii(std::string_view text) {
  bool beyond_ascii = false;
  while (!text.empty()) {
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) return false;
    beyond_ascii |= length > 1;
    text.remove_prefix(length);
  }
  return beyond_ascii;
}

/// Every byte of `file`; std::bad_alloc when they cannot all be held in memory.
std::string ReadWhole(BinaryFile& file) {
  const std::uint64_t length = file.Length();
  std::string bytes;
  // A 32-bit size_t would cut the length short.
  if (length > bytes.max_size()) throw std::bad_alloc();
  bytes.resize(static_cast<std::size_t>(length));
  file.ReadAt(0, std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()));
  return bytes;
}

}  // namespace

std::string ReadListText(Platform& platform, BinaryFile& list, const std::string& path) {
  try {
    std::string bytes = ReadWhole(list);
    if (!IsUtf8BeyondAscii(bytes)) return platform.FromAnsiCodePage(bytes);
    if (bytes.starts_with(kByteOrderMark)) bytes.erase(0, kByteOrderMark.size());
    return bytes;
  } catch (const std::bad_alloc&) {
    // Memory that runs out while the list is read or converted: the list is too large.
    throw RuntimeError(ErrorNumber::kOutOfMemory, path);
  }
}

}  // namespace verdantix
