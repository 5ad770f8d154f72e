// The Linux build's platform: the terminal front until a display can be opened.
#include "platform/native.h"
#include "platform/posix/posix_platform.h"

namespace verdantix {

std::unique_ptr<Platform> CreateNativePlatform() {
  return std::make_unique<posix::PosixPlatform>(posix::CreateTerminalUi());
}

}  // namespace verdantix
