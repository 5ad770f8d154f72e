// The POSIX platform's executable folder, user interface and program end.
#include "platform/posix/posix_platform.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/posix/posix_errors.h"

namespace verdantix::posix {

std::string ExecutableFolder() {
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) throw ErrorFromErrno(errno, "/proc/self/exe");
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return ParentOf(std::string(buffer.data(), static_cast<std::size_t>(length)));
    }
    buffer.resize(buffer.size() * 2);
  }
}

PosixPlatform::PosixPlatform(std::unique_ptr<Ui> ui, std::string game_folder)
    : ui_(std::move(ui)),
      game_folder_(game_folder.empty() ? ExecutableFolder() : std::move(game_folder)) {}

void PosixPlatform::ShowMessage(std::string_view text, MessageIcon icon) {
  ui_->ShowMessage(text, icon);
}

void PosixPlatform::CreateHiddenWindow(const WindowDescription& window, WindowEvents& events) {
  ui_->CreateHiddenWindow(window, events);
}

void PosixPlatform::ShowWindowUntilClosed() { ui_->ShowWindowUntilClosed(); }

void PosixPlatform::EndNow(int exit_code) {
  std::fflush(nullptr);
  std::_Exit(exit_code);
}

}  // namespace verdantix::posix
