#pragma once
// The arithmetic the figure classes share: distances, the segment hit rule,
// the end ticks of a line and the near-zero test. Free of any device.
#include <array>
#include <cstddef>
#include <cstdint>

#include "geometry.h"

namespace figures {

// float32 pi and 2 pi, as every circular result uses them.
constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;
// Radians to degrees as the angle results are defined (deliberately not
// exactly 180 / pi).
constexpr double kDegreesPerRadian = 57.29577791868204;
// A moved or clicked point counts as a new vertex this far from the last.
constexpr float kVertexSpacing = 5.0f;

// -0.0001 < q < 0.0001.
constexpr bool NearZero(double q) { return q > -0.0001 && q < 0.0001; }

double Distance(PointF a, PointF b);
double SquaredDistance(PointF a, PointF b);

// An image point at the given zoom, truncated as hit tests compare it.
struct ZoomedPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};
ZoomedPoint Zoomed(PointF p, float zoom);
// A mouse position (zoomed-picture pixels) as an image point.
PointF ImagePoint(int x, int y, float zoom);

// Within 3 pixels of the point in both directions, strictly.
bool NearPoint(PointF p, int x, int y, float zoom);
// The segment body rule: |P - A| + |P - B| < |A - B| + 0.9, in
// zoomed-picture pixels with the ends truncated.
bool OnSegment(PointF a, PointF b, int x, int y, float zoom);

// arccos in degrees with its argument clamped to [-1, 1], so that rounding
// never gives NaN.
float ArcCosDegrees(double cosine);

// One stroke of an end tick, relative to the end point.
struct TickStroke {
    std::int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    friend bool operator==(const TickStroke&, const TickStroke&) = default;
};
struct EndTicks {
    std::array<TickStroke, 2> strokes{};
    std::size_t count = 0;
};
// Ticks across a line from `first` to `second` (image pixels), about 5
// pixels on each side; none when both ends coincide.
EndTicks LineEndTicks(PointF first, PointF second);

}  // namespace figures
