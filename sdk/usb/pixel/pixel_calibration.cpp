#include "pixel_calibration.h"

namespace kqcmos {

bool PixelCalibration::Arm(bool windowIsFullSensor) {
    if (!windowIsFullSensor || armed_) {
        return false;
    }
    armed_ = true;
    countdown_ = kIdleCountdown;
    saved_.reset();
    return true;
}

PixelCalibration::Step PixelCalibration::Advance(const CaptureSettings& current, const CaptureSettings& calibration) {
    Step step;
    if (!armed_) {
        return step;
    }
    --countdown_;
    if (countdown_ == 8) {
        saved_ = current;
        step.apply = calibration;
    } else if (countdown_ == 3) {
        step.detectNow = true;
    } else if (countdown_ <= 1) {
        step.apply = Disarm();
    }
    return step;
}

std::optional<CaptureSettings> PixelCalibration::Disarm() {
    armed_ = false;
    countdown_ = kIdleCountdown;
    std::optional<CaptureSettings> restore = saved_;
    saved_.reset();
    return restore;
}

}  // namespace kqcmos
