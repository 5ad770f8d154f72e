// Win32Platform::Copy: a temporary copy that the program holds from its creation to its rename
// over the target, and the removal of what a killed run left.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_paths.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"

namespace verdantix::win32 {

namespace {

/// A temporary copy is named with this prefix, 16 lower-case hexadecimal digits and this suffix.
constexpr std::wstring_view kTemporaryPrefix = L"~verdantix-", kTemporarySuffix = L".tmp";
constexpr std::size_t kTemporaryDigits = 16;
/// The bytes of one read and one write of a copy.
constexpr DWORD kCopyPiece = 1 << 20;

bool IsTemporaryName(std::wstring_view name) {
  if (name.size() != kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size() ||
      !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
    return false;
  }
  return std::ranges::all_of(name.substr(kTemporaryPrefix.size(), kTemporaryDigits), [](wchar_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
  });
}

/// Marks the open `file` to be deleted when its last handle closes, or cancels that.
bool SetDeletePending(HANDLE file, bool pending) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = pending;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

/// Deletes the leftover at `path`: the entry itself, never what a link of that name points to,
/// and not while a running copy of the program holds it (it shares no deletion, so the open
/// fails). Older versions gave the copy its source's attributes, and Windows deletes no
/// read-only file: the attribute is cleared first, unless the file has other names (links).
void RemoveLeftover(const std::wstring& path) {
  constexpr DWORD kAccess = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  Handle leftover(CreateFileW(path.c_str(), kAccess, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!leftover) return;
  FILE_BASIC_INFO basic{};
  FILE_STANDARD_INFO standard{};
  if (GetFileInformationByHandleEx(leftover.get(), FileBasicInfo, &basic, sizeof basic) &&
      (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) &&
      GetFileInformationByHandleEx(leftover.get(), FileStandardInfo, &standard, sizeof standard) &&
      standard.NumberOfLinks == 1) {
    basic = {};  // times of zero are left as they are
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(leftover.get(), FileBasicInfo, &basic, sizeof basic);
  }
  SetDeletePending(leftover.get(), true);
}

/// Removes from `folder` the temporary copies that killed runs left: files only, named exactly
/// as the program names them.
void RemoveLeftovers(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const std::wstring pattern = folder + L'\\' + std::wstring(kTemporaryPrefix) + L'*';
  HANDLE search =
      FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTemporaryName(found.cFileName)) {
      RemoveLeftover(folder + L'\\' + found.cFileName);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

/// The source open for reading: a folder is error 75, a missing file 53, one held open 70.
Handle OpenSource(const std::string& source) {
  const std::wstring path = ApiPath(source);
  Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file) return file;
  const DWORD error = GetLastError();
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    throw RuntimeError(ErrorNumber::kPathFileAccessError, source);
  }
  throw ErrorFromWin32(error, source);
}

/// A target is refused where Windows' own copy refuses it: a read-only, hidden or system file,
/// or a folder (a rename would replace a hidden file, and under Wine run by root a read-only one).
void RequireReplaceable(const std::string& target, const std::wstring& path) {
  constexpr DWORD kRefused = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kRefused)) {
    throw RuntimeError(ErrorNumber::kPermissionDenied, target);
  }
}

/// A new file in the target's folder under a name no one can guess, that no other program can
/// open and that the system deletes when the program closes it, or ends killed, unless it has
/// replaced the target by then.
class TemporaryCopy {
 public:
  TemporaryCopy(const std::wstring& folder, const std::string& target)
      // CREATE_NEW: never a file that was there, nor one that a link of that name points to.
      : file_(CreateFileW((folder + NewName()).c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!file_) throw LastError(target);
    pending_ = SetDeletePending(file_.get(), true);
  }
  TemporaryCopy(const TemporaryCopy&) = delete;
  TemporaryCopy& operator=(const TemporaryCopy&) = delete;
  ~TemporaryCopy() {
    if (!replaced_) SetDeletePending(file_.get(), true);
  }

  HANDLE get() const { return file_.get(); }

  /// Puts the copy on the disk, then renames it over `target_path` in one step: the target's
  /// entry is replaced, a link there included (never what it points to); refused while a
  /// program holds the target open.
  void Replace(const std::wstring& target_path, const std::string& target) {
    if (!FlushFileBuffers(file_.get()) || (pending_ && !SetDeletePending(file_.get(), false))) {
      throw LastError(target);
    }
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + target_path.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->FileNameLength = static_cast<DWORD>(target_path.size() * sizeof(wchar_t));
    std::ranges::copy(target_path, rename->FileName);
    if (!SetFileInformationByHandle(file_.get(), FileRenameInfo, rename,
                                    static_cast<DWORD>(buffer.size()))) {
      throw LastError(target);
    }
    replaced_ = true;
    FlushFileBuffers(file_.get());  // the rename too, where the file system logs it with the file
  }

 private:
  static std::wstring NewName() {
    static std::random_device random;
    char name[40];
    std::snprintf(name, sizeof name, "\\~verdantix-%08x%08x.tmp", random(), random());
    return Wide(name);
  }

  Handle file_;
  bool pending_ = false;
  bool replaced_ = false;
};

void CopyBytes(HANDLE from, HANDLE to, const std::string& source, const std::string& target) {
  std::vector<std::uint8_t> piece(kCopyPiece);
  for (DWORD got = 0;;) {
    if (!ReadFile(from, piece.data(), kCopyPiece, &got, nullptr)) throw LastError(source);
    if (got == 0) return;
    // A disk that fills up writes part of a piece and fails on the next write; a write of
    // nothing that reports success would otherwise never end.
    for (DWORD written = 0, put = 0; written < got; written += put) {
      if (!WriteFile(to, piece.data() + written, got - written, &put, nullptr)) {
        throw LastError(target);
      }
      if (put == 0) throw ErrorFromWin32(ERROR_DISK_FULL, target);
    }
  }
}

}  // namespace

void Win32Platform::Copy(const std::string& source, const std::string& target) {
  // The copy is made whole beside the target, then put in its place in one step: a copy that
  // fails (a full disk) leaves the previous target as it was. From its creation to its rename
  // the program holds it and the system would delete it: a killed program leaves it by name only
  // between the cancelled deletion and the rename, and a power cut anywhere; the next copy into
  // that folder removes it.
  Handle from = OpenSource(source);
  const std::wstring target_path = ApiPath(target);
  RequireReplaceable(target, target_path);
  const std::wstring folder = target_path.substr(0, target_path.rfind(L'\\'));
  RemoveLeftovers(folder);
  TemporaryCopy copy(folder, target);
  CopyBytes(from.get(), copy.get(), source, target);
  copy.Replace(target_path, target);
}

}  // namespace verdantix::win32
