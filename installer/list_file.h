// The list file's reader: items and five-field records out of the file's text, no file access.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace verdantix {

/// One record of the list file, its fields in the order they are read.
struct ListRecord {
  std::string field1;  ///< last argument of the /i command
  std::string field2;  ///< middle argument of the /i command
  std::string field3;  ///< first argument of /i, both arguments of /r
  double field4 = 0;   ///< 1: /i ends with " /c"; 0: it does not; NaN: any other number
  std::string field5;  ///< read and not used
  bool operator==(const ListRecord&) const = default;
};

/// Reads the list file's text item by item, as the classic sequential text reader does:
/// - items are separated by commas and line ends (CR LF, LF or CR alone);
/// - blanks (spaces, tabs) and line ends before an item are skipped; blanks after an
///   unquoted item, before its separator, are trimmed;
/// - an item in double quotes is taken without them and may hold commas, blanks and line
///   ends; anything between its closing quote and the next separator is dropped;
/// - field 4 is read as a number (sign, digits, decimal point, exponent E or D; an empty item
///   is 0) by the program's own rules, whatever the C library's locale: 0 or 1 when its digits
///   make exactly that, NaN for any other number.
/// Failures name `subject`, the list file's path: error 62 when the text ends where an item
/// is due, error 13 when field 4 is not a number.
class ListFileReader {
 public:
  ListFileReader(std::string_view text, std::string subject)
      : text_(text), subject_(std::move(subject)) {}

  /// True when only blanks and line ends are left, so no further record can start.
  bool AtEnd() const;
  /// Reads the next five items as one record.
  ListRecord ReadRecord();

 private:
  /// The next item as text, past its separator.
  std::string ReadItem();
  double ReadNumber();
  std::size_t SkipBlanksAndLineEnds(std::size_t from) const;
  void SkipPastSeparator();

  std::string_view text_;
  std::size_t position_ = 0;
  std::string subject_;
};

}  // namespace verdantix
