// The add-on tree builder behind Command3.
#pragma once

#include "platform/platform.h"

namespace verdantix {

/// Creates "\data\kce" and its sub-folders, copies the game files into them and completes the
/// locale files. Any failure is thrown as it happens; nothing is undone.
void BuildAddonTree(Platform& platform);

}  // namespace verdantix
