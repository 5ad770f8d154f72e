// libFuzzer target: the patch, reading only what its scans examine, against the whole-file model.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "testing/index_patch_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  // Lengths near the rules' edges most of the time: 1,611 and 201,611 bytes, 40,003 bytes.
  const std::size_t t = input.ConsumeIntegral<std::uint16_t>() / 4;
  const std::size_t a = input.ConsumeIntegral<std::uint16_t>() / 3;
  std::vector<std::uint8_t> table(
      input.PickValueInArray({1600 + t % 24, 201600 + t % 24, t % 4096, t % 260000}), ' ');
  std::vector<std::uint8_t> archive(
      input.PickValueInArray({39995 + a % 16, a % 41000, 40003 + a % 2000}), 'a');
  // Then edits: where, and what to write there: a form, a sequence, or one byte.
  while (input.remaining_bytes() > 0) {
    const auto at = input.ConsumeIntegralInRange<std::size_t>(0, 1 << 24);
    const auto what = input.ConsumeIntegral<std::uint8_t>();
    auto& file = what % 2 == 0 && !table.empty() ? table : archive;
    if (file.empty()) continue;
    const std::string piece =
        what >= 128
            ? std::string(1, static_cast<char>(what))
            : input.PickValueInArray<std::string>({"\x08\x84\xE8", "\x01\x84\xE8", "fes", "ees"});
    for (std::size_t i = 0, p = at % file.size(); i < piece.size() && p + i < file.size(); ++i) {
      file[p + i] = static_cast<std::uint8_t>(piece[i]);
    }
  }
  if (verdantix::Patched(table, archive) != verdantix::Modelled(table, archive)) __builtin_trap();
  return 0;
}
