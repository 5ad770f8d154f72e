// The Win32 platform: wide-character file and process functions, the Win32 window system.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace verdantix::win32 {

class FormWindow;

/// Paths are UTF-8 with backslashes; long ones get the "\\?\" prefix at the API. "Hidden"
/// and "system" are file attributes; failures map GetLastError() onto run-time errors.
class Win32Platform : public Platform {
 public:
  /// `game_folder` empty: the folder of the running executable.
  explicit Win32Platform(std::string game_folder = "");
  ~Win32Platform() override;

  std::string GameFolder() override { return game_folder_; }
  char Separator() const override { return '\\'; }
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
  std::string FromAnsiCodePage(std::string_view bytes) override;
  void ShowMessage(std::string_view text, MessageIcon icon) override;
  void CreateHiddenWindow(const WindowDescription& window, WindowEvents& events) override;
  void ShowWindowUntilClosed() override;

 protected:
  [[noreturn]] void EndNow(int exit_code) override;

 private:
  std::string game_folder_;
  std::unique_ptr<FormWindow> window_;
};

/// The folder that holds the running executable, without a trailing separator.
std::string ExecutableFolder();

}  // namespace verdantix::win32
