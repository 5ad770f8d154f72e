// The index patch's steps over the game's files; the scans themselves are in scans.cpp.
#include "patch/index_patch.h"

#include <cstdint>
#include <vector>

namespace verdantix {

namespace {

/// The part of a file that a scan examines, as read at one step and written back at another.
struct FileWindow {
  ByteRange range;
  std::vector<std::uint8_t> bytes;
};

/// Opens `path`, reads the bytes of `window_of(length)` and closes it. An empty file cannot be
/// read into the buffer: error 9.
FileWindow ReadWindow(FileSystem& files, const std::string& path,
                      ByteRange (*window_of)(std::uint64_t)) {
  auto file = files.OpenBinary(path);
  std::uint64_t length = file->Length();
  if (length == 0) throw RuntimeError(ErrorNumber::kSubscriptOutOfRange, path);
  FileWindow window{window_of(length), {}};
  window.bytes.resize(static_cast<std::size_t>(window.range.length));
  file->ReadAt(window.range.offset, window.bytes);
  return window;
}

/// Applies `change` and writes the window back in place, so the file keeps its length; the
/// write happens whether or not anything changed, and reaches the disk before this returns.
void WriteWindow(FileSystem& files, const std::string& path, FileWindow& window,
                 const std::optional<ByteChange>& change) {
  if (change)
    window.bytes[static_cast<std::size_t>(change->offset - window.range.offset)] = change->value;
  auto file = files.OpenBinary(path);
  file->WriteAt(window.range.offset, window.bytes);
  file->Flush();
}

}  // namespace

Outcome RunIndexPatch(FileSystem& files) {
  const std::string table_path = files.PathOf(kFileTablePath);
  files.Copy(table_path, files.PathOf(kFileTableBackupPath));

  FileWindow table = ReadWindow(files, table_path, FileTableWindow);
  WriteWindow(files, table_path, table, ScanFileTable(table.bytes, table.range.offset));

  const std::string archive_path = files.PathOf(kArchivePath);
  FileWindow archive = ReadWindow(files, archive_path, ArchiveWindow);
  ArchiveScan scan = ScanArchive(archive.bytes, archive_path);
  WriteWindow(files, archive_path, archive, scan.change);
  return scan.outcome;
}

}  // namespace verdantix
