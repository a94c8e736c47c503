#pragma once
// Saving a file whole or not at all: the bytes go to a file beside the
// target, which replaces the target only once the writer reports every byte
// written. A program ended, a disk that fills or a medium that refuses
// writes part-way leaves the earlier file of that name as it was, and a
// failed write removes what it had begun.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <span>
#include <system_error>
#include <utility>

namespace vz {

enum class Replaced {
    ok,
    notWritten,  // the writer failed; the target is untouched
    notMoved,    // written, but the target could not be replaced
};

// The file a save of `target` writes first.
inline std::filesystem::path PartialFileOf(const std::filesystem::path& target) {
    std::filesystem::path partial = target;
    partial += ".part";
    return partial;
}

// `write(partial)` writes the whole content to `partial` and says whether
// every byte reached it.
template <typename Writer>
Replaced WriteThenReplace(const std::filesystem::path& target, Writer&& write) {
    const std::filesystem::path partial = PartialFileOf(target);
    std::error_code ignored;
    if (!std::forward<Writer>(write)(partial)) {
        std::filesystem::remove(partial, ignored);
        return Replaced::notWritten;
    }
    std::error_code moved;
    std::filesystem::rename(partial, target, moved);
    if (moved) {
        std::filesystem::remove(partial, ignored);
        return Replaced::notMoved;
    }
    return Replaced::ok;
}

// The parts one after another as the whole content of `target`.
inline Replaced WriteWholeFile(const std::filesystem::path& target,
                               std::initializer_list<std::span<const std::uint8_t>> parts) {
    return WriteThenReplace(target, [&](const std::filesystem::path& partial) {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        for (const std::span<const std::uint8_t> bytes : parts) {
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
        out.close();
        return !out.fail();
    });
}

// `bytes` as the whole content of `target`.
inline Replaced WriteWholeFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    return WriteWholeFile(target, {bytes});
}

}  // namespace vz
