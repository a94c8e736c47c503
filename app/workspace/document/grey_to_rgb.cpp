#include "grey_to_rgb.h"

bool ConvertGreyToRGB(CPicture& picture) {
    if (picture.GetBpp() != 8) {
        return true;
    }
    CPicture colour(picture.GetWidth(), picture.GetHeight(), 24, picture.GetType());
    if (!colour.IsValid()) {
        return false;
    }
    const auto palette = picture.GetPalette();
    for (int row = 0; row < picture.GetHeight(); ++row) {
        const std::uint8_t* src = picture.GetBits(row);
        std::uint8_t* dst = colour.GetBits(row);
        for (int x = 0; x < picture.GetWidth(); ++x) {
            const PaletteEntry& e = palette[src[x]];
            dst[x * 3] = e.blue;
            dst[x * 3 + 1] = e.green;
            dst[x * 3 + 2] = e.red;
        }
    }
    colour.SetJpegQuality(picture.GetJpegQuality());
    picture = std::move(colour);
    return true;
}
