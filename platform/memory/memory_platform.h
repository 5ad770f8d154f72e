// An in-memory platform for tests: files and folders in maps, effects recorded, failures on demand.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace verdantix {

/// Thrown by MemoryPlatform::EndProgram so that a test sees where the program ended.
struct ProgramEnded {
  int exit_code;
};

/// Operations that MemoryPlatform can be told to fail.
enum class Operation { kCopy, kOpen, kRead, kWrite, kFlush, kCreateWindow };

/// A game installation in memory, Windows-style paths ("C:\Games\FIFA 2004\data\...") taken
/// letter for letter, and hidden files: what the logic's tests need (PlatformContract).
class MemoryPlatform : public Platform {
 public:
  /// `game_folder` and all its ancestors exist as folders.
  explicit MemoryPlatform(std::string game_folder = "C:\\Games\\FIFA 2004");

  void AddFile(const std::string& path, std::vector<std::uint8_t> bytes);  ///< and its folders
  void SetHidden(const std::string& path) { hidden_.insert(path); }
  /// Makes `operation` on `path` (a copy's source; for kCreateWindow, the window's caption) fail
  /// with `number`.
  void FailOn(Operation operation, const std::string& path, ErrorNumber number) {
    failures_[{operation, path}] = number;
  }

  const std::vector<std::uint8_t>& FileBytes(const std::string& path) const {
    return files_.at(path);
  }
  /// Every effect in order: "copy A -> B", "write A 1608+200003" (offset+length), "flush A",
  /// "create-folder A", "remove A", "cd A", "start COMMAND", "wait", "create-window CAPTION",
  /// "window", "end 0", and a message box by its icon: "message TEXT", "information TEXT" or
  /// "error TEXT". Opening and reading leave no entry.
  const std::vector<std::string>& log() const { return log_; }
  int max_open_files() const { return max_open_files_; }  ///< the most open at once so far
  std::function<void()> during_wait;  ///< runs inside WaitForExit, as window events would

  // Platform. A program starts when a file of its name, or its name with ".exe", is in the
  // game folder. Text in the ANSI code page is taken as it is, as on POSIX.
  std::string GameFolder() override { return game_folder_; }
  char Separator() const override { return '\\'; }
  void Copy(const std::string& source, const std::string& target) override;
  void CreateFolder(const std::string& path) override;
  bool FileExists(const std::string& path) override {
    return files_.contains(path) && !hidden_.contains(path);
  }
  bool FolderExists(const std::string& path) override { return folders_.contains(path); }
  std::unique_ptr<BinaryFile> OpenBinary(const std::string& path) override;
  std::unique_ptr<BinaryFile> OpenForReading(const std::string& path) override;
  void Remove(const std::string& path) override;
  void SetCurrentFolder(const std::string& folder) override { Record("cd " + folder); }
  std::unique_ptr<Process> StartHidden(const std::string& command_line) override;
  void WaitForExit(Process& process) override;
  std::string FromAnsiCodePage(std::string_view bytes) override { return std::string(bytes); }
  void ShowMessage(std::string_view text, MessageIcon icon) override;
  void CreateHiddenWindow(const WindowDescription& window, WindowEvents& events) override;
  void ShowWindowUntilClosed() override { Record("window"); }

 protected:
  [[noreturn]] void EndNow(int exit_code) override;

 private:
  class File;

  void ThrowIfFailing(Operation operation, const std::string& path) const;
  void Record(std::string entry) { log_.push_back(std::move(entry)); }

  std::string game_folder_;
  std::map<std::string, std::vector<std::uint8_t>> files_;
  std::set<std::string> folders_;
  std::set<std::string> hidden_;
  std::map<std::pair<Operation, std::string>, ErrorNumber> failures_;
  std::vector<std::string> log_;
  int open_files_ = 0;
  int max_open_files_ = 0;
};

}  // namespace verdantix
