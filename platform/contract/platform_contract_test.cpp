// The platform contract: what the program relies on from every platform's files and processes.
#include "platform/contract/platform_contract.h"

#include <vector>

#include "testing/helpers.h"

namespace verdantix {

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

void WriteFile(Platform& platform, const std::string& path, std::string_view text) {
  platform.OpenBinary(path)->WriteAt(0, Bytes(text));
}

std::string ReadFile(Platform& platform, const std::string& path) {
  auto file = platform.OpenForReading(path);
  std::vector<std::uint8_t> bytes(file->Length());
  file->ReadAt(0, bytes);
  return {bytes.begin(), bytes.end()};
}

}  // namespace

TEST_P(PlatformContract, CopyReplacesTheTargetWholeAndLeavesTheSource) {
  WriteFile(platform(), At("fifa.fat"), "table");
  WriteFile(platform(), At("fifa.fat.bak"), "older and longer contents");
  platform().Copy(At("fifa.fat"), At("fifa.fat.bak"));
  EXPECT_EQ(ReadFile(platform(), At("fifa.fat.bak")), "table");
  EXPECT_EQ(ReadFile(platform(), At("fifa.fat")), "table");
}

TEST_P(PlatformContract, CopyFailuresLeaveTheTargetAsItWas) {
  WriteFile(platform(), At("source.big"), "x");
  WriteFile(platform(), At("secret.big"), "secret");
  const std::string hidden = target_.hide(At("secret.big"));
  EXPECT_EQ(ErrorOf([&] { platform().Copy(At("missing.big"), At("t.big")); }), 53);
  EXPECT_EQ(ErrorOf([&] { platform().Copy(At("missing.big"), hidden); }), 53);
  EXPECT_EQ(ErrorOf([&] { platform().Copy(At("source.big"), hidden); }), 70);
  EXPECT_FALSE(platform().FileExists(At("t.big")));
  EXPECT_EQ(ReadFile(platform(), hidden), "secret");
}

TEST_P(DiskContract, AReadOnlyFileIsNeitherReplacedNorWrittenNorRemovedAndCopiesPlain) {
  WriteFile(platform(), At("fifa.fat"), "table");
  WriteFile(platform(), At("locked.big"), "locked");
  target_.make_read_only(At("fifa.fat"));
  target_.make_read_only(At("locked.big"));
  EXPECT_EQ(ErrorOf([&] { platform().Copy(At("fifa.fat"), At("locked.big")); }), 70);
  EXPECT_EQ(ErrorOf([&] { platform().OpenBinary(At("locked.big")); }), 70);
  EXPECT_EQ(ErrorOf([&] { platform().Remove(At("locked.big")); }), 70);
  EXPECT_EQ(ReadFile(platform(), At("locked.big")), "locked");
  platform().Copy(At("fifa.fat"), At("fifa.fat.bak"));
  platform().Copy(At("fifa.fat"), At("fifa.fat.bak"));  // the first copy was not read-only
  platform().OpenBinary(At("fifa.fat.bak"))->WriteAt(0, Bytes("T"));
  EXPECT_EQ(ReadFile(platform(), At("fifa.fat.bak")), "Table");
}

TEST_P(DiskContract, NamesAreFoundRegardlessOfLetterCaseAndNewOnesKeepTheirs) {
  platform().CreateFolder(At("Data"));
  WriteFile(platform(), At("Data\\FIFA.FAT"), "table");
  EXPECT_TRUE(platform().FileExists(At("data\\fifa.fat")));
  EXPECT_EQ(ReadFile(platform(), At("DATA\\Fifa.Fat")), "table");
  platform().Copy(At("data\\fifa.fat"), At("data\\fifa.fat.bak"));
  platform().CreateFolder(At("data\\kce"));
  EXPECT_EQ(ErrorOf([&] { platform().CreateFolder(At("DATA\\KCE")); }), 75);
  EXPECT_TRUE(platform().FolderExists(At("Data\\kce")));
  EXPECT_EQ(ReadFile(platform(), At("Data\\fifa.fat.bak")), "table");
  platform().Remove(At("data\\FIFA.fat.BAK"));
  EXPECT_FALSE(platform().FileExists(At("Data\\fifa.fat.bak")));
}

TEST_P(PlatformContract, CreateFolderMakesOneNewFolder) {
  platform().CreateFolder(At("kce"));
  platform().CreateFolder(At("kce\\audio"));
  EXPECT_TRUE(platform().FolderExists(At("kce\\audio")));
  EXPECT_EQ(ErrorOf([&] { platform().CreateFolder(At("kce")); }), 75);
  WriteFile(platform(), At("kce\\file"), "x");
  EXPECT_EQ(ErrorOf([&] { platform().CreateFolder(At("kce\\file")); }), 75);
}

TEST_P(PlatformContract, FileExistsOnlyForPlainVisibleFiles) {
  WriteFile(platform(), At("plain.bin"), "x");
  WriteFile(platform(), At("secret.bin"), "x");
  std::string hidden = target_.hide(At("secret.bin"));
  platform().CreateFolder(At("folder.bin"));
  EXPECT_TRUE(platform().FileExists(At("plain.bin")));
  EXPECT_FALSE(platform().FileExists(hidden));
  EXPECT_FALSE(platform().FileExists(At("folder.bin")));
  EXPECT_FALSE(platform().FileExists(At("missing.bin")));
  EXPECT_TRUE(platform().FolderExists(At("folder.bin")));
  EXPECT_FALSE(platform().FolderExists(At("plain.bin")));
}

TEST_P(PlatformContract, OpenBinaryCreatesAnEmptyFileNeverTruncatesAndReadsNoFurtherThanTheEnd) {
  EXPECT_EQ(platform().OpenBinary(At("new.big"))->Length(), 0u);
  EXPECT_TRUE(platform().FileExists(At("new.big")));
  WriteFile(platform(), At("data.big"), "0123456789");
  {
    auto file = platform().OpenBinary(At("data.big"));
    EXPECT_EQ(file->Length(), 10u);
    file->WriteAt(4, Bytes("ab"));
    file->Flush();
    std::vector<std::uint8_t> middle(4);
    file->ReadAt(3, middle);
    EXPECT_EQ(middle, Bytes("3ab6"));
    EXPECT_EQ(ErrorOf([&] { file->ReadAt(7, middle); }), 62);
  }
  EXPECT_EQ(ReadFile(platform(), At("data.big")), "0123ab6789");
}

TEST_P(DiskContract, OffsetsAndLengthsBeyondFourGibibytes) {
  const std::uint64_t five_gib = 5ull << 30;
  platform().OpenBinary(At("zdata_02.big"))->WriteAt(five_gib, Bytes("f"));
  auto file = platform().OpenBinary(At("zdata_02.big"));
  std::vector<std::uint8_t> back(1);
  file->ReadAt(five_gib, back);
  EXPECT_EQ(file->Length(), five_gib + 1);
  EXPECT_EQ(back, Bytes("f"));
}

TEST_P(DiskContract, MissingFoldersAndFoldersWhereFilesAreDueFail) {
  WriteFile(platform(), At("source.big"), "x");
  platform().CreateFolder(At("folder.big"));
  EXPECT_EQ(ErrorOf([&] { platform().Copy(At("nowhere\\s.big"), At("t.big")); }), 76);
  EXPECT_EQ(ErrorOf([&] { platform().Copy(At("source.big"), At("nowhere\\t.big")); }), 76);
  EXPECT_EQ(ErrorOf([&] { platform().CreateFolder(At("none\\deeper")); }), 76);
  EXPECT_EQ(ErrorOf([&] { platform().OpenBinary(At("nowhere\\x.big")); }), 76);
  EXPECT_EQ(ErrorOf([&] { platform().SetCurrentFolder(At("missing")); }), 76);
  EXPECT_EQ(ErrorOf([&] { platform().SetCurrentFolder(At("folder.big")); }), 0);
  EXPECT_NE(ErrorOf([&] { platform().Copy(At("source.big"), At("folder.big")); }), 0);
  EXPECT_NE(ErrorOf([&] { platform().Copy(At("folder.big"), At("t.big")); }), 0);
  EXPECT_NE(ErrorOf([&] { platform().OpenBinary(At("folder.big")); }), 0);
  EXPECT_NE(ErrorOf([&] { platform().OpenForReading(At("folder.big")); }), 0);
  EXPECT_FALSE(platform().FolderExists(At("none")));
}

TEST_P(DiskContract, AFileHeldOpenWithoutSharingIsNeitherCopiedNorOpenedNorReplaced) {
  if (!target_.lock) GTEST_SKIP() << "this platform has no file locks";
  WriteFile(platform(), At("fifa.fat"), "table");
  WriteFile(platform(), At("fifa.fat.bak"), "old");
  auto held = target_.lock(At("fifa.fat"));
  EXPECT_EQ(ErrorOf([&] { platform().Copy(At("fifa.fat"), At("fifa.fat.bak")); }), 70);
  EXPECT_EQ(ErrorOf([&] { platform().OpenBinary(At("fifa.fat")); }), 70);
  held = target_.lock(At("fifa.fat.bak"));
  EXPECT_EQ(ErrorOf([&] { platform().Copy(At("fifa.fat"), At("fifa.fat.bak")); }), 70);
}

TEST_P(PlatformContract, ARemovedFileIsGone) {
  WriteFile(platform(), At("installer.bin"), "x");
  platform().Remove(At("installer.bin"));
  EXPECT_FALSE(platform().FileExists(At("installer.bin")));
  EXPECT_EQ(ErrorOf([&] { platform().Remove(At("installer.bin")); }), 53);
  EXPECT_EQ(ErrorOf([&] { platform().OpenForReading(At("installer.bin")); }), 53);
}

TEST_P(DiskContract, NamesWithBlanksAndNonAsciiLetters) {
  const std::string folder =
      At("FIFA \xC3\x89t\xC3\xA9 2004 \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC");
  platform().CreateFolder(folder);
  std::string file = folder + platform().Separator() + "fifa.fat";
  WriteFile(platform(), file, "table");
  platform().Copy(file, file + ".bak");
  EXPECT_TRUE(platform().FileExists(file + ".bak"));
  EXPECT_EQ(ReadFile(platform(), file + ".bak"), "table");
}

TEST_P(PlatformContract, ProgramsStartOnlyFromTheGameFolder) {
  EXPECT_EQ(ErrorOf([&] { platform().StartHidden("no-such-program-here /i a b"); }), 53);
  EXPECT_EQ(ErrorOf([&] { platform().StartHidden(""); }), 53);
  EXPECT_EQ(ErrorOf([&] { platform().StartHidden(target_.program_elsewhere + " /c exit"); }), 53);
}

}  // namespace verdantix
