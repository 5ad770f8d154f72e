// The add-on tree builder.
#include "addon/addon_tree.h"

namespace verdantix {

void BuildAddonTree(Platform&) {}

}  // namespace verdantix
