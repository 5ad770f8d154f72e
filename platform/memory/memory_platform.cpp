// The in-memory platform: a Windows-like disk in maps, for tests of the program's logic.
#include "platform/memory/memory_platform.h"

#include <algorithm>

namespace verdantix {

class MemoryPlatform::File : public BinaryFile {
 public:
  File(MemoryPlatform& disk, std::string path, bool writable)
      : disk_(disk), path_(std::move(path)), writable_(writable) {
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
    disk_.Record("read " + path_ + " " + std::to_string(offset) + "+" + std::to_string(out.size()));
  }

  void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    if (!writable_) throw RuntimeError(ErrorNumber::kPermissionDenied, path_);
    disk_.ThrowIfFailing(Operation::kWrite, path_);
    auto& bytes = disk_.files_.at(path_);
    if (bytes.size() < offset + data.size())
      bytes.resize(static_cast<std::size_t>(offset + data.size()));
    std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    disk_.Record("write " + path_ + " " + std::to_string(offset) + "+" +
                 std::to_string(data.size()));
  }

 private:
  MemoryPlatform& disk_;
  std::string path_;
  bool writable_;
};

MemoryPlatform::MemoryPlatform(std::string game_folder)
    : game_folder_(std::move(game_folder)), current_folder_(game_folder_) {
  AddFolder(game_folder_);
}

void MemoryPlatform::AddFolder(const std::string& path) {
  for (std::string folder = path; !folder.empty(); folder = ParentOf(folder)) {
    folders_.insert(folder);
  }
}

void MemoryPlatform::AddFile(const std::string& path, std::vector<std::uint8_t> bytes) {
  AddFolder(ParentOf(path));
  files_[path] = std::move(bytes);
}

void MemoryPlatform::FailOn(Operation operation, const std::string& path, ErrorNumber number) {
  failures_[{operation, path}] = number;
}

const std::vector<std::uint8_t>& MemoryPlatform::FileBytes(const std::string& path) const {
  return files_.at(path);
}

void MemoryPlatform::ThrowIfFailing(Operation operation, const std::string& path) const {
  auto failure = failures_.find({operation, path});
  if (failure != failures_.end()) throw RuntimeError(failure->second, path);
}

std::string MemoryPlatform::ParentOf(const std::string& path) const {
  auto separator = path.find_last_of('\\');
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

void MemoryPlatform::RequireParent(const std::string& path) const {
  std::string parent = ParentOf(path);
  if (!parent.empty() && !folders_.contains(parent)) {
    throw RuntimeError(ErrorNumber::kPathNotFound, path);
  }
}

void MemoryPlatform::Copy(const std::string& source, const std::string& target) {
  ThrowIfFailing(Operation::kCopy, source);
  ThrowIfFailing(Operation::kCopy, target);
  RequireParent(source);
  if (!files_.contains(source)) throw RuntimeError(ErrorNumber::kFileNotFound, source);
  RequireParent(target);
  if (folders_.contains(target) || read_only_.contains(target)) {
    throw RuntimeError(ErrorNumber::kPermissionDenied, target);
  }
  files_[target] = files_.at(source);
  Record("copy " + source + " -> " + target);
}

void MemoryPlatform::CreateFolder(const std::string& path) {
  ThrowIfFailing(Operation::kCreateFolder, path);
  if (folders_.contains(path) || files_.contains(path)) {
    throw RuntimeError(ErrorNumber::kPathFileAccessError, path);
  }
  RequireParent(path);
  folders_.insert(path);
  Record("create-folder " + path);
}

bool MemoryPlatform::FileExists(const std::string& path) {
  return files_.contains(path) && !hidden_.contains(path);
}

bool MemoryPlatform::FolderExists(const std::string& path) { return folders_.contains(path); }

std::unique_ptr<BinaryFile> MemoryPlatform::OpenBinary(const std::string& path) {
  ThrowIfFailing(Operation::kOpen, path);
  RequireParent(path);
  if (folders_.contains(path) || read_only_.contains(path)) {
    throw RuntimeError(ErrorNumber::kPermissionDenied, path);
  }
  files_.try_emplace(path);
  Record("open " + path);
  return std::make_unique<File>(*this, path, true);
}

std::unique_ptr<BinaryFile> MemoryPlatform::OpenForReading(const std::string& path) {
  ThrowIfFailing(Operation::kOpen, path);
  RequireParent(path);
  if (!files_.contains(path)) throw RuntimeError(ErrorNumber::kFileNotFound, path);
  Record("open-for-reading " + path);
  return std::make_unique<File>(*this, path, false);
}

void MemoryPlatform::Remove(const std::string& path) {
  ThrowIfFailing(Operation::kRemove, path);
  RequireParent(path);
  if (!files_.contains(path)) throw RuntimeError(ErrorNumber::kFileNotFound, path);
  if (read_only_.contains(path)) throw RuntimeError(ErrorNumber::kPermissionDenied, path);
  files_.erase(path);
  Record("remove " + path);
}

void MemoryPlatform::SetCurrentFolder(const std::string& folder) {
  ThrowIfFailing(Operation::kSetCurrentFolder, folder);
  if (!folders_.contains(folder)) throw RuntimeError(ErrorNumber::kPathNotFound, folder);
  current_folder_ = folder;
  Record("cd " + folder);
}

std::unique_ptr<Process> MemoryPlatform::StartHidden(const std::string& command_line) {
  std::string program = command_line.substr(0, command_line.find(' '));
  auto found = [&](const std::string& folder) {
    return files_.contains(folder + "\\" + program) ||
           files_.contains(folder + "\\" + program + ".exe");
  };
  if (program.empty() || !(found(game_folder_) || found(current_folder_))) {
    throw RuntimeError(ErrorNumber::kFileNotFound, command_line);
  }
  auto failure = failures_.find({Operation::kStart, program});
  if (failure != failures_.end()) throw RuntimeError(failure->second, command_line);
  started_.push_back({command_line, current_folder_});
  Record("start " + command_line);
  if (on_start) on_start(command_line);
  return std::make_unique<Process>();
}

void MemoryPlatform::WaitForExit(Process&) {
  Record("wait");
  if (during_wait) during_wait();
}

void MemoryPlatform::ShowMessage(std::string_view text, MessageIcon icon) {
  messages_.push_back({std::string(text), icon});
  Record("message " + std::string(text));
}

void MemoryPlatform::RunWindow(const WindowDescription& window, WindowEvents& events) {
  ++windows_shown_;
  Record("window " + std::string(window.caption));
  if (while_window_open) while_window_open(events);
}

void MemoryPlatform::EndNow(int exit_code) {
  Record("end " + std::to_string(exit_code));
  throw ProgramEnded{exit_code};
}

}  // namespace verdantix
