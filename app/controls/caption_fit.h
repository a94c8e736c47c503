#pragma once
// Shortening a thumbnail caption that does not fit its cell: the text is
// halved and ended with "..." until it leaves more than one pixel each side.
// Halving counts characters, so a surrogate pair is never split, and it stops
// once halving no longer shortens the text (a very narrow cell keeps the
// shortest form instead of looping).
#include <functional>
#include <string>
#include <string_view>

struct CaptionFit {
    std::u16string text;
    bool truncated = false;
};

// measure gives the text's width in pixels; cellWidth is the cell's width.
CaptionFit FitCaption(std::u16string_view caption, int cellWidth,
                      const std::function<int(std::u16string_view)>& measure);
