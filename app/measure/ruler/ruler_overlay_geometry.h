#pragma once
// The measuring ruler's arithmetic: a calibrated scale line with a tick
// every "tick spacing" calibrated units and a label, along one axis of the
// picture or video frame as shown. Frame sizes are picture (or frame)
// pixels, display sizes window pixels; all positions are window pixels.
#include <optional>
#include <string>
#include <vector>

struct RulerSizes {
    int frameWidth = 0;
    int frameHeight = 0;
    int displayWidth = 0;
    int displayHeight = 0;

    // Nothing can be converted or drawn while any size is 0 or less.
    bool Usable() const { return frameWidth > 0 && frameHeight > 0 && displayWidth > 0 && displayHeight > 0; }
};

// A calibration value (units per pixel) fit to divide by: not positive or
// not finite gives 1.
double RulerScaleValue(double value);

// A stored line position (frame pixels) as a window position on an axis of
// `display` window pixels over `frame` frame pixels, and back; none when
// either size is 0 or less.
std::optional<int> FrameToDisplay(int framePosition, int frame, int display);
std::optional<int> DisplayToFrame(int displayPosition, int frame, int display);

struct RulerTickMark {
    int along = 0;  // position along the line
    int from = 0;   // across the line: the tick's first and last pixel
    int to = 0;
};

// One scale line: the line `across` (its y for the horizontal line, its x
// for the vertical one) from `lineFrom` to `lineTo` along, and its ticks.
struct RulerLine {
    int across = 0;
    int lineFrom = 0;
    int lineTo = 0;
    std::vector<RulerTickMark> ticks;
};

struct RulerAxisInput {
    int spacing = 10;       // calibrated units between ticks, at least 1
    double scale = 1.0;     // calibrated units per frame pixel
    double zoom = 1.0;      // window pixels per frame pixel
    int frameAlong = 0;     // frame length along the line
    int displayAlong = 0;   // display length along the line
    int displayAcross = 0;  // display length across the line
    int scrollAlong = 0;
    int scrollAcross = 0;
    int linePosition = 0;  // across, window pixels, unscrolled
};

// The line and its ticks: spacing / scale × zoom window pixels apart (at
// least 1), as many as the frame holds, ticks past the display's end or at
// or before its start left out. Every tenth tick reaches 7 pixels to each
// side, every fifth 5, the others 3, cut to the display across (its last
// pixel is display across - scroll across - 1).
RulerLine LayOutRulerLine(const RulerAxisInput& input);

struct RulerLabelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The label text: the spacing followed by the unit.
std::u16string RulerLabelText(int spacing, std::u16string_view unit);

// The horizontal line's label: from 10 right of the display's left edge,
// 12 pixels a character, above the line, or below it when the line lies
// less than 41 pixels from the top.
RulerLabelRect HorizontalLabelRect(int lineY, int scrollX, int characters);
// The vertical line's label: near the display's top, right of the line
// while it fits left of the display's right edge, else left of the line.
RulerLabelRect VerticalLabelRect(int lineX, int scrollY, int characters, int displayWidth);
