#include "table_file.h"

#include <fstream>
#include <system_error>

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
    // Written beside the target and renamed over it: a write that fails
    // half-way (full disk, removed medium) leaves the old table whole.
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        std::error_code ignored;
        if (out.fail()) {
            std::filesystem::remove(partial, ignored);
            return false;
        }
    }
    std::error_code renamed;
    std::filesystem::rename(partial, path, renamed);
    if (renamed) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        return false;
    }
    return true;
}

}  // namespace kqcmos
