#include <gtest/gtest.h>

#include "color_palette.h"

namespace {

using namespace color_palette;

Layout WithBoth() { return LayoutPopup(2, true, {60, 13}, true, {80, 13}); }
Layout GridOnly() { return LayoutPopup(2, false, {}, false, {}); }

TEST(ColourTable, HoldsTheFortyNamedColours) {
    const struct {
        int index;
        Colour colour;
        const wchar_t* name;
    } cases[] = {
        {0, 0x000000, L"Black"},
        {1, Rgb(0xA5, 0x2A, 0x00), L"Brown"},
        {9, Rgb(0xFF, 0x68, 0x20), L"Orange"},
        {16, 0x0000FF, L"Red"},
        {13, 0xFF0000, L"Blue"},
        {35, Rgb(0x98, 0xFB, 0x98), L"Pale green "},
        {39, 0xFFFFFF, L"White"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TableEntry(c.index).colour, c.colour) << c.index;
        EXPECT_STREQ(TableEntry(c.index).name, c.name) << c.index;
    }
    for (int i = 0; i < kColourCount; ++i) {
        for (int j = i + 1; j < kColourCount; ++j) {
            EXPECT_NE(TableEntry(i).colour, TableEntry(j).colour) << i << " " << j;
        }
    }
}

TEST(PaletteLayout, SizesTheGridAndTheCaptionCells) {
    const Layout grid = GridOnly();
    EXPECT_EQ(grid.box, 18);
    EXPECT_EQ(grid.width, 8 * 18 + 4);
    EXPECT_EQ(grid.height, 5 * 18 + 4);

    const Layout both = WithBoth();
    // Caption cell height: text 13 + 4 * margin + 2 = 23.
    EXPECT_EQ(both.automatic, (Box{2, 2, 2 + 148 - 4, 4 + 23}));
    const int afterAutomatic = 5 * 18 + 4 + 4 + 25;
    EXPECT_EQ(both.more, (Box{2, afterAutomatic, 148 - 2, afterAutomatic + 2 + 23}));
    EXPECT_EQ(both.height, afterAutomatic + 4 + 25);

    // A caption wider than the grid widens the pop-up.
    const Layout wide = LayoutPopup(2, true, {200, 13}, false, {});
    EXPECT_EQ(wide.width, 204);
    // A wide edge keeps the cell large enough for its frame.
    EXPECT_EQ(LayoutPopup(6, false, {}, false, {}).box, 19);
}

TEST(PaletteLayout, EachCellCentreHitsItsOwnIndex) {
    for (const Layout& layout : {GridOnly(), WithBoth()}) {
        for (int i = 0; i < kColourCount; ++i) {
            const Box b = CellBox(layout, i);
            EXPECT_EQ(b.right - b.left, layout.box);
            EXPECT_EQ(HitTest(layout, (b.left + b.right) / 2, (b.top + b.bottom) / 2), i) << i;
        }
    }
    const Layout both = WithBoth();
    EXPECT_EQ(CellBox(both, 9), (Box{20, 2 + 25 + 2 + 18, 38, 2 + 25 + 2 + 36}));
    EXPECT_EQ(HitTest(both, 40, 12), kAutomaticCell);
    EXPECT_EQ(HitTest(both, 40, both.more.top + 8), kMoreCell);
    EXPECT_EQ(HitTest(GridOnly(), 40, GridOnly().height + 30), kNoCell);
    EXPECT_EQ(HitTest(GridOnly(), -30, 5), kNoCell);
    EXPECT_EQ(HitTest(GridOnly(), 500, 5), kNoCell);
}

TEST(PaletteLayout, IndexOfRowAndColumn) {
    const Layout both = WithBoth();
    const Layout grid = GridOnly();
    const struct {
        const Layout* layout;
        int row;
        int column;
        int expected;
    } cases[] = {
        {&grid, 0, 0, 0},        {&grid, 4, 7, 39},         {&grid, 5, 0, kNoCell},
        {&grid, 0, 8, kNoCell},  {&both, -2, 3, kMoreCell}, {&both, -3, 3, kAutomaticCell},
        {&grid, -2, 0, kNoCell}, {&grid, -3, 0, kNoCell},   {&both, -1, 0, kNoCell},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IndexAt(*c.layout, c.row, c.column), c.expected) << c.row << "," << c.column;
    }
}

TEST(PaletteSelection, ChosenCellFollowsTheInitialColour) {
    const Layout both = WithBoth();
    const Layout grid = GridOnly();
    const Layout moreOnly = LayoutPopup(2, false, {}, true, {80, 13});
    EXPECT_EQ(ChosenCellFor(both, kAutomaticColour), kAutomaticCell);
    EXPECT_EQ(ChosenCellFor(both, 0x0000FF), 16);
    EXPECT_EQ(ChosenCellFor(both, 0x123456), kMoreCell);
    EXPECT_EQ(ChosenCellFor(grid, 0x123456), kNoCell);
    EXPECT_EQ(ChosenCellFor(moreOnly, kAutomaticColour), kMoreCell);
    EXPECT_EQ(ChosenCellFor(grid, kAutomaticColour), kNoCell);
}

TEST(PaletteSelection, IndicesPastTheTableAreTheMoreColoursCell) {
    EXPECT_EQ(NormaliseSelection(39), 39);
    EXPECT_EQ(NormaliseSelection(40), kMoreCell);
    EXPECT_EQ(NormaliseSelection(41), kMoreCell);
    EXPECT_EQ(NormaliseSelection(kAutomaticCell), kAutomaticCell);
}

TEST(PaletteKeys, ArrowsWalkTheGridAndTheCaptionCells) {
    const Layout both = WithBoth();
    const Layout grid = GridOnly();
    const Layout autoOnly = LayoutPopup(2, true, {60, 13}, false, {});
    const struct {
        const Layout* layout;
        int from;
        Key key;
        int expected;
    } cases[] = {
        {&grid, 3, Key::kDown, 11},
        {&both, 35, Key::kDown, kMoreCell},
        {&autoOnly, 35, Key::kDown, kAutomaticCell},
        {&grid, 35, Key::kDown, 0},
        {&grid, 11, Key::kUp, 3},
        {&both, 3, Key::kUp, kAutomaticCell},
        {&grid, 3, Key::kUp, 39},
        {&grid, 7, Key::kRight, 8},
        {&both, 39, Key::kRight, kMoreCell},
        {&autoOnly, 39, Key::kRight, kAutomaticCell},
        {&grid, 39, Key::kRight, 0},
        {&grid, 8, Key::kLeft, 7},
        {&both, 0, Key::kLeft, kAutomaticCell},
        {&grid, 0, Key::kLeft, 39},
        {&both, kAutomaticCell, Key::kDown, 0},
        {&both, kAutomaticCell, Key::kRight, 0},
        {&both, kAutomaticCell, Key::kUp, kMoreCell},
        {&autoOnly, kAutomaticCell, Key::kLeft, 39},
        {&both, kMoreCell, Key::kDown, kAutomaticCell},
        {&both, kMoreCell, Key::kUp, 39},
        {&both, kMoreCell, Key::kLeft, 39},
        {&both, kMoreCell, Key::kRight, kAutomaticCell},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Navigate(*c.layout, c.from, c.key), c.expected) << c.from << " key " << static_cast<int>(c.key);
    }
}

TEST(PopupPlacement, StaysOnTheScreen) {
    const struct {
        Point at;
        Point expected;
    } cases[] = {
        {{100, 200}, {100, 200}},             // fits below the button
        {{950, 200}, {874, 200}},             // shifted left off the right edge
        {{-20, 200}, {0, 200}},               // shifted right off the left edge
        {{100, 700}, {100, 700 - 150 - 24}},  // opens above the button
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlacePopup(c.at, 150, 150, 1024, 768, 24), c.expected) << c.at.x << "," << c.at.y;
    }
}

}  // namespace
