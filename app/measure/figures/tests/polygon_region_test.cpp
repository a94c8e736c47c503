// The pixel count of a polygon against the platform's own polygon regions.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <random>
#include <vector>

#include "area_figures.h"
#include "polygon_area.h"
#include "truncate.h"

namespace {

struct RegionDeleter {
    void operator()(HRGN region) const { ::DeleteObject(region); }
};

std::int64_t RegionPixelCount(const std::vector<PointF>& points) {
    std::vector<POINT> whole;
    for (const PointF& p : points) {
        whole.push_back({TruncateToInt(p.x), TruncateToInt(p.y)});
    }
    std::unique_ptr<HRGN__, RegionDeleter> region(
        ::CreatePolygonRgn(whole.data(), static_cast<int>(whole.size()), ALTERNATE));
    if (!region) {
        return -1;
    }
    RECT box{};
    ::GetRgnBox(region.get(), &box);
    std::int64_t count = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            count += ::PtInRegion(region.get(), x, y) ? 1 : 0;
        }
    }
    return count;
}

TEST(PolygonRegion, ChosenShapesCountAsTheRegion) {
    const std::vector<std::vector<PointF>> shapes = {
        {{0, 0}, {10, 0}, {10, 10}, {0, 10}},
        {{0, 0}, {4, 0}, {0, 4}},
        {{0, 0}, {10, 0}, {10, 10}, {5, 5}, {0, 10}},
        {{0, 0}, {10, 10}, {10, 0}, {0, 10}},
        {{3, 1}, {17, 4}, {11, 19}},
        {{0, 0}, {31, 7}, {2, 23}},
        {{20, 0}, {26, 14}, {40, 15}, {28, 24}, {32, 40}, {20, 30}, {8, 40}, {12, 24}, {0, 15}, {14, 14}},
        {{20, 0}, {32, 40}, {0, 15}, {40, 15}, {8, 40}},  // a star: its centre is outside
        {{0.7f, 0.2f}, {12.9f, 3.5f}, {6.2f, 15.8f}},
        {{0, 0}, {10, 0}, {20, 0}},
    };
    for (const auto& shape : shapes) {
        EXPECT_EQ(figures::PolygonPixelCount(shape), RegionPixelCount(shape)) << shape.size() << " " << shape[1].x;
    }
}

TEST(PolygonRegion, RandomPolygonsCountAsTheRegion) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> coordinate(0, 60);
    std::uniform_int_distribution<int> corners(3, 9);
    for (int n = 0; n < 300; ++n) {
        std::vector<PointF> shape;
        const int count = corners(random);
        for (int i = 0; i < count; ++i) {
            shape.push_back({static_cast<float>(coordinate(random)), static_cast<float>(coordinate(random))});
        }
        ASSERT_EQ(figures::PolygonPixelCount(shape), RegionPixelCount(shape)) << "shape " << n;
    }
}

TEST(PolygonRegion, ClickedPolygonAreaIsTheRegionCount) {
    CCLPolygon polygon;
    int step = 0;
    for (const auto& [x, y] : {std::pair{10, 10}, {52, 18}, {37, 49}, {14, 33}, {14, 33}}) {
        polygon.Track(nullptr, x, y, step, false, 1.0f, 0, 0);
    }
    ASSERT_EQ(step, 0);
    EXPECT_EQ(polygon.results[CCLObject::kArea], static_cast<float>(RegionPixelCount(polygon.points)));
}

}  // namespace
