#pragma once
// Thumbnails of pictures: how a picture of w x h is fitted into a cell of the
// picture browser (140 x 140) or of the thumbnail grid, and the reduced
// pixels themselves, made in one pass over the source.
//
// Fitting keeps the aspect ratio and fills the box: small pictures are
// enlarged as well as large ones reduced, because both controls draw the
// picture stretched to the fitted size. Sizes are whole pixels, truncated.
// A picture or box with a zero side gives an empty fit (0 x 0), which the
// controls draw as a blank framed cell.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "picture.h"

namespace vz::picture {

struct FitSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool IsEmpty() const { return width == 0 || height == 0; }
    friend bool operator==(const FitSize&, const FitSize&) = default;
};

// A fitted picture placed in a cell: its top-left corner in the cell and its
// size. An empty size leaves the cell blank.
struct FitRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    FitSize size;
    friend bool operator==(const FitRect&, const FitRect&) = default;
};

// The picture browser's cell and image-list images are squares of this side.
inline constexpr std::uint32_t kBrowserCellSide = 140;

// The thumbnail grid's cell at zoom 1, the margin around the picture and the
// caption's font height.
inline constexpr std::uint32_t kGridCellWidth = 100;
inline constexpr std::uint32_t kGridCellHeight = 120;
inline constexpr std::uint32_t kGridMargin = 10;
inline constexpr std::uint32_t kGridFontHeight = 12;
inline constexpr std::uint32_t kGridMaxZoom = 4;

// The largest w x h of the picture's aspect ratio inside boxW x boxH: one
// side fills the box, the other is scaled and truncated.
FitSize FitIntoBox(std::uint32_t w, std::uint32_t h, std::uint32_t boxW, std::uint32_t boxH);

// The browser's thumbnail of a w x h picture: fitted into 140 x 140.
FitSize BrowserThumbnailSize(std::uint32_t w, std::uint32_t h);
// The browser's image for a picture of w x h: fitted into 140 x 140 and
// centred (horizontally for tall pictures, vertically for wide ones).
FitRect PlaceInBrowserCell(std::uint32_t w, std::uint32_t h);

// The grid's stored thumbnail of a w x h picture: the picture fitted into the
// zoom-1 picture area (cell less the margin each side, 80 x 100), times the
// largest zoom, so every zoom draws it reduced.
FitSize GridThumbnailSize(std::uint32_t w, std::uint32_t h);
// The image rectangle of a w x h picture (or of its thumbnail) in a grid cell
// of cellW x cellH: fitted inside the margin and centred; when less than one
// and a half font heights stay below it, it shrinks to leave that space for
// the caption and is centred again.
FitRect PlaceInGridCell(std::uint32_t w, std::uint32_t h, std::uint32_t cellW, std::uint32_t cellH);

// The picture resampled to `size`: each thumbnail pixel is the average of the
// source pixels it covers (and a copy of the nearest one along a side that is
// enlarged). Grey pictures stay 8-bit grey, every other picture gives 24-bit.
// Returns an empty picture for an empty size or an invalid source.
CPicture ResizePicture(const CPicture& source, FitSize size);

// ResizePicture to the picture's fit into boxW x boxH.
CPicture MakeThumbnail(const CPicture& source, std::uint32_t boxW, std::uint32_t boxH);

// How a thumbnail's size follows from the picture's (BrowserThumbnailSize,
// GridThumbnailSize or a caller's own rule).
using ThumbnailRule = FitSize (*)(std::uint32_t w, std::uint32_t h);

// A thumbnail read from a file or from file bytes.
struct Thumbnail {
    // The reduced picture; invalid when reading failed or the fit is empty.
    CPicture picture;
    // The size of the picture in the file (0 x 0 when it could not be read).
    FitSize sourceSize;
    // Why the file could not be read; empty on success.
    std::string error;
    bool Loaded() const { return error.empty(); }
};

// Decodes only as much as the thumbnail needs: a JPEG much larger than the
// thumbnail is decoded at 1/2, 1/4 or 1/8 of its size (never below the
// thumbnail's size) and an uncompressed 24-bit BMP is reduced straight from
// its bytes. `type` is a PictureType; kPictureAuto detects it.
Thumbnail DecodeThumbnail(std::span<const std::uint8_t> bytes, int type, ThumbnailRule rule);
Thumbnail DecodeThumbnail(std::span<const std::uint8_t> bytes, int type, std::uint32_t boxW, std::uint32_t boxH);
Thumbnail LoadThumbnail(const std::filesystem::path& path, int type, ThumbnailRule rule);
Thumbnail LoadThumbnail(const std::filesystem::path& path, std::uint32_t boxW, std::uint32_t boxH,
                        int type = kPictureAuto);

}  // namespace vz::picture
