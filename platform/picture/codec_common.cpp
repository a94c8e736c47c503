// What every codec shares: reading a file, recognising its kind and colour
// rows for encoders.
#include <algorithm>
#include <fstream>
#include <system_error>

#include "codecs.h"

namespace picture_codec {
namespace {

// A file larger than this is not a picture the program could hold.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{512} << 20;

}  // namespace

bool ReadFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = "cannot open the picture file";
        return false;
    }
    if (size > kMaxFileBytes) {
        error = "picture file too large";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open the picture file";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        error = "cannot read the picture file";
        return false;
    }
    return true;
}

int DetectType(std::span<const std::uint8_t> b) {
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') {
        return kPictureBmp;
    }
    if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) {
        return kPictureJpeg;
    }
    if (b.size() >= 4 && ((b[0] == 'I' && b[1] == 'I' && b[2] == 42 && b[3] == 0) ||
                          (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && b[3] == 42))) {
        return kPictureTiff;
    }
    static constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (b.size() >= 8 && std::equal(b.begin(), b.begin() + 8, kPngSignature)) {
        return kPicturePng;
    }
    return kPictureAuto;
}

void RowToRgb(const CPicture& picture, int y, std::span<std::uint8_t> rgb) {
    const std::uint8_t* row = picture.GetBits(picture.GetHeight() - 1 - y);
    const int w = picture.GetWidth();
    if (picture.GetBpp() == 8) {
        const auto palette = picture.GetPalette();
        for (int x = 0; x < w; ++x) {
            const PaletteEntry& e = palette[row[x]];
            rgb[static_cast<std::size_t>(x) * 3] = e.red;
            rgb[static_cast<std::size_t>(x) * 3 + 1] = e.green;
            rgb[static_cast<std::size_t>(x) * 3 + 2] = e.blue;
        }
        return;
    }
    for (int x = 0; x < w; ++x) {
        rgb[static_cast<std::size_t>(x) * 3] = row[x * 3 + 2];
        rgb[static_cast<std::size_t>(x) * 3 + 1] = row[x * 3 + 1];
        rgb[static_cast<std::size_t>(x) * 3 + 2] = row[x * 3];
    }
}

}  // namespace picture_codec
