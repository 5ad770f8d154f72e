// Text conversion for the wide-character Win32 API.
#include "platform/win32/win32_text.h"

namespace verdantix::win32 {

namespace {

bool IsHighSurrogate(char32_t code) { return code >= 0xD800 && code <= 0xDBFF; }

/// The code point of the generalised UTF-8 sequence at `at`, which moves past it; a byte that
/// starts no valid sequence is U+FFFD. Three-byte forms of U+D800 to U+DFFF are accepted: they
/// are the lone surrogates that Narrow writes.
char32_t DecodeAt(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) {
    ++at;
    return lead;
  }
  const std::size_t length = lead < 0xC2   ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
  char32_t code = lead & (0x7F >> length);
  bool valid = length != 0 && at + length <= text.size();
  for (std::size_t i = 1; valid && i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    valid = (next & 0xC0) == 0x80;
    code = (code << 6) | (next & 0x3F);
  }
  valid = valid && !(length == 3 && code < 0x800) && !(length == 4 && code < 0x10000) &&
          code <= 0x10FFFF;
  at += valid ? length : 1;
  return valid ? code : U'\uFFFD';
}

void Encode(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
    return;
  }
  const std::size_t length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
  constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
  out += static_cast<char>(kLead[length] | (code >> (6 * (length - 1))));
  for (std::size_t i = length - 1; i-- > 0;) {
    out += static_cast<char>(0x80 | ((code >> (6 * i)) & 0x3F));
  }
}

}  // namespace

std::wstring Wide(std::string_view text) {
  std::wstring wide;
  wide.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const char32_t code = DecodeAt(text, at);
    if (code < 0x10000) {
      wide += static_cast<wchar_t>(code);
    } else {
      wide += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
      wide += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    }
  }
  return wide;
}

std::string Narrow(std::wstring_view text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    char32_t code = text[at];
    const bool pair = IsHighSurrogate(code) && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
                      text[at + 1] <= 0xDFFF;
    if (pair) code = 0x10000 + ((code - 0xD800) << 10) + (text[++at] - 0xDC00);
    Encode(code, narrow);
  }
  return narrow;
}

}  // namespace verdantix::win32
