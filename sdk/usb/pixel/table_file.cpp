#include "table_file.h"

#include <fstream>
#include <system_error>

#include "replace_file.h"

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
    return vz::WriteWholeFile(path, bytes) == vz::Replaced::ok;
}

}  // namespace kqcmos
