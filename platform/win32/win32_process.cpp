// The Win32 platform's processes: start a command line hidden, wait while pumping messages.
#include <windows.h>

#include "platform/win32/ui/win32_ui.h"
#include "platform/win32/win32_paths.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"

namespace verdantix::win32 {

namespace {

constexpr std::size_t kMaxCommandLine = 32767;

class Win32Process : public Process {
 public:
  explicit Win32Process(HANDLE process) : handle(process) {}
  ~Win32Process() override { Close(); }
  void Close() {
    if (handle != nullptr) CloseHandle(handle);
    handle = nullptr;
  }
  HANDLE handle;
};

}  // namespace

std::unique_ptr<Process> Win32Platform::StartHidden(const std::string& command_line) {
  // The program is the first word, and it belongs in the game folder: it is looked for nowhere
  // else, and the rest of the line is not searched for a program name.
  const std::string name = command_line.substr(0, command_line.find_first_of(" \t"));
  if (name.empty() || name.find_first_of("\\/:") != std::string::npos) {
    throw RuntimeError(ErrorNumber::kFileNotFound, command_line);
  }
  // A started program knows itself by its plain path, and Wine starts it by that path: where
  // Windows' rules would trim it (a game folder whose name ends in a dot), it names a program
  // in another folder, so nothing is started.
  const std::string path = GameFolder() + "\\" + name + ".exe";
  if (!IsKeptByWindows(PlainPath(path)))
    throw RuntimeError(ErrorNumber::kFileNotFound, command_line);
  const std::wstring program = ApiPath(path);
  // CreateProcessW may write into the command line, so it gets a copy of its own. Windows takes
  // at most 32,767 characters with the terminating NUL (Wine takes more): a longer line is
  // refused whole here, wherever it runs, rather than started cut.
  std::wstring mutable_line = Wide(command_line);
  if (mutable_line.size() >= kMaxCommandLine) {
    throw RuntimeError(ErrorNumber::kFileNotFound, command_line);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), mutable_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &started)) {
    throw RuntimeError(ErrorNumber::kFileNotFound, command_line);
  }
  CloseHandle(started.hThread);
  return std::make_unique<Win32Process>(started.hProcess);
}

void Win32Platform::WaitForExit(Process& process) {
  auto& child = static_cast<Win32Process&>(process);
  if (child.handle == nullptr) return;
  // Waiting on the handle rather than on the exit status: a program whose status is 259
  // (STILL_ACTIVE) has ended all the same. The wait wakes for each new message, and only
  // for new ones, so each wake drains the whole queue.
  PumpPendingMessages();
  for (;;) {
    DWORD woke = MsgWaitForMultipleObjects(1, &child.handle, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) break;
    PumpPendingMessages();
  }
  child.Close();
}

}  // namespace verdantix::win32
