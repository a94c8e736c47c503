#pragma once
// The area of a polygon as a count of whole image pixels, the way the
// platform's polygon regions fill (alternate rule): vertices truncated toward
// zero, and a pixel (x, y) counts when the point (x, y) lies inside, left and
// top edges included, right and bottom edges excluded.
#include <cstdint>
#include <span>

#include "geometry.h"

namespace figures {

// Coordinates are clamped to +-kPolygonAreaLimit before counting, which
// bounds the work for any stored figure; clicked points lie far inside.
constexpr std::int32_t kPolygonAreaLimit = 1 << 20;

std::int64_t PolygonPixelCount(std::span<const PointF> points);

}  // namespace figures
