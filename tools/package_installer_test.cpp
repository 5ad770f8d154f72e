// The package installer on the in-memory platform: runs, folders, deletion, failures.
#include "tools/package_installer.h"

#include <gtest/gtest.h>

#include "platform/memory/memory_platform.h"
#include "tools/process_runner.h"

namespace verdantix {
namespace {

using Started = MemoryPlatform::Started;

class PackageInstaller : public testing::Test {
 protected:
  PackageInstaller() {
    disk_.AddFile(At("\\gfxpak1.exe"), {});
    disk_.AddFolder(At("\\data"));
  }

  std::string At(const std::string& relative) { return disk_.GameFolder() + relative; }
  std::string List() { return At("\\installer.bin"); }
  void WriteList(std::string_view text) {
    disk_.AddFile(List(), std::vector<std::uint8_t>(text.begin(), text.end()));
  }

  /// Clicks through to the end of the program; returns its exit status.
  int RunInstaller() {
    try {
      RunPackageInstaller(disk_, [this](std::string& command) { RunAndWait(disk_, command); });
    } catch (const ProgramEnded& ended) {
      return ended.exit_code;
    }
  }

  /// Runs until the installer fails; returns the error.
  RuntimeError RunToFailure() {
    try {
      RunInstaller();
    } catch (const RuntimeError& error) {
      return error;
    }
    ADD_FAILURE() << "the installer did not fail";
    return RuntimeError(ErrorNumber::kInvalidProcedureCall, "");
  }

  /// The log without reads, so the order of folders, runs and removals stands out.
  std::vector<std::string> Effects() {
    std::vector<std::string> effects;
    for (const auto& entry : disk_.log()) {
      if (!entry.starts_with("read ")) effects.push_back(entry);
    }
    return effects;
  }

  MemoryPlatform disk_;
};

TEST_F(PackageInstaller, RunsInstallThenRemoveForEachRecordFromTheGameFolder) {
  WriteList("a,b,c,1,e\r\n\"f g\",h,i,0,j\r\n");
  disk_.SetCurrentFolder(At("\\data"));
  EXPECT_EQ(RunInstaller(), 0);
  const std::string game = disk_.GameFolder();
  EXPECT_EQ(disk_.started(), (std::vector<Started>{{"gfxpak1 /i c b a /c", game},
                                                   {"gfxpak1 /r c c", game},
                                                   {"gfxpak1 /i i h f g", game},
                                                   {"gfxpak1 /r i i", game}}));
}

TEST_F(PackageInstaller, SetsTheFolderAroundEachRecordThenRemovesTheListAndEnds) {
  WriteList("a,b,c,0,e\n");
  RunInstaller();
  const std::string game = disk_.GameFolder();
  EXPECT_EQ(Effects(), (std::vector<std::string>{"open-for-reading " + List(), "cd " + game,
                                                 "start gfxpak1 /i c b a", "wait",
                                                 "start gfxpak1 /r c c", "wait", "cd " + game,
                                                 "cd " + game, "remove " + List(), "end 0"}));
  EXPECT_FALSE(disk_.HasFile(List()));
  EXPECT_TRUE(disk_.messages().empty());
}

TEST_F(PackageInstaller, EmptyListRunsNothingAndIsRemoved) {
  WriteList(" \r\n");
  EXPECT_EQ(RunInstaller(), 0);
  EXPECT_TRUE(disk_.started().empty());
  EXPECT_FALSE(disk_.HasFile(List()));
  EXPECT_TRUE(disk_.messages().empty());
}

TEST_F(PackageInstaller, MissingListShowsTheMessageAndTouchesNothing) {
  EXPECT_EQ(RunInstaller(), 0);
  EXPECT_EQ(disk_.messages(),
            (std::vector<MemoryPlatform::Message>{
                {"Patch Not Installed! Error! Install it again", MessageIcon::kInformation}}));
  EXPECT_EQ(disk_.log(), (std::vector<std::string>{
                             "message Patch Not Installed! Error! Install it again", "end 0"}));
}

TEST_F(PackageInstaller, HiddenListCountsAsAbsentAndStays) {
  WriteList("a,b,c,0,e\n");
  disk_.SetHidden(List());
  EXPECT_EQ(RunInstaller(), 0);
  EXPECT_EQ(disk_.messages().size(), 1u);
  EXPECT_TRUE(disk_.started().empty());
  EXPECT_TRUE(disk_.HasFile(List()));
}

TEST_F(PackageInstaller, ToolMissingMidwayLeavesEarlierRunsDoneAndTheList) {
  WriteList("a,b,c,0,e\nf,g,h,0,i\n");
  disk_.on_start = [this](const std::string&) {
    if (disk_.started().size() == 2) {
      disk_.FailOn(Operation::kStart, "gfxpak1", ErrorNumber::kFileNotFound);
    }
  };
  RuntimeError error = RunToFailure();
  EXPECT_EQ(error.number(), ErrorNumber::kFileNotFound);
  EXPECT_EQ(error.subject(), "gfxpak1 /i h g f");
  EXPECT_EQ(disk_.started().size(), 2u);
  EXPECT_TRUE(disk_.HasFile(List()));
}

struct BadRecord {
  const char* name;
  std::string_view text;
  ErrorNumber number;
};

class PackageInstallerBadRecord : public PackageInstaller,
                                  public testing::WithParamInterface<BadRecord> {};

TEST_P(PackageInstallerBadRecord, StopsBeforeItsRunsNamingTheList) {
  WriteList(GetParam().text);
  RuntimeError error = RunToFailure();
  EXPECT_EQ(error.number(), GetParam().number);
  EXPECT_EQ(error.subject(), List());
  EXPECT_EQ(disk_.started().size(), 2u);
  EXPECT_TRUE(disk_.HasFile(List()));
}

INSTANTIATE_TEST_SUITE_P(
    Records, PackageInstallerBadRecord,
    testing::Values(
        BadRecord{"CutShort", "a,b,c,0,e\nf,g\n", ErrorNumber::kInputPastEndOfFile},
        BadRecord{"FieldFourText", "a,b,c,0,e\nf,g,h,x,i\n", ErrorNumber::kTypeMismatch},
        BadRecord{"FieldFourTwo", "a,b,c,0,e\nf,g,h,2,i\n", ErrorNumber::kInvalidProcedureCall}),
    [](const testing::TestParamInfo<BadRecord>& param_info) { return param_info.param.name; });

struct StepFailure {
  const char* name;
  Operation operation;
  const char* relative_path;  ///< "" for the game folder itself
  std::size_t runs_before;
};

class PackageInstallerStepFails : public PackageInstaller,
                                  public testing::WithParamInterface<StepFailure> {};

TEST_P(PackageInstallerStepFails, PropagatesAndLeavesTheList) {
  WriteList("a,b,c,0,e\n");
  disk_.FailOn(GetParam().operation, At(GetParam().relative_path), ErrorNumber::kPermissionDenied);
  RuntimeError error = RunToFailure();
  EXPECT_EQ(error.number(), ErrorNumber::kPermissionDenied);
  EXPECT_EQ(disk_.started().size(), GetParam().runs_before);
  EXPECT_TRUE(disk_.HasFile(List()));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, PackageInstallerStepFails,
    testing::Values(StepFailure{"OpenList", Operation::kOpen, "\\installer.bin", 0},
                    StepFailure{"ReadList", Operation::kRead, "\\installer.bin", 0},
                    StepFailure{"SetFolder", Operation::kSetCurrentFolder, "", 0},
                    StepFailure{"RemoveList", Operation::kRemove, "\\installer.bin", 2}),
    [](const testing::TestParamInfo<StepFailure>& param_info) { return param_info.param.name; });

}  // namespace
}  // namespace verdantix
