// The list file's reader: the classic sequential text reader's rules over the file's text.
#include "installer/list_file.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "platform/runtime_error.h"

namespace verdantix {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool IsSeparator(char c) { return c == ',' || IsLineEnd(c); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

/// Moves `at` past the digits there and returns how many there were.
std::size_t SkipDigits(std::string_view text, std::size_t& at) {
  std::size_t start = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at - start;
}

bool IsSign(std::string_view text, std::size_t at) {
  return at < text.size() && (text[at] == '+' || text[at] == '-');
}

/// Sign, digits with an optional decimal point, an optional exponent: nothing else.
bool IsNumberText(std::string_view text) {
  std::size_t at = IsSign(text, 0) ? 1 : 0;
  std::size_t digits = SkipDigits(text, at);
  if (at < text.size() && text[at] == '.') digits += SkipDigits(text, ++at);
  if (digits == 0) return false;
  if (at < text.size() &&
      (text[at] == 'E' || text[at] == 'e' || text[at] == 'D' || text[at] == 'd')) {
    if (IsSign(text, ++at)) ++at;
    if (SkipDigits(text, at) == 0) return false;
  }
  return at == text.size();
}

/// Parses `item` as the number it writes: optional sign, digits with an optional decimal
/// point, optional exponent (E or D); blanks around it allowed; empty is 0. False otherwise.
/// The C library's locale plays no part: a decimal point is a point under any locale.
bool ParseListNumber(std::string_view item, double& value) {
  std::string_view text = TrimBlanks(item);
  value = 0;
  if (text.empty()) return true;
  if (!IsNumberText(text)) return false;
  // from_chars reads the same forms once a leading "+" is dropped and the older "D" exponent is
  // spelled "E".
  if (text.front() == '+') text.remove_prefix(1);
  std::string normal(text);
  std::replace_if(
      normal.begin(), normal.end(), [](char c) { return c == 'D' || c == 'd'; }, 'E');
  const auto parsed = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  // Beyond the range of a double: a number, but surely neither 0 nor 1.
  if (parsed.ec == std::errc::result_out_of_range) value = std::numeric_limits<double>::quiet_NaN();
  return true;
}

}  // namespace

std::size_t ListFileReader::SkipBlanksAndLineEnds(std::size_t from) const {
  while (from < text_.size() && (IsBlank(text_[from]) || IsLineEnd(text_[from]))) ++from;
  return from;
}

bool ListFileReader::AtEnd() const { return SkipBlanksAndLineEnds(position_) == text_.size(); }

void ListFileReader::SkipPastSeparator() {
  while (position_ < text_.size() && !IsSeparator(text_[position_])) ++position_;
  // One separator ends the item; the LF of a CR LF is skipped before the next item.
  if (position_ < text_.size()) ++position_;
}

std::string ListFileReader::ReadItem() {
  position_ = SkipBlanksAndLineEnds(position_);
  if (position_ == text_.size()) throw RuntimeError(ErrorNumber::kInputPastEndOfFile, subject_);
  if (text_[position_] == '"') {
    std::size_t open = position_ + 1;
    std::size_t close = text_.find('"', open);
    // An unclosed quote takes the rest of the text.
    if (close == std::string_view::npos) close = text_.size();
    std::string item(text_.substr(open, close - open));
    position_ = close;
    SkipPastSeparator();
    return item;
  }
  std::size_t end = position_;
  while (end < text_.size() && !IsSeparator(text_[end])) ++end;
  std::string item(TrimBlanks(text_.substr(position_, end - position_)));
  position_ = end;
  SkipPastSeparator();
  return item;
}

double ListFileReader::ReadNumber() {
  double value = 0;
  if (!ParseListNumber(ReadItem(), value)) {
    throw RuntimeError(ErrorNumber::kTypeMismatch, subject_);
  }
  return value;
}

ListRecord ListFileReader::ReadRecord() {
  ListRecord record;
  record.field1 = ReadItem();
  record.field2 = ReadItem();
  record.field3 = ReadItem();
  record.field4 = ReadNumber();
  record.field5 = ReadItem();
  return record;
}

}  // namespace verdantix
