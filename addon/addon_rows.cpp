// Prints the add-on tables for the end-to-end tests, one row a line, so that the scripts lay
// out and check exactly the files the program copies:
//   folder<TAB>PATH, copy<TAB>SOURCE<TAB>DESTINATION, locale<TAB>SOURCE<TAB>DESTINATION
// Paths are relative to the game folder, with backslashes, as the tables hold them.
#include <iostream>

#include "addon/addon_tables.h"

int main() {
  using namespace verdantix;
  for (std::string_view folder : kAddonFolders) std::cout << "folder\t" << folder << '\n';
  for (const CopyRow& row : AddonCopyRows()) {
    std::cout << "copy\t" << row.source << '\t' << row.destination << '\n';
  }
  for (const LocaleRow& row : kLocaleRows) {
    std::cout << "locale\t" << row.source << '\t' << row.destination << '\n';
  }
  return 0;
}
