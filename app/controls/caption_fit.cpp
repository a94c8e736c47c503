#include "caption_fit.h"

#include <cstddef>

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// The first half of the text's characters (a pair counts once).
std::u16string_view FirstHalf(std::u16string_view text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(IsHighSurrogate(text[i]) && i + 1 < text.size())) {
            ++characters;
        }
    }
    std::size_t keep = characters / 2;
    std::size_t end = 0;
    while (keep > 0 && end < text.size()) {
        end += (IsHighSurrogate(text[end]) && end + 1 < text.size()) ? 2 : 1;
        --keep;
    }
    return text.substr(0, end);
}

bool Fits(int cellWidth, int textWidth) { return (cellWidth - textWidth) / 2 > 1; }

}  // namespace

CaptionFit FitCaption(std::u16string_view caption, int cellWidth,
                      const std::function<int(std::u16string_view)>& measure) {
    CaptionFit fit{std::u16string(caption), false};
    while (!Fits(cellWidth, measure(fit.text))) {
        fit.truncated = true;
        std::u16string shorter(FirstHalf(fit.text));
        shorter += u"...";
        if (shorter.size() >= fit.text.size()) {
            break;
        }
        fit.text = std::move(shorter);
    }
    return fit;
}
