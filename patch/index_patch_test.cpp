// The index patch over the in-memory disk: outcomes, repeated runs, what is read and written,
// and what stays written when a step fails.
#include "patch/index_patch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "testing/helpers.h"

namespace verdantix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Log = std::vector<std::string>;

constexpr std::size_t kRecord = 1608 + 20 * 3;
constexpr std::size_t kSequence = 100;

class IndexPatch : public testing::Test {
 protected:
  IndexPatch() { AddGame(4000, 50000); }

  /// A file table with a record in form A and an archive with a sequence F.
  void AddGame(std::size_t table_length, std::size_t archive_length) {
    Bytes table(table_length, 0x20), archive(archive_length, 0x61);
    if (kRecord + 3 <= table_length) std::copy_n(kFormA, 3, &table[kRecord]);
    std::copy_n(kSequenceF, 3, &archive[kSequence]);
    disk_.AddFile(table_, table);
    disk_.AddFile(archive_, archive);
  }

  /// Runs the patch; returns the number of its run-time error, 0 when it completes.
  int Run() {
    try {
      outcome_ = RunIndexPatch(disk_);
    } catch (const RuntimeError& error) {
      return error.code();
    }
    return 0;
  }

  /// The log's entries that change or flush a file, in order.
  Log Writes() const {
    Log writes;
    std::ranges::copy_if(disk_.log(), std::back_inserter(writes), [](const std::string& entry) {
      return entry.starts_with("write ") || entry.starts_with("flush ") ||
             entry.starts_with("copy ");
    });
    return writes;
  }

  std::uint8_t TableByte() const { return disk_.FileBytes(table_)[kRecord]; }
  std::uint8_t ArchiveByte() const { return disk_.FileBytes(archive_)[kSequence]; }

  MemoryPlatform disk_;
  std::string table_ = disk_.PathOf(kFileTablePath);
  std::string backup_ = disk_.PathOf(kFileTableBackupPath);
  std::string archive_ = disk_.PathOf(kArchivePath);
  Outcome outcome_ = Outcome::kNone;
};

TEST_F(IndexPatch, FirstRunInstallsAndSecondRunUninstalls) {
  const Bytes original = disk_.FileBytes(table_);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(outcome_, Outcome::kInstalled);
  EXPECT_EQ(TableByte(), 0x01);
  EXPECT_EQ(ArchiveByte(), 0x65);
  EXPECT_EQ(disk_.FileBytes(backup_), original);

  const Bytes after_first = disk_.FileBytes(table_);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(outcome_, Outcome::kUninstalled);
  EXPECT_EQ(disk_.FileBytes(table_), original);
  EXPECT_EQ(ArchiveByte(), 0x66);
  EXPECT_EQ(disk_.FileBytes(backup_), after_first);
  EXPECT_EQ(disk_.FileBytes(archive_).size(), 50000u);
  EXPECT_EQ(disk_.max_open_files(), 1);
}

TEST_F(IndexPatch, WritesOnlyTheExaminedBytesBackAndFlushesBothFiles) {
  AddGame(400 * 1024, 3 << 20);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Writes(),
            (Log{"copy " + table_ + " -> " + backup_, "write " + table_ + " 1608+200003",
                 "flush " + table_, "write " + archive_ + " 0+40003", "flush " + archive_}));
  EXPECT_EQ(disk_.FileBytes(archive_).size(), 3u << 20);
}

TEST_F(IndexPatch, NothingToSwitchStillWritesBothFilesBackUnchanged) {
  for (std::size_t table_length : {4000u, 1610u, 1000u}) {
    disk_.AddFile(table_, Bytes(table_length, 0x20));
    disk_.AddFile(archive_, Bytes(50000, 0x61));
    const auto before = disk_.files();
    const std::size_t logged = disk_.log().size();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(outcome_, Outcome::kNone);
    EXPECT_EQ(disk_.FileBytes(table_), before.at(table_));
    EXPECT_EQ(disk_.FileBytes(archive_), before.at(archive_));
    const std::string table_write =
        table_length < 1611 ? " 0+" + std::to_string(table_length) : " 1608+2392";
    const auto since = disk_.log().begin() + static_cast<std::ptrdiff_t>(logged);
    EXPECT_NE(std::find(since, disk_.log().end(), "write " + table_ + table_write),
              disk_.log().end())
        << table_length;
  }
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
  const Bytes archive_before = disk_.FileBytes(archive_);
  disk_.FailOn(c.operation, c.on_archive ? archive_ : table_, ErrorNumber::kPermissionDenied);
  EXPECT_EQ(Run(), 70);
  EXPECT_EQ(disk_.HasFile(backup_), c.backup_made);
  EXPECT_EQ(TableByte(), c.table_switched ? 0x01 : 0x08);
  EXPECT_EQ(disk_.FileBytes(archive_), archive_before);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, IndexPatchFailure,
    testing::Values(FailureCase{"BackUp", Operation::kCopy, false, false, false},
                    FailureCase{"OpenTable", Operation::kOpen, false, true, false},
                    FailureCase{"ReadTable", Operation::kRead, false, true, false},
                    FailureCase{"WriteTable", Operation::kWrite, false, true, false},
                    FailureCase{"OpenArchive", Operation::kOpen, true, true, true},
                    FailureCase{"ReadArchive", Operation::kRead, true, true, true},
                    FailureCase{"WriteArchive", Operation::kWrite, true, true, true}),
    CaseName());

TEST_F(IndexPatch, ReadOnlyBackupChangesNothing) {
  disk_.AddFile(backup_, {1, 2, 3});
  disk_.SetReadOnly(backup_);
  const auto before = disk_.files();
  EXPECT_EQ(Run(), 70);
  EXPECT_EQ(disk_.files(), before);
}

TEST_F(IndexPatch, AnEmptyFileTableFailsAfterTheBackUp) {
  disk_.AddFile(table_, {});
  EXPECT_EQ(Run(), 9);
  EXPECT_TRUE(disk_.HasFile(backup_));
  EXPECT_EQ(Writes().size(), 1u);
}

TEST_F(IndexPatch, MissingArchiveIsCreatedEmptyAfterTheTableIsSwitched) {
  disk_.Remove(archive_);
  EXPECT_EQ(Run(), 9);
  EXPECT_EQ(TableByte(), 0x01);
  ASSERT_TRUE(disk_.HasFile(archive_));
  EXPECT_TRUE(disk_.FileBytes(archive_).empty());
}

}  // namespace
}  // namespace verdantix
