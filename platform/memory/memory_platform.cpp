// The in-memory platform: a Windows-like disk in maps, for tests of the program's logic.
#include "platform/memory/memory_platform.h"

#include <algorithm>

namespace verdantix {

namespace {

std::string ParentOf(const std::string& path) {
  auto separator = path.find_last_of('\\');
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

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

  void Flush() override {
    disk_.ThrowIfFailing(Operation::kFlush, path_);
    disk_.Record("flush " + path_);
  }

 private:
  MemoryPlatform& disk_;
  std::string path_;
  bool writable_;
};

MemoryPlatform::MemoryPlatform(std::string game_folder) : game_folder_(std::move(game_folder)) {
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

bool MemoryPlatform::Exists(const std::string& path) const {
  return files_.contains(path) || folders_.contains(path);
}

std::optional<std::string> MemoryPlatform::EntryIgnoringCase(const std::string& folder,
                                                             std::string_view name) const {
  auto matches = [&](const std::string& entry) {
    return ParentOf(entry) == folder && SameIgnoringCase(entry.substr(folder.size() + 1), name);
  };
  for (const std::string& entry : folders_) {
    if (matches(entry)) return entry;
  }
  for (const auto& [entry, bytes] : files_) {
    if (matches(entry)) return entry;
  }
  return std::nullopt;
}

std::string MemoryPlatform::Resolve(const std::string& path) const {
  std::string resolved;
  for (std::size_t at = 0;;) {
    const std::size_t end = std::min(path.find('\\', at), path.size());
    const std::string name = path.substr(at, end - at);
    std::string next = at == 0 ? name : resolved + '\\' + name;
    if (at != 0 && !Exists(next)) next = EntryIgnoringCase(resolved, name).value_or(next);
    resolved = std::move(next);
    if (end == path.size()) return resolved;
    at = end + 1;
  }
}

void MemoryPlatform::ThrowIfFailing(Operation operation, const std::string& path) const {
  auto failure = failures_.find({operation, path});
  if (failure != failures_.end()) throw RuntimeError(failure->second, path);
}

std::string MemoryPlatform::Prepare(Operation operation, const std::string& path) const {
  const std::string resolved = Resolve(path);
  ThrowIfFailing(operation, resolved);
  const std::string parent = ParentOf(resolved);
  if (!parent.empty() && !folders_.contains(parent)) {
    throw RuntimeError(ErrorNumber::kPathNotFound, path);
  }
  return resolved;
}

void MemoryPlatform::Copy(const std::string& source_path, const std::string& target_path) {
  const std::string source = Prepare(Operation::kCopy, source_path);
  if (!files_.contains(source)) throw RuntimeError(ErrorNumber::kFileNotFound, source_path);
  const std::string target = Prepare(Operation::kCopy, target_path);
  if (folders_.contains(target) || read_only_.contains(target) || hidden_.contains(target)) {
    throw RuntimeError(ErrorNumber::kPermissionDenied, target_path);
  }
  files_[target] = files_.at(source);
  Record("copy " + source + " -> " + target);
}

void MemoryPlatform::CreateFolder(const std::string& path_as_given) {
  const std::string path = Prepare(Operation::kCreateFolder, path_as_given);
  if (Exists(path)) throw RuntimeError(ErrorNumber::kPathFileAccessError, path_as_given);
  folders_.insert(path);
  Record("create-folder " + path);
}

bool MemoryPlatform::FileExists(const std::string& path_as_given) {
  const std::string path = Resolve(path_as_given);
  return files_.contains(path) && !hidden_.contains(path);
}

bool MemoryPlatform::FolderExists(const std::string& path) {
  return folders_.contains(Resolve(path));
}

std::unique_ptr<BinaryFile> MemoryPlatform::OpenBinary(const std::string& path_as_given) {
  const std::string path = Prepare(Operation::kOpen, path_as_given);
  if (folders_.contains(path) || read_only_.contains(path)) {
    throw RuntimeError(ErrorNumber::kPermissionDenied, path_as_given);
  }
  files_.try_emplace(path);
  Record("open " + path);
  return std::make_unique<File>(*this, path, true);
}

std::unique_ptr<BinaryFile> MemoryPlatform::OpenForReading(const std::string& path_as_given) {
  const std::string path = Prepare(Operation::kOpen, path_as_given);
  if (!files_.contains(path)) throw RuntimeError(ErrorNumber::kFileNotFound, path_as_given);
  Record("open-for-reading " + path);
  return std::make_unique<File>(*this, path, false);
}

void MemoryPlatform::Remove(const std::string& path_as_given) {
  const std::string path = Prepare(Operation::kRemove, path_as_given);
  if (!files_.contains(path)) throw RuntimeError(ErrorNumber::kFileNotFound, path_as_given);
  if (read_only_.contains(path)) throw RuntimeError(ErrorNumber::kPermissionDenied, path_as_given);
  files_.erase(path);
  Record("remove " + path);
}

void MemoryPlatform::SetCurrentFolder(const std::string& folder) {
  if (!folders_.contains(Resolve(folder))) throw RuntimeError(ErrorNumber::kPathNotFound, folder);
  Record("cd " + folder);
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

std::string MemoryPlatform::FromAnsiCodePage(std::string_view bytes) {
  std::string text;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

void MemoryPlatform::ShowMessage(std::string_view text, MessageIcon icon) {
  messages_.push_back({std::string(text), icon});
  Record("message " + std::string(text));
}

void MemoryPlatform::CreateHiddenWindow(const WindowDescription& window, WindowEvents&) {
  caption_ = window.caption;
  Record("create-window " + caption_);
}

void MemoryPlatform::ShowWindowUntilClosed() { Record("window " + caption_); }

void MemoryPlatform::EndNow(int exit_code) {
  Record("end " + std::to_string(exit_code));
  throw ProgramEnded{exit_code};
}

}  // namespace verdantix
