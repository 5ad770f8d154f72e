// The file side of the seam to the operating system: what the patch and the add-on tree need.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/runtime_error.h"

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
  /// Returns once everything written so far is on the disk, not only in the system's cache.
  virtual void Flush() = 0;
};

/// The game installation's files. Paths are native paths (see PathOf); every failure is a
/// RuntimeError naming the path involved. Names are found as Windows finds them: a name that
/// is not there letter for letter is the one entry of its folder that differs only in letter
/// case, and what the program creates keeps the spelling of the folders it found.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// The folder that holds the running executable, without a trailing separator. When it
  /// cannot be found, a run-time error (so the step that needs it fails).
  virtual std::string GameFolder() = 0;
  /// The native path separator: '\\' on Windows, '/' on POSIX.
  virtual char Separator() const = 0;
  /// The game folder followed directly by `relative` ("\data\fifa.fat"), backslashes mapped to
  /// the native separator, names and letter case kept.
  std::string PathOf(std::string_view relative);

  /// Copies the whole file, replacing a target of the same name in one step, once the copy is
  /// on the disk: a copy that fails leaves the target as it was and no stray file. The target
  /// is a normal file (no read-only or hidden attribute taken from the source), never written
  /// through a link. Fails with 53 when the source is missing, 70 when a target is read-only,
  /// hidden or held open.
  virtual void Copy(const std::string& source, const std::string& target) = 0;
  /// Creates one folder whose parent exists; fails (75) when it exists, (76) without parent.
  virtual void CreateFolder(const std::string& path) = 0;
  /// True only for a plain file: a folder, or a hidden or system file, counts as absent.
  virtual bool FileExists(const std::string& path) = 0;
  /// True for a folder of that name.
  virtual bool FolderExists(const std::string& path) = 0;
  /// Opens for binary reading and writing at the first byte, never truncating; creates an
  /// empty file when there is none. Anything but a regular file, or a file another program
  /// holds open, is refused.
  virtual std::unique_ptr<BinaryFile> OpenBinary(const std::string& path) = 0;
  /// Opens an existing regular file for reading only; a missing one is error 53.
  virtual std::unique_ptr<BinaryFile> OpenForReading(const std::string& path) = 0;
  virtual void Remove(const std::string& path) = 0;
};

}  // namespace verdantix
