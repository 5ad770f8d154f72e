// The package list's benchmark: reads a large installer.bin as Command2 does, from the disk to
// the records and their command lines, and reports the time against a target.
//
//   list-bench FOLDER MEBIBYTES TARGET   writes FOLDER/installer.bin three ways, reads each and
//                                        fails when one is read slower than TARGET MiB/s
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "installer/command_lines.h"
#include "installer/list_file.h"
#include "installer/package_list.h"
#include "platform/posix/posix_platform.h"

using namespace verdantix;

namespace {

/// `pattern` repeated to `bytes`, after `head`.
std::string Repeated(std::string_view head, std::string_view pattern, std::size_t bytes) {
  std::string text(head);
  text.reserve(bytes);
  while (text.size() + pattern.size() <= bytes) text += pattern;
  return text;
}

/// Milliseconds to read `path` whole and form the commands of every record in it.
double TimeToRead(posix::PosixPlatform& platform, const std::string& path) {
  const auto start = std::chrono::steady_clock::now();
  const std::string text = ReadListText(platform, *platform.OpenForReading(path), path);
  ListFileReader reader(text, path);
  try {
    while (!reader.AtEnd()) {
      const ListRecord record = reader.ReadRecord();
      InstallCommand(record, path);
      RemoveCommand(record);
    }
  } catch (const RuntimeError&) {
    // A list that ends mid-record is read as far as it goes, as the program reads it.
  }
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: list-bench FOLDER MEBIBYTES TARGET\n");
    return 2;
  }
  const std::string path = std::string(argv[1]) + "/installer.bin";
  const std::size_t bytes = std::stoull(argv[2]) << 20;
  const struct {
    const char* name;
    std::string text;
  } lists[] = {
      {"records in ASCII", Repeated("", "\"my file.pak\",b,c,1,e\r\n", bytes)},
      {"records in the ANSI code page", Repeated("", "caf\xE9,b,c,0,e\r\n", bytes)},
      {"one unclosed quote", Repeated("\"", "x", bytes)},
  };
  posix::PosixPlatform platform(posix::CreateTerminalUi(), argv[1]);
  const double target = std::stod(argv[3]);
  bool met = true;
  for (const auto& list : lists) {
    std::ofstream(path, std::ios::binary) << list.text;
    const double ms = TimeToRead(platform, path);
    const double speed = static_cast<double>(bytes >> 20) * 1000 / ms;
    met = met && speed >= target;
    std::printf("  %s, %zu MiB: %.0f ms, %.0f MiB/s (target %.0f)\n", list.name, bytes >> 20, ms,
                speed, target);
  }
  std::filesystem::remove(path);
  return met ? 0 : 1;
}
