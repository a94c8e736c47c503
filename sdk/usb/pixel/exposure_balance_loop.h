// The contrast-demosaic camera's combined exposure and white-balance loop on
// its 24-bit output: first the exposure (raw lines, at most 255) is brought
// to a green mean of 190..200, then the red sensor gain byte and then the
// blue one follow the green mean, each settling on the side of the smaller
// error once it overshoots.
#pragma once

#include <cstdint>
#include <span>

#include "frame_size.h"
#include "white_balance.h"

namespace kqcmos {

// Report value of a finished loop: red gain in bits 0-7, green in 8-15,
// blue in 16-23 and exposure / 2 from bit 24 up.
std::uint32_t PackExposureBalance(int exposure, const SensorGains& gains);

struct ExposureBalanceOutcome {
    bool evaluated = false;
    bool finished = false;  // all settled: clear the request and report
};

class ExposureBalanceLoop {
public:
    static constexpr int kMaxExposure = 255;
    static constexpr int kMaxGainByte = 255;

    // One call per delivered frame; every second one measures. Exposure
    // and gain bytes are updated in place. Frames of at least 100 x 100 get
    // the mark (+100 on all bytes of the block ending 50 pixels before the
    // right and last buffer rows) on measured frames.
    ExposureBalanceOutcome Step(FrameSize size, std::span<std::uint8_t> bgr, int& exposure, SensorGains& gains);
    // A new request starts from the beginning.
    void Restart();

private:
    enum class State { lowering, raising, settled, done };

    void ExposurePhase(int green, int& exposure);
    void RedPhase(int red, int green, int& gain);
    void BluePhase(int blue, int green, int& gain);

    int callCount_ = 0;
    State exposure_ = State::done;
    State red_ = State::done;
    State blue_ = State::done;
    // Errors remembered when a gain last dropped (first, third) and rose
    // (second, fourth).
    int redLowered_ = 256;
    int redRaised_ = 256;
    int blueLowered_ = 256;
    int blueRaised_ = 256;
};

}  // namespace kqcmos
