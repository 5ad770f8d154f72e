// An in-memory platform for tests: files and folders in maps, effects recorded, failures on demand.
#pragma once

#include <algorithm>
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
  using Bytes = std::vector<std::uint8_t>;

  /// Adds the file and the folders above it.
  void AddFile(const std::string& path, Bytes bytes) {
    for (std::string folder = path; folder.find('\\') != std::string::npos;) {
      folder.erase(folder.find_last_of('\\'));
      folders_.insert(folder);
    }
    files_[path] = std::move(bytes);
  }
  void SetHidden(const std::string& path) { hidden_.insert(path); }
  /// Fails `operation` on `path` (a copy's source; the caption for kCreateWindow) with `number`.
  void FailOn(Operation operation, const std::string& path, ErrorNumber number) {
    failures_[{operation, path}] = number;
  }

  const Bytes& FileBytes(const std::string& path) const { return files_.at(path); }
  /// Every effect in order: "copy A -> B", "write A 1608+200003" (offset+length), "flush A",
  /// "create-folder A", "remove A", "cd A", "start COMMAND", "wait", "create-window CAPTION",
  /// "window", "end 0", and a message box by its icon: "message TEXT", "information TEXT" or
  /// "error TEXT". Opening and reading leave no entry.
  const std::vector<std::string>& log() const { return log_; }
  int max_open_files() const { return max_open_files_; }  ///< the most open at once so far
  std::function<void()> during_wait;  ///< runs inside WaitForExit, as window events would

  // Platform. A program starts when its name with ".exe" is a file of the game folder. Text in
  // the ANSI code page is taken as it is, as on POSIX.
  std::string GameFolder() override { return game_folder_; }
  char Separator() const override { return '\\'; }
  void Copy(const std::string& source, const std::string& target) override {
    ThrowIfFailing(Operation::kCopy, source);
    if (!files_.contains(source)) throw RuntimeError(ErrorNumber::kFileNotFound, source);
    if (hidden_.contains(target)) throw RuntimeError(ErrorNumber::kPermissionDenied, target);
    files_[target] = files_.at(source);
    Record("copy " + source + " -> " + target);
  }
  void CreateFolder(const std::string& path) override {
    if (files_.contains(path) || !folders_.insert(path).second) {
      throw RuntimeError(ErrorNumber::kPathFileAccessError, path);
    }
    Record("create-folder " + path);
  }
  bool FileExists(const std::string& path) override {
    return files_.contains(path) && !hidden_.contains(path);
  }
  bool FolderExists(const std::string& path) override { return folders_.contains(path); }
  std::unique_ptr<BinaryFile> OpenBinary(const std::string& path) override {
    ThrowIfFailing(Operation::kOpen, path);
    files_.try_emplace(path);
    return std::make_unique<File>(*this, path);
  }
  std::unique_ptr<BinaryFile> OpenForReading(const std::string& path) override {
    ThrowIfFailing(Operation::kOpen, path);
    if (!files_.contains(path)) throw RuntimeError(ErrorNumber::kFileNotFound, path);
    return std::make_unique<File>(*this, path);
  }
  void Remove(const std::string& path) override {
    if (files_.erase(path) == 0) throw RuntimeError(ErrorNumber::kFileNotFound, path);
    Record("remove " + path);
  }
  void SetCurrentFolder(const std::string& folder) override { Record("cd " + folder); }
  std::unique_ptr<Process> StartHidden(const std::string& command_line) override {
    const std::string program = command_line.substr(0, command_line.find(' '));
    if (!FileExists(game_folder_ + "\\" + program + ".exe")) {
      throw RuntimeError(ErrorNumber::kFileNotFound, command_line);
    }
    Record("start " + command_line);
    return std::make_unique<Process>();
  }
  void WaitForExit(Process&) override {
    Record("wait");
    if (during_wait) during_wait();
  }
  std::string FromAnsiCodePage(std::string_view bytes) override { return std::string(bytes); }
  void ShowMessage(std::string_view text, MessageIcon icon) override {
    static constexpr std::string_view kByIcon[] = {"message ", "information ", "error "};
    Record(std::string(kByIcon[static_cast<int>(icon)]) + std::string(text));
  }
  void CreateHiddenWindow(const WindowDescription& window, WindowEvents&) override {
    ThrowIfFailing(Operation::kCreateWindow, std::string(window.caption));
    Record("create-window " + std::string(window.caption));
  }
  void ShowWindowUntilClosed() override { Record("window"); }

 protected:
  [[noreturn]] void EndNow(int exit_code) override {
    Record("end " + std::to_string(exit_code));
    throw ProgramEnded{exit_code};
  }

 private:
  class File : public BinaryFile {
   public:
    File(MemoryPlatform& disk, std::string path) : disk_(disk), path_(std::move(path)) {
      disk_.max_open_files_ = std::max(disk_.max_open_files_, ++disk_.open_files_);
    }
    ~File() override { --disk_.open_files_; }

    std::uint64_t Length() override { return disk_.files_.at(path_).size(); }
    void ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
      disk_.ThrowIfFailing(Operation::kRead, path_);
      const auto& bytes = disk_.files_.at(path_);
      if (offset > bytes.size() || out.size() > bytes.size() - offset) {
        throw RuntimeError(ErrorNumber::kInputPastEndOfFile, path_);
      }
      std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    }
    void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
      disk_.ThrowIfFailing(Operation::kWrite, path_);
      auto& bytes = disk_.files_.at(path_);
      bytes.resize(std::max(bytes.size(), static_cast<std::size_t>(offset + data.size())));
      std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
      disk_.Record("write " + path_ + " " + std::to_string(offset) + "+" +
                   std::to_string(data.size()));
    }
    void Flush() override {
      disk_.ThrowIfFailing(Operation::kFlush, path_);
      disk_.Record("flush " + path_);
    }

   private:
    MemoryPlatform& disk_;
    std::string path_;
  };

  void ThrowIfFailing(Operation operation, const std::string& path) const {
    auto failure = failures_.find({operation, path});
    if (failure != failures_.end()) throw RuntimeError(failure->second, path);
  }
  void Record(std::string entry) { log_.push_back(std::move(entry)); }

  std::string game_folder_ = "C:\\Games\\FIFA 2004";
  std::map<std::string, Bytes> files_;
  std::set<std::string> folders_;
  std::set<std::string> hidden_;
  std::map<std::pair<Operation, std::string>, ErrorNumber> failures_;
  std::vector<std::string> log_;
  int open_files_ = 0;
  int max_open_files_ = 0;
};

}  // namespace verdantix
