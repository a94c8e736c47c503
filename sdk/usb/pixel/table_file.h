// Whole-file reads and writes of the correction tables kept beside the host
// program, through the standard library.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace kqcmos {

// Reads at most `maxBytes` from the start of the file into `bytes`. False
// when the file cannot be opened or read.
bool ReadFileHead(const std::filesystem::path& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes);

// Creates or replaces the file with `bytes`. False on any failure, which
// leaves a file already there as it was.
bool WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace kqcmos
