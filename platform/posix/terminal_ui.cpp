// The terminal as the window system, for machines without a display.
#include <poll.h>
#include <unistd.h>

#include <iostream>
#include <string>

#include "platform/posix/posix_platform.h"

namespace verdantix::posix {

namespace {

class TerminalUi : public Ui {
 public:
  void ShowMessage(std::string_view text, MessageIcon) override {
    std::cout << "message: " << text << '\n' << std::flush;
    if (isatty(STDIN_FILENO)) {
      std::string line;
      std::getline(std::cin, line);
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
    while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
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
