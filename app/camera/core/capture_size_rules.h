#pragma once
// Size rules of a camera whose library captures a window of its sensor:
// the still taken at the snapshot size, and the capture window kept within
// the largest size when the resolution changes. Platform-free.
#include <cstdint>

struct CaptureSize {
    int width = 0;
    int height = 0;
};

// A still at the snapshot size switches the capture only when both sides
// differ from the capture size; with the exposure counted in lines it is
// scaled to keep the same time per frame: capture width x exposure /
// snapshot width.
struct StillPlan {
    bool switchSize = false;
    std::uint32_t exposure = 0;
};
StillPlan PlanStillAtSize(CaptureSize capture, CaptureSize snapshot, std::uint32_t exposure, bool exposureInLines);

// The window offset reduced so that offset + size stays within `largest`
// (never below 0).
std::uint32_t ClampWindowOffset(std::uint32_t offset, int size, int largest);

// The frames the library delivers for a requested window: each side at
// most the largest size (half of it while the readout is halved), rounded
// down to a multiple of 8. The library reports the requested size back, so
// the camera computes what it draws into from this.
CaptureSize DeliveredFrameSize(CaptureSize requested, bool halfReadout, CaptureSize largest);
