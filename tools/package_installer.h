// The package installer behind Command2.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace verdantix {

/// The list file, beside the executable.
inline constexpr std::string_view kListFile = "\\installer.bin";
/// Shown, with the information icon, when there is no list file.
inline constexpr std::string_view kMissingListMessage =
    "Patch Not Installed! Error! Install it again";

/// Runs one command line and returns when its program has ended (Form1's ejecutar).
using CommandRunner = std::function<void(std::string& Aplicacion)>;

/// Runs gfxpak1 twice for every record of "\installer.bin" (/i, then /r, each from the game
/// folder and waited for by `ejecutar`), deletes the list and ends the program; without a
/// plain list file (a hidden one counts as absent), shows the missing-list message and ends.
/// Never returns normally: a failure propagates as a RuntimeError, leaving the records already
/// run done and the list in place.
[[noreturn]] void RunPackageInstaller(Platform& platform, const CommandRunner& ejecutar);

}  // namespace verdantix
