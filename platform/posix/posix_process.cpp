// The POSIX platform's processes: start a command line without a shell, wait on a pidfd.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/command_line.h"
#include "platform/posix/posix_platform.h"

extern char** environ;

namespace verdantix::posix {

namespace {

class PosixProcess : public Process {
 public:
  PosixProcess(pid_t child, int descriptor) : pid(child), pidfd(descriptor) {}
  ~PosixProcess() override {
    if (pidfd >= 0) close(pidfd);
  }
  pid_t pid;
  int pidfd;
};

bool IsExecutableFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

/// Starts `program` clean: every signal at its default action and none blocked, whatever the
/// program itself ignores or blocks (GLib ignores SIGPIPE, for one).
int Spawn(pid_t& pid, const std::string& program, std::vector<char*>& argv) {
  // Every bit set: sigfillset leaves out the C library's two internal signals, which the child
  // would then get ignored (glibc ignores them between its fork and the exec).
  sigset_t all, none;
  std::memset(&all, 0xFF, sizeof all);
  sigemptyset(&none);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  int failed = posix_spawn(&pid, program.c_str(), nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  return failed;
}

}  // namespace

std::unique_ptr<Process> PosixPlatform::StartHidden(const std::string& command_line) {
  // The words a Windows program would get, so that one list means the same on every platform.
  std::vector<std::string> words = SplitCommandLine(command_line);
  // The program belongs in the game folder, and is looked for nowhere else.
  if (words.front().empty() || words.front().find('/') != std::string::npos) {
    throw RuntimeError(ErrorNumber::kFileNotFound, command_line);
  }
  const std::string program = Find(GameFolder() + "/" + words.front());
  if (!IsExecutableFile(program)) throw RuntimeError(ErrorNumber::kFileNotFound, command_line);

  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (Spawn(pid, program, argv) != 0) {
    throw RuntimeError(ErrorNumber::kFileNotFound, command_line);
  }
  // glibc's own wrapper is not declared for C++ on every distribution; the system call is.
  int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  return std::make_unique<PosixProcess>(pid, pidfd);
}

void PosixPlatform::WaitForExit(Process& process) {
  auto& child = static_cast<PosixProcess&>(process);
  // The descriptor turns readable when the child ends, so the front can wait on it together
  // with its window events. Without pidfd support the wait is a plain blocking one.
  if (child.pidfd >= 0) ui_->WaitForReadable(child.pidfd);
  int status = 0;
  while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace verdantix::posix
