// The platform-independent part of the platform interface: forming paths, ending the program.
#include "platform/platform.h"

#include <cstdlib>

namespace verdantix {

std::string FileSystem::PathOf(std::string_view relative) {
  std::string path = GameFolder();
  path.reserve(path.size() + relative.size());
  for (char c : relative) path += c == '\\' ? Separator() : c;
  return path;
}

void Platform::EndProgram(int exit_code) {
  EndNow(exit_code);
  std::abort();  // EndNow never returns; this only tells the compiler so.
}

}  // namespace verdantix
