// The index patch in memory: its rules' edges against the model, its writes, a failure per step.
#include "patch/index_patch.h"

#include <gtest/gtest.h>

#include "testing/helpers.h"
#include "testing/index_patch_model.h"

namespace verdantix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Log = std::vector<std::string>;

constexpr std::string_view kA = "\x08\x84\xE8", kB = "\x01\x84\xE8", kF = "fes", kE = "ees";

struct Game {
  const char* name;
  std::size_t table_length;
  Pieces table;
  std::size_t archive_length;
  Pieces archive;
};

class Rules : public testing::TestWithParam<Game> {};

TEST_P(Rules, AreTheModels) {
  const Bytes table = Filled(GetParam().table_length, GetParam().table);
  const Bytes archive = Filled(GetParam().archive_length, GetParam().archive);
  EXPECT_EQ(Patched(table, archive), Modelled(table, archive));
}

INSTANTIATE_TEST_SUITE_P(
    Edges, Rules,
    testing::Values(Game{"FormBAtRecordZero", 3000, {{kB, 1608}}, 50000, {}},
                    Game{"ShorterThan1611Bytes", 1610, {{kA, 1608}}, 50000, {}},
                    Game{"Record10000IsExamined", 300000, {{kA, 201608}}, 50000, {}},
                    Game{"Record10001IsNot", 300000, {{kA, 201628}}, 50000, {}},
                    Game{"FirstInFileOrderWins", 3000, {{kB, 1708}, {kA, 1808}}, 50000, {}},
                    Game{"OffRecordBoundaryIgnored", 3000, {{kA, 1609}}, 50000, {}},
                    Game{"EmptyTable", 0, {}, 50000, {{kF, 9}}},
                    Game{"FAt40000IsFound", 1611, {{kA, 1608}}, 50000, {{kF, 40000}}},
                    Game{"FAt40001IsNot", 1611, {{kA, 1608}}, 50000, {{kF, 40001}}},
                    Game{"FWinsOverAnEarlierE", 1611, {}, 50000, {{kE, 5}, {kF, 30000}}},
                    Game{"FirstEWithoutF", 1611, {}, 50000, {{kE, 40000}, {kE, 123}}},
                    Game{"ShortArchiveWithAnF", 1611, {}, 100, {{kF, 97}}},
                    Game{"ShortArchiveWithoutF", 1611, {{kA, 1608}}, 40002, {{kE, 0}}}),
    CaseName());

class IndexPatch : public testing::Test {
 protected:
  IndexPatch() { AddGame(400 * 1024, 3 << 20); }

  /// A file table with a record in form A (when long enough) and an archive with a sequence F.
  void AddGame(std::size_t table_length, std::size_t archive_length) {
    disk_.AddFile(table_, Filled(table_length, {{kA, 1608 + 20 * 3}}));
    disk_.AddFile(archive_, Filled(archive_length, {{kF, 100}}));
  }

  MemoryPlatform disk_;
  std::string table_ = disk_.PathOf("\\data\\fifa.fat");
  std::string archive_ = disk_.PathOf("\\data\\zdata_02.big");
  /// The effects of a whole patch of that game.
  Log steps_ = {"copy " + table_ + " -> " + table_ + ".bak", "write " + table_ + " 1608+200003",
                "flush " + table_, "write " + archive_ + " 0+40003", "flush " + archive_};
};

TEST_F(IndexPatch, BacksUpThenWritesBackOnlyTheExaminedBytesOfEachFileAndFlushesThem) {
  EXPECT_EQ(ErrorOf([this] { RunIndexPatch(disk_); }), 0);
  EXPECT_EQ(disk_.log(), steps_);
  EXPECT_EQ(disk_.max_open_files(), 1);
}

TEST_F(IndexPatch, AFileTableTooShortForARecordIsStillWrittenBackWhole) {
  AddGame(1610, 50000);
  EXPECT_EQ(ErrorOf([this] { RunIndexPatch(disk_); }), 0);
  EXPECT_THAT(disk_.log(), testing::Contains("write " + table_ + " 0+1610"));
}

/// A step that fails with error 70, and how many effects of a whole patch come before it.
struct FailureCase {
  const char* name;
  Operation operation;
  bool on_archive;
  std::ptrdiff_t done;
};

class IndexPatchFailure : public IndexPatch, public testing::WithParamInterface<FailureCase> {};

TEST_P(IndexPatchFailure, StopsAtTheStepAndKeepsWhatWasWritten) {
  const FailureCase& c = GetParam();
  disk_.FailOn(c.operation, c.on_archive ? archive_ : table_, ErrorNumber::kPermissionDenied);
  EXPECT_EQ(ErrorOf([this] { RunIndexPatch(disk_); }), 70);
  EXPECT_EQ(disk_.log(), Log(steps_.begin(), steps_.begin() + c.done));
}

INSTANTIATE_TEST_SUITE_P(EachStep, IndexPatchFailure,
                         testing::Values(FailureCase{"BackUp", Operation::kCopy, false, 0},
                                         FailureCase{"OpenTable", Operation::kOpen, false, 1},
                                         FailureCase{"ReadTable", Operation::kRead, false, 1},
                                         FailureCase{"WriteTable", Operation::kWrite, false, 1},
                                         FailureCase{"FlushTable", Operation::kFlush, false, 2},
                                         FailureCase{"OpenArchive", Operation::kOpen, true, 3},
                                         FailureCase{"ReadArchive", Operation::kRead, true, 3},
                                         FailureCase{"WriteArchive", Operation::kWrite, true, 3}),
                         CaseName());

TEST_F(IndexPatch, AMissingArchiveIsCreatedEmpty) {
  disk_.Remove(archive_);
  EXPECT_EQ(ErrorOf([this] { RunIndexPatch(disk_); }), 9);
  EXPECT_EQ(disk_.FileBytes(archive_), Bytes());
}

}  // namespace
}  // namespace verdantix
