// libFuzzer target: the index patch, which reads and writes only the bytes its scans examine,
// against a dozen-line model of its rules on whole files. On file tables and archives of any
// length (around 1,611, 201,611 and 40,003 bytes most of all) both must leave the same bytes
// and end the same way: the same outcome, or the same run-time error.
#include <cstddef>
#include <cstdint>
#include <tuple>
#include <vector>

#include "patch/index_patch.h"
#include "platform/memory/memory_platform.h"

namespace {

using verdantix::Outcome;
using Bytes = std::vector<std::uint8_t>;

struct Result {
  int error = 0;
  Outcome outcome = Outcome::kNone;
  bool operator==(const Result&) const = default;
};

/// The rules on whole files, changing them in place as the program writes them back.
Result Model(Bytes& table, Bytes& archive) {
  if (table.empty()) return {9};
  for (std::size_t k = 0, p = 1608; k <= 10000 && p + 3 <= table.size(); ++k, p += 20) {
    if ((table[p] == 0x08 || table[p] == 0x01) && table[p + 1] == 0x84 && table[p + 2] == 0xE8) {
      table[p] = table[p] == 0x08 ? 0x01 : 0x08;
      break;
    }
  }
  if (archive.empty()) return {9};
  for (auto [from, to, outcome] :
       {std::tuple{'f', 'e', Outcome::kInstalled}, std::tuple{'e', 'f', Outcome::kUninstalled}}) {
    for (std::size_t i = 0; i <= 40000; ++i) {
      if (i + 2 > archive.size() - 1) return {9};
      if (archive[i] == from && archive[i + 1] == 'e' && archive[i + 2] == 's') {
        archive[i] = static_cast<std::uint8_t>(to);
        return {0, outcome};
      }
    }
  }
  return {};
}

/// The fuzzer's bytes, one after another; zeros once they run out.
struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::uint32_t Next(int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | Byte();
    return value;
  }
  std::uint8_t Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input{data, size};
  // Lengths near the rules' edges most of the time: 1,611 and 201,611 bytes for the file table,
  // 40,003 for the archive.
  const std::uint32_t t = input.Next(2), a = input.Next(2);
  const std::size_t table_lengths[] = {1600 + t / 4 % 24, 201600 + t / 4 % 24, t / 4 % 4096,
                                       t / 4 % 260000};
  const std::size_t archive_lengths[] = {39995 + a / 3 % 16, a / 3 % 41000, 40003 + a / 3 % 2000};
  Bytes table(table_lengths[t % 4], 0x20), archive(archive_lengths[a % 3], 'a');
  // Then edits: a position and what to write there, a form or a sequence or one byte.
  while (input.size > 0) {
    const std::uint32_t at = input.Next(3), what = input.Next(1);
    static constexpr std::uint8_t kPieces[][3] = {
        {0x08, 0x84, 0xE8}, {0x01, 0x84, 0xE8}, {'f', 'e', 's'}, {'e', 'e', 's'}};
    Bytes& file = what % 2 == 0 && !table.empty() ? table : archive;
    if (file.empty()) continue;
    const std::size_t length = what < 128 ? 3 : 1;
    for (std::size_t i = 0; i < length && at % file.size() + i < file.size(); ++i) {
      file[at % file.size() + i] =
          length == 3 ? kPieces[what / 2 % 4][i] : static_cast<std::uint8_t>(what);
    }
  }

  verdantix::MemoryPlatform disk;
  const std::string table_path = disk.PathOf(verdantix::kFileTablePath);
  const std::string archive_path = disk.PathOf(verdantix::kArchivePath);
  disk.AddFile(table_path, table);
  disk.AddFile(archive_path, archive);
  Result patched;
  try {
    patched.outcome = verdantix::RunIndexPatch(disk);
  } catch (const verdantix::RuntimeError& error) {
    patched.error = error.code();
  }
  const Bytes original = table;
  const Result modelled = Model(table, archive);
  if (patched != modelled || disk.FileBytes(table_path) != table ||
      disk.FileBytes(archive_path) != archive ||
      disk.FileBytes(disk.PathOf(verdantix::kFileTableBackupPath)) != original) {
    __builtin_trap();
  }
  return 0;
}
