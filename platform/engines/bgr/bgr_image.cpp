#include "bgr_image.h"

#include <cstring>

#include "picture.h"

void BgrImage::Resize(int w, int h) {
    width = w;
    height = h;
    pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3);
}

bool LoadBgrImage(const std::filesystem::path& path, BgrImage& image) {
    image = BgrImage{};
    CPicture picture;
    if (!picture.Load(path, kPictureAuto) || (picture.GetBpp() != 24 && picture.GetBpp() != 8)) {
        return false;
    }
    image.Resize(picture.GetWidth(), picture.GetHeight());
    const std::span<const PaletteEntry> palette = picture.GetPalette();
    for (int y = 0; y < image.height; ++y) {
        // The picture keeps its rows bottom-up.
        const std::uint8_t* source = picture.GetBits(image.height - 1 - y);
        std::uint8_t* target = image.pixels.data() + static_cast<std::size_t>(y) * image.RowBytes();
        if (picture.GetBpp() == 24) {
            std::memcpy(target, source, image.RowBytes());
            continue;
        }
        for (int x = 0; x < image.width; ++x) {
            const PaletteEntry& colour = palette[source[x]];
            target[3 * x] = colour.blue;
            target[3 * x + 1] = colour.green;
            target[3 * x + 2] = colour.red;
        }
    }
    return true;
}
