// The process runner behind Form1's ejecutar.
#pragma once

#include <string>

#include "platform/platform.h"

namespace verdantix {

/// Starts `command_line` with no visible window and returns when the process has ended,
/// handling window events meanwhile. A program that cannot be started is error 53.
void RunAndWait(Platform& platform, const std::string& command_line);

}  // namespace verdantix
