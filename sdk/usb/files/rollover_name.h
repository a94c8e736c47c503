#pragma once
// Names of the files a recording rolls over into: the file part of the
// first name without its extension, then "(n).avi", in the same folder
// (movie.avi, movie(1).avi, movie(2).avi). Dots in folder names play no part.

#include <cstdint>
#include <filesystem>

namespace kq::files {

std::filesystem::path RolloverName(const std::filesystem::path& first, std::int32_t number);

}  // namespace kq::files
