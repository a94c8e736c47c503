#pragma once
// What the fusion and stitching dialogs do with an engine's answers: its
// pixels (packed top-down BGR rows) become a picture, whose rows the picture
// pads to 4 bytes and keeps bottom-up, and a chosen file name picks the type
// a result is saved with.
#include <cstdint>
#include <span>
#include <string_view>

#include "picture.h"

// A 24-bit picture (type BMP) of width x height from the engine's rows,
// copied row by row. False, and `picture` left as it was, unless the rows
// hold exactly width x height pixels of an allowed size.
bool PictureFromEngineRows(std::span<const std::uint8_t> rows, int width, int height, CPicture& picture);

// "jpg" JPEG, "bmp" BMP, "tiff" TIFF (without case); any other JPEG.
int ResultPictureType(std::wstring_view path);
