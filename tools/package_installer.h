// The package installer behind Command2.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

namespace verdantix {

/// Runs one command line and returns when its program has ended (Form1's ejecutar).
using CommandRunner = std::function<void(std::string& Aplicacion)>;

/// Runs gfxpak1 twice for every record of "\installer.bin", deletes the list and ends the
/// program; without a list, shows the missing-list message and ends. Never returns normally.
[[noreturn]] void RunPackageInstaller(Platform& platform, const CommandRunner& ejecutar);

}  // namespace verdantix
