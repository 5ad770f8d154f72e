// A dozen-line model of the index patch's rules on whole files, and the patch run in memory.
#pragma once

#include <cstdint>
#include <tuple>
#include <vector>

#include "patch/index_patch.h"
#include "platform/memory/memory_platform.h"

namespace verdantix {

/// How a patch ends: its run-time error (0: none), outcome, and the table, archive and back-up.
using PatchEnd = std::tuple<int, Outcome, std::vector<std::uint8_t>, std::vector<std::uint8_t>,
                            std::vector<std::uint8_t>>;

/// The rules on whole files, as the program writes them back.
inline PatchEnd Modelled(std::vector<std::uint8_t> table, std::vector<std::uint8_t> archive) {
  const std::vector<std::uint8_t> backup = table;
  if (table.empty()) return {9, Outcome::kNone, table, archive, backup};
  for (std::size_t k = 0, p = 1608; k <= 10000 && p + 3 <= table.size(); ++k, p += 20) {
    if ((table[p] == 0x08 || table[p] == 0x01) && table[p + 1] == 0x84 && table[p + 2] == 0xE8) {
      table[p] = table[p] == 0x08 ? 0x01 : 0x08;
      break;
    }
  }
  for (auto [from, to, outcome] :
       {std::tuple{'f', 'e', Outcome::kInstalled}, std::tuple{'e', 'f', Outcome::kUninstalled}}) {
    for (std::size_t i = 0; i <= 40000; ++i) {
      if (i + 3 > archive.size()) return {9, Outcome::kNone, table, archive, backup};
      if (archive[i] == from && archive[i + 1] == 'e' && archive[i + 2] == 's') {
        archive[i] = static_cast<std::uint8_t>(to);
        return {0, outcome, table, archive, backup};
      }
    }
  }
  return {0, Outcome::kNone, table, archive, backup};
}

/// The index patch run over the two files on the in-memory platform.
inline PatchEnd Patched(std::vector<std::uint8_t> table, std::vector<std::uint8_t> archive) {
  MemoryPlatform disk;
  const std::string table_path = disk.PathOf("\\data\\fifa.fat");
  const std::string archive_path = disk.PathOf("\\data\\zdata_02.big");
  disk.AddFile(table_path, std::move(table));
  disk.AddFile(archive_path, std::move(archive));
  PatchEnd end;
  try {
    std::get<Outcome>(end) = RunIndexPatch(disk);
  } catch (const RuntimeError& error) {
    std::get<int>(end) = error.code();
  }
  std::get<2>(end) = disk.FileBytes(table_path);
  std::get<3>(end) = disk.FileBytes(archive_path);
  std::get<4>(end) = disk.FileBytes(disk.PathOf("\\data\\fifa.fat.bak"));
  return end;
}

}  // namespace verdantix
