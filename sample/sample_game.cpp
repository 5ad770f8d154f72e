// Lays out a sample game folder for the demo, the tests and the benchmarks, and shows the bytes
// the index patch switches.
//
//   sample-game create DIR [ARCHIVE_BYTES [TABLE_BYTES]]
//   sample-game show DIR
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "patch/scans.h"
#include "sample/sample_files.h"

namespace fs = std::filesystem;
using verdantix::sample::kArchiveFOffset;
using verdantix::sample::kFormARecord;

namespace {

void Write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

/// Writes the archive's window and leaves the rest a hole, so that gigabytes cost nothing.
void WriteArchive(const fs::path& path, std::uint64_t length) {
  auto window = verdantix::sample::ArchiveWindowBytes(length);
  Write(path, window);
  fs::resize_file(path, length);
}

std::vector<std::uint8_t> ReadPrefix(const fs::path& path, std::uint64_t length) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes(length);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(length));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

std::string Hex(const std::uint8_t* bytes) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X %02X %02X", bytes[0], bytes[1], bytes[2]);
  return text;
}

/// One of the two three-byte patterns a scan switches between, and how to name it.
struct Pattern {
  const std::uint8_t (&bytes)[3];
  const char* name;
};

/// Lists the offsets from `first`, every `step` bytes, where `bytes` holds either pattern.
void ShowMatches(const fs::path& file, std::uint64_t window, std::uint64_t first,
                 std::uint64_t step, const Pattern (&patterns)[2], const char* none) {
  auto bytes = ReadPrefix(file, window);
  std::cout << "  " << file.parent_path().filename().string() << '/' << file.filename().string()
            << " (" << fs::file_size(file) << " bytes):";
  bool any = false;
  for (std::uint64_t at = first; at + 3 <= bytes.size(); at += step) {
    for (const Pattern& pattern : patterns) {
      if (std::equal(std::begin(pattern.bytes), std::end(pattern.bytes), &bytes[at])) {
        std::cout << "\n    offset " << at << ": " << Hex(&bytes[at]) << "  (" << pattern.name
                  << ')';
        any = true;
      }
    }
  }
  std::cout << (any ? "\n" : none) << (any ? "" : "\n");
}

/// Every record in form A or B, and every sequence F or E in the archive window.
void Show(const fs::path& game) {
  ShowMatches(
      game / "data" / "fifa.fat", 201611, verdantix::kFirstRecordOffset, verdantix::kRecordSize,
      {{verdantix::kFormA, "form A"}, {verdantix::kFormB, "form B"}}, " no record in form A or B");
  ShowMatches(game / "data" / "zdata_02.big", verdantix::kArchiveWindowSize, 0, 1,
              {{verdantix::kSequenceF, "\"fes\""}, {verdantix::kSequenceE, "\"ees\""}},
              " no \"fes\" or \"ees\" in the first 40,003 bytes");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::string verb = argc > 2 ? argv[1] : "";
    fs::path game = argc > 2 ? argv[2] : "";
    if (verb == "create") {
      std::uint64_t archive_bytes = argc > 3 ? std::stoull(argv[3]) : 3u << 20;
      std::uint64_t table_bytes = argc > 4 ? std::stoull(argv[4]) : 400u << 10;
      Write(game / "data" / "fifa.fat", verdantix::sample::FileTableBytes(table_bytes));
      WriteArchive(game / "data" / "zdata_02.big", archive_bytes);
      for (const auto& [relative, bytes] : verdantix::sample::OtherGameFiles()) {
        Write(game / relative, bytes);
      }
      return 0;
    }
    if (verb == "show") {
      Show(game);
      return 0;
    }
    std::cerr << "usage: sample-game create DIR [ARCHIVE_BYTES [TABLE_BYTES]] | show DIR\n";
  } catch (const std::exception& error) {
    std::cerr << "sample-game: " << error.what() << '\n';
  }
  return 2;
}
