// The POSIX platform's executable folder, user interface and program end.
#include "platform/posix/posix_platform.h"

#include <sys/auxv.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/posix/posix_errors.h"

namespace verdantix::posix {

namespace {

/// What the symbolic link `path` points to; empty when it cannot be read.
std::string LinkTarget(const char* path) {
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t length = readlink(path, buffer.data(), buffer.size());
    if (length < 0) return "";
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return std::string(buffer.data(), static_cast<std::size_t>(length));
    }
    buffer.resize(buffer.size() * 2);
  }
}

/// The program's path as given to execve, made absolute; empty when unknown.
std::string PathAsStarted() {
  const char* started = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
  if (started == nullptr || *started == '\0') return "";
  if (*started == '/') return started;
  std::string_view relative = started;
  while (relative.starts_with("./")) relative.remove_prefix(2);
  char* current = getcwd(nullptr, 0);
  std::string path = current ? std::string(current) + '/' + std::string(relative) : "";
  std::free(current);
  return path;
}

}  // namespace

std::string ExecutableFolder() {
  std::string program = LinkTarget("/proc/self/exe");
  if (program.empty()) program = PathAsStarted();
  return program.empty() ? "" : ParentOf(program);
}

PosixPlatform::PosixPlatform(std::unique_ptr<Ui> ui, std::string game_folder)
    : ui_(std::move(ui)),
      game_folder_(game_folder.empty() ? ExecutableFolder() : std::move(game_folder)) {}

std::string PosixPlatform::GameFolder() {
  // Only a step that needs the folder fails, so the window still opens without it.
  if (game_folder_.empty()) throw RuntimeError(ErrorNumber::kPathNotFound, "/proc/self/exe");
  return game_folder_;
}

void PosixPlatform::ShowMessage(std::string_view text, MessageIcon icon) {
  ui_->ShowMessage(text, icon);
}

void PosixPlatform::CreateHiddenWindow(const WindowDescription& window, WindowEvents& events) {
  ui_->CreateHiddenWindow(window, events);
}

void PosixPlatform::ShowWindowUntilClosed() { ui_->ShowWindowUntilClosed(); }

// Defined only in a build with coverage, whose counts _Exit would otherwise lose.
extern "C" void __gcov_dump() __attribute__((weak));

void PosixPlatform::EndNow(int exit_code) {
  std::fflush(nullptr);
  if (__gcov_dump) __gcov_dump();
  std::_Exit(exit_code);
}

}  // namespace verdantix::posix
