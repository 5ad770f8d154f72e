// libFuzzer target: any list yields records and command lines or a RuntimeError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "installer/command_lines.h"
#include "installer/list_file.h"
#include "platform/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  verdantix::ListFileReader reader(text, "installer.bin");
  try {
    // Every record takes at least one byte per item, so the loop is bounded by the size.
    for (std::size_t records = 0; !reader.AtEnd(); ++records) {
      if (records > size) __builtin_trap();
      verdantix::ListRecord record = reader.ReadRecord();
      verdantix::InstallCommand(record, "installer.bin");
      verdantix::RemoveCommand(record);
    }
  } catch (const verdantix::RuntimeError&) {
  }
  return 0;
}
