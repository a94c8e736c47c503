// The eight-frame bad-pixel calibration: switch the camera to the full
// sensor at maximum exposure, detect on the fifth frame, then return to the
// caller's settings. The device object applies the settings this returns.
#pragma once

#include <optional>

#include "sensor_window.h"

namespace kqcmos {

struct CaptureSettings {
    int exposure = 0;
    SensorWindow window;
    friend bool operator==(const CaptureSettings&, const CaptureSettings&) = default;
};

class PixelCalibration {
public:
    static constexpr int kIdleCountdown = 9;

    // Starts a calibration. False (nothing changes) when the window is not
    // the full sensor or a calibration is already running.
    [[nodiscard]] bool Arm(bool windowIsFullSensor);

    struct Step {
        std::optional<CaptureSettings> apply;  // settings to send to the camera
        bool detectNow = false;                // detect bad pixels in this frame
    };

    // Once per frame while armed. `current` is what the camera runs with now;
    // `calibration` the full sensor at (0, 0) with the maximum exposure.
    Step Advance(const CaptureSettings& current, const CaptureSettings& calibration);

    // Capture stopped: a calibration cannot finish without frames, so it is
    // dropped. Returns the caller's settings when they had been replaced.
    std::optional<CaptureSettings> Disarm();

    bool armed() const { return armed_; }
    int countdown() const { return countdown_; }

private:
    bool armed_ = false;
    int countdown_ = kIdleCountdown;
    std::optional<CaptureSettings> saved_;
};

}  // namespace kqcmos
