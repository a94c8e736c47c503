#pragma once
// Sizes, window starts and panning of the TWAIN device library's capture:
// plain arithmetic on the model's limits, shared by the parameter logic and
// the preview window.

#include <cstdint>
#include <optional>

namespace twain {

constexpr std::int32_t RoundDownTo(std::int32_t value, std::int32_t multiple) { return value - value % multiple; }

// The offset slot (index into the settings' eight pairs) a size mode keeps
// its window start in: mode 0 uses the third pair (768 x 576) and so on up
// to mode 5; modes 5 and up of the seven-size tables and every mode of the
// one-size table keep none and start at the origin.
std::optional<int> OffsetSlot(std::int32_t sizeMode, std::size_t tableEntries);

// A window start kept on the sensor: 0 when the window spans the sensor,
// else at most sensor - size.
std::int32_t StartWithin(std::int32_t start, std::int32_t size, std::int32_t sensor);

// The scroll codes of the preview's bars (the platform's SB_* values).
enum class ScrollCode : std::int32_t {
    lineBack = 0,     // SB_LINELEFT, SB_LINEUP
    lineForward = 1,  // SB_LINERIGHT, SB_LINEDOWN
    pageBack = 2,
    pageForward = 3,
    thumbTrack = 5,
};

inline constexpr std::int32_t kPanPageStep = 100;

struct PanOutcome {
    std::int32_t position = 0;
    bool moved = false;
    // What the scroll handler answers: false when a line move was refused or
    // a page move stopped at a limit.
    bool accepted = true;
};

// One scroll step along one axis whose region may start anywhere in
// 0 .. limit (capture size minus the visible size, never below 0).
PanOutcome Pan(std::int32_t code, std::int32_t thumb, std::int32_t position, std::int32_t limit);
constexpr std::int32_t PanLimit(std::int32_t captureSize, std::int32_t visibleSize) {
    return captureSize > visibleSize ? captureSize - visibleSize : 0;
}

}  // namespace twain
