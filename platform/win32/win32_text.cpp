// Text and path conversion for the wide-character Win32 API.
#include "platform/win32/win32_text.h"

#include <windows.h>

#include <vector>

namespace verdantix::win32 {

namespace {

/// CreateDirectoryW's limit (MAX_PATH less room for an 8.3 name) is the lowest of them all.
constexpr std::size_t kLongPath = MAX_PATH - 12;

constexpr std::wstring_view kVerbatimPrefix = L"\\\\?\\";
constexpr std::wstring_view kVerbatimUncPrefix = L"\\\\?\\UNC\\";

int Length(std::size_t size) { return static_cast<int>(size); }

std::wstring FullPath(const std::wstring& path) {
  std::vector<wchar_t> buffer(path.size() + MAX_PATH);
  for (;;) {
    DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) return path;
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(length);
  }
}

}  // namespace

std::wstring Wide(std::string_view text) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), Length(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), Length(text.size()), wide.data(), size);
  return wide;
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), Length(text.size()), nullptr, 0, nullptr,
                                 nullptr);
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), Length(text.size()), narrow.data(), size, nullptr,
                      nullptr);
  return narrow;
}

std::wstring ApiPath(const std::string& path) {
  std::wstring wide = Wide(path);
  if (wide.size() < kLongPath || wide.starts_with(kVerbatimPrefix)) return wide;
  // The prefix turns off the system's own clean-up of the path, so it is done first.
  std::wstring full = FullPath(wide);
  if (full.starts_with(kVerbatimPrefix) || full.starts_with(L"\\\\.\\")) return full;
  if (full.starts_with(L"\\\\")) {
    return std::wstring(kVerbatimUncPrefix) + full.substr(2);
  }
  return std::wstring(kVerbatimPrefix) + full;
}

}  // namespace verdantix::win32
