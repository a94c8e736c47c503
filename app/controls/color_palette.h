#pragma once
// The colour pop-up's table and arithmetic: the 40 named colours, the cell
// layout, hit testing, the arrow-key walk and the pop-up's placement on the
// screen. Cell indices 0..39 are colour cells; the two caption cells and
// "none" have the negative indices below.
#include <cstdint>

#include "pixel_box.h"

namespace color_palette {

// A colour as the platform packs it: red in the low byte.
using Colour = std::uint32_t;
inline constexpr Colour kAutomaticColour = 0xFF000000u;

inline constexpr int kColourCount = 40;
inline constexpr int kColumns = 8;
inline constexpr int kRows = kColourCount / kColumns + (kColourCount % kColumns ? 1 : 0);

enum Cell : int { kAutomaticCell = -3, kMoreCell = -2, kNoCell = -1 };

struct NamedColour {
    Colour colour;
    const wchar_t* name;  // the cell's tooltip
};
const NamedColour& TableEntry(int index);

constexpr Colour Rgb(int red, int green, int blue) {
    return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) | (static_cast<Colour>(blue) << 16);
}

using Box = PixelBox;

struct TextSize {
    int width = 0;
    int height = 0;
};

// The pop-up's cells and size. A caption of zero width and height is absent.
struct Layout {
    int margin = 0;
    int box = 0;
    bool hasAutomatic = false;
    bool hasMore = false;
    Box automatic;
    Box more;
    int width = 0;
    int height = 0;
};

// margin: the system edge width; the captions' text extents in the pop-up
// font (an empty caption has no cell).
Layout LayoutPopup(int margin, bool hasAutomatic, TextSize automaticText, bool hasMore, TextSize moreText);

// The client rectangle of colour cell 0..39.
Box CellBox(const Layout& layout, int index);
// The index of the cell at (row, column); row or column -2 and -3 name the
// caption cells where they exist; everything else off the grid is kNoCell.
int IndexAt(const Layout& layout, int row, int column);
// The cell under a client point, or kNoCell where a move changes nothing.
int HitTest(const Layout& layout, int x, int y);

// The cell first shown as chosen for the colour current when the pop-up opens.
int ChosenCellFor(const Layout& layout, Colour initial);
// A selection index as the pop-up keeps it: anything past the table is the
// more-colours cell (the table has no entry 40).
int NormaliseSelection(int index);

enum class Key { kDown, kUp, kRight, kLeft };
// The hover cell after an arrow key.
int Navigate(const Layout& layout, int current, Key key);

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};
// The pop-up's top-left for a window of width x height opened at the
// button's bottom-left `at`, kept on a screen of screenWidth x screenHeight:
// above the button when it would pass the bottom.
Point PlacePopup(Point at, int width, int height, int screenWidth, int screenHeight, int buttonHeight);

}  // namespace color_palette
