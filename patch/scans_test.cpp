// The scans' offset rules: record and window boundaries, first match wins, both sequences.
#include "patch/scans.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "testing/helpers.h"

namespace verdantix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Sequence = const std::uint8_t (&)[3];

/// `length` bytes of 0x77 with `first` written at `first_at`, then `second` at `second_at`; a
/// sequence that runs past the end is cut there.
Bytes Filled(std::uint64_t length, Sequence first, std::uint64_t first_at, Sequence second = kFormA,
             std::uint64_t second_at = ~0ull) {
  Bytes bytes(length, 0x77);
  for (auto [sequence, at] : {std::pair{first, first_at}, std::pair{second, second_at}}) {
    if (at >= length) continue;
    std::copy_n(sequence, std::min<std::uint64_t>(3, length - at),
                bytes.begin() + static_cast<std::ptrdiff_t>(at));
  }
  return bytes;
}

/// The bytes of `window` within `file`, as the patch reads them.
Bytes Window(const Bytes& file, ByteRange window) {
  auto begin = file.begin() + static_cast<std::ptrdiff_t>(window.offset);
  return Bytes(begin, begin + static_cast<std::ptrdiff_t>(window.length));
}

struct TableCase {
  const char* name;
  Bytes file;
  std::optional<ByteChange> expected;
};

class FileTableScan : public testing::TestWithParam<TableCase> {};

TEST_P(FileTableScan, SwitchesTheFirstRecordInEitherForm) {
  const Bytes& file = GetParam().file;
  const ByteRange window = FileTableWindow(file.size());
  EXPECT_EQ(ScanFileTable(Window(file, window), window.offset), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileTableScan,
    testing::Values(
        TableCase{"FormAAtRecordZero", Filled(3000, kFormA, 1608), ByteChange{1608, 0x01}},
        TableCase{"FormBAtRecordZero", Filled(3000, kFormB, 1608), ByteChange{1608, 0x08}},
        TableCase{"Record10000IsExamined", Filled(300000, kFormA, 201608),
                  ByteChange{201608, 0x01}},
        TableCase{"Record10001IsNot", Filled(300000, kFormA, 201628), std::nullopt},
        TableCase{"FirstInFileOrderWins", Filled(3000, kFormB, 1708, kFormA, 1808),
                  ByteChange{1708, 0x08}},
        TableCase{"OffRecordBoundaryIgnored", Filled(3000, kFormA, 1609), std::nullopt},
        TableCase{"ShorterThan1611Bytes", Filled(1610, kFormA, 1608), std::nullopt},
        TableCase{"Exactly1611Bytes", Filled(1611, kFormA, 1608), ByteChange{1608, 0x01}}),
    CaseName());

struct ArchiveCase {
  const char* name;
  Bytes file;
  ArchiveScan expected;
};

class ArchiveScanTest : public testing::TestWithParam<ArchiveCase> {};

TEST_P(ArchiveScanTest, FirstSequenceFElseFirstSequenceE) {
  const Bytes& file = GetParam().file;
  EXPECT_EQ(ScanArchive(Window(file, ArchiveWindow(file.size())), "zdata_02.big"),
            GetParam().expected);
}

constexpr ArchiveScan Installed(std::uint64_t at) { return {Outcome::kInstalled, {{at, 0x65}}}; }

INSTANTIATE_TEST_SUITE_P(
    Cases, ArchiveScanTest,
    testing::Values(
        ArchiveCase{"FAt40000IsFound", Filled(50000, kSequenceF, 40000), Installed(40000)},
        ArchiveCase{"FAt40001IsNot", Filled(50000, kSequenceF, 40001), {Outcome::kNone, {}}},
        ArchiveCase{"FirstOfTwoF", Filled(50000, kSequenceF, 700, kSequenceF, 9), Installed(9)},
        ArchiveCase{"FWinsOverAnEarlierE", Filled(50000, kSequenceE, 5, kSequenceF, 30000),
                    Installed(30000)},
        ArchiveCase{"FirstEWithoutF",
                    Filled(50000, kSequenceE, 40000, kSequenceE, 123),
                    {Outcome::kUninstalled, ByteChange{123, 0x66}}},
        ArchiveCase{"ShortArchiveWithAnF", Filled(100, kSequenceF, 97), Installed(97)}),
    CaseName());

TEST(ArchiveScan, AShortArchiveWithoutFIsSubscriptOutOfRange) {
  EXPECT_THAT([] { ScanArchive(Filled(40002, kSequenceE, 0), "zdata_02.big"); },
              ThrowsRuntimeError(ErrorNumber::kSubscriptOutOfRange, "zdata_02.big"));
}

}  // namespace
}  // namespace verdantix
