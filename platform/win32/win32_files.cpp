// The Win32 platform's file operations, with the program's meanings of each.
#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_paths.h"
#include "platform/win32/win32_platform.h"

namespace verdantix::win32 {

namespace {

/// ReadFile and WriteFile take 32-bit counts; larger transfers go in pieces of this size.
constexpr std::uint64_t kMaxTransfer = 1u << 30;

/// Synchronous I/O at an absolute 64-bit offset, leaving no file position behind.
OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

DWORD Piece(std::size_t remaining) {
  return static_cast<DWORD>(std::min<std::uint64_t>(remaining, kMaxTransfer));
}

class Win32File : public BinaryFile {
 public:
  Win32File(HANDLE handle, std::string path) : handle_(handle), path_(std::move(path)) {}

  std::uint64_t Length() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_.get(), &size)) throw LastError(path_);
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  void ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    while (!out.empty()) {
      OVERLAPPED at = At(offset);
      DWORD got = 0;
      if (!ReadFile(handle_.get(), out.data(), Piece(out.size()), &got, &at)) {
        throw LastError(path_);
      }
      if (got == 0) throw RuntimeError(ErrorNumber::kInputPastEndOfFile, path_);
      out = out.subspan(got);
      offset += got;
    }
  }

  void Flush() override {
    if (!FlushFileBuffers(handle_.get())) throw LastError(path_);
  }

  void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
    while (!bytes.empty()) {
      OVERLAPPED at = At(offset);
      DWORD put = 0;
      if (!WriteFile(handle_.get(), bytes.data(), Piece(bytes.size()), &put, &at)) {
        throw LastError(path_);
      }
      bytes = bytes.subspan(put);
      offset += put;
    }
  }

 private:
  Handle handle_;
  std::string path_;
};

HANDLE Open(const std::string& path, DWORD access, DWORD sharing, DWORD disposition) {
  return CreateFileW(ApiPath(path).c_str(), access, sharing, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD Attributes(const std::string& path) { return GetFileAttributesW(ApiPath(path).c_str()); }

/// Windows refuses to write to or delete a read-only file. Wine stores the attribute as the
/// file's write permission, which a Wine run by root bypasses, so the attribute is checked here
/// as well: on Windows the outcome is the same.
void RequireWritableIfPresent(const std::string& path) {
  DWORD attributes = Attributes(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
      !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    throw RuntimeError(ErrorNumber::kPermissionDenied, path);
  }
}

/// `folder` ending in a separator: the form in which Windows keeps a final blank of its name.
std::wstring WithSeparator(std::wstring folder) {
  if (!folder.ends_with(L'\\')) folder += L'\\';
  return folder;
}

/// True for paths that differ at most in letter case, which name the same file on Windows.
bool SameName(const std::wstring& a, const std::wstring& b) {
  // Both are paths, of at most kMaxPathLength characters.
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

void Win32Platform::CreateFolder(const std::string& path) {
  if (!CreateDirectoryW(ApiPath(path).c_str(), nullptr)) {
    throw LastError(path, ErrorNumber::kPathNotFound);
  }
}

bool Win32Platform::FileExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  constexpr DWORD kNotAPlainFile =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & kNotAPlainFile);
}

bool Win32Platform::FolderExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::unique_ptr<BinaryFile> Win32Platform::OpenBinary(const std::string& path) {
  RequireWritableIfPresent(path);
  HANDLE handle = Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
  if (handle == INVALID_HANDLE_VALUE) throw LastError(path);
  return std::make_unique<Win32File>(handle, path);
}

std::unique_ptr<BinaryFile> Win32Platform::OpenForReading(const std::string& path) {
  HANDLE handle = Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  if (handle == INVALID_HANDLE_VALUE) throw LastError(path);
  return std::make_unique<Win32File>(handle, path);
}

void Win32Platform::Remove(const std::string& path) {
  RequireWritableIfPresent(path);
  if (!DeleteFileW(ApiPath(path).c_str())) throw LastError(path);
}

void Win32Platform::SetCurrentFolder(const std::string& folder) {
  // Windows keeps the current folder as a plain path, joins every later relative name to it and
  // trims the result by its rules (gfxpak1's names too), so no prefix can keep it exact. With a
  // trailing separator a final blank stays, but a dot that ends a name goes wherever it is:
  // what Windows kept is checked, and a folder it cannot keep exactly is refused, the current
  // folder left as it was, rather than another folder made current.
  const std::wstring wanted = PlainPath(folder), before = CurrentFolder();
  if (!SetCurrentDirectoryW(WithSeparator(wanted).c_str())) {
    throw LastError(folder, ErrorNumber::kPathNotFound);
  }
  if (!SameName(CurrentFolder(), wanted)) {
    SetCurrentDirectoryW(WithSeparator(before).c_str());
    throw RuntimeError(ErrorNumber::kPathNotFound, folder);
  }
}

}  // namespace verdantix::win32
