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
enum class Operation { kCopy, kCreateFolder, kOpen, kRead, kWrite, kFlush, kRemove, kCreateWindow };

/// A game installation in memory, with Windows-style paths ("C:\Games\FIFA 2004\data\...") taken
/// letter for letter, and hidden files but no read-only ones: only what the logic's tests need.
/// The real platforms' search in any letter case and their read-only files are the contract's.
class MemoryPlatform : public Platform {
 public:
  struct Message {
    std::string text;
    MessageIcon icon;
    bool operator==(const Message&) const = default;
  };

  /// `game_folder` and all its ancestors exist as folders.
  explicit MemoryPlatform(std::string game_folder = "C:\\Games\\FIFA 2004");

  // Setting up the disk.
  void AddFile(const std::string& path, std::vector<std::uint8_t> bytes);  ///< and its folders
  void SetHidden(const std::string& path) { hidden_.insert(path); }
  /// Makes `operation` on `path` (for kCreateWindow: the window's caption) fail with `number`.
  void FailOn(Operation operation, const std::string& path, ErrorNumber number) {
    failures_[{operation, path}] = number;
  }

  // Looking at the effects.
  bool HasFile(const std::string& path) const { return files_.contains(path); }
  const std::vector<std::uint8_t>& FileBytes(const std::string& path) const {
    return files_.at(path);
  }
  const std::map<std::string, std::vector<std::uint8_t>>& files() const { return files_; }
  const std::vector<Message>& messages() const { return messages_; }
  /// Every effect in order: "copy A -> B", "write A 1608+200003" (offset+length), "flush A",
  /// "create-folder A", "remove A", "cd A", "start COMMAND", "wait", "message TEXT",
  /// "create-window CAPTION", "window CAPTION", "end 0". Opening and reading leave no entry.
  const std::vector<std::string>& log() const { return log_; }
  /// The most files open at once so far.
  int max_open_files() const { return max_open_files_; }

  /// Runs inside WaitForExit, standing in for window events that arrive during the wait.
  std::function<void()> during_wait;

  // Platform. A program starts when a file of its name, or its name with ".exe", is in the
  // game folder (AddFile(GameFolder() + "\\gfxpak1.exe", {})). The ANSI code page is Latin-1.
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
  void SetCurrentFolder(const std::string& folder) override;
  std::unique_ptr<Process> StartHidden(const std::string& command_line) override;
  void WaitForExit(Process& process) override;
  std::string FromAnsiCodePage(std::string_view bytes) override;
  void ShowMessage(std::string_view text, MessageIcon icon) override;
  void CreateHiddenWindow(const WindowDescription& window, WindowEvents& events) override;
  void ShowWindowUntilClosed() override { Record("window " + caption_); }

 protected:
  [[noreturn]] void EndNow(int exit_code) override;

 private:
  class File;

  void ThrowIfFailing(Operation operation, const std::string& path) const;
  /// Throws when `operation` on `path` is told to fail, or when its folder is missing (76).
  void Prepare(Operation operation, const std::string& path) const;
  void Record(std::string entry) { log_.push_back(std::move(entry)); }

  std::string game_folder_;
  std::map<std::string, std::vector<std::uint8_t>> files_;
  std::set<std::string> folders_;
  std::set<std::string> hidden_;
  std::map<std::pair<Operation, std::string>, ErrorNumber> failures_;
  std::vector<Message> messages_;
  std::vector<std::string> log_;
  std::string caption_;
  int open_files_ = 0;
  int max_open_files_ = 0;
};

}  // namespace verdantix
