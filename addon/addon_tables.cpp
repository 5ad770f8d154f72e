// The copy table, formed from the script row and the gui names by the prefix rule.
#include "addon/addon_tables.h"

namespace verdantix {

std::vector<CopyRow> AddonCopyRows() {
  std::vector<CopyRow> rows;
  rows.reserve(1 + kGuiNames.size());
  rows.push_back({std::string(kScriptSource), std::string(kScriptDestination)});
  for (std::string_view name : kGuiNames) {
    rows.push_back({std::string(kGuiPrefix) + std::string(name),
                    std::string(kAddonPrefix) + std::string(name)});
  }
  return rows;
}

}  // namespace verdantix
