#pragma once
// The raw-to-RGB conversion the 2592 x 1944 sensors offer callers: the raw
// pre-filter, the half-turned grey kernel, then the rows and columns the
// kernel cannot fill from whole cells copied from their neighbours (the
// first four rows from row 4, the last two from the row above each, the
// first two pixels of every row from the third).

#include <cstdint>

namespace kq {

// -1 for a null buffer; 10 for a frame of fewer than 5 rows or 3 columns
// (its edge copies would read outside it) or larger than 65535 a side.
// The caller's raw frame is left as it is; `destination` takes
// 3 x width x height bytes.
int GreyRgbWithEdges(std::int32_t height, std::int32_t width, const std::uint8_t* source, std::uint8_t* destination,
                     int prefilter);

}  // namespace kq
