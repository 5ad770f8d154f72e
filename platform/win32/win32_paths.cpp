// Absolute paths cleaned up by the program, in the form that Windows does not trim.
#include "platform/win32/win32_paths.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_text.h"

namespace verdantix::win32 {

namespace {

constexpr std::wstring_view kVerbatimPrefix = L"\\\\?\\";
constexpr std::wstring_view kVerbatimUncPrefix = L"\\\\?\\UNC\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";

/// `path` made absolute and cleaned up by Windows' own rules.
std::wstring FullPath(const std::wstring& path) {
  std::wstring full(kMaxPathLength + 1, L'\0');
  const DWORD length =
      GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  full.resize(length < full.size() ? length : 0);
  return full;
}

/// Where the segments of `path` (backslashes only) begin: after "C:" or "\\server\share";
/// npos for a path that is not absolute.
std::size_t RootEnd(std::wstring_view path) {
  if (path.size() >= 2 && path[1] == L':') return 2;
  if (!path.starts_with(L"\\\\")) return std::wstring_view::npos;
  const std::size_t server_end = std::min(path.find(L'\\', 2), path.size());
  return std::min(path.find(L'\\', server_end + 1), path.size());
}

bool IsVerbatim(std::wstring_view path) {
  return path.starts_with(kVerbatimPrefix) || path.starts_with(kDevicePrefix);
}

/// `path` absolute, with a root and its segments resolved, or as it is in a verbatim form.
std::wstring Resolved(std::wstring path) {
  if (IsVerbatim(path)) return path;
  std::ranges::replace(path, L'/', L'\\');
  if (RootEnd(path) == std::wstring::npos) {
    path.insert(0, path.starts_with(L'\\') ? FullPath(L"\\") : CurrentFolder() + L'\\');
    if (IsVerbatim(path)) return path;
  }
  const std::size_t root_end = std::min(RootEnd(path), path.size());
  std::wstring resolved = path.substr(0, root_end);
  for (std::size_t start = root_end; start < path.size();) {
    const std::size_t end = std::min(path.find(L'\\', start), path.size());
    const std::wstring_view segment = std::wstring_view(path).substr(start, end - start);
    if (segment == L"..") {
      if (resolved.size() > root_end) resolved.resize(resolved.rfind(L'\\'));
    } else if (!segment.empty() && segment != L".") {
      (resolved += L'\\') += segment;
    }
    start = end + 1;
  }
  if (resolved.size() == root_end) resolved += L'\\';
  return resolved;
}

}  // namespace

std::wstring ApiPath(std::string_view path) {
  std::wstring api = Resolved(Wide(path));
  if (!IsVerbatim(api)) {
    const bool unc = api.starts_with(L"\\\\");  // "\\server\share": "\\?\UNC\server\share"
    api.replace(0, unc ? 2 : 0, unc ? kVerbatimUncPrefix : kVerbatimPrefix);
  }
  if (api.size() > kMaxPathLength) {
    throw ErrorFromWin32(ERROR_FILENAME_EXCED_RANGE, std::string(path));
  }
  return api;
}

std::wstring PlainPath(std::string_view path) {
  std::wstring plain = Resolved(Wide(path));
  if (plain.starts_with(kVerbatimUncPrefix))
    return L"\\\\" + plain.substr(kVerbatimUncPrefix.size());
  if (plain.starts_with(kVerbatimPrefix)) return plain.substr(kVerbatimPrefix.size());
  return plain;
}

bool IsKeptByWindows(const std::wstring& plain) { return FullPath(plain) == plain; }

std::wstring CurrentFolder() {
  std::wstring folder(kMaxPathLength + 1, L'\0');
  const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
  folder.resize(length < folder.size() ? length : 0);
  return folder;
}

}  // namespace verdantix::win32
