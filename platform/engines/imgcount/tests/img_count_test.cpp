#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "count_scene.h"
#include "img_count.h"
#include "unique_temp_dir.h"

namespace {

// What a target drawn from a shape must measure, counted from the scene.
struct Expected {
    double area = 0;
    int left = 0, bottom = 0, right = 0, top = 0;
    int greyMin = 255, greyMax = 0;
    std::uint64_t greySum = 0;
};

Expected Count(const CountScene& scene, const SceneShape& shape) {
    Expected e;
    e.left = scene.width;
    e.bottom = scene.height;
    e.right = e.top = -1;
    for (int y = 0; y < scene.height; ++y) {
        for (int x = 0; x < scene.width; ++x) {
            if (!shape.Covers(x, y)) {
                continue;
            }
            const int g = scene.grey[static_cast<std::size_t>(y * scene.width + x)];
            e.area += 1;
            e.left = std::min(e.left, x);
            e.right = std::max(e.right, x);
            e.bottom = std::min(e.bottom, y);
            e.top = std::max(e.top, y);
            e.greyMin = std::min(e.greyMin, g);
            e.greyMax = std::max(e.greyMax, g);
            e.greySum += static_cast<std::uint64_t>(g);
        }
    }
    return e;
}

const _tagOBJRESULT* RecordAt(std::vector<_tagOBJRESULT>& records, int left, int bottom) {
    for (const _tagOBJRESULT& r : records) {
        if (r.boxLeft == left && r.boxBottom == bottom) {
            return &r;
        }
    }
    return nullptr;
}

// 641 wide, so rows carry a padding byte and a copy without the stride shears.
class CountingTest : public testing::Test {
protected:
    static constexpr int kWidth = 641;
    static constexpr int kHeight = 120;
    const SceneShape discA{SceneShape::Kind::disc, 60, 60, 20, 0, 40};
    const SceneShape discB{SceneShape::Kind::disc, 200, 50, 12, 0, 60};
    const SceneShape bar{SceneShape::Kind::bar, 300, 30, 40, 4, 50};
    const SceneShape light{SceneShape::Kind::disc, 500, 60, 15, 0, 150};
    CountScene scene{kWidth, kHeight, 200};
    std::vector<std::uint8_t> bits;
    CIMGCount engine;

    void SetUp() override {
        for (const SceneShape& s : {discA, discB, bar, light}) {
            scene.Draw(s);
        }
        // Disc A's grey varies, so its statistics are not one level.
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (discA.Covers(x, y)) {
                    scene.At(x, y) = static_cast<std::uint8_t>(10 + (x * 7 + y * 3) % 30);
                }
            }
        }
        bits = scene.Bits();
        ASSERT_TRUE(engine.Initialize(bits, kWidth, kHeight));
        ASSERT_TRUE(engine.creatGrayImg(3));
    }

    std::vector<_tagOBJRESULT>& Analyse(int low, int high, int mode = 0) {
        EXPECT_TRUE(engine.creatEdgeImg(low, high, mode));
        EXPECT_TRUE(engine.creatAimImg());
        return engine.getObjectVector();
    }
};

TEST_F(CountingTest, TargetsMeasureWhatWasDrawn) {
    std::vector<_tagOBJRESULT>& records = Analyse(0, 100);
    ASSERT_EQ(records.size(), 3u);
    for (const SceneShape& shape : {discA, discB, bar}) {
        const Expected e = Count(scene, shape);
        const _tagOBJRESULT* r = RecordAt(records, e.left, e.bottom);
        ASSERT_NE(r, nullptr) << shape.x;
        EXPECT_EQ(r->area, e.area);
        EXPECT_EQ(r->width, e.right - e.left + 1);
        EXPECT_EQ(r->height, e.top - e.bottom + 1);
        EXPECT_EQ(r->greyMin, e.greyMin);
        EXPECT_EQ(r->greyMax, e.greyMax);
        EXPECT_EQ(r->greySum, e.greySum);
        EXPECT_EQ(r->greyMean, static_cast<std::uint32_t>((e.greySum + static_cast<std::uint64_t>(e.area) / 2) /
                                                          static_cast<std::uint64_t>(e.area)));
        EXPECT_EQ(r->excluded, 0);
    }
    const _tagOBJRESULT* a = RecordAt(records, 40, 40);
    const _tagOBJRESULT* b = RecordAt(records, 188, 38);
    const _tagOBJRESULT* flat = RecordAt(records, 300, 30);
    ASSERT_TRUE(a && b && flat);
    EXPECT_EQ(flat->area, 160);
    EXPECT_NEAR(a->centreX, 60, 1e-9);
    EXPECT_NEAR(a->centreY, 60, 1e-9);
    EXPECT_NEAR(a->radius, 20.5, 1e-9);
    EXPECT_GT(a->roundness, 0.9);
    EXPECT_GT(b->roundness, 0.85);
    EXPECT_LT(flat->roundness, 0.2);
    // Outline lengths: a disc's near its circumference, the bar's near its frame.
    EXPECT_NEAR(a->perimeter, 2 * 3.14159 * 20, 0.08 * 2 * 3.14159 * 20);
    // the frame through the pixel centres, the corners cut
    EXPECT_GT(flat->perimeter, 2 * (39 + 3));
    EXPECT_LT(flat->perimeter, 2 * (40 + 4));
    // Numbers follow the first pixel from the bottom: bar, then B, then A.
    EXPECT_EQ(flat->number, 1);
    EXPECT_EQ(b->number, 2);
    EXPECT_EQ(a->number, 3);
}

TEST_F(CountingTest, GreyWindowIsInclusiveAndANegativeLowCountsAsZero) {
    struct Case {
        int low, high;
        std::size_t targets;
        CountSize valve;
    };
    for (const Case c : {Case{0, 100, 3, {0, 100}}, Case{50, 50, 1, {50, 50}}, Case{51, 60, 1, {51, 60}},
                         Case{-1, 9, 0, {0, 9}}, Case{-1, 39, 1, {0, 39}}, Case{40, 49, 0, {40, 49}},
                         Case{150, 150, 1, {150, 150}}, Case{151, 199, 0, {151, 199}}, Case{120, 100, 0, {120, 100}}}) {
        EXPECT_EQ(Analyse(c.low, c.high).size(), c.targets) << c.low << ".." << c.high;
        EXPECT_EQ(engine.getValve().cx, c.valve.cx);
        EXPECT_EQ(engine.getValve().cy, c.valve.cy);
    }
}

TEST_F(CountingTest, AutomaticWindowTakesTheSmallerClass) {
    // Dark targets on a light ground.
    EXPECT_EQ(Analyse(0, 0, 1).size(), 3u);
    EXPECT_EQ(engine.getValve().cx, 0);
    EXPECT_GE(engine.getValve().cy, 60);
    EXPECT_LT(engine.getValve().cy, 150);
    // Light targets on a dark ground.
    CountScene dark(64, 48, 20);
    dark.Draw({SceneShape::Kind::disc, 20, 20, 6, 0, 220});
    dark.Draw({SceneShape::Kind::bar, 40, 5, 10, 3, 230});
    const std::vector<std::uint8_t> darkBits = dark.Bits();
    ASSERT_TRUE(engine.Initialize(darkBits, 64, 48));
    EXPECT_EQ(Analyse(0, 0, 1).size(), 2u);
    EXPECT_GT(engine.getValve().cx, 20);
    EXPECT_LE(engine.getValve().cx, 220);
    EXPECT_EQ(engine.getValve().cy, 255);
}

TEST_F(CountingTest, RegionKeepsExactlyThePixelsInside) {
    // From x 0 to 199: disc A whole, disc B cut at its centre column.
    engine.setSelRect(CountPoint{0, 0}, 200, kHeight);
    std::vector<_tagOBJRESULT>& records = Analyse(0, 100);
    ASSERT_EQ(records.size(), 2u);
    SceneShape halfB = discB;
    double halfArea = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < 200; ++x) {
            halfArea += halfB.Covers(x, y) ? 1 : 0;
        }
    }
    const auto b =
        std::find_if(records.begin(), records.end(), [](const _tagOBJRESULT& r) { return r.boxLeft == 188; });
    ASSERT_NE(b, records.end());
    EXPECT_EQ(b->area, halfArea);
    EXPECT_EQ(b->width, 12);
    CountPoint corner;
    int w = 0, h = 0;
    ASSERT_TRUE(engine.getSelRect(corner, w, h));
    EXPECT_EQ(w, 200);
    engine.releaseSelRect();
    // Without a region the whole picture is the region.
    corner = CountPoint{7, 7};
    EXPECT_FALSE(engine.getSelRect(corner, w, h));
    EXPECT_EQ(std::vector<int>({corner.x, corner.y, w, h}), (std::vector<int>{0, 0, kWidth, kHeight}));
    EXPECT_EQ(Analyse(0, 100).size(), 3u);
    // A region beyond the picture is clipped, never read past it.
    engine.setSelRect(CountPoint{600, 100}, 5000, 5000);
    EXPECT_EQ(Analyse(0, 255).size(), 1u);
}

TEST_F(CountingTest, FilterHidesTargetsFromFindAndMarks) {
    std::vector<_tagOBJRESULT>& records = Analyse(0, 100);
    _tagOBJFILTER filter;
    filter.enabled = 1;
    filter.lower.area = 200;  // the bar's 160 falls out
    filter.upper.area = filter.upper.perimeter = filter.upper.width = filter.upper.height = 1e9;
    filter.upper.radius = filter.upper.roundness = 1e9;
    filter.upper.greyMin = filter.upper.greyMax = 255;
    filter.upper.greyMean = filter.upper.greySum = UINT32_MAX;
    engine.setObjFilter(filter);
    EXPECT_EQ(RecordAt(records, 300, 30)->excluded, 1);
    EXPECT_EQ(RecordAt(records, 40, 40)->excluded, 0);

    unsigned number = 0;
    EXPECT_EQ(engine.FindPixBGR(305, 31, number), 0);
    ASSERT_NE(engine.FindPixBGR(60, 60, number), 0);
    EXPECT_EQ(number, 3u);
    EXPECT_EQ(engine.FindPixBGR(100, 100, number), 0);
    EXPECT_EQ(engine.FindPixBGR(-1, 5, number), 0);

    std::vector<std::uint8_t> counted = bits;
    ASSERT_TRUE(engine.DrawMarkInSrcIMG(counted, true));
    std::vector<std::uint8_t> all = bits;
    ASSERT_TRUE(engine.DrawMarkInSrcIMG(all, false));
    const std::size_t barCorner = 30 * BgrStride(kWidth) + 300 * 3;
    EXPECT_EQ(counted[barCorner + 2], 50);  // excluded: unmarked
    EXPECT_EQ(all[barCorner + 2], 255);     // red mark
    EXPECT_EQ(all[barCorner], 0);
}

TEST_F(CountingTest, OneTargetIsPaintedWhole) {
    Analyse(0, 100);
    std::vector<std::uint8_t> painted = bits;
    engine.setMarkColor(0x00FF0000);  // blue
    ASSERT_TRUE(engine.DrawMarkInSrcIMG(painted, 2));
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * BgrStride(kWidth) + static_cast<std::size_t>(x) * 3;
            const bool inB = discB.Covers(x, y);
            ASSERT_EQ(painted[at] == 255 && painted[at + 2] == 0, inB) << x << "," << y;
        }
    }
    EXPECT_FALSE(engine.DrawMarkInSrcIMG(painted, 4));
    EXPECT_FALSE(engine.DrawMarkInSrcIMG(std::span(painted).first(painted.size() - 1), 2));
}

TEST_F(CountingTest, OutlinesLandOnTheirOwnPixelsAndSpareThePadding) {
    ASSERT_TRUE(engine.creatEdgeImg(0, 100, 0));
    std::vector<std::uint8_t> painted = bits;
    ASSERT_TRUE(engine.DrawMarkInSrcIMGAfterEdge(painted, false));
    const auto target = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < kWidth && y < kHeight && scene.At(x, y) <= 100;
    };
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool edge =
                target(x, y) && (!target(x - 1, y) || !target(x + 1, y) || !target(x, y - 1) || !target(x, y + 1));
            const std::uint8_t* p = painted.data() + static_cast<std::size_t>(y) * BgrStride(kWidth) + x * 3;
            const bool red = p[0] == 0 && p[1] == 0 && p[2] == 255;
            ASSERT_EQ(red, edge) << x << "," << y;
        }
        EXPECT_EQ(painted[static_cast<std::size_t>(y) * BgrStride(kWidth) + kWidth * 3], 0xEE);
    }
}

TEST_F(CountingTest, SourceComesBackWithItsStride) {
    const std::span<const std::uint8_t> source = engine.getSrcImgBits();
    EXPECT_TRUE(std::equal(source.begin(), source.end(), bits.begin(), bits.end()));
    EXPECT_EQ(engine.GetImgSize().cx, kWidth);
    EXPECT_EQ(engine.GetImgSize().cy, kHeight);
    // A replaced picture keeps the mark colour and region and is grey again.
    engine.setMarkColor(0x123456);
    engine.setSelRect(CountPoint{1, 2}, 3, 4);
    CountScene plain(kWidth, kHeight, 77);
    ASSERT_TRUE(engine.resetSrcImg(plain.Bits(), kWidth, kHeight));
    EXPECT_EQ(engine.getMarkColor(), 0x123456u);
    CountPoint corner;
    int w = 0, h = 0;
    EXPECT_TRUE(engine.getSelRect(corner, w, h));
    const std::span<const std::uint8_t> grey = engine.GetGreyImage();
    EXPECT_TRUE(std::all_of(grey.begin(), grey.end(), [](std::uint8_t g) { return g == 77; }));
    EXPECT_FALSE(engine.resetSrcImg(std::span(bits).first(bits.size() - 1), kWidth, kHeight));
}

TEST_F(CountingTest, HistogramCountsEveryPixelOnce) {
    std::array<int, 256> histogram{};
    int largest = -1;
    ASSERT_TRUE(engine.getHistogram(histogram, largest));
    EXPECT_EQ(std::accumulate(histogram.begin(), histogram.end(), 0), kWidth * kHeight);
    EXPECT_EQ(largest, histogram[200]);
    EXPECT_EQ(histogram[150], static_cast<int>(Count(scene, light).area));
    EXPECT_EQ(histogram[50], 160);
}

TEST_F(CountingTest, ChannelsReadTheirOwnColour) {
    // Bottom-left pixel: blue 10, green 20, red 30.
    bits[0] = 10;
    bits[1] = 20;
    bits[2] = 30;
    ASSERT_TRUE(engine.Initialize(bits, kWidth, kHeight));
    struct Case {
        int channel;
        std::uint8_t grey;
    };
    for (const Case c : {Case{0, 30}, Case{1, 20}, Case{2, 10}, Case{3, 22}}) {
        ASSERT_TRUE(engine.creatGrayImg(c.channel));
        EXPECT_EQ(engine.GetGreyImage()[0], c.grey) << c.channel;
        EXPECT_EQ(engine.GetGreyImage()[1], 200);
    }
    EXPECT_FALSE(engine.creatGrayImg(4));
}

TEST_F(CountingTest, ProgressEndsAtTheTargetCount) {
    ASSERT_TRUE(engine.creatEdgeImg(0, 100, 0));
    ASSERT_TRUE(engine.creatAimImg());
    EXPECT_EQ(engine.getObjectVector().size(), 3u);  // waits for the worker
    EXPECT_EQ(engine.getResultStation(), 0);
    EXPECT_EQ(engine.getObjCounts(), 3);
    EXPECT_EQ(engine.getCurrentNum(), 3);
    // Destroying a running engine joins its worker.
    auto other = std::make_unique<CIMGCount>();
    ASSERT_TRUE(other->Initialize(bits, kWidth, kHeight));
    ASSERT_TRUE(other->creatEdgeImg(0, 100, 0));
    ASSERT_TRUE(other->creatAimImg());
    other.reset();
    CIMGCount empty;
    EXPECT_FALSE(empty.creatAimImg());
    EXPECT_FALSE(empty.creatEdgeImg(0, 10, 0));
}

TEST_F(CountingTest, EdgeImageIsSavedWithEitherFlag) {
    ASSERT_TRUE(engine.creatEdgeImg(0, 100, 0));
    const std::vector<std::uint8_t> mask(engine.EdgeImage().begin(), engine.EdgeImage().end());
    for (const int flag : {0, 1}) {
        const std::filesystem::path file = testing_support::UniqueTempPath("vz_imgcount_edge.bmp");
        ASSERT_TRUE(engine.saveEdgeImg(file, flag)) << flag;
        ASSERT_TRUE(engine.creatEdgeImg(0, 255, 0));
        ASSERT_TRUE(engine.loadEdgeImg(file));
        EXPECT_TRUE(std::equal(mask.begin(), mask.end(), engine.EdgeImage().begin(), engine.EdgeImage().end()));
        std::filesystem::remove(file);
    }
    // A file of another size leaves the mask as it was.
    CIMGCount small;
    CountScene tiny(3, 2, 9);
    ASSERT_TRUE(small.Initialize(tiny.Bits(), 3, 2));
    const std::filesystem::path file = testing_support::UniqueTempPath("vz_imgcount_small.bmp");
    ASSERT_TRUE(small.saveEdgeImg(file, 0));
    EXPECT_FALSE(engine.loadEdgeImg(file));
    EXPECT_TRUE(std::equal(mask.begin(), mask.end(), engine.EdgeImage().begin(), engine.EdgeImage().end()));
    std::filesystem::remove(file);
    EXPECT_FALSE(CIMGCount().saveEdgeImg(file, 1));
}

TEST_F(CountingTest, ManualEditsChangeTheTargets) {
    ASSERT_TRUE(engine.creatEdgeImg(0, 100, 0));
    std::vector<std::uint8_t> picture = bits;

    // Cutting the bar across its middle leaves two bars.
    ASSERT_EQ(engine.cutObjByLine(320, 25, 320, 40, 2, 1), 1);
    engine.RefCountsResultList();
    EXPECT_EQ(engine.getObjectVector().size(), 4u);
    EXPECT_EQ(engine.cutObjByLine(600, 5, 610, 5, 2, 1), 0);

    // Erasing disc B by a point on it, and nothing off every target.
    ASSERT_EQ(engine.erasureObjByPoint(picture, 200, 50, false), 1);
    EXPECT_EQ(engine.erasureObjByPoint(picture, 100, 100, false), 0);
    engine.RefCountsResultList();
    EXPECT_EQ(engine.getObjectVector().size(), 3u);
    // The repaint starts from the source: B's outline is gone.
    const std::size_t bLeft = 50 * BgrStride(kWidth) + 188 * 3;
    EXPECT_EQ(picture[bLeft + 2], 60);

    // The pen draws a 3 x 3 target; the eraser takes it again.
    ASSERT_EQ(engine.ErasureOrCreatObjByPix(picture, 600, 100, 1, false), 1);
    engine.RefCountsResultList();
    ASSERT_EQ(engine.getObjectVector().size(), 4u);
    EXPECT_EQ(engine.getObjectVector().back().area, 9);
    EXPECT_EQ(engine.ErasureOrCreatObjByPix(picture, 600, 100, 1, false), 0);
    ASSERT_EQ(engine.ErasureOrCreatObjByPix(picture, 600, 100, 1, true), 1);
    engine.RefCountsResultList();
    EXPECT_EQ(engine.getObjectVector().size(), 3u);

    // Growing from the light disc adds it whole.
    ASSERT_EQ(engine.creatEdgeImgByPoint(500, 60), 1);
    engine.RefCountsResultList();
    ASSERT_EQ(engine.getObjectVector().size(), 4u);
    EXPECT_EQ(engine.getObjectVector().back().area, Count(scene, light).area);
    EXPECT_EQ(engine.creatEdgeImgByPoint(500, 60), 0);
    EXPECT_EQ(engine.creatEdgeImgByPoint(kWidth, 0), 0);
}

TEST(CountingHoles, FillingSetsOnlyEnclosedPixels) {
    // A ring about a hole, and an open notch at the picture's edge.
    CountScene scene(30, 20, 200);
    scene.Draw({SceneShape::Kind::disc, 10, 10, 6, 0, 30});
    scene.Draw({SceneShape::Kind::disc, 10, 10, 2, 0, 200});
    scene.Draw({SceneShape::Kind::bar, 22, 0, 8, 6, 30});
    scene.Draw({SceneShape::Kind::bar, 25, 0, 2, 3, 200});
    const std::vector<std::uint8_t> bits = scene.Bits();
    CIMGCount engine;
    ASSERT_TRUE(engine.Initialize(bits, 30, 20));
    ASSERT_TRUE(engine.creatEdgeImg(0, 100, 0));
    std::vector<std::uint8_t> picture = bits;
    ASSERT_EQ(engine.FillOutLine(picture, false), 1);
    engine.RefCountsResultList();
    ASSERT_EQ(engine.getObjectVector().size(), 2u);
    const SceneShape ring{SceneShape::Kind::disc, 10, 10, 6, 0, 0};
    EXPECT_EQ(engine.getObjectVector()[0].area, 8 * 6 - 6);  // the notch stays open
    EXPECT_EQ(engine.getObjectVector()[1].area, Count(scene, ring).area);
    EXPECT_EQ(engine.FillOutLine(picture, false), 0);
}

}  // namespace

namespace {

// The pen's repaint about itself must leave the picture as a repaint of the
// whole picture would, in either mark thickness, at the edges too.
TEST_F(CountingTest, PenStepsLeaveThePictureAsAWholeRepaintWould) {
    struct Step {
        int x, y, pen;
        bool erase;
    };
    const Step steps[] = {
        {60, 60, 3, true},          // into disc A
        {40, 60, 5, false},         // beside it, joining a blob to it
        {0, 0, 5, false},           // the bottom left corner
        {kWidth - 1, kHeight - 1, 0, false},  // the top right pixel
        {305, 32, 1, true},         // a notch in the bar
    };
    for (const bool thick : {false, true}) {
        ASSERT_TRUE(engine.creatEdgeImg(0, 100, 0));
        std::vector<std::uint8_t> picture = bits;
        ASSERT_TRUE(engine.DrawMarkInSrcIMGAfterEdge(picture, thick));
        for (const Step& s : steps) {
            ASSERT_EQ(engine.ErasureOrCreatObjByPix(picture, s.x, s.y, s.pen, s.erase), 1) << s.x << "," << s.y;
            std::vector<std::uint8_t> whole = bits;
            ASSERT_TRUE(engine.DrawMarkInSrcIMGAfterEdge(whole, thick));
            EXPECT_TRUE(picture == whole) << "thick " << thick << " after the step at " << s.x << "," << s.y;
        }
    }
}

}  // namespace
