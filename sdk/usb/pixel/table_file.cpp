#include "table_file.h"

#include <fstream>

namespace kqcmos {

bool ReadFileHead(const std::filesystem::path& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.resize(maxBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(maxBytes));
    if (in.bad()) {
        bytes.clear();
        return false;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

bool WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace kqcmos
