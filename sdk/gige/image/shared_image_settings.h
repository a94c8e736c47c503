// The camera's image settings as the setter threads and the converting
// threads share them: every field is a single atomic word, set by the
// camera's operations and read once per frame through Load.
#pragma once

#include <atomic>

#include "frame_layout.h"

namespace kqge {

class SharedImageSettings {
public:
    ImageSettings Load() const;
    void Store(const ImageSettings& settings);

    void SetContrast(int v) { contrast_.store(v, std::memory_order_relaxed); }
    void SetSaturation(int v) { saturation_.store(v, std::memory_order_relaxed); }
    void SetSharpness(int v) { sharpness_.store(v, std::memory_order_relaxed); }
    // The flip mode and both Bayer phases change together.
    void SetFlip(int flipMode, int interpolationPhase, int measurementPhase);
    void SetSensor(int sensorColorKind, int familyMarker);
    void SetValidBits(int v) { validBits_.store(v, std::memory_order_relaxed); }
    void SetHdr(bool on) { hdr_.store(on, std::memory_order_relaxed); }
    void SetConvert(bool on) { convert_.store(on, std::memory_order_relaxed); }
    void SetMonoPath(bool on) { monoPath_.store(on, std::memory_order_relaxed); }

private:
    std::atomic<int> contrast_{kNeutralContrast};
    std::atomic<int> saturation_{kNeutralSaturation};
    std::atomic<int> sharpness_{kNeutralSharpness};
    std::atomic<int> flipMode_{0};
    std::atomic<int> interpolationPhase_{3};
    std::atomic<int> measurementPhase_{3};
    std::atomic<int> sensorColorKind_{1};
    std::atomic<int> validBits_{8};
    std::atomic<int> familyMarker_{0};
    std::atomic<bool> hdr_{false};
    std::atomic<bool> convert_{false};
    std::atomic<bool> monoPath_{false};
};

}  // namespace kqge
