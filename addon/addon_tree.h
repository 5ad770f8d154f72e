// The add-on tree builder behind Command3.
#pragma once

#include "platform/files.h"

namespace verdantix {

/// Creates "\data\kce" and its sub-folders, copies the game files into them and completes the
/// locale files, every copy on the disk before it returns. Any failure is thrown as it happens;
/// nothing is undone.
void BuildAddonTree(FileSystem& files);

}  // namespace verdantix
