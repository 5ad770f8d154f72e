// The package installer: gfxpak1 /i and /r for every record of the list file, then its removal.
#include "tools/package_installer.h"

#include <vector>

#include "tools/command_lines.h"
#include "tools/list_file.h"

namespace verdantix {

namespace {

/// The whole text of an open file.
std::string ReadAllText(BinaryFile& file) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.Length()));
  file.ReadAt(0, bytes);
  return std::string(bytes.begin(), bytes.end());
}

/// Runs the /i and then the /r command of one record from the game folder.
void RunRecord(Platform& platform, const CommandRunner& ejecutar, const ListRecord& record,
               const std::string& list_path) {
  const std::string game_folder = platform.GameFolder();
  platform.SetCurrentFolder(game_folder);
  std::string install = InstallCommand(record, list_path);
  ejecutar(install);
  std::string remove = RemoveCommand(record);
  ejecutar(remove);
  platform.SetCurrentFolder(game_folder);
}

}  // namespace

void RunPackageInstaller(Platform& platform, const CommandRunner& ejecutar) {
  const std::string list_path = platform.PathOf(kListFile);
  if (!platform.FileExists(list_path)) {
    platform.ShowMessage(kMissingListMessage, MessageIcon::kInformation);
    platform.EndProgram(0);
  }
  {
    // The list stays open for the whole pass, as the records are read one after another.
    std::unique_ptr<BinaryFile> list = platform.OpenForReading(list_path);
    const std::string text = ReadAllText(*list);
    ListFileReader reader(text, list_path);
    while (!reader.AtEnd()) RunRecord(platform, ejecutar, reader.ReadRecord(), list_path);
  }
  platform.SetCurrentFolder(platform.GameFolder());
  platform.Remove(list_path);
  platform.EndProgram(0);
}

}  // namespace verdantix
