// The contents of the sample game installation.
#include "sample/sample_files.h"

#include <algorithm>

#include "addon/addon_tables.h"
#include "patch/scans.h"

namespace verdantix::sample {

std::vector<std::uint8_t> FileTableBytes(std::uint64_t length) {
  std::vector<std::uint8_t> bytes(length);
  for (std::uint64_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  for (std::uint64_t at = kFirstRecordOffset; at + kRecordSize <= length; at += kRecordSize) {
    bytes[at] = 0x20;  // an ordinary record: neither form A nor form B
  }
  std::uint64_t record = kFirstRecordOffset + kFormARecord * kRecordSize;
  if (record + 3 <= length)
    std::copy(std::begin(kFormA), std::end(kFormA), bytes.begin() + static_cast<long>(record));
  return bytes;
}

std::vector<std::uint8_t> ArchiveWindowBytes(std::uint64_t length) {
  std::vector<std::uint8_t> bytes(std::min(length, kArchiveWindowSize));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    // Letters a to d and digits: never 'e' or 'f', so the only sequence is the one put below.
    bytes[i] = static_cast<std::uint8_t>("abcd0123456789"[(i * 5) % 14]);
  }
  if (kArchiveFOffset + 3 <= bytes.size()) {
    std::copy(std::begin(kSequenceF), std::end(kSequenceF),
              bytes.begin() + static_cast<long>(kArchiveFOffset));
  }
  return bytes;
}

namespace {

/// "\data\gui\goto.big" as "data/gui/goto.big", with a content that names it.
std::pair<std::string, std::vector<std::uint8_t>> FileNaming(std::string_view relative) {
  std::string path(relative.substr(1));
  std::replace(path.begin(), path.end(), '\\', '/');
  std::string text = "sample game file " + std::string(relative) + "\n";
  return {path, std::vector<std::uint8_t>(text.begin(), text.end())};
}

}  // namespace

std::vector<std::pair<std::string, std::vector<std::uint8_t>>> OtherGameFiles() {
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
  for (const CopyRow& row : AddonCopyRows()) files.push_back(FileNaming(row.source));
  // The locale sources without "dat_eng.big", so that a click makes the three locale files.
  for (const LocaleRow& row : kLocaleRows) files.push_back(FileNaming(row.source));
  return files;
}

}  // namespace verdantix::sample
