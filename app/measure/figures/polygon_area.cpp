#include "polygon_area.h"

#include <algorithm>
#include <vector>

#include "truncate.h"

namespace figures {

namespace {

struct Vertex {
    std::int64_t x;
    std::int64_t y;
};

// An edge taken from its upper end; it covers the scan lines top .. bottom-1.
struct Edge {
    std::int64_t top;
    std::int64_t bottom;
    std::int64_t topX;
    std::int64_t dx;
    std::int64_t dy;
};

std::int64_t CeilDiv(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t q = numerator / denominator;
    if ((numerator % denominator != 0) && ((numerator > 0) == (denominator > 0))) {
        ++q;
    }
    return q;
}

}  // namespace

std::int64_t PolygonPixelCount(std::span<const PointF> points) {
    if (points.size() < 3) {
        return 0;
    }
    std::vector<Vertex> vertices;
    vertices.reserve(points.size());
    for (const PointF& p : points) {
        vertices.push_back({std::clamp<std::int64_t>(TruncateToInt(p.x), -kPolygonAreaLimit, kPolygonAreaLimit),
                            std::clamp<std::int64_t>(TruncateToInt(p.y), -kPolygonAreaLimit, kPolygonAreaLimit)});
    }
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        Vertex a = vertices[i];
        Vertex b = vertices[(i + 1) % vertices.size()];
        if (a.y == b.y) {
            continue;  // horizontal edges bound no scan line
        }
        if (a.y > b.y) {
            std::swap(a, b);
        }
        edges.push_back({a.y, b.y, a.x, b.x - a.x, b.y - a.y});
    }
    if (edges.empty()) {
        return 0;
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.top < r.top; });
    std::int64_t bottom = edges.front().bottom;
    for (const Edge& e : edges) {
        bottom = std::max(bottom, e.bottom);
    }
    std::int64_t count = 0;
    std::vector<const Edge*> active;
    std::vector<std::int64_t> crossings;
    std::size_t nextEdge = 0;
    for (std::int64_t y = edges.front().top; y < bottom; ++y) {
        while (nextEdge < edges.size() && edges[nextEdge].top == y) {
            active.push_back(&edges[nextEdge++]);
        }
        std::erase_if(active, [y](const Edge* e) { return e->bottom <= y; });
        crossings.clear();
        for (const Edge* e : active) {
            // The first whole x at or right of the edge on this scan line.
            crossings.push_back(CeilDiv(e->topX * e->dy + (y - e->top) * e->dx, e->dy));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            count += crossings[i + 1] - crossings[i];
        }
    }
    return count;
}

}  // namespace figures
