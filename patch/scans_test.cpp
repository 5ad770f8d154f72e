// The scans' offset rules: record and window boundaries, first match wins, both sequences.
#include "patch/scans.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/runtime_error.h"

namespace verdantix {
namespace {

using Bytes = std::vector<std::uint8_t>;

/// `length` bytes of 0x77, with `sequence` written at each of `offsets`.
Bytes Filled(std::uint64_t length, const std::uint8_t (&sequence)[3],
             std::initializer_list<std::uint64_t> offsets) {
  Bytes bytes(length, 0x77);
  for (auto at : offsets) {
    for (std::uint64_t i = 0; i < 3 && at + i < length; ++i) bytes[at + i] = sequence[i];
  }
  return bytes;
}

/// The file table's window (from offset 1608) as the patch reads it from a file of `bytes`.
std::optional<ByteChange> ScanWholeTable(const Bytes& file) {
  ByteRange window = FileTableWindow(file.size());
  auto begin = file.begin() + static_cast<std::ptrdiff_t>(window.offset);
  return ScanFileTable(Bytes(begin, begin + static_cast<std::ptrdiff_t>(window.length)));
}

TEST(FileTableWindow, CoversRecordsZeroToTenThousand) {
  EXPECT_EQ(FileTableWindow(0), (ByteRange{0, 0}));
  EXPECT_EQ(FileTableWindow(1000), (ByteRange{1000, 0}));
  EXPECT_EQ(FileTableWindow(1611), (ByteRange{1608, 3}));
  EXPECT_EQ(FileTableWindow(400 * 1024), (ByteRange{1608, 200003}));
}

TEST(ArchiveWindow, CoversTheFirst40003Bytes) {
  EXPECT_EQ(ArchiveWindow(10), (ByteRange{0, 10}));
  EXPECT_EQ(ArchiveWindow(5ull << 30), (ByteRange{0, 40003}));
}

struct TableCase {
  const char* name;
  Bytes file;
  std::optional<ByteChange> expected;
};

class FileTableScan : public testing::TestWithParam<TableCase> {};

TEST_P(FileTableScan, SwitchesTheFirstRecordInEitherForm) {
  EXPECT_EQ(ScanWholeTable(GetParam().file), GetParam().expected);
}

Bytes TableWithBoth(std::uint64_t form_b_at, std::uint64_t form_a_at) {
  Bytes file = Filled(300000, kFormB, {form_b_at});
  Bytes a = Filled(300000, kFormA, {form_a_at});
  std::copy_n(a.begin() + static_cast<std::ptrdiff_t>(form_a_at), 3,
              file.begin() + static_cast<std::ptrdiff_t>(form_a_at));
  return file;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileTableScan,
    testing::Values(
        TableCase{"FormAAtRecordZero", Filled(3000, kFormA, {1608}), ByteChange{1608, 0x01}},
        TableCase{"FormBAtRecordZero", Filled(3000, kFormB, {1608}), ByteChange{1608, 0x08}},
        TableCase{"RecordTenThousandIsExamined", Filled(300000, kFormA, {201608}),
                  ByteChange{201608, 0x01}},
        TableCase{"RecordAfterItIsNot", Filled(300000, kFormA, {201628}), std::nullopt},
        TableCase{"FirstInFileOrderWins", TableWithBoth(1708, 1808), ByteChange{1708, 0x08}},
        TableCase{"OffRecordBoundaryIgnored", Filled(3000, kFormA, {1609, 1610}), std::nullopt},
        TableCase{"BeforeFirstRecordIgnored", Filled(3000, kFormA, {1588}), std::nullopt},
        TableCase{"ShorterThan1611Bytes", Filled(1610, kFormA, {1608}), std::nullopt},
        TableCase{"ExactlyOneRecordStart", Filled(1611, kFormA, {1608}), ByteChange{1608, 0x01}},
        TableCase{"RecordCutByTheEnd", Filled(1630, kFormA, {1628}), std::nullopt},
        TableCase{"NeitherForm", Filled(300000, kSequenceF, {1608}), std::nullopt}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

struct ArchiveCase {
  const char* name;
  Bytes window;
  ArchiveScan expected;
};

class ArchiveScanTest : public testing::TestWithParam<ArchiveCase> {};

TEST_P(ArchiveScanTest, FirstSequenceFElseFirstSequenceE) {
  EXPECT_EQ(ScanArchive(GetParam().window, "zdata_02.big"), GetParam().expected);
}

Bytes WindowWithBoth(std::uint64_t e_at, std::uint64_t f_at) {
  Bytes window = Filled(40003, kSequenceE, {e_at});
  std::copy(std::begin(kSequenceF), std::end(kSequenceF),
            window.begin() + static_cast<std::ptrdiff_t>(f_at));
  return window;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArchiveScanTest,
    testing::Values(
        ArchiveCase{
            "FAtZero", Filled(40003, kSequenceF, {0}), {Outcome::kInstalled, ByteChange{0, 0x65}}},
        ArchiveCase{"FAt40000IsFound",
                    Filled(40003, kSequenceF, {40000}),
                    {Outcome::kInstalled, ByteChange{40000, 0x65}}},
        ArchiveCase{"FAt40001IsNot", Filled(40003, kSequenceF, {40001}), {Outcome::kNone, {}}},
        ArchiveCase{"FWinsOverAnEarlierE",
                    WindowWithBoth(5, 30000),
                    {Outcome::kInstalled, ByteChange{30000, 0x65}}},
        ArchiveCase{"FirstOfTwoF",
                    Filled(40003, kSequenceF, {700, 9}),
                    {Outcome::kInstalled, ByteChange{9, 0x65}}},
        ArchiveCase{"OnlyE",
                    Filled(40003, kSequenceE, {40000, 123}),
                    {Outcome::kUninstalled, ByteChange{123, 0x66}}},
        ArchiveCase{"Neither", Filled(40003, kFormA, {0}), {Outcome::kNone, {}}},
        ArchiveCase{"ShortArchiveWithAnEarlyF",
                    Filled(100, kSequenceF, {97}),
                    {Outcome::kInstalled, ByteChange{97, 0x65}}}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST(ArchiveScan, AShortArchiveWithoutFFailsBeforeTheSecondPass) {
  for (const Bytes& window :
       {Filled(40002, kSequenceE, {0}), Filled(2, kSequenceF, {0}), Bytes{}}) {
    try {
      ScanArchive(window, "zdata_02.big");
      ADD_FAILURE() << "no error for a window of " << window.size() << " bytes";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), ErrorNumber::kSubscriptOutOfRange);
      EXPECT_EQ(error.subject(), "zdata_02.big");
    }
  }
}

}  // namespace
}  // namespace verdantix
