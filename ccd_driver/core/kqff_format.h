// Pure rules of the video format: readout mode and frame size from the
// requested geometry, the chunking of a frame into bulk reads, and the
// timing value of IOCTL_KQ_SET_TIMING.
#pragma once

#include <cstdint>

namespace kqff {

// How a frame of frameBytes arrives: chunksPerFrame - 1 full chunks of
// kChunkBytes, then one last transfer of lastChunkBytes (which is a
// zero-length transfer when frameBytes is a multiple of kChunkBytes).
// chunksPerFrame == 0 means no format: no frame ever completes.
struct FrameGeometry {
    std::uint32_t frameBytes = 0;
    std::uint32_t chunksPerFrame = 0;
    std::uint32_t lastChunkBytes = 0;
};

FrameGeometry GeometryForFrameBytes(std::uint32_t frameBytes);

struct FormatDecision {
    std::uint8_t readoutMode = 0;
    bool sizesFrame = false;       // false: the frame geometry stays as it was
    std::uint64_t frameBytes = 0;  // exact, so an oversized request cannot wrap
};

// Readout mode and frame size for a requested width and height on a camera
// with the given USB identity; currentMode is kept where the rules keep it.
FormatDecision DecideFormat(std::uint32_t width, std::uint32_t height, std::uint8_t currentMode, std::uint16_t vendorId,
                            std::uint16_t productId);

// The 32-bit timing value sent for a time t.
std::uint32_t TimingValueFor(std::uint32_t t);

}  // namespace kqff
