#include "bmp_file.h"

#include <array>
#include <fstream>
#include <vector>

#include "le_bytes.h"
#include "replace_file.h"

namespace kq::files {

bool WriteBmpFile(const std::filesystem::path& path, std::span<const std::uint8_t> pixels, std::int32_t width,
                  std::int32_t height, std::int32_t bitsPerPixel, bool bottomUp) {
    if (width <= 0 || height <= 0 || (bitsPerPixel != 8 && bitsPerPixel != 24)) return false;
    const std::size_t dataRow = static_cast<std::size_t>(width) * (bitsPerPixel / 8);
    if (pixels.size() < dataRow * static_cast<std::size_t>(height)) return false;
    const std::uint32_t row = BmpRowBytes(width, bitsPerPixel);
    const std::uint64_t imageBytes = std::uint64_t{row} * static_cast<std::uint32_t>(height);
    const std::uint32_t paletteBytes = bitsPerPixel == 8 ? 256 * 4 : 0;
    if (imageBytes + paletteBytes + 54 > 0xFFFFFFFFu) return false;

    std::array<std::uint8_t, 54> header{};
    header[0] = 'B';
    header[1] = 'M';
    vz::PutLE32(header, 2, static_cast<std::uint32_t>(imageBytes + paletteBytes + 54));
    vz::PutLE32(header, 10, paletteBytes + 54);
    vz::PutLE32(header, 14, 40);
    vz::PutLE32(header, 18, static_cast<std::uint32_t>(width));
    vz::PutLE32(header, 22, static_cast<std::uint32_t>(height));
    vz::PutLE16(header, 26, 1);
    vz::PutLE16(header, 28, static_cast<std::uint16_t>(bitsPerPixel));
    vz::PutLE32(header, 34, static_cast<std::uint32_t>(imageBytes));
    if (bitsPerPixel == 8) {
        vz::PutLE32(header, 46, 256);
        vz::PutLE32(header, 50, 256);
    }

    return vz::WriteThenReplace(path, [&](const std::filesystem::path& partial) {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(header.data()), header.size());
        for (int i = 0; i < 256 && bitsPerPixel == 8; ++i) {
            const char entry[4] = {static_cast<char>(i), static_cast<char>(i), static_cast<char>(i), 0};
            out.write(entry, 4);
        }
        const std::array<char, 3> padding{};
        for (std::int32_t y = 0; y < height; ++y) {
            const std::int32_t source = bottomUp ? y : height - 1 - y;
            out.write(reinterpret_cast<const char*>(pixels.data() + source * dataRow),
                      static_cast<std::streamsize>(dataRow));
            out.write(padding.data(), static_cast<std::streamsize>(row - dataRow));
        }
        out.close();
        return static_cast<bool>(out);
    }) == vz::Replaced::ok;
}

}  // namespace kq::files
