// What the tests share: the memory platform, errors, file bytes, case names, a temporary folder.
#pragma once

#include <gmock/gmock.h>

#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/memory/memory_platform.h"
#include "platform/runtime_error.h"

namespace verdantix {

/// Matches a callable that throws RuntimeError `number` naming `subject`.
inline auto ThrowsRuntimeError(ErrorNumber number, const std::string& subject) {
  return testing::Throws<RuntimeError>(
      testing::AllOf(testing::Property("number", &RuntimeError::code, static_cast<int>(number)),
                     testing::Property("subject", &RuntimeError::subject, subject)));
}

/// Runs `action` and returns the number of the RuntimeError it throws, 0 when none.
template <typename Action>
int ErrorOf(Action action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.code();
  }
  return 0;
}

using Pieces = std::vector<std::pair<std::string_view, std::size_t>>;  ///< bytes and offset

/// `length` bytes 0x77 with each piece written at its offset, cut at the end.
inline std::vector<std::uint8_t> Filled(std::size_t length, const Pieces& pieces) {
  std::vector<std::uint8_t> file(length, 0x77);
  for (auto [piece, at] : pieces) {
    for (std::size_t i = 0; i < piece.size() && at + i < length; ++i) {
      file[at + i] = static_cast<std::uint8_t>(piece[i]);
    }
  }
  return file;
}

/// Names each case of a table by its `name` field: INSTANTIATE_TEST_SUITE_P(..., CaseName()).
inline auto CaseName() {
  return [](const auto& test_case) { return std::string(test_case.param.name); };
}

/// A new empty folder under the system's temporary folder, removed with all it holds, read-only
/// files included; a test that made it the current folder is moved out of it first.
class TemporaryFolder {
 public:
  TemporaryFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("verdantix-" + std::to_string(std::random_device()()))) {
    std::filesystem::create_directories(path_);
  }
  ~TemporaryFolder() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    if (fs::current_path(ignored).native().starts_with(path_.native())) {
      fs::current_path(path_.parent_path(), ignored);
    }
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace verdantix
