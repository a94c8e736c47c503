#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "print_size_zoom.h"

namespace {

// A 96 dots-per-inch screen: 1920 pixels over 508 mm.
constexpr DeviceMetrics kScreen96{1920, 508};

TEST(PrintSizeZoomTest, PictureShowsAtItsCalibratedWidth) {
    struct Case {
        std::int32_t width;
        const char16_t* unit;
        float scale;
        std::int32_t magnification;
        double inchesOnScreen;
    };
    // 1000 pixels of 0.0254 mm are one inch; 500 pixels of 2 mil are one inch;
    // 254 pixels of 100 um are one inch.
    for (const Case k :
         {Case{1000, u"mm", 0.0254f, 1, 1.0}, Case{1000, u"mm", 0.0254f, 2, 2.0}, Case{500, u"mil", 2.0f, 1, 1.0},
          Case{254, u"\u03bcm", 100.0f, 3, 3.0}, Case{100, u"inch", 0.05f, 1, 5.0}}) {
        const auto zoom = PrintSizeZoom(k.width, k.unit, k.scale, k.magnification, kScreen96);
        ASSERT_TRUE(zoom.has_value()) << k.width;
        // Zoomed width in screen pixels over 96 pixels per inch.
        EXPECT_NEAR(*zoom * k.width / 96.0, k.inchesOnScreen, 1e-5) << k.width;
    }
}

TEST(PrintSizeZoomTest, ScreenResolutionEntersAsPixelsPerInch) {
    // The same picture on a screen of twice the density needs twice the zoom.
    const auto at96 = PrintSizeZoom(1000, u"mm", 0.0254f, 1, kScreen96);
    const auto at192 = PrintSizeZoom(1000, u"mm", 0.0254f, 1, DeviceMetrics{3840, 508});
    ASSERT_TRUE(at96 && at192);
    EXPECT_NEAR(*at96, 0.096f, 1e-6f);
    EXPECT_NEAR(*at192, 2.0f * *at96, 1e-6f);
}

TEST(PrintSizeZoomTest, NoZoomFromValuesThatDivideByZeroOrMakeNoSize) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(PrintSizeZoom(0, u"mm", 0.0254f, 1, kScreen96));
    EXPECT_FALSE(PrintSizeZoom(-5, u"mm", 0.0254f, 1, kScreen96));
    EXPECT_FALSE(PrintSizeZoom(1000, u"mm", 0.0254f, 1, DeviceMetrics{1920, 0}));
    EXPECT_FALSE(PrintSizeZoom(1000, u"mm", 0.0254f, 1, DeviceMetrics{0, 508}));
    EXPECT_FALSE(PrintSizeZoom(1000, u"mm", 0.0f, 1, kScreen96));
    EXPECT_FALSE(PrintSizeZoom(1000, u"mm", -1.0f, 1, kScreen96));
    EXPECT_FALSE(PrintSizeZoom(1000, u"mm", nan, 1, kScreen96));
    EXPECT_FALSE(PrintSizeZoom(1000, u"mm", 0.0254f, 0, kScreen96));
    EXPECT_FALSE(PrintSizeZoom(1000, u"mm", 0.0254f, -2, kScreen96));
    EXPECT_FALSE(PrintSizeZoom(1000, u"mm", std::numeric_limits<float>::infinity(), 1, kScreen96));
}

TEST(PrintedSizeTest, SidesAreCutToWholeDotsAndMustFitAnInt) {
    struct Case {
        std::int32_t width;
        std::int32_t height;
        double zoom;
        std::optional<ZoomedSize> size;
    };
    const Case cases[] = {
        {1000, 500, 2.329, ZoomedSize{2329, 1164}},  // 1164.5 is cut, not rounded
        {3, 2, 0.5, ZoomedSize{1, 1}},
        {3, 1, 0.5, std::nullopt},  // half a dot high
        {0, 10, 1.0, std::nullopt},
        {1 << 16, 10, 1e6, std::nullopt},  // 6.5e10 dots wide
        {10, 10, std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        {10, 10, -1.0, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto size = PrintedSize(c.width, c.height, c.zoom);
        ASSERT_EQ(size.has_value(), c.size.has_value()) << c.width << " x " << c.height << " at " << c.zoom;
        if (size) {
            EXPECT_EQ(size->width, c.size->width);
            EXPECT_EQ(size->height, c.size->height);
        }
    }
}

}  // namespace
