// The index patch over the in-memory disk: what it reads, writes and flushes, and what stays
// written when a step fails. (Its byte rules against a whole-file model: index_patch_fuzz.cpp.)
#include "patch/index_patch.h"

#include <gtest/gtest.h>

#include "testing/helpers.h"

namespace verdantix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Log = std::vector<std::string>;

constexpr std::size_t kRecord = 1608 + 20 * 3;

class IndexPatch : public testing::Test {
 protected:
  IndexPatch() { AddGame(4000, 50000); }

  /// A file table with a record in form A (when long enough) and an archive with a sequence F.
  void AddGame(std::size_t table_length, std::size_t archive_length) {
    Bytes table(table_length, 0x20), archive(archive_length, 0x61);
    if (kRecord + 3 <= table_length) std::copy_n(kFormA, 3, &table[kRecord]);
    std::copy_n(kSequenceF, 3, &archive[100]);
    disk_.AddFile(table_, table);
    disk_.AddFile(archive_, archive);
  }

  MemoryPlatform disk_;
  std::string table_ = disk_.PathOf(kFileTablePath);
  std::string backup_ = disk_.PathOf(kFileTableBackupPath);
  std::string archive_ = disk_.PathOf(kArchivePath);
};

TEST_F(IndexPatch, BacksUpThenWritesBackOnlyTheExaminedBytesOfEachFileAndFlushesThem) {
  AddGame(400 * 1024, 3 << 20);
  const Bytes table = disk_.FileBytes(table_);
  EXPECT_EQ(ErrorOf([this] { RunIndexPatch(disk_); }), 0);
  EXPECT_EQ(disk_.log(),
            (Log{"copy " + table_ + " -> " + backup_, "write " + table_ + " 1608+200003",
                 "flush " + table_, "write " + archive_ + " 0+40003", "flush " + archive_}));
  EXPECT_EQ(disk_.FileBytes(backup_), table);
  EXPECT_EQ(disk_.FileBytes(archive_).size(), 3u << 20);
  EXPECT_EQ(disk_.max_open_files(), 1);
}

TEST_F(IndexPatch, AFileTableTooShortForARecordIsStillWrittenBackWhole) {
  AddGame(1610, 50000);
  EXPECT_EQ(ErrorOf([this] { RunIndexPatch(disk_); }), 0);
  EXPECT_THAT(disk_.log(), testing::Contains("write " + table_ + " 0+1610"));
}

/// A step that fails with error 70, and what it leaves behind.
struct FailureCase {
  const char* name;
  Operation operation;
  bool on_archive;
  bool backup_made;
  bool table_switched;
};

class IndexPatchFailure : public IndexPatch, public testing::WithParamInterface<FailureCase> {};

TEST_P(IndexPatchFailure, StopsAtTheStepAndKeepsWhatWasWritten) {
  const FailureCase& c = GetParam();
  const Bytes archive = disk_.FileBytes(archive_);
  disk_.FailOn(c.operation, c.on_archive ? archive_ : table_, ErrorNumber::kPermissionDenied);
  EXPECT_EQ(ErrorOf([this] { RunIndexPatch(disk_); }), 70);
  EXPECT_EQ(disk_.FileExists(backup_), c.backup_made);
  EXPECT_EQ(disk_.FileBytes(table_)[kRecord], c.table_switched ? 0x01 : 0x08);
  EXPECT_EQ(disk_.FileBytes(archive_), archive);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, IndexPatchFailure,
    testing::Values(FailureCase{"BackUp", Operation::kCopy, false, false, false},
                    FailureCase{"OpenTable", Operation::kOpen, false, true, false},
                    FailureCase{"ReadTable", Operation::kRead, false, true, false},
                    FailureCase{"WriteTable", Operation::kWrite, false, true, false},
                    FailureCase{"FlushTable", Operation::kFlush, false, true, true},
                    FailureCase{"OpenArchive", Operation::kOpen, true, true, true},
                    FailureCase{"ReadArchive", Operation::kRead, true, true, true},
                    FailureCase{"WriteArchive", Operation::kWrite, true, true, true}),
    CaseName());

TEST_F(IndexPatch, AMissingArchiveIsCreatedEmptyAfterTheTableIsSwitched) {
  disk_.Remove(archive_);
  EXPECT_EQ(ErrorOf([this] { RunIndexPatch(disk_); }), 9);
  EXPECT_EQ(disk_.FileBytes(table_)[kRecord], 0x01);
  EXPECT_EQ(disk_.FileBytes(archive_), Bytes());
}

}  // namespace
}  // namespace verdantix
