#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "angle_figures.h"
#include "archive.h"
#include "area_figures.h"
#include "circle_figures.h"
#include "line_figures.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Store(CCLObject& object) {
    MemoryStream stream;
    CArchive ar(stream, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    return stream.Bytes();
}

void Load(CCLObject& object, const Bytes& bytes) {
    MemoryStream stream(bytes);
    CArchive ar(stream, CArchive::load);
    object.Serialize(ar);
}

float FloatAt(const Bytes& bytes, std::size_t offset) {
    float f = 0;
    std::memcpy(&f, bytes.data() + offset, 4);
    return f;
}

std::int32_t IntAt(const Bytes& bytes, std::size_t offset) {
    std::int32_t v = 0;
    std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}

// Every class with distinct values in its own fields; the size of its own
// part of the record.
struct Sample {
    std::function<std::unique_ptr<CCLObject>()> make;
    std::function<void(CCLObject&)> fill;
    std::size_t ownBytes;
    std::int32_t type;
};

template <typename T>
std::function<std::unique_ptr<CCLObject>()> Maker() {
    return [] { return std::make_unique<T>(); };
}

std::vector<Sample> Samples() {
    return {
        {Maker<CCLLine>(),
         [](CCLObject& o) {
             static_cast<CCLLine&>(o).points = {PointF{1, 2}, PointF{3, 4}};
         },
         16, 2},
        {Maker<CCL_Scale>(),
         [](CCLObject& o) {
             static_cast<CCL_Scale&>(o).points = {PointF{1, 2}, PointF{3, 4}};
         },
         16, 1},
        {Maker<CCLParallel>(),
         [](CCLObject& o) {
             static_cast<CCLParallel&>(o).points = {PointF{1, 2}, PointF{3, 4}, PointF{5, 6}};
         },
         24, 5},
        {Maker<CCLAngle>(),
         [](CCLObject& o) {
             static_cast<CCLAngle&>(o).points = {PointF{1, 2}, PointF{3, 4}, PointF{5, 6}};
         },
         24, 3},
        {Maker<CCLAngle4Point>(),
         [](CCLObject& o) {
             auto& a = static_cast<CCLAngle4Point&>(o);
             a.points = {PointF{0, 0}, PointF{10, 0}, PointF{0, 5}, PointF{5, 10}};
             a.Recompute();
         },
         32, 4},
        {Maker<CCLCircle>(),
         [](CCLObject& o) {
             static_cast<CCLCircle&>(o).points = {PointF{1, 2}, PointF{3, 4}};
         },
         16, 7},
        {Maker<CCLCircle_D>(),
         [](CCLObject& o) {
             static_cast<CCLCircle_D&>(o).points = {PointF{1, 2}, PointF{3, 4}, PointF{5, 6}};
         },
         24, 8},
        {Maker<CCLCircle_T>(),
         [](CCLObject& o) {
             static_cast<CCLCircle_T&>(o).points = {PointF{1, 2}, PointF{3, 4}, PointF{5, 6}, PointF{7, 8}};
         },
         32, 9},
        {Maker<CCLEllipse>(),
         [](CCLObject& o) {
             auto& e = static_cast<CCLEllipse&>(o);
             e.corner1 = {0, 0};
             e.corner2 = {20, 10};
             e.Recompute();
         },
         60, 10},
        {Maker<CCLRectangle>(),
         [](CCLObject& o) {
             static_cast<CCLRectangle&>(o).corner0 = {1, 2};
             static_cast<CCLRectangle&>(o).corner1 = {3, 4};
         },
         16, 6},
        {Maker<CCLCurve>(),
         [](CCLObject& o) {
             static_cast<CCLCurve&>(o).points = {PointF{1, 2}, PointF{3, 4}};
         },
         20, 11},
        {Maker<CCLPolygon>(),
         [](CCLObject& o) {
             static_cast<CCLPolygon&>(o).points = {PointF{1, 2}, PointF{3, 4}, PointF{5, 6}};
         },
         28, 12},
    };
}

TEST(FigureRecord, EveryClassStoresAndLoadsByteForByte) {
    for (const Sample& s : Samples()) {
        auto original = s.make();
        EXPECT_EQ(original->type, s.type);
        s.fill(*original);
        original->results[5] = 12.5f;
        const Bytes bytes = Store(*original);
        auto base = std::make_unique<CCLObject>();
        base->type = s.type;
        base->results[5] = 12.5f;
        EXPECT_EQ(bytes.size(), Store(*base).size() + s.ownBytes) << s.type;
        auto loaded = s.make();
        Load(*loaded, bytes);
        EXPECT_EQ(Store(*loaded), bytes) << s.type;
        // A record cut short anywhere is an archive error.
        for (std::size_t cut = bytes.size() - s.ownBytes; cut < bytes.size(); cut += 3) {
            auto partial = s.make();
            EXPECT_THROW(Load(*partial, Bytes(bytes.begin(), bytes.begin() + static_cast<long>(cut))), ArchiveException)
                << s.type << " cut at " << cut;
        }
    }
}

TEST(FigureRecord, FieldOrderOfParallelEllipseAndPolyline) {
    CCLParallel p;
    p.points = {PointF{1, 2}, PointF{3, 4}, PointF{5, 6}};  // A, B, C
    Bytes bytes = Store(p);
    std::size_t own = bytes.size() - 24;
    EXPECT_EQ(FloatAt(bytes, own), 3.0f);  // B first
    EXPECT_EQ(FloatAt(bytes, own + 8), 1.0f);
    EXPECT_EQ(FloatAt(bytes, own + 16), 5.0f);

    CCLEllipse e;
    e.corner1 = {0, 0};
    e.corner2 = {20, 10};
    e.Recompute();
    bytes = Store(e);
    own = bytes.size() - 60;
    EXPECT_EQ(FloatAt(bytes, own), 10.0f);       // centre x
    EXPECT_EQ(FloatAt(bytes, own + 8), 10.0f);   // a
    EXPECT_EQ(FloatAt(bytes, own + 12), 5.0f);   // b
    EXPECT_EQ(FloatAt(bytes, own + 24), 20.0f);  // C2 x
    double eccentricity = 0;
    std::memcpy(&eccentricity, bytes.data() + own + 48, 8);
    EXPECT_EQ(eccentricity, e.eccentricity);
    EXPECT_EQ(IntAt(bytes, own + 56), 2);

    CCLPolygon polygon;
    polygon.points = {PointF{1, 2}, PointF{3, 4}, PointF{5, 6}};
    bytes = Store(polygon);
    own = bytes.size() - 28;
    EXPECT_EQ(IntAt(bytes, own), 3);
    EXPECT_EQ(FloatAt(bytes, own + 4), 1.0f);
    EXPECT_EQ(FloatAt(bytes, own + 8), 2.0f);
    EXPECT_EQ(FloatAt(bytes, own + 24), 6.0f);
}

TEST(FigureRecord, PointCountOutsideZeroToFiveHundredIsAnArchiveError) {
    CCLPolygon source;
    const Bytes empty = Store(source);  // count 0 at the end
    const std::size_t countAt = empty.size() - 4;
    struct Case {
        std::int32_t count;
        bool valid;
    };
    for (const Case c : {Case{0, true}, Case{500, true}, Case{501, false}, Case{-1, false}, Case{INT32_MAX, false}}) {
        Bytes bytes = empty;
        std::memcpy(bytes.data() + countAt, &c.count, 4);
        for (std::int32_t i = 0; i < std::min(c.count, 500) * 2; ++i) {
            const float f = static_cast<float>(i);
            const auto* raw = reinterpret_cast<const std::uint8_t*>(&f);
            bytes.insert(bytes.end(), raw, raw + 4);
        }
        CCLPolygon polygon;
        polygon.points = {PointF{7, 7}};
        if (c.valid) {
            EXPECT_NO_THROW(Load(polygon, bytes)) << c.count;
            EXPECT_EQ(polygon.points.size(), static_cast<std::size_t>(c.count));
        } else {
            EXPECT_THROW(Load(polygon, bytes), ArchiveException) << c.count;
            EXPECT_EQ(polygon.points.size(), 1u) << c.count;  // the points are left as they were
        }
    }
}

TEST(FigureAssignment, CopiesTheBaseAndTheOwnFields) {
    CCLEllipse source;
    source.corner1 = {0, 0};
    source.corner2 = {20, 10};
    source.Recompute();
    source.number = 4;
    source.visible = 0;
    CCLEllipse target;
    target = source;
    EXPECT_EQ(target.id, source.id);
    EXPECT_EQ(target.number, 4);
    EXPECT_EQ(target.focus2, source.focus2);
    EXPECT_EQ(target.eccentricity, source.eccentricity);
    EXPECT_EQ(target.visible, 1);  // the target's own

    CCLPolygon polygon;
    polygon.points = {PointF{1, 1}, PointF{2, 2}, PointF{3, 1}};
    const CCLPolygon copy(polygon);
    EXPECT_EQ(copy.points, polygon.points);
    EXPECT_EQ(copy.type, 12);
    CCLAngle4Point angle;
    angle.points = {PointF{5, 0}, PointF{5, 10}, PointF{0, 3}, PointF{10, 3}};
    angle.Recompute();
    CCLAngle4Point other;
    other = angle;
    EXPECT_TRUE(other.hasIntersection);
    EXPECT_EQ(other.intersection, (PointF{5, 3}));
}

}  // namespace
