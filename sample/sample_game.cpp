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

/// Every record in form A or B, and every sequence F or E in the archive window.
void Show(const fs::path& game) {
  auto table = ReadPrefix(game / "data" / "fifa.fat", 201611);
  std::cout << "  data/fifa.fat (" << fs::file_size(game / "data" / "fifa.fat") << " bytes):";
  bool any = false;
  for (std::uint64_t at = verdantix::kFirstRecordOffset; at + 3 <= table.size(); at += 20) {
    bool a = std::equal(table.begin() + static_cast<long>(at),
                        table.begin() + static_cast<long>(at) + 3, verdantix::kFormA);
    bool b = std::equal(table.begin() + static_cast<long>(at),
                        table.begin() + static_cast<long>(at) + 3, verdantix::kFormB);
    if (a || b) {
      std::cout << "\n    offset " << at << ": " << Hex(&table[at])
                << (a ? "  (form A)" : "  (form B)");
      any = true;
    }
  }
  std::cout << (any ? "\n" : " no record in form A or B\n");
  auto archive = ReadPrefix(game / "data" / "zdata_02.big", verdantix::kArchiveWindowSize);
  std::cout << "  data/zdata_02.big (" << fs::file_size(game / "data" / "zdata_02.big")
            << " bytes):";
  any = false;
  for (std::uint64_t at = 0; at + 3 <= archive.size(); ++at) {
    bool f = std::equal(archive.begin() + static_cast<long>(at),
                        archive.begin() + static_cast<long>(at) + 3, verdantix::kSequenceF);
    bool e = std::equal(archive.begin() + static_cast<long>(at),
                        archive.begin() + static_cast<long>(at) + 3, verdantix::kSequenceE);
    if (f || e) {
      std::cout << "\n    offset " << at << ": " << Hex(&archive[at])
                << (f ? "  (\"fes\")" : "  (\"ees\")");
      any = true;
    }
  }
  std::cout << (any ? "\n" : " no \"fes\" or \"ees\" in the first 40,003 bytes\n");
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
