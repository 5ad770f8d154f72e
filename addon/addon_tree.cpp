// The add-on tree builder: folders, then copies, then the locale files, stopping at the first
// failure.
#include "addon/addon_tree.h"

#include "addon/addon_tables.h"

namespace verdantix {

namespace {

void CopyRelative(FileSystem& files, std::string_view source, std::string_view destination) {
  files.Copy(files.PathOf(source), files.PathOf(destination));
}

/// One test of the first locale file decides all three rows, whatever the other two are.
void CompleteLocaleFiles(FileSystem& files) {
  std::string folder = files.PathOf(kLocaleFolder);
  if (!files.FolderExists(folder)) files.CreateFolder(folder);
  if (files.FileExists(files.PathOf(kLocaleMarker))) return;
  for (const LocaleRow& row : kLocaleRows) CopyRelative(files, row.source, row.destination);
}

}  // namespace

void BuildAddonTree(FileSystem& files) {
  // No folder is tested first: an existing one fails its creation, so a tree that is already
  // there stops the action before anything is copied.
  for (std::string_view folder : kAddonFolders) files.CreateFolder(files.PathOf(folder));
  for (const CopyRow& row : AddonCopyRows()) CopyRelative(files, row.source, row.destination);
  CompleteLocaleFiles(files);
}

}  // namespace verdantix
