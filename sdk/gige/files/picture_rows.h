// Rows of a picture in memory (bottom-up, blue before red) as the TIFF and
// PNG writers take them: top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>

#include "picture_files.h"

namespace kqge {

struct PictureRows {
    std::span<const std::uint8_t> pixels;
    std::int32_t width = 0;
    std::int32_t height = 0;
    SampleLayout layout;

    std::size_t RowBytes() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(layout.samplesPerPixel) *
               static_cast<std::size_t>(layout.bitsPerSample / 8);
    }
    // The picture's top row is the last stored one.
    const std::uint8_t* TopDownRow(std::int32_t y) const {
        return pixels.data() + static_cast<std::size_t>(height - 1 - y) * RowBytes();
    }
};

// Checks the arguments against the buffer; false for any mismatch.
bool DescribeRows(std::span<const std::uint8_t> pixels, std::int32_t width, std::int32_t height,
                  std::int32_t bitsPerPixel, PictureRows& rows);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens the wide path for binary writing.
UniqueFile OpenForWriting(const std::filesystem::path& path);

}  // namespace kqge
