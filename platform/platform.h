// The one seam between the program's logic and the operating system: files, processes, the
// window system and the end of the program.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/window.h"

namespace verdantix {

/// A process started by the program.
class Process {
 public:
  virtual ~Process() = default;
};

enum class MessageIcon { kNone, kInformation, kError };

/// Everything the program asks of the operating system. The file operations are FileSystem's.
class Platform : public FileSystem {
 public:
  /// Makes `folder` (a full path) the current folder, and so its drive the current drive.
  virtual void SetCurrentFolder(const std::string& folder) = 0;

  /// Starts `command_line` as given (nothing quoted or added) with no visible window, in the
  /// current folder. The program is the command line's first word, looked up in the game folder
  /// only (Windows adds ".exe"); when it is not there, or cannot be started, error 53 naming
  /// the command line.
  virtual std::unique_ptr<Process> StartHidden(const std::string& command_line) = 0;
  /// Returns once `process` has ended, handling pending window events at least once and
  /// whenever one arrives meanwhile, without spinning.
  virtual void WaitForExit(Process& process) = 0;

  /// `bytes` of text in the system's ANSI code page, as UTF-8. POSIX systems have no such code
  /// page: there the bytes are returned as they are. A text longer than the system converts in
  /// one call (on Windows 2 GiB less one byte) is refused whole with std::bad_alloc, before any
  /// of its bytes is read.
  virtual std::string FromAnsiCodePage(std::string_view bytes) = 0;

  /// A modal message box with a single OK button, captioned with the application title.
  virtual void ShowMessage(std::string_view text, MessageIcon icon) = 0;
  /// Creates the program's window and its controls, hidden; from now on its events, clicks from
  /// other programs included, reach `events` whenever window events are handled.
  virtual void CreateHiddenWindow(const WindowDescription& window, WindowEvents& events) = 0;
  /// Shows the window made by CreateHiddenWindow and handles its events until it is closed.
  virtual void ShowWindowUntilClosed() = 0;
  /// Ends the program at once: nothing else runs, no window is shown afterwards.
  [[noreturn]] void EndProgram(int exit_code);

 protected:
  /// Implements EndProgram; never returns (a test platform may throw instead).
  virtual void EndNow(int exit_code) = 0;
};

/// The application title, the caption of every message box.
inline constexpr std::string_view kApplicationTitle = "Verdantix Installer";

}  // namespace verdantix
