// The index patch over the in-memory disk: outcomes, repeated runs, and what stays written when
// a step fails.
#include "patch/index_patch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "patch/scans.h"
#include "platform/memory/memory_platform.h"

namespace verdantix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Message = MemoryPlatform::Message;

constexpr std::size_t kRecord = 1608 + 20 * 3;
constexpr std::size_t kSequence = 100;

class IndexPatch : public testing::Test {
 protected:
  IndexPatch() { AddGame(4000, 50000); }

  /// A file table with a record in form A and an archive with a sequence F.
  void AddGame(std::size_t table_length, std::size_t archive_length) {
    Bytes table(table_length, 0x20), archive(archive_length, 0x61);
    std::copy_n(kFormA, 3, &table[kRecord]);
    std::copy_n(kSequenceF, 3, &archive[kSequence]);
    disk_.AddFile(table_, table);
    disk_.AddFile(archive_, archive);
  }

  /// Runs the patch; returns the number of its run-time error, or the exit status it ended with.
  int Run() {
    try {
      RunIndexPatch(disk_);
    } catch (const RuntimeError& error) {
      return error.code();
    } catch (const ProgramEnded& end) {
      return end.exit_code;
    }
  }

  std::uint8_t TableByte() const { return disk_.FileBytes(table_)[kRecord]; }
  std::uint8_t ArchiveByte() const { return disk_.FileBytes(archive_)[kSequence]; }

  MemoryPlatform disk_;
  std::string table_ = disk_.PathOf(kFileTablePath);
  std::string backup_ = disk_.PathOf(kFileTableBackupPath);
  std::string archive_ = disk_.PathOf(kArchivePath);
};

TEST_F(IndexPatch, FirstRunInstallsAndSecondRunUninstalls) {
  const Bytes original = disk_.FileBytes(table_);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(TableByte(), 0x01);
  EXPECT_EQ(ArchiveByte(), 0x65);
  EXPECT_EQ(disk_.FileBytes(backup_), original);
  EXPECT_EQ(disk_.messages(), (std::vector<Message>{{"Brantwell Installed", MessageIcon::kNone}}));

  const Bytes after_first = disk_.FileBytes(table_);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(disk_.FileBytes(table_), original);
  EXPECT_EQ(ArchiveByte(), 0x66);
  EXPECT_EQ(disk_.FileBytes(backup_), after_first);
  EXPECT_EQ(disk_.messages().back(), (Message{"Brantwell Uninstalled", MessageIcon::kNone}));
  EXPECT_EQ(disk_.FileBytes(archive_).size(), 50000u);
  EXPECT_EQ(disk_.max_open_files(), 1);
}

TEST_F(IndexPatch, NothingToSwitchWritesBothFilesBackUnchangedAndShowsNothing) {
  disk_.AddFile(table_, Bytes(4000, 0x20));
  disk_.AddFile(archive_, Bytes(50000, 0x61));
  const auto before = disk_.files();
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(disk_.messages().empty());
  EXPECT_EQ(disk_.FileBytes(table_), before.at(table_));
  EXPECT_EQ(disk_.FileBytes(archive_), before.at(archive_));
  EXPECT_EQ(
      std::ranges::count_if(disk_.log(), [](auto& entry) { return entry.starts_with("write "); }),
      2);
}

TEST_F(IndexPatch, ReadsAndWritesOnlyTheBytesTheScansExamine) {
  AddGame(400 * 1024, 3 << 20);
  EXPECT_EQ(Run(), 0);
  for (const std::string& entry :
       {"read " + table_ + " 1608+200003", "write " + table_ + " 1608+200003",
        "read " + archive_ + " 0+40003", "write " + archive_ + " 0+40003"}) {
    EXPECT_NE(std::ranges::find(disk_.log(), entry), disk_.log().end()) << entry;
  }
  EXPECT_EQ(disk_.FileBytes(archive_).size(), 3u << 20);
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
  EXPECT_TRUE(disk_.messages().empty());
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
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST_F(IndexPatch, ReadOnlyBackupChangesNothing) {
  disk_.AddFile(backup_, {1, 2, 3});
  disk_.SetReadOnly(backup_);
  const auto before = disk_.files();
  EXPECT_EQ(Run(), 70);
  EXPECT_EQ(disk_.files(), before);
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
