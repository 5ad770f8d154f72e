// The index patch: toggles the fix in the game's file table and archive.
#pragma once

#include <string_view>

#include "patch/scans.h"
#include "platform/files.h"

namespace verdantix {

inline constexpr std::string_view kFileTablePath = "\\data\\fifa.fat";
inline constexpr std::string_view kFileTableBackupPath = "\\data\\fifa.fat.bak";
inline constexpr std::string_view kArchivePath = "\\data\\zdata_02.big";
inline constexpr std::string_view kInstalledMessage = "Brantwell Installed";
inline constexpr std::string_view kUninstalledMessage = "Brantwell Uninstalled";

/// Backs up the file table, switches its first record in form A or B, switches the first
/// sequence F (else E) of the archive window, writes both files back at their lengths and on
/// the disk, and returns the archive's outcome. A failing step throws its RuntimeError, and what
/// earlier steps wrote stays written. Only the bytes the scans can examine are read and written,
/// so the time and memory do not grow with the archive.
Outcome RunIndexPatch(FileSystem& files);

}  // namespace verdantix
