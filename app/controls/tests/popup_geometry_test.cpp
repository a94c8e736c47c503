#include <gtest/gtest.h>

#include "popup_geometry.h"

namespace {

using namespace popup;

TEST(PopupHandles, HitTestFindsEachHandleOnTheBorder) {
    const struct {
        int x;
        int y;
        Handle expected;
    } cases[] = {
        {0, 0, kTopLeft},     {3, 3, kTopLeft}, {50, 0, kTop},    {52, 2, kTop},          {99, 0, kTopRight},
        {96, 2, kTopRight},   {99, 40, kRight}, {96, 42, kRight}, {99, 79, kBottomRight}, {50, 79, kBottom},
        {0, 79, kBottomLeft}, {0, 40, kLeft},   {3, 38, kLeft},   {20, 0, kNone},         {99, 20, kNone},
        {50, 40, kNone},      {53, 0, kNone},   {4, 40, kNone},   {99, 3, kNone},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HitTest(100, 80, c.x, c.y), c.expected) << c.x << "," << c.y;
    }
}

TEST(PopupHandles, CursorsFollowTheDirection) {
    const int expected[] = {171, 173, 175, 172, 174, 173, 175, 172, 174};
    for (int h = kNone; h <= kLeft; ++h) {
        EXPECT_EQ(CursorFor(static_cast<Handle>(h)), expected[h]) << h;
    }
}

TEST(PopupResize, EdgesFollowTheirHandle) {
    const struct {
        Handle handle;
        Box expected;
    } cases[] = {
        {kTopLeft, {15, 17, 50, 60}},    {kTop, {10, 17, 50, 60}},         {kTopRight, {10, 17, 55, 60}},
        {kRight, {10, 10, 55, 60}},      {kBottomRight, {10, 10, 55, 67}}, {kBottom, {10, 10, 50, 67}},
        {kBottomLeft, {15, 10, 50, 67}}, {kLeft, {15, 10, 50, 60}},
    };
    for (const auto& c : cases) {
        Box box{10, 10, 50, 60};
        EXPECT_FALSE(ResizeStep(box, c.handle, 5, 7));
        EXPECT_EQ(box, c.expected) << c.handle;
    }
}

TEST(PopupResize, AnEdgePastItsOppositeStopsOnePixelShort) {
    Box box{10, 10, 50, 60};
    EXPECT_TRUE(ResizeStep(box, kLeft, 100, 0));
    EXPECT_EQ(box, (Box{49, 10, 50, 60}));
    EXPECT_FALSE(ResizeStep(box, kLeft, -9, 0));
    EXPECT_EQ(box, (Box{40, 10, 50, 60}));
    EXPECT_TRUE(ResizeStep(box, kBottomRight, 3, -200));
    EXPECT_EQ(box, (Box{40, 10, 53, 11}));
    EXPECT_TRUE(ResizeStep(box, kTop, 0, 1));
    EXPECT_EQ(box, (Box{40, 10, 53, 11}));
}

TEST(PopupHandles, SquaresSitOnCornersAndMidpoints) {
    HandleSquare squares[8];
    HandleSquares(101, 60, squares);
    const HandleSquare expected[8] = {{0, 0}, {49, 0}, {98, 0}, {98, 28}, {98, 57}, {49, 57}, {0, 57}, {0, 28}};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(squares[i].left, expected[i].left) << i;
        EXPECT_EQ(squares[i].top, expected[i].top) << i;
    }
}

}  // namespace
