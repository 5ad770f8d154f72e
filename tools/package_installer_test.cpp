// The package installer on the in-memory platform: runs, folders, deletion, failures.
#include "tools/package_installer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "platform/memory/matchers.h"
#include "tools/process_runner.h"

namespace verdantix {
namespace {

using Log = std::vector<std::string>;

class PackageInstaller : public testing::Test {
 protected:
  PackageInstaller() { disk_.AddFile(game_ + "\\gfxpak1.exe", {}); }

  void WriteList(std::string_view text) { disk_.AddFile(list_, {text.begin(), text.end()}); }

  /// Runs the installer to the end of the program; returns its exit status.
  int Run() {
    try {
      RunPackageInstaller(disk_, [this](std::string& command) { RunAndWait(disk_, command); });
    } catch (const ProgramEnded& ended) {
      return ended.exit_code;
    }
  }

  MemoryPlatform disk_;
  std::string game_ = disk_.GameFolder();
  std::string list_ = game_ + "\\installer.bin";
};

TEST_F(PackageInstaller, RunsEachRecordFromTheGameFolderThenRemovesTheListAndEnds) {
  WriteList("a,b,c,1,e\r\nf,g,h,0,i\r\n");
  disk_.AddFolder(game_ + "\\data");
  disk_.SetCurrentFolder(game_ + "\\data");
  EXPECT_EQ(Run(), 0);
  Log effects;
  std::ranges::copy_if(disk_.log(), std::back_inserter(effects),
                       [](const std::string& entry) { return !entry.starts_with("read "); });
  const std::string cd = "cd " + game_;
  EXPECT_EQ(effects, (Log{"cd " + game_ + "\\data", "open-for-reading " + list_, cd,
                          "start gfxpak1 /i c b a /c", "wait", "start gfxpak1 /r c c", "wait", cd,
                          cd, "start gfxpak1 /i h g f", "wait", "start gfxpak1 /r h h", "wait", cd,
                          cd, "remove " + list_, "end 0"}));
  EXPECT_FALSE(disk_.HasFile(list_));
  EXPECT_TRUE(disk_.messages().empty());
}

TEST_F(PackageInstaller, EmptyListRunsNothingAndIsRemoved) {
  WriteList(" \r\n");
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(disk_.started().empty());
  EXPECT_FALSE(disk_.HasFile(list_));
  EXPECT_TRUE(disk_.messages().empty());
}

TEST_F(PackageInstaller, MissingOrHiddenListShowsTheMessageAndTouchesNothing) {
  EXPECT_EQ(Run(), 0);
  WriteList("a,b,c,0,e\n");
  disk_.SetHidden(list_);
  EXPECT_EQ(Run(), 0);
  const std::string message = "Patch Not Installed! Error! Install it again";
  EXPECT_EQ(disk_.log(), (Log{"message " + message, "end 0", "message " + message, "end 0"}));
  EXPECT_EQ(disk_.messages().back(), (MemoryPlatform::Message{message, MessageIcon::kInformation}));
  EXPECT_TRUE(disk_.HasFile(list_));
}

TEST_F(PackageInstaller, AFailureMidwayLeavesTheEarlierRunsDoneAndTheList) {
  WriteList("a,b,c,0,e\nf,g\n");
  EXPECT_THAT([this] { Run(); }, ThrowsRuntimeError(ErrorNumber::kInputPastEndOfFile, list_));
  EXPECT_EQ(disk_.started().size(), 2u);
  EXPECT_TRUE(disk_.HasFile(list_));
}

}  // namespace
}  // namespace verdantix
