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

constexpr std::uint64_t kRecord = 1608 + 20 * 3;
constexpr std::uint64_t kSequence = 100;

Bytes With(Bytes bytes, std::uint64_t at, const std::uint8_t (&sequence)[3]) {
  std::copy(std::begin(sequence), std::end(sequence),
            bytes.begin() + static_cast<std::ptrdiff_t>(at));
  return bytes;
}

class IndexPatch : public testing::Test {
 protected:
  IndexPatch()
      : table_(disk_.PathOf(kFileTablePath)),
        backup_(disk_.PathOf(kFileTableBackupPath)),
        archive_(disk_.PathOf(kArchivePath)) {
    disk_.AddFile(table_, With(Bytes(4000, 0x20), kRecord, kFormA));
    disk_.AddFile(archive_, With(Bytes(50000, 0x61), kSequence, kSequenceF));
  }

  /// Runs the patch; returns the number of its run-time error, or 0 when it ended the program.
  int Run() {
    try {
      RunIndexPatch(disk_);
    } catch (const RuntimeError& error) {
      return error.code();
    } catch (const ProgramEnded& end) {
      EXPECT_EQ(end.exit_code, 0);
      return 0;
    }
    ADD_FAILURE() << "the patch returned";
    return -1;
  }

  std::uint8_t TableByte() const { return disk_.FileBytes(table_)[kRecord]; }
  std::uint8_t ArchiveByte() const { return disk_.FileBytes(archive_)[kSequence]; }

  MemoryPlatform disk_;
  std::string table_, backup_, archive_;
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
  auto writes = std::count_if(disk_.log().begin(), disk_.log().end(),
                              [](const std::string& entry) { return entry.starts_with("write "); });
  EXPECT_EQ(writes, 2);
}

TEST_F(IndexPatch, ReadsAndWritesOnlyTheBytesTheScansExamine) {
  disk_.AddFile(table_, With(Bytes(400 * 1024, 0x20), kRecord, kFormA));
  disk_.AddFile(archive_, With(Bytes(3 << 20, 0x61), kSequence, kSequenceF));
  EXPECT_EQ(Run(), 0);
  const auto& log = disk_.log();
  for (const std::string& entry :
       {"read " + table_ + " 1608+200003", "write " + table_ + " 1608+200003",
        "read " + archive_ + " 0+40003", "write " + archive_ + " 0+40003"}) {
    EXPECT_NE(std::find(log.begin(), log.end(), entry), log.end()) << entry;
  }
  EXPECT_EQ(disk_.FileBytes(archive_).size(), 3u << 20);
}

/// What a failing step leaves behind: which files changed, and the error it raised.
struct FailureCase {
  const char* name;
  Operation operation;
  bool on_archive;
  int error;
  bool backup_made;
  bool table_switched;
};

class IndexPatchFailure : public IndexPatch, public testing::WithParamInterface<FailureCase> {};

TEST_P(IndexPatchFailure, StopsAtTheStepAndKeepsWhatWasWritten) {
  const FailureCase& c = GetParam();
  const Bytes archive_before = disk_.FileBytes(archive_);
  disk_.FailOn(c.operation, c.on_archive ? archive_ : table_, ErrorNumber::kPermissionDenied);
  EXPECT_EQ(Run(), c.error);
  EXPECT_EQ(disk_.HasFile(backup_), c.backup_made);
  EXPECT_EQ(TableByte(), c.table_switched ? 0x01 : 0x08);
  EXPECT_EQ(disk_.FileBytes(archive_), archive_before);
  EXPECT_TRUE(disk_.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, IndexPatchFailure,
    testing::Values(FailureCase{"BackUp", Operation::kCopy, false, 70, false, false},
                    FailureCase{"OpenTable", Operation::kOpen, false, 70, true, false},
                    FailureCase{"ReadTable", Operation::kRead, false, 70, true, false},
                    FailureCase{"WriteTable", Operation::kWrite, false, 70, true, false},
                    FailureCase{"OpenArchive", Operation::kOpen, true, 70, true, true},
                    FailureCase{"ReadArchive", Operation::kRead, true, 70, true, true},
                    FailureCase{"WriteArchive", Operation::kWrite, true, 70, true, true}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST_F(IndexPatch, MissingFileTableChangesNothing) {
  MemoryPlatform empty;
  empty.AddFolder(empty.PathOf("\\data"));
  EXPECT_THROW(RunIndexPatch(empty), RuntimeError);
  EXPECT_TRUE(empty.files().empty());
}

TEST_F(IndexPatch, ReadOnlyBackupChangesNothing) {
  disk_.AddFile(backup_, {1, 2, 3});
  disk_.SetReadOnly(backup_);
  const auto before = disk_.files();
  EXPECT_EQ(Run(), 70);
  EXPECT_EQ(disk_.files(), before);
}

TEST_F(IndexPatch, EmptyFileTableFailsAfterTheBackup) {
  disk_.AddFile(table_, {});
  EXPECT_EQ(Run(), 9);
  EXPECT_TRUE(disk_.HasFile(backup_));
  EXPECT_TRUE(disk_.FileBytes(table_).empty());
}

TEST_F(IndexPatch, MissingArchiveIsCreatedEmptyAfterTheTableIsSwitched) {
  disk_.Remove(archive_);
  EXPECT_EQ(Run(), 9);
  EXPECT_EQ(TableByte(), 0x01);
  EXPECT_TRUE(disk_.HasFile(archive_));
  EXPECT_TRUE(disk_.FileBytes(archive_).empty());
}

TEST_F(IndexPatch, ShortArchiveWithoutFFailsWithTheTableSwitched) {
  disk_.AddFile(archive_, With(Bytes(40002, 0x61), 10, kSequenceE));
  const Bytes archive_before = disk_.FileBytes(archive_);
  EXPECT_EQ(Run(), 9);
  EXPECT_EQ(TableByte(), 0x01);
  EXPECT_EQ(disk_.FileBytes(archive_), archive_before);
  EXPECT_TRUE(disk_.messages().empty());
}

}  // namespace
}  // namespace verdantix
