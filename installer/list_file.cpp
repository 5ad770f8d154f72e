// The list file's reader: the classic sequential text reader's rules over the file's text.
#include "installer/list_file.h"

#include <algorithm>
#include <cstdint>
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

/// The exponent whose sign and digits start at `at`. It stops growing at 2^50, beyond what the
/// digits of any list could make up for.
std::int64_t ExponentAt(std::string_view text, std::size_t at) {
  const bool negative = text[at] == '-';
  if (IsSign(text, at)) ++at;
  std::int64_t exponent = 0;
  for (; at < text.size(); ++at) {
    exponent = std::min<std::int64_t>(exponent * 10 + (text[at] - '0'), std::int64_t{1} << 50);
  }
  return negative ? -exponent : exponent;
}

/// Item 4's value, `text` being a number as IsNumberText accepts it: 0 or 1 when the number
/// written is exactly that, whatever its sign, zeros, point or exponent ("-0", "+1.0", "0.1E1",
/// "10D-1"); NaN, neither, for any other. Decided on the digits as written: no locale and no
/// rounding plays a part.
double ZeroOneOrOther(std::string_view text) {
  std::size_t at = IsSign(text, 0) ? 1 : 0;
  std::size_t integer_end = at;
  SkipDigits(text, integer_end);
  // The power of ten of each digit in turn: the number is 1 when its one digit other than 0 is
  // a 1 whose power, with the exponent, is 0.
  std::int64_t power = static_cast<std::int64_t>(integer_end - at), power_of_last = 0;
  int not_zero = 0;
  bool ones_only = true;
  for (; at < text.size() && (IsDigit(text[at]) || text[at] == '.'); ++at) {
    if (text[at] == '.') continue;
    --power;
    if (text[at] == '0') continue;
    ++not_zero;
    ones_only = ones_only && text[at] == '1';
    power_of_last = power;
  }
  if (not_zero == 0) return 0;
  if (at < text.size()) power_of_last += ExponentAt(text, at + 1);
  const bool one = not_zero == 1 && ones_only && power_of_last == 0 && text.front() != '-';
  return one ? 1 : std::numeric_limits<double>::quiet_NaN();
}

/// Parses `item` as the number it writes: optional sign, digits with an optional decimal
/// point, optional exponent (E or D); blanks around it allowed; empty is 0. False otherwise.
bool ParseListNumber(std::string_view item, double& value) {
  std::string_view text = TrimBlanks(item);
  value = 0;
  if (text.empty()) return true;
  if (!IsNumberText(text)) return false;
  value = ZeroOneOrOther(text);
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
