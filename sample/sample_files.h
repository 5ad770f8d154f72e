// The bytes of a sample game installation, shared by the sample-game tool and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace verdantix::sample {

/// The sample file table holds one record in form A, record 37; every other record starts
/// with a byte that is neither 0x08 nor 0x01.
inline constexpr std::uint64_t kFormARecord = 37;
/// The sample archive holds one "fes" in its window, and no "ees".
inline constexpr std::uint64_t kArchiveFOffset = 12345;

std::vector<std::uint8_t> FileTableBytes(std::uint64_t length);
/// The first min(length, 40003) bytes of the sample archive; the rest of it is zeros.
std::vector<std::uint8_t> ArchiveWindowBytes(std::uint64_t length);
/// The other files of the sample installation, by path relative to the game folder
/// ("data/gui/goto.big"): small files whose content names them.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> OtherGameFiles();

}  // namespace verdantix::sample
