// The add-on tree builder's benchmark program: lays out large sources and runs one build.
//
//   addon-bench create GAME TOTAL_BYTES   the copy table's sources, TOTAL_BYTES spread over
//                                         the 102 rows, and "dat_eng.big" so that only the
//                                         102 copies are made
//   addon-bench build GAME                one Command3 action with the POSIX platform
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "addon/addon_tables.h"
#include "addon/addon_tree.h"
#include "platform/posix/posix_platform.h"

namespace fs = std::filesystem;
using namespace verdantix;

namespace {

fs::path Under(const fs::path& game, std::string_view relative) {
  std::string native(relative.substr(1));
  for (char& c : native) c = c == '\\' ? '/' : c;
  return game / native;
}

/// Bytes that no file system can store as a hole or compress away.
void WriteNoise(const fs::path& path, std::uint64_t length, std::uint64_t salt) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<std::uint64_t> block(1 << 17);
  std::uint64_t state = salt * 0x9E3779B97F4A7C15u + 1;
  for (std::uint64_t left = length; left > 0;) {
    for (auto& word : block) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      word = state;
    }
    auto chunk = std::min<std::uint64_t>(left, block.size() * sizeof block[0]);
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(chunk));
    left -= chunk;
  }
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

/// Row i weighs 1 to 17, so the sizes spread from small to large over the table.
void Create(const fs::path& game, std::uint64_t total) {
  auto rows = AddonCopyRows();
  std::vector<std::uint64_t> weights;
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) sum += weights.emplace_back(1 + (i * 7) % 17);
  std::uint64_t written = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::uint64_t size = i + 1 == rows.size() ? total - written : total / sum * weights[i];
    WriteNoise(Under(game, rows[i].source), size, i);
    written += size;
  }
  WriteNoise(Under(game, kLocaleMarker), 1024, rows.size());
}

}  // namespace

int main(int argc, char** argv) {
  std::string verb = argc > 2 ? argv[1] : "";
  try {
    if (verb == "create" && argc == 4) {
      Create(argv[2], std::stoull(argv[3]));
      return 0;
    }
    if (verb == "build" && argc == 3) {
      posix::PosixPlatform platform(posix::CreateTerminalUi(), argv[2]);
      BuildAddonTree(platform);
      return 0;
    }
    std::cerr << "usage: addon-bench create GAME TOTAL_BYTES | build GAME\n";
  } catch (const std::exception& error) {
    std::cerr << "addon-bench: " << error.what() << '\n';
  }
  return 2;
}
