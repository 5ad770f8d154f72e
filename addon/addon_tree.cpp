// The add-on tree builder: folders, then copies, then the locale files, stopping at the first
// failure.
#include "addon/addon_tree.h"

#include "addon/addon_tables.h"

namespace verdantix {

namespace {

void CopyRelative(Platform& platform, std::string_view source, std::string_view destination) {
  platform.Copy(platform.PathOf(source), platform.PathOf(destination));
}

/// One test of the first locale file decides all three rows, whatever the other two are.
void CompleteLocaleFiles(Platform& platform) {
  std::string folder = platform.PathOf(kLocaleFolder);
  if (!platform.FolderExists(folder)) platform.CreateFolder(folder);
  if (platform.FileExists(platform.PathOf(kLocaleMarker))) return;
  for (const LocaleRow& row : kLocaleRows) CopyRelative(platform, row.source, row.destination);
}

}  // namespace

void BuildAddonTree(Platform& platform) {
  // No folder is tested first: an existing one fails its creation, so a tree that is already
  // there stops the action before anything is copied.
  for (std::string_view folder : kAddonFolders) platform.CreateFolder(platform.PathOf(folder));
  for (const CopyRow& row : AddonCopyRows()) CopyRelative(platform, row.source, row.destination);
  CompleteLocaleFiles(platform);
}

}  // namespace verdantix
