#pragma once
// A small 24-bit bitmap file for the exports and dialogs to place.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

inline void WriteBmp(const std::filesystem::path& path, int width, int height) {
    const int stride = (width * 3 + 3) & ~3;
    std::string bytes(54 + static_cast<std::size_t>(stride * height), '\0');
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = 24;
    // Pixels that differ from byte to byte, so a copy that moves or drops
    // bytes shows.
    for (std::size_t i = 54; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
