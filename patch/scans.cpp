// The file-table and archive scans of the index patch.
#include "patch/scans.h"

#include <algorithm>

#include "platform/runtime_error.h"

namespace verdantix {

namespace {

constexpr std::uint64_t kFileTableWindowEnd =
    kFirstRecordOffset + (kRecordsExamined - 1) * kRecordSize + 3;

bool StartsWith(std::span<const std::uint8_t> bytes, std::uint64_t at,
                const std::uint8_t (&sequence)[3]) {
  return std::equal(std::begin(sequence), std::end(sequence),
                    bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

/// One pass over the archive window for `from`, rewriting its first byte to `to`'s.
std::optional<ByteChange> ArchivePass(std::span<const std::uint8_t> window,
                                      const std::uint8_t (&from)[3], const std::uint8_t (&to)[3],
                                      const std::string& archive_path) {
  for (std::uint64_t i = 0; i < kArchiveWindowStarts; ++i) {
    // Every pass reads three bytes before comparing them, so a short archive fails at the
    // first start whose third byte lies beyond its end.
    if (i + 3 > window.size()) throw RuntimeError(ErrorNumber::kSubscriptOutOfRange, archive_path);
    if (StartsWith(window, i, from)) return ByteChange{i, to[0]};
  }
  return std::nullopt;
}

}  // namespace

ByteRange FileTableWindow(std::uint64_t file_length) {
  if (file_length < kFirstRecordOffset + 3) return {0, file_length};
  return {kFirstRecordOffset, std::min(file_length, kFileTableWindowEnd) - kFirstRecordOffset};
}

ByteRange ArchiveWindow(std::uint64_t file_length) {
  return {0, std::min(file_length, kArchiveWindowSize)};
}

std::optional<ByteChange> ScanFileTable(std::span<const std::uint8_t> window,
                                        std::uint64_t offset) {
  for (std::uint64_t k = 0; k < kRecordsExamined; ++k) {
    std::uint64_t record = kFirstRecordOffset + k * kRecordSize;
    std::uint64_t at = record - offset;
    if (at + 3 > window.size()) break;
    if (StartsWith(window, at, kFormA)) return ByteChange{record, kFormB[0]};
    if (StartsWith(window, at, kFormB)) return ByteChange{record, kFormA[0]};
  }
  return std::nullopt;
}

ArchiveScan ScanArchive(std::span<const std::uint8_t> window, const std::string& archive_path) {
  if (auto change = ArchivePass(window, kSequenceF, kSequenceE, archive_path)) {
    return {Outcome::kInstalled, change};
  }
  if (auto change = ArchivePass(window, kSequenceE, kSequenceF, archive_path)) {
    return {Outcome::kUninstalled, change};
  }
  return {Outcome::kNone, std::nullopt};
}

}  // namespace verdantix
