// The index patch's steps over the platform's files; the scans themselves are in scans.cpp.
#include "patch/index_patch.h"

#include <cstdint>
#include <vector>

#include "patch/scans.h"

namespace verdantix {

namespace {

/// The part of a file that a scan examines, as read at one step and written back at another.
struct FileWindow {
  ByteRange range;
  std::vector<std::uint8_t> bytes;
};

/// Opens `path`, reads the bytes of `window_of(length)` and closes it. An empty file cannot be
/// read into the buffer: error 9.
FileWindow ReadWindow(Platform& platform, const std::string& path,
                      ByteRange (*window_of)(std::uint64_t)) {
  auto file = platform.OpenBinary(path);
  std::uint64_t length = file->Length();
  if (length == 0) throw RuntimeError(ErrorNumber::kSubscriptOutOfRange, path);
  FileWindow window{window_of(length), {}};
  window.bytes.resize(static_cast<std::size_t>(window.range.length));
  file->ReadAt(window.range.offset, window.bytes);
  return window;
}

/// Applies `change` and writes the window back in place, so the file keeps its length; the
/// write happens whether or not anything changed.
void WriteWindow(Platform& platform, const std::string& path, FileWindow& window,
                 const std::optional<ByteChange>& change) {
  if (change)
    window.bytes[static_cast<std::size_t>(change->offset - window.range.offset)] = change->value;
  auto file = platform.OpenBinary(path);
  file->WriteAt(window.range.offset, window.bytes);
}

}  // namespace

void RunIndexPatch(Platform& platform) {
  const std::string table_path = platform.PathOf(kFileTablePath);
  platform.Copy(table_path, platform.PathOf(kFileTableBackupPath));

  FileWindow table = ReadWindow(platform, table_path, FileTableWindow);
  WriteWindow(platform, table_path, table, ScanFileTable(table.bytes));

  const std::string archive_path = platform.PathOf(kArchivePath);
  FileWindow archive = ReadWindow(platform, archive_path, ArchiveWindow);
  ArchiveScan scan = ScanArchive(archive.bytes, archive_path);
  WriteWindow(platform, archive_path, archive, scan.change);

  if (scan.outcome == Outcome::kInstalled)
    platform.ShowMessage(kInstalledMessage, MessageIcon::kNone);
  if (scan.outcome == Outcome::kUninstalled)
    platform.ShowMessage(kUninstalledMessage, MessageIcon::kNone);
  platform.EndProgram(0);
}

}  // namespace verdantix
