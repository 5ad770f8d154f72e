// The in-memory platform: a Windows-like disk in maps, for tests of the program's logic.
#include "platform/memory/memory_platform.h"

#include <algorithm>

namespace verdantix {

namespace {

std::string ParentOf(const std::string& path) {
  auto separator = path.find_last_of('\\');
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

void AddWithAncestors(std::set<std::string>& folders, std::string folder) {
  for (; !folder.empty(); folder = ParentOf(folder)) folders.insert(folder);
}

}  // namespace

class MemoryPlatform::File : public BinaryFile {
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

MemoryPlatform::MemoryPlatform(std::string game_folder) : game_folder_(std::move(game_folder)) {
  AddWithAncestors(folders_, game_folder_);
}

void MemoryPlatform::AddFile(const std::string& path, std::vector<std::uint8_t> bytes) {
  AddWithAncestors(folders_, ParentOf(path));
  files_[path] = std::move(bytes);
}

void MemoryPlatform::ThrowIfFailing(Operation operation, const std::string& path) const {
  auto failure = failures_.find({operation, path});
  if (failure != failures_.end()) throw RuntimeError(failure->second, path);
}

void MemoryPlatform::Copy(const std::string& source, const std::string& target) {
  ThrowIfFailing(Operation::kCopy, source);
  if (!files_.contains(source)) throw RuntimeError(ErrorNumber::kFileNotFound, source);
  if (hidden_.contains(target)) throw RuntimeError(ErrorNumber::kPermissionDenied, target);
  files_[target] = files_.at(source);
  Record("copy " + source + " -> " + target);
}

void MemoryPlatform::CreateFolder(const std::string& path) {
  if (files_.contains(path) || !folders_.insert(path).second) {
    throw RuntimeError(ErrorNumber::kPathFileAccessError, path);
  }
  Record("create-folder " + path);
}

std::unique_ptr<BinaryFile> MemoryPlatform::OpenBinary(const std::string& path) {
  ThrowIfFailing(Operation::kOpen, path);
  files_.try_emplace(path);
  return std::make_unique<File>(*this, path);
}

std::unique_ptr<BinaryFile> MemoryPlatform::OpenForReading(const std::string& path) {
  ThrowIfFailing(Operation::kOpen, path);
  if (!files_.contains(path)) throw RuntimeError(ErrorNumber::kFileNotFound, path);
  return std::make_unique<File>(*this, path);
}

void MemoryPlatform::Remove(const std::string& path) {
  if (files_.erase(path) == 0) throw RuntimeError(ErrorNumber::kFileNotFound, path);
  Record("remove " + path);
}

std::unique_ptr<Process> MemoryPlatform::StartHidden(const std::string& command_line) {
  const std::string program = game_folder_ + "\\" + command_line.substr(0, command_line.find(' '));
  if (command_line.empty() || !(FileExists(program) || FileExists(program + ".exe"))) {
    throw RuntimeError(ErrorNumber::kFileNotFound, command_line);
  }
  Record("start " + command_line);
  return std::make_unique<Process>();
}

void MemoryPlatform::WaitForExit(Process&) {
  Record("wait");
  if (during_wait) during_wait();
}

void MemoryPlatform::ShowMessage(std::string_view text, MessageIcon icon) {
  static constexpr std::string_view kByIcon[] = {"message ", "information ", "error "};
  Record(std::string(kByIcon[static_cast<int>(icon)]) + std::string(text));
}

void MemoryPlatform::CreateHiddenWindow(const WindowDescription& window, WindowEvents&) {
  ThrowIfFailing(Operation::kCreateWindow, std::string(window.caption));
  Record("create-window " + std::string(window.caption));
}

void MemoryPlatform::EndNow(int exit_code) {
  Record("end " + std::to_string(exit_code));
  throw ProgramEnded{exit_code};
}

}  // namespace verdantix
