// The place and size of the live video in its window.
#include <gtest/gtest.h>

#include "video_layout.h"

namespace {

TEST(FillWindowLayout, TakesTheClientAreaRoundedWhereTheLibraryNeedsIt) {
    EXPECT_EQ(FillWindowLayout({1023, 767}, FillRounding::multipleOf4), (VideoPlacement{0, 0, 1020, 764}));
    EXPECT_EQ(FillWindowLayout({1024, 768}, FillRounding::multipleOf4), (VideoPlacement{0, 0, 1024, 768}));
    EXPECT_EQ(FillWindowLayout({3, 2}, FillRounding::multipleOf4), (VideoPlacement{0, 0, 0, 0}));
    EXPECT_EQ(FillWindowLayout({1023, 767}, FillRounding::none), (VideoPlacement{0, 0, 1023, 767}));
    EXPECT_EQ(FillWindowLayout({-5, 10}, FillRounding::none), (VideoPlacement{0, 0, 0, 10}));
}

TEST(StretchedLayout, KeepsTheAspectAndCentres) {
    struct Case {
        VideoSize capture, client;
        VideoPlacement expected;
    };
    const Case cases[] = {
        {{1280, 1024}, {1000, 1000}, {0, 100, 1000, 800}},  // client taller than the video
        {{1280, 1024}, {1000, 400}, {250, 0, 500, 400}},    // client wider
        {{1360, 1024}, {800, 800}, {0, 99, 800, 602}},      // height trunc(800 / 1.328125)
        {{640, 480}, {640, 480}, {0, 0, 640, 480}},         // same aspect
        {{2592, 1944}, {1023, 767}, {0, 0, 1022, 767}},     // width truncated
        {{640, 480}, {1, 1}, {0, 0, 1, 0}},
        {{0, 480}, {1000, 1000}, {0, 0, 0, 0}},  // no capture size yet
        {{640, 0}, {1000, 1000}, {0, 0, 0, 0}},
        {{640, 480}, {0, 1000}, {0, 0, 0, 0}},  // minimised window
        {{640, 480}, {1000, -1}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StretchedLayout(c.capture, c.client), c.expected)
            << c.capture.width << "x" << c.capture.height << " in " << c.client.width << "x" << c.client.height;
    }
}

TEST(OneToOneLayout, CentresOnlyWhereThereIsRoom) {
    EXPECT_EQ(OneToOneLayout({640, 480}, {1000, 1000}), (VideoPlacement{180, 260, 640, 480}));
    EXPECT_EQ(OneToOneLayout({2592, 1944}, {1000, 1000}), (VideoPlacement{0, 0, 2592, 1944}));
    EXPECT_EQ(OneToOneLayout({640, 1944}, {1001, 1000}), (VideoPlacement{180, 0, 640, 1944}));
}

}  // namespace
