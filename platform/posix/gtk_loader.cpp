// Loads the GTK front, carried inside the program as a module, only when a display is named.
//
// Linking GTK directly would map and relocate some seventy libraries at every start (about
// 50 ms and 10 MiB), terminal runs included. Carried as bytes and loaded from memory, the module
// costs nothing without a display, and the program stays a single file.
#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/posix/gtk_ui.h"

__asm__(
    ".section .rodata\n"
    ".balign 64\n"
    ".global verdantix_gtk_module_begin\n"
    ".hidden verdantix_gtk_module_begin\n"
    "verdantix_gtk_module_begin:\n"
    ".incbin \"" VERDANTIX_GTK_MODULE
    "\"\n"
    ".global verdantix_gtk_module_end\n"
    ".hidden verdantix_gtk_module_end\n"
    "verdantix_gtk_module_end:\n"
    ".previous\n");

extern "C" const char verdantix_gtk_module_begin[];
extern "C" const char verdantix_gtk_module_end[];

namespace verdantix::posix {

namespace {

/// Writes the module into an anonymous in-memory file; -1 when that fails.
int ModuleInMemory() {
  int fd = memfd_create("verdantix-gtk", MFD_CLOEXEC);
  if (fd < 0) return -1;
  for (const char* at = verdantix_gtk_module_begin; at < verdantix_gtk_module_end;) {
    ssize_t put = write(fd, at, static_cast<std::size_t>(verdantix_gtk_module_end - at));
    if (put <= 0) {
      close(fd);
      return -1;
    }
    at += put;
  }
  return fd;
}

/// Says in one line why a display that is named goes unused; the terminal front follows.
std::unique_ptr<Ui> Unusable(const std::string& why) {
  std::fprintf(stderr, "verdantix-installer: %s; using the terminal instead\n", why.c_str());
  return nullptr;
}

}  // namespace

std::unique_ptr<Ui> LoadGtkUi() {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return nullptr;
  int fd = ModuleInMemory();
  if (fd < 0) return Unusable("the GTK front cannot be unpacked");
  void* module = dlopen(("/proc/self/fd/" + std::to_string(fd)).c_str(), RTLD_NOW | RTLD_LOCAL);
  close(fd);
  if (!module) return Unusable(std::string("GTK 3 cannot be loaded: ") + dlerror());
  auto create = reinterpret_cast<Ui* (*)()>(dlsym(module, "verdantix_create_gtk_ui"));
  std::unique_ptr<Ui> ui(create ? create() : nullptr);
  return ui ? std::move(ui) : Unusable("GTK cannot open the display");
}

}  // namespace verdantix::posix
