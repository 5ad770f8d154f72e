// The terminal as the window system, for machines without a display.
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "platform/posix/posix_platform.h"

namespace verdantix::posix {

namespace {

/// Reads what standard input holds, waiting for it also when standard input does not block;
/// 0 at its end or when it cannot be read.
ssize_t ReadInput(char* buffer, std::size_t size) {
  for (;;) {
    ssize_t got = read(STDIN_FILENO, buffer, size);
    if (got >= 0) return got;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      pollfd input{STDIN_FILENO, POLLIN, 0};
      poll(&input, 1, -1);
    } else if (errno != EINTR) {
      return 0;
    }
  }
}

class TerminalUi : public Ui {
 public:
  // A message waits for Enter only where a user sees it and can answer it.
  void ShowMessage(std::string_view text, MessageIcon) override {
    std::cout << "message: " << text << '\n' << std::flush;
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return;
    char buffer[256];
    for (ssize_t got; (got = ReadInput(buffer, sizeof buffer)) > 0;) {
      if (std::memchr(buffer, '\n', static_cast<std::size_t>(got)) != nullptr) return;
    }
  }

  // A terminal has no hidden windows: the window appears only when it is shown.
  void CreateHiddenWindow(const WindowDescription& window, WindowEvents&) override {
    caption_ = window.caption;
  }

  // The window stays open until standard input ends (Ctrl-D), which closes it.
  void ShowWindowUntilClosed() override {
    std::cout << "window: " << caption_ << '\n' << std::flush;
    char buffer[4096];
    while (ReadInput(buffer, sizeof buffer) > 0) {
    }
  }

  void WaitForReadable(int pidfd) override {
    pollfd child{pidfd, POLLIN, 0};
    while (poll(&child, 1, -1) < 0 && errno == EINTR) {
    }
  }

 private:
  std::string_view caption_;
};

}  // namespace

std::unique_ptr<Ui> CreateTerminalUi() { return std::make_unique<TerminalUi>(); }

}  // namespace verdantix::posix
