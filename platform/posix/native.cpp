// The Linux build's platform: the GTK front on a display, the terminal front without one.
#include <csignal>

#include "platform/native.h"
#include "platform/posix/gtk_ui.h"
#include "platform/posix/posix_platform.h"

namespace verdantix {

std::unique_ptr<Platform> CreateNativePlatform() {
  for (int signal : posix::kIgnoredSignals) std::signal(signal, SIG_IGN);
  std::unique_ptr<posix::Ui> ui = posix::LoadGtkUi();
  if (!ui) ui = posix::CreateTerminalUi();
  return std::make_unique<posix::PosixPlatform>(std::move(ui));
}

}  // namespace verdantix
