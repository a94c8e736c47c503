#pragma once
// The pictures the fusion and stitching engines work on: 24-bit BGR, rows
// top-down and packed (a row is exactly width x 3 bytes), the layout their
// results are handed out in.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

struct BgrImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width x height x 3, top row first

    std::size_t RowBytes() const { return static_cast<std::size_t>(width) * 3; }
    bool Empty() const { return pixels.empty(); }
    // Sized for width x height; reuses the buffer when it is large enough.
    void Resize(int w, int h);
    bool SameSize(const BgrImage& other) const { return width == other.width && height == other.height; }
};

// A read-only view of packed top-down BGR rows.
struct BgrView {
    int width = 0;
    int height = 0;
    std::span<const std::uint8_t> pixels;

    BgrView() = default;
    BgrView(const BgrImage& image) : width(image.width), height(image.height), pixels(image.pixels) {}
    BgrView(int w, int h, std::span<const std::uint8_t> bytes) : width(w), height(h), pixels(bytes) {}
    // True when the bytes hold exactly width x height pixels.
    bool Valid() const {
        return width > 0 && height > 0 &&
               pixels.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    }
};

// Reads a picture file (any type the picture object reads; grey pictures
// through their palette) into `image`. False, and `image` empty, when the
// file cannot be read.
bool LoadBgrImage(const std::filesystem::path& path, BgrImage& image);
