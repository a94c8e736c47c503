#include "exposure_balance_loop.h"

#include <algorithm>
#include <cmath>

#include "frame_statistics.h"

namespace kqcmos {
namespace {

// +100 (modulo 256) on every byte of columns width-100 .. width-51 of the
// buffer rows height-100 .. height-51.
void DrawLoopMark(FrameSize size, std::span<std::uint8_t> bgr) {
    if (size.width < 100 || size.height < 100) return;
    const auto w = static_cast<std::size_t>(size.width);
    for (int y = size.height - 100; y < size.height - 50; ++y) {
        std::uint8_t* p = bgr.data() + 3 * (static_cast<std::size_t>(y) * w + w - 100);
        for (int i = 0; i < 3 * 50; ++i) p[i] = static_cast<std::uint8_t>(p[i] + 100);
    }
}

}  // namespace

std::uint32_t PackExposureBalance(int exposure, const SensorGains& gains) {
    return (static_cast<std::uint32_t>(exposure / 2) << 24) | (static_cast<std::uint32_t>(gains.blue & 0xFF) << 16) |
           (static_cast<std::uint32_t>(gains.green & 0xFF) << 8) | static_cast<std::uint32_t>(gains.red & 0xFF);
}

void ExposureBalanceLoop::Restart() {
    callCount_ = 0;
    exposure_ = red_ = blue_ = State::done;
    redLowered_ = redRaised_ = blueLowered_ = blueRaised_ = 256;
}

void ExposureBalanceLoop::ExposurePhase(int green, int& exposure) {
    if (green < 190 && exposure < kMaxExposure) {
        if (exposure_ == State::lowering) {
            exposure += 1;
            exposure_ = State::settled;
        } else if (exposure > 20 && exposure < 240) {
            exposure_ = State::raising;
            exposure = static_cast<int>(std::trunc(exposure * 1.05));
        } else {
            exposure += 1;
        }
    } else if (green <= 200 || exposure < 2) {
        exposure_ = State::settled;
    } else if (exposure_ == State::raising) {
        exposure -= 1;
        exposure_ = State::settled;
    } else if (exposure > 20) {
        exposure_ = State::lowering;
        exposure = static_cast<int>(std::trunc(exposure * 0.95));
    } else {
        exposure -= 1;
    }
}

void ExposureBalanceLoop::RedPhase(int red, int green, int& gain) {
    if (green < red && red_ != State::raising && gain >= 2) {
        redLowered_ = red - green;
        red_ = State::lowering;
        gain -= 1;
    } else if (red < green && red_ != State::lowering && gain < kMaxGainByte) {
        redRaised_ = green - red;
        red_ = State::raising;
        gain += 1;
    } else {
        red_ = State::settled;
        if (redLowered_ < green - red) {
            gain += 1;
        } else if (redRaised_ < red - green) {
            gain -= 1;
        }
    }
    gain = std::clamp(gain, 0, kMaxGainByte);
}

void ExposureBalanceLoop::BluePhase(int blue, int green, int& gain) {
    if (blue < green && blue_ != State::lowering && gain < kMaxGainByte) {
        blueRaised_ = green - blue;
        blue_ = State::raising;
        gain += 1;
    } else if (green < blue && blue_ != State::raising && gain >= 2) {
        blueLowered_ = blue - green;
        blue_ = State::lowering;
        gain -= 1;
    } else {
        blue_ = State::settled;
        if (blueRaised_ < blue - green) {
            gain -= 1;
        } else if (blueLowered_ < green - blue) {
            gain += 1;
        }
    }
    gain = std::clamp(gain, 0, kMaxGainByte);
}

ExposureBalanceOutcome ExposureBalanceLoop::Step(FrameSize size, std::span<std::uint8_t> bgr, int& exposure,
                                                 SensorGains& gains) {
    ExposureBalanceOutcome outcome;
    callCount_ = (callCount_ + 1) % 2;
    if (callCount_ != 0 || size.width <= 0 || size.height <= 0 || bgr.size() < FrameBytes(size, 3)) return outcome;
    outcome.evaluated = true;
    const auto [b, g, r] = MeanBgr(size, bgr, CentreWindow(size, 641, 481));
    DrawLoopMark(size, bgr);
    if (exposure_ == State::settled && red_ == State::settled && blue_ == State::settled) {
        Restart();
        outcome.finished = true;
        return outcome;
    }
    if (exposure_ != State::settled) {
        ExposurePhase(g, exposure);
        exposure = std::clamp(exposure, 0, kMaxExposure);
        return outcome;
    }
    if (red_ != State::settled) RedPhase(r, g, gains.red);
    if (red_ == State::settled && blue_ != State::settled) BluePhase(b, g, gains.blue);
    return outcome;
}

}  // namespace kqcmos
