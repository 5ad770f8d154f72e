// The temporary names of copies being made, and the removal of those that killed runs left.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string_view>

#include "platform/posix/posix_files.h"

namespace verdantix::posix {

namespace {

constexpr char kTemporaryPrefix[] = ".verdantix-";
constexpr std::size_t kPrefixLength = sizeof kTemporaryPrefix - 1;

/// True for the names of NewTemporaryName alone: the prefix and eight lowercase hex digits.
bool IsTemporaryName(std::string_view name) {
  if (name.size() != kPrefixLength + 8 || !name.starts_with(kTemporaryPrefix)) return false;
  return std::ranges::all_of(name.substr(kPrefixLength), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
  });
}

/// Removes `name` from `folder` when it is a regular file (never through a link) that no running
/// copy of the program holds: the lock of its maker is gone, so it was killed.
void RemoveIfUnheld(int folder, const char* name) {
  struct stat status {};
  if (fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(status.st_mode)) return;
  Descriptor file(openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0 || flock(file.get(), LOCK_EX | LOCK_NB) != 0) return;
  // Still that file under that name once locked, not one put there meanwhile.
  if (IsFileNamed(folder, name, file.get())) unlinkat(folder, name, 0);
}

}  // namespace

std::string NewTemporaryName() {
  std::random_device random;
  char name[32];
  std::snprintf(name, sizeof name, "%s%08x", kTemporaryPrefix, random());
  return name;
}

bool IsFileNamed(int folder, const char* name, int file) {
  struct stat named {
  }, opened{};
  return fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && fstat(file, &opened) == 0 &&
         S_ISREG(opened.st_mode) && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

void RemoveLeftovers(int folder) {
  const int listed = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* listing = listed < 0 ? nullptr : fdopendir(listed);
  if (listing == nullptr) {
    if (listed >= 0) close(listed);
    return;
  }
  while (const dirent* entry = readdir(listing)) {
    if (IsTemporaryName(entry->d_name)) RemoveIfUnheld(folder, entry->d_name);
  }
  closedir(listing);
}

}  // namespace verdantix::posix
