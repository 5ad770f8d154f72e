// The POSIX platform: real files and processes, with a terminal or GTK front for the window.
#pragma once

#include <csignal>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace verdantix::posix {

/// The window-system side of the POSIX platform: the terminal, or GTK on a desktop.
class Ui {
 public:
  virtual ~Ui() = default;
  virtual void ShowMessage(std::string_view text, MessageIcon icon) = 0;
  virtual void CreateHiddenWindow(const WindowDescription& window, WindowEvents& events) = 0;
  virtual void ShowWindowUntilClosed() = 0;
  /// Returns once `pidfd` (a process descriptor) is readable, handling window events meanwhile.
  virtual void WaitForReadable(int pidfd) = 0;
};

/// Messages on standard output ("message: TEXT"), the window as "window: CAPTION" until the end
/// of standard input.
std::unique_ptr<Ui> CreateTerminalUi();

/// "Hidden" files are those whose name begins with a dot; "read-only" ones lack the owner's
/// write permission, whoever runs the program; a file "held open" is one that another open file
/// description refers to (as far as a lease can tell). Paths below the game folder are found
/// ignoring letter case (FindIgnoringCase).
class PosixPlatform : public Platform {
 public:
  /// `game_folder` empty: the folder of the running executable.
  explicit PosixPlatform(std::unique_ptr<Ui> ui, std::string game_folder = "");

  std::string GameFolder() override;
  char Separator() const override { return '/'; }
  void Copy(const std::string& source, const std::string& target) override;
  void CreateFolder(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::unique_ptr<BinaryFile> OpenBinary(const std::string& path) override;
  std::unique_ptr<BinaryFile> OpenForReading(const std::string& path) override;
  void Remove(const std::string& path) override;
  void SetCurrentFolder(const std::string& folder) override;
  std::unique_ptr<Process> StartHidden(const std::string& command_line) override;
  void WaitForExit(Process& process) override;
  std::string FromAnsiCodePage(std::string_view bytes) override { return std::string(bytes); }
  void ShowMessage(std::string_view text, MessageIcon icon) override;
  void CreateHiddenWindow(const WindowDescription& window, WindowEvents& events) override;
  void ShowWindowUntilClosed() override;

 protected:
  [[noreturn]] void EndNow(int exit_code) override;

 private:
  /// `path` with the spelling it has on the disk below the game folder.
  std::string Find(const std::string& path) const;

  std::unique_ptr<Ui> ui_;
  std::string game_folder_;
};

/// The folder that holds the running executable, asked of the kernel; where /proc cannot tell
/// (not mounted, a path beyond its length limit), the program's path as it was started, made
/// absolute against the current folder. Empty when neither is known.
std::string ExecutableFolder();

/// Signals that would end the program where it expects an error instead: SIGXFSZ (a file-size
/// limit is error 61, "Disk full") and SIGIO (a lease broken while it is held). The program
/// ignores them; the programs it starts get every signal's default action back.
inline constexpr int kIgnoredSignals[] = {SIGXFSZ, SIGIO};

}  // namespace verdantix::posix
