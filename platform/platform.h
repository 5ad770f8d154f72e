// The one seam between the program's logic and the operating system.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/runtime_error.h"
#include "platform/window.h"

namespace verdantix {

/// An open file. Closing it is destroying it. Failures throw RuntimeError with the path.
class BinaryFile {
 public:
  virtual ~BinaryFile() = default;
  virtual std::uint64_t Length() = 0;
  /// Reads exactly `out.size()` bytes from `offset`; reading past the end is error 62.
  virtual void ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
  /// Writes `bytes` at `offset`.
  virtual void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
};

/// A process started by the program.
class Process {
 public:
  virtual ~Process() = default;
};

enum class MessageIcon { kNone, kInformation, kError };

/// File, process, message-box, window and program-end operations. Paths are native paths
/// (see PathOf); every failure is a RuntimeError naming the path or command involved.
class Platform {
 public:
  virtual ~Platform() = default;

  /// The folder that holds the running executable, without a trailing separator.
  virtual std::string GameFolder() = 0;
  /// The native path separator: '\\' on Windows, '/' on POSIX.
  virtual char Separator() const = 0;
  /// The game folder followed directly by `relative` ("\data\fifa.fat"), backslashes mapped to
  /// the native separator, names and letter case kept.
  std::string PathOf(std::string_view relative);

  /// Copies the whole file, replacing a target of the same name.
  virtual void Copy(const std::string& source, const std::string& target) = 0;
  /// Creates one folder whose parent exists; fails (75) when it exists, (76) without parent.
  virtual void CreateFolder(const std::string& path) = 0;
  /// True only for a plain file: a folder, or a hidden or system file, counts as absent.
  virtual bool FileExists(const std::string& path) = 0;
  /// True for a folder of that name.
  virtual bool FolderExists(const std::string& path) = 0;
  /// Opens for binary reading and writing at the first byte, never truncating; creates an
  /// empty file when there is none.
  virtual std::unique_ptr<BinaryFile> OpenBinary(const std::string& path) = 0;
  /// Opens an existing file for reading only; a missing one is error 53.
  virtual std::unique_ptr<BinaryFile> OpenForReading(const std::string& path) = 0;
  virtual void Remove(const std::string& path) = 0;
  /// Makes `folder` the current folder (on Windows, its drive the current drive first).
  virtual void SetCurrentFolder(const std::string& folder) = 0;

  /// Starts `command_line` as given (program name first, arguments split at blanks, nothing
  /// quoted or added) with no visible window; a program that cannot be started is error 53.
  virtual std::unique_ptr<Process> StartHidden(const std::string& command_line) = 0;
  /// Returns once `process` has ended, handling pending window events at least once and
  /// whenever one arrives meanwhile, without spinning.
  virtual void WaitForExit(Process& process) = 0;

  /// A modal message box with a single OK button, captioned with the application title.
  virtual void ShowMessage(std::string_view text, MessageIcon icon) = 0;
  /// Shows the window and handles its events until it is closed.
  virtual void RunWindow(const WindowDescription& window, WindowEvents& events) = 0;
  /// Ends the program at once: nothing else runs, no window is shown afterwards.
  [[noreturn]] void EndProgram(int exit_code);

 protected:
  /// Implements EndProgram; never returns (a test platform may throw instead).
  virtual void EndNow(int exit_code) = 0;
};

/// The application title, the caption of every message box.
inline constexpr std::string_view kApplicationTitle = "Verdantix Installer";

}  // namespace verdantix
