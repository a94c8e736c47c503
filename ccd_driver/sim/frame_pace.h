// The pace of a simulated sensor: how long a rolling-shutter sensor takes
// per frame, and a pacer that lets a stream thread send each frame no sooner
// than the sensor would have it ready. Platform-free, so every simulated
// camera (USB and GigE) keeps the same timing.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

namespace kqff::sim {

// A row is read while the next rows still expose, so a frame takes the
// longer of its readout (rows x row time) and its exposure (exposure lines x
// row time). A zero row time is an unpaced sensor: no time at all.
std::chrono::nanoseconds SensorFrameTime(std::uint32_t rows, std::uint32_t exposureLines,
                                         std::chrono::nanoseconds rowTime);

// Keeps a stream at one frame per frame time. The first frame goes at once;
// a stream that fell behind (the reader was slow) starts its pace afresh
// rather than bursting to catch up.
class FramePacer {
public:
    using Clock = std::chrono::steady_clock;

    // Waits until the next frame is due after one of frameTime, waking at
    // least every few milliseconds to ask stop (a callable returning true to
    // give up). False when stop said so.
    template <class Stop>
    bool WaitTurn(std::chrono::nanoseconds frameTime, Stop&& stop) {
        // Short enough that a stopping stream ends promptly whatever the exposure.
        constexpr auto kStopCheck = std::chrono::milliseconds(5);
        const Clock::time_point due = TakeDue(frameTime);
        for (Clock::time_point now = Clock::now(); now < due; now = Clock::now()) {
            if (stop()) return false;
            std::this_thread::sleep_until(std::min(due, now + kStopCheck));
        }
        return !stop();
    }

private:
    // When the frame after one of frameTime is due, taken as sent then.
    Clock::time_point TakeDue(std::chrono::nanoseconds frameTime);

    Clock::time_point last_{};
    bool started_ = false;
};

}  // namespace kqff::sim
