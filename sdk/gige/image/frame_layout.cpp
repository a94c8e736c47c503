#include "frame_layout.h"

#include <algorithm>

namespace kqge {

bool ToOutputKind(int value, OutputKind& kind) {
    if (value < 0 || value > 5) return false;
    kind = static_cast<OutputKind>(value);
    return true;
}

int RawBytesPerSample(OutputKind kind) { return kind == OutputKind::wide16 ? 2 : 1; }

int OutputBytesPerPixel(OutputKind kind) {
    switch (kind) {
    case OutputKind::color:
    case OutputKind::color5:
    case OutputKind::grey24: return 3;
    case OutputKind::wide16: return 2;
    case OutputKind::grey8:
    case OutputKind::raw8: return 1;
    }
    return 3;
}

std::size_t RawFrameBytes(FrameSize size, OutputKind kind) { return kqcmos::FrameBytes(size, RawBytesPerSample(kind)); }

std::size_t OutputFrameBytes(FrameSize size, OutputKind kind) {
    return kqcmos::FrameBytes(size, OutputBytesPerPixel(kind));
}

std::size_t ScratchBytes(FrameSize size, OutputKind kind) {
    // The flip target, the quarter-turn target and two rows for sharpening.
    const std::size_t twoRows = 2 * kqcmos::FrameBytes({size.width, 1}, OutputBytesPerPixel(kind));
    return std::max({RawFrameBytes(size, kind), OutputFrameBytes(size, kind), twoRows});
}

}  // namespace kqge
