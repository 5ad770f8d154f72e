// Names found as Windows finds them, for game folders that come from a Windows installation.
//
// Letter case is compared as Windows (and Wine) compare it: each name in upper case code point
// by code point, with Unicode's simple upper-case mapping (towupper in C.UTF-8); without that
// locale, ASCII letters only ("C"): never by the user's locale, which GTK makes the C library's.
// When several entries of a folder match, the first in byte order is taken, so the choice does not
// depend on the order in which the folder lists them.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cwchar>
#include <cwctype>
#include <optional>
#include <string_view>

#include "platform/posix/posix_files.h"

namespace verdantix::posix {

namespace {

/// `name` in upper case; a byte that is not part of UTF-8 stands for itself, apart from any
/// letter.
std::u32string UnicodeUpperCase(std::string_view name) {
  static const locale_t folding = [] {
    const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return utf8 ? utf8 : newlocale(LC_CTYPE_MASK, "C", locale_t{});
  }();
  const locale_t previous = uselocale(folding);
  std::u32string upper;
  std::mbstate_t state{};
  for (std::size_t at = 0; at < name.size();) {
    wchar_t c = 0;
    std::size_t used = std::mbrtowc(&c, name.data() + at, name.size() - at, &state);
    if (used == 0 || used > name.size() - at) {
      c = static_cast<wchar_t>(0xDC00 + static_cast<unsigned char>(name[at]));
      used = 1;
      state = {};
    }
    upper += static_cast<char32_t>(std::towupper(static_cast<wint_t>(c)));
    at += used;
  }
  uselocale(previous);
  return upper;
}

/// UnicodeUpperCase, without loading a locale for the plain ASCII names that games have.
std::u32string UpperCase(std::string_view name) {
  if (!std::ranges::all_of(name, [](unsigned char c) { return c < 0x80; })) {
    return UnicodeUpperCase(name);
  }
  std::u32string upper(name.begin(), name.end());
  for (char32_t& c : upper) c = c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c;
  return upper;
}

/// The entry of `folder` that equals `name` ignoring letter case, the first in byte order.
std::optional<std::string> EntryIgnoringCase(const std::string& folder, std::string_view name) {
  DIR* listing = opendir(folder.c_str());
  if (listing == nullptr) return std::nullopt;
  const std::u32string wanted = UpperCase(name);
  std::optional<std::string> found;
  while (const dirent* entry = readdir(listing)) {
    std::string_view candidate = entry->d_name;
    if (candidate == "." || candidate == ".." || (found && candidate >= *found)) continue;
    if (UpperCase(candidate) == wanted) found = std::string(candidate);
  }
  closedir(listing);
  return found;
}

}  // namespace

std::string FindIgnoringCase(const std::string& root, const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) == 0 || (errno != ENOENT && errno != ENOTDIR)) return path;
  if (root.empty() || path.size() <= root.size() + 1 || !path.starts_with(root) ||
      path[root.size()] != '/') {
    return path;
  }
  const std::size_t slash = path.find_last_of('/');
  const std::string parent = path.substr(0, slash);
  const std::string found_parent = slash > root.size() ? FindIgnoringCase(root, parent) : parent;
  std::string spelled = found_parent + path.substr(slash);
  if (found_parent != parent && lstat(spelled.c_str(), &status) == 0) return spelled;
  auto entry = EntryIgnoringCase(found_parent, std::string_view(path).substr(slash + 1));
  return entry ? found_parent + '/' + *entry : spelled;
}

}  // namespace verdantix::posix
