// The two byte scans of the index patch: pure functions from bytes to the one byte to change.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace verdantix {

/// One byte to rewrite, at an offset of the whole file.
struct ByteChange {
  std::uint64_t offset;
  std::uint8_t value;
};

/// A stretch of a file: `length` bytes from `offset`.
struct ByteRange {
  std::uint64_t offset;
  std::uint64_t length;
};

/// File table: 20-byte records from offset 1608, the first three bytes of records 0 to 10000
/// examined, so bytes 1608 to 201,610 are all the scan ever looks at.
inline constexpr std::uint64_t kFirstRecordOffset = 1608;
inline constexpr std::uint64_t kRecordSize = 20;
inline constexpr std::uint64_t kRecordsExamined = 10001;
inline constexpr std::uint8_t kFormA[3] = {0x08, 0x84, 0xE8};
inline constexpr std::uint8_t kFormB[3] = {0x01, 0x84, 0xE8};

/// Archive: sequences starting at offsets 0 to 40,000, so bytes 0 to 40,002 are examined.
inline constexpr std::uint64_t kArchiveWindowStarts = 40001;
inline constexpr std::uint64_t kArchiveWindowSize = kArchiveWindowStarts + 2;
inline constexpr std::uint8_t kSequenceF[3] = {0x66, 0x65, 0x73};  // "fes"
inline constexpr std::uint8_t kSequenceE[3] = {0x65, 0x65, 0x73};  // "ees"

/// The bytes of a file table of `file_length` bytes that the patch reads and writes back: those
/// the scan can examine, or the whole file when it is too short to hold a record (under 1,611
/// bytes), so that it is still written back, unchanged.
ByteRange FileTableWindow(std::uint64_t file_length);
/// The bytes of an archive of `file_length` bytes that the scan can examine.
ByteRange ArchiveWindow(std::uint64_t file_length);

/// Finds the first record in form A or B and switches it to the other form. `window` holds the
/// file's bytes from `offset` on, as FileTableWindow gives them.
std::optional<ByteChange> ScanFileTable(std::span<const std::uint8_t> window, std::uint64_t offset);

enum class Outcome { kNone, kInstalled, kUninstalled };

struct ArchiveScan {
  Outcome outcome;
  std::optional<ByteChange> change;
};

/// Turns the first sequence F into E (installed), or else the first E into F (uninstalled).
/// `window` holds the archive's bytes of ArchiveWindow(length) from offset 0. A pass that needs
/// a byte beyond the end of a short archive throws RuntimeError 9 naming `archive_path`.
ArchiveScan ScanArchive(std::span<const std::uint8_t> window, const std::string& archive_path);

}  // namespace verdantix
