#include "figure_math.h"

#include <algorithm>
#include <cmath>

#include "truncate.h"

namespace figures {

double SquaredDistance(PointF a, PointF b) {
    const double dx = static_cast<double>(a.x) - b.x;
    const double dy = static_cast<double>(a.y) - b.y;
    return dx * dx + dy * dy;
}

double Distance(PointF a, PointF b) { return std::sqrt(SquaredDistance(a, b)); }

ZoomedPoint Zoomed(PointF p, float zoom) { return {ZoomedPixel(zoom, p.x), ZoomedPixel(zoom, p.y)}; }

PointF ImagePoint(int x, int y, float zoom) { return {static_cast<float>(x) / zoom, static_cast<float>(y) / zoom}; }

bool NearPoint(PointF p, int x, int y, float zoom) {
    const ZoomedPoint z = Zoomed(p, zoom);
    return std::llabs(static_cast<long long>(x) - z.x) < 4 && std::llabs(static_cast<long long>(y) - z.y) < 4;
}

bool OnSegment(PointF a, PointF b, int x, int y, float zoom) {
    const ZoomedPoint za = Zoomed(a, zoom);
    const ZoomedPoint zb = Zoomed(b, zoom);
    const auto length = [](double dx, double dy) { return std::sqrt(dx * dx + dy * dy); };
    const double toA = length(static_cast<double>(x) - za.x, static_cast<double>(y) - za.y);
    const double toB = length(static_cast<double>(x) - zb.x, static_cast<double>(y) - zb.y);
    const double span = length(static_cast<double>(za.x) - zb.x, static_cast<double>(za.y) - zb.y);
    return toA + toB < span + 0.9;
}

float ArcCosDegrees(double cosine) {
    if (std::isnan(cosine)) {
        return 0.0f;
    }
    return static_cast<float>(std::acos(std::clamp(cosine, -1.0, 1.0)) * kDegreesPerRadian);
}

EndTicks LineEndTicks(PointF first, PointF second) {
    const float dx = first.x - second.x;
    const float dy = second.y - first.y;
    EndTicks ticks;
    if (dy == 0.0f && dx == 0.0f) {
        return ticks;
    }
    if (dy == 0.0f) {
        ticks.strokes[0] = {0, -5, 0, 5};
        ticks.count = 1;
        return ticks;
    }
    if (dx == 0.0f) {
        ticks.strokes[0] = {-5, 0, 5, 0};
        ticks.count = 1;
        return ticks;
    }
    const std::int32_t t = TruncateToInt(5.0f * dx / dy);
    const std::int32_t tBack = TruncateToInt(-5.0f * dx / dy);
    if (t >= -6 && t <= 6) {
        ticks.strokes = {TickStroke{0, 0, 5, t}, TickStroke{0, 0, -5, tBack}};
    } else {
        const std::int32_t u = TruncateToInt(5.0f * dy / dx);
        const std::int32_t uBack = TruncateToInt(-5.0f * dy / dx);
        ticks.strokes = {TickStroke{0, 0, u, 5}, TickStroke{0, 0, uBack, -5}};
    }
    ticks.count = 2;
    return ticks;
}

}  // namespace figures
