// The Windows build's platform.
#include "platform/native.h"
#include "platform/win32/win32_platform.h"

namespace verdantix {

std::unique_ptr<Platform> CreateNativePlatform() {
  return std::make_unique<win32::Win32Platform>();
}

}  // namespace verdantix
