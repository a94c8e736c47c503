#include "tile_mosaic.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "picture.h"

bool LayOutMosaic(std::span<const BgrView> tiles, std::span<const TileOffset> offsets, ChainDirection direction,
                  MosaicLayout& layout) {
    if (tiles.size() < 2 || offsets.size() + 1 != tiles.size()) {
        return false;
    }
    layout.places.resize(tiles.size());
    layout.places[0] = {};
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t minX = 0, minY = 0, maxX = tiles[0].width, maxY = tiles[0].height;
    for (std::size_t i = 1; i < tiles.size(); ++i) {
        x += offsets[i - 1].dx;
        y += offsets[i - 1].dy;
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x + tiles[i].width);
        maxY = std::max(maxY, y + tiles[i].height);
        layout.places[i] = {static_cast<int>(x), static_cast<int>(y)};
    }
    if (!CPicture::IsSizeAllowed(maxX - minX, maxY - minY)) {
        return false;
    }
    layout.width = static_cast<int>(maxX - minX);
    layout.height = static_cast<int>(maxY - minY);
    // Across the chain: the band every picture covers; along it: the union,
    // which has no gap because each picture overlaps the one before.
    int shareLow = std::numeric_limits<int>::min();
    int shareHigh = std::numeric_limits<int>::max();
    int unionLow = std::numeric_limits<int>::max();
    int unionHigh = std::numeric_limits<int>::min();
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        TilePlace& place = layout.places[i];
        place.x -= static_cast<int>(minX);
        place.y -= static_cast<int>(minY);
        const bool row = direction == ChainDirection::kRow;
        const int acrossLow = row ? place.y : place.x;
        const int acrossHigh = acrossLow + (row ? tiles[i].height : tiles[i].width);
        const int alongLow = row ? place.x : place.y;
        const int alongHigh = alongLow + (row ? tiles[i].width : tiles[i].height);
        shareLow = std::max(shareLow, acrossLow);
        shareHigh = std::min(shareHigh, acrossHigh);
        unionLow = std::min(unionLow, alongLow);
        unionHigh = std::max(unionHigh, alongHigh);
    }
    if (shareHigh <= shareLow) {
        return false;
    }
    layout.effective = direction == ChainDirection::kRow ? StitchRect{unionLow, shareLow, unionHigh, shareHigh}
                                                         : StitchRect{shareLow, unionLow, shareHigh, unionHigh};
    return true;
}

bool PaintMosaic(std::span<const BgrView> tiles, const MosaicLayout& layout, BgrImage& canvas) {
    if (tiles.size() != layout.places.size()) {
        return false;
    }
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const TilePlace& place = layout.places[i];
        if (!tiles[i].Valid() || place.x < 0 || place.y < 0 || place.x + tiles[i].width > layout.width ||
            place.y + tiles[i].height > layout.height) {
            return false;
        }
    }
    canvas.Resize(layout.width, layout.height);
    std::fill(canvas.pixels.begin(), canvas.pixels.end(), std::uint8_t{0});
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const BgrView& tile = tiles[i];
        const std::size_t rowBytes = static_cast<std::size_t>(tile.width) * 3;
        for (int row = 0; row < tile.height; ++row) {
            std::memcpy(canvas.pixels.data() + (static_cast<std::size_t>(layout.places[i].y + row) * layout.width +
                                                layout.places[i].x) * 3,
                        tile.pixels.data() + static_cast<std::size_t>(row) * rowBytes, rowBytes);
        }
    }
    return true;
}
