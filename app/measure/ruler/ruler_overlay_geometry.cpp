#include "ruler_overlay_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kLabelCharWidth = 12;

int ClampToInt(double v) {
    return static_cast<int>(std::clamp(v, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
}

}  // namespace

double RulerScaleValue(double value) { return std::isfinite(value) && value > 0.0 ? value : 1.0; }

std::optional<int> FrameToDisplay(int framePosition, int frame, int display) {
    if (frame <= 0 || display <= 0) {
        return std::nullopt;
    }
    return ClampToInt(static_cast<double>(display) * framePosition / frame);
}

std::optional<int> DisplayToFrame(int displayPosition, int frame, int display) {
    if (frame <= 0 || display <= 0) {
        return std::nullopt;
    }
    return ClampToInt(static_cast<double>(frame) * displayPosition / display);
}

RulerLine LayOutRulerLine(const RulerAxisInput& in) {
    RulerLine line;
    line.across = in.linePosition - in.scrollAcross;
    line.lineFrom = -in.scrollAlong;
    line.lineTo = in.displayAlong - in.scrollAlong;
    const int spacing = std::max(1, in.spacing);
    const double scale = RulerScaleValue(in.scale);
    const double zoom = std::isfinite(in.zoom) && in.zoom > 0.0 ? in.zoom : 1.0;
    const double step = std::max(1.0, spacing / scale * zoom);
    const double count = std::floor(static_cast<double>(in.frameAlong) / spacing * scale);
    const int acrossLimit = in.displayAcross - in.scrollAcross;
    for (double i = 1; i <= count; ++i) {
        const double along = -in.scrollAlong + i * step;
        if (along > line.lineTo) {
            break;
        }
        if (along <= 0) {
            continue;
        }
        const auto n = static_cast<std::int64_t>(i);
        const int reach = n % 10 == 0 ? 7 : n % 5 == 0 ? 5 : 3;
        RulerTickMark tick;
        tick.along = static_cast<int>(along);
        tick.from = std::max(0, line.across - reach);
        tick.to = std::min(acrossLimit - 1, line.across + reach);
        line.ticks.push_back(tick);
    }
    return line;
}

std::u16string RulerLabelText(int spacing, std::u16string_view unit) {
    std::u16string text;
    for (const char c : std::to_string(spacing)) {
        text.push_back(static_cast<char16_t>(c));
    }
    text.append(unit);
    return text;
}

RulerLabelRect HorizontalLabelRect(int lineY, int scrollX, int characters) {
    const int left = -scrollX + 10;
    const int right = left + kLabelCharWidth * characters;
    if (lineY < 41) {
        return {left, lineY + 10, right, lineY + 30};
    }
    return {left, lineY - 20, right, lineY};
}

RulerLabelRect VerticalLabelRect(int lineX, int scrollY, int characters, int displayWidth) {
    const int width = kLabelCharWidth * characters;
    const int top = -scrollY + 10;
    if (lineX + width + 10 < displayWidth) {
        return {lineX + 10, top, lineX + 10 + width, top + 20};
    }
    return {lineX - 10 - width, top, lineX - 10, top + 20};
}
