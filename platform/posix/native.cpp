// The Linux build's platform: the GTK front on a display, the terminal front without one.
#include "platform/native.h"
#include "platform/posix/gtk_ui.h"
#include "platform/posix/posix_platform.h"

namespace verdantix {

std::unique_ptr<Platform> CreateNativePlatform() {
  std::unique_ptr<posix::Ui> ui = posix::LoadGtkUi();
  if (!ui) ui = posix::CreateTerminalUi();
  return std::make_unique<posix::PosixPlatform>(std::move(ui));
}

}  // namespace verdantix
