// The process runner: start hidden, then wait while the window stays live.
#include "tools/process_runner.h"

namespace verdantix {

void RunAndWait(Platform& platform, const std::string& command_line) {
  auto process = platform.StartHidden(command_line);
  platform.WaitForExit(*process);
}

}  // namespace verdantix
