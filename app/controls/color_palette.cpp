#include "color_palette.h"

#include <initializer_list>

namespace color_palette {

namespace {

constexpr NamedColour kTable[kColourCount] = {
    {Rgb(0x00, 0x00, 0x00), L"Black"},
    {Rgb(0xA5, 0x2A, 0x00), L"Brown"},
    {Rgb(0x00, 0x40, 0x40), L"Dark Olive Green"},
    {Rgb(0x00, 0x55, 0x00), L"Dark Green"},
    {Rgb(0x00, 0x00, 0x5E), L"Dark Teal"},
    {Rgb(0x00, 0x00, 0x8B), L"Dark blue"},
    {Rgb(0x4B, 0x00, 0x82), L"Indigo"},
    {Rgb(0x28, 0x28, 0x28), L"Dark grey"},
    {Rgb(0x8B, 0x00, 0x00), L"Dark red"},
    {Rgb(0xFF, 0x68, 0x20), L"Orange"},
    {Rgb(0x8B, 0x8B, 0x00), L"Dark yellow"},
    {Rgb(0x00, 0x93, 0x00), L"Green"},
    {Rgb(0x38, 0x8E, 0x8E), L"Teal"},
    {Rgb(0x00, 0x00, 0xFF), L"Blue"},
    {Rgb(0x7B, 0x7B, 0xC0), L"Blue-grey"},
    {Rgb(0x66, 0x66, 0x66), L"Grey - 40"},
    {Rgb(0xFF, 0x00, 0x00), L"Red"},
    {Rgb(0xFF, 0xAD, 0x5B), L"Light orange"},
    {Rgb(0x32, 0xCD, 0x32), L"Lime"},
    {Rgb(0x3C, 0xB3, 0x71), L"Sea green"},
    {Rgb(0x7F, 0xFF, 0xD4), L"Aqua"},
    {Rgb(0x7D, 0x9E, 0xC0), L"Light blue"},
    {Rgb(0x80, 0x00, 0x80), L"Violet"},
    {Rgb(0x7F, 0x7F, 0x7F), L"Grey - 50"},
    {Rgb(0xFF, 0xC0, 0xCB), L"Pink"},
    {Rgb(0xFF, 0xD7, 0x00), L"Gold"},
    {Rgb(0xFF, 0xFF, 0x00), L"Yellow"},
    {Rgb(0x00, 0xFF, 0x00), L"Bright green"},
    {Rgb(0x40, 0xE0, 0xD0), L"Turquoise"},
    {Rgb(0xC0, 0xFF, 0xFF), L"Skyblue"},
    {Rgb(0x48, 0x00, 0x48), L"Plum"},
    {Rgb(0xC0, 0xC0, 0xC0), L"Light grey"},
    {Rgb(0xFF, 0xE4, 0xE1), L"Rose"},
    {Rgb(0xD2, 0xB4, 0x8C), L"Tan"},
    {Rgb(0xFF, 0xFF, 0xE0), L"Light yellow"},
    {Rgb(0x98, 0xFB, 0x98), L"Pale green "},
    {Rgb(0xAF, 0xEE, 0xEE), L"Pale turquoise"},
    {Rgb(0x68, 0x83, 0x8B), L"Pale blue"},
    {Rgb(0xE6, 0xE6, 0xFA), L"Lavender"},
    {Rgb(0xFF, 0xFF, 0xFF), L"White"},
};

constexpr int kBoxSize = 18;

int Height(const Box& box) { return box.bottom - box.top; }

int FloorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }

}  // namespace

const NamedColour& TableEntry(int index) { return kTable[index]; }

Layout LayoutPopup(int margin, bool hasAutomatic, TextSize automaticText, bool hasMore, TextSize moreText) {
    Layout layout;
    layout.margin = margin;
    layout.box = kBoxSize - 2 * margin - 7 < 0 ? 2 * margin + 7 : kBoxSize;
    layout.hasAutomatic = hasAutomatic;
    layout.hasMore = hasMore;
    layout.width = kColumns * layout.box + 2 * margin;
    layout.height = kRows * layout.box + 2 * margin;
    if (hasAutomatic) {
        const int captionHeight = automaticText.height + 4 * margin + 2;
        if (automaticText.width + 2 * margin > layout.width) {
            layout.width = automaticText.width + 2 * margin;
        }
        layout.automatic = {margin, margin, margin + layout.width - 2 * margin, 2 * margin + captionHeight};
        layout.height += 2 * margin + Height(layout.automatic);
    }
    if (hasMore) {
        const int captionHeight = moreText.height + 4 * margin + 2;
        layout.more = {margin, layout.height, layout.width - margin, layout.height + margin + captionHeight};
        layout.height += 2 * margin + Height(layout.more);
    }
    return layout;
}

Box CellBox(const Layout& layout, int index) {
    const int column = index % kColumns;
    const int row = index / kColumns;
    Box box;
    box.left = column * layout.box + layout.margin;
    box.top = row * layout.box + layout.margin;
    if (layout.hasAutomatic) {
        box.top += Height(layout.automatic) + layout.margin;
    }
    box.right = box.left + layout.box;
    box.bottom = box.top + layout.box;
    return box;
}

int IndexAt(const Layout& layout, int row, int column) {
    if (row >= 0 && column >= 0) {
        const int index = column + row * kColumns;
        return row < kRows && column < kColumns && index < kColourCount ? index : kNoCell;
    }
    if ((row == kMoreCell || column == kMoreCell) && layout.hasMore) {
        return kMoreCell;
    }
    if ((row == kAutomaticCell || column == kAutomaticCell) && layout.hasAutomatic) {
        return kAutomaticCell;
    }
    return kNoCell;
}

int HitTest(const Layout& layout, int x, int y) {
    x -= layout.margin;
    y -= layout.margin;
    if (layout.hasMore && layout.more.Contains(x, y)) {
        return kMoreCell;
    }
    if (layout.hasAutomatic && layout.automatic.Contains(x, y)) {
        return kAutomaticCell;
    }
    if (layout.hasAutomatic) {
        y -= Height(layout.automatic);
    }
    const int row = FloorDiv(y, layout.box);
    const int column = FloorDiv(x, layout.box);
    if (row < 0 || column < 0) {
        return kNoCell;
    }
    return IndexAt(layout, row, column);
}

int ChosenCellFor(const Layout& layout, Colour initial) {
    if (initial == kAutomaticColour && layout.hasAutomatic) {
        return kAutomaticCell;
    }
    for (int i = 0; i < kColourCount; ++i) {
        if (kTable[i].colour == initial) {
            return i;
        }
    }
    return layout.hasMore ? kMoreCell : kNoCell;
}

int NormaliseSelection(int index) { return index >= kColourCount ? kMoreCell : index; }

namespace {

constexpr int kFirst = 0;
constexpr int kLast = kColourCount - 1;

// The first of the listed cells that exists; `fallback` otherwise.
int Either(const Layout& layout, int a, int b, int fallback) {
    for (int cell : {a, b}) {
        if ((cell == kMoreCell && layout.hasMore) || (cell == kAutomaticCell && layout.hasAutomatic)) {
            return cell;
        }
    }
    return fallback;
}

int FromColourCell(const Layout& layout, int current, Key key) {
    const int row = current / kColumns;
    const int column = current % kColumns;
    switch (key) {
    case Key::kDown: {
        const int next = IndexAt(layout, row + 1, column);
        return next >= 0 ? next : Either(layout, kMoreCell, kAutomaticCell, kFirst);
    }
    case Key::kUp: return row > 0 ? IndexAt(layout, row - 1, column) : Either(layout, kAutomaticCell, kMoreCell, kLast);
    case Key::kRight: return current < kLast ? current + 1 : Either(layout, kMoreCell, kAutomaticCell, kFirst);
    case Key::kLeft: return current > kFirst ? current - 1 : Either(layout, kAutomaticCell, kMoreCell, kLast);
    }
    return current;
}

}  // namespace

int Navigate(const Layout& layout, int current, Key key) {
    if (current >= 0 && current < kColourCount) {
        return FromColourCell(layout, current, key);
    }
    const bool forward = key == Key::kDown || key == Key::kRight;
    if (current == kAutomaticCell) {
        return forward ? kFirst : Either(layout, kMoreCell, kMoreCell, kLast);
    }
    if (current == kMoreCell) {
        return forward ? Either(layout, kAutomaticCell, kAutomaticCell, kFirst) : kLast;
    }
    // No hover cell yet: start from the grid's edge the key points away from.
    return forward ? kFirst : kLast;
}

Point PlacePopup(Point at, int width, int height, int screenWidth, int screenHeight, int buttonHeight) {
    Point p = at;
    if (p.x + width > screenWidth) {
        p.x = screenWidth - width;
    }
    if (p.x < 0) {
        p.x = 0;
    }
    if (p.y + height > screenHeight) {
        p.y -= height + buttonHeight;
    }
    return p;
}

}  // namespace color_palette
