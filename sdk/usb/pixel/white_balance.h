// White balance: the one-shot balance that scales each channel's gain table
// to the brightest channel mean, and the continuous balance that steps the
// exposure and the sensor's red and blue gain bytes on the colour output.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "frame_statistics.h"
#include "gain_tables.h"

namespace kqcmos {

// table[j] = trunc(min(j x factor, 254.9) + 0.5).
ByteTable WhiteBalanceTable(double factor);

// Gain tables that bring the red, green and blue means of the raw frame over
// `rect` (the whole frame when not given) to the largest of them, red where
// `cell` puts it. A channel mean of 0 counts as 1, so a black channel cannot
// divide by zero. Nothing when a colour has no sample in `rect`: the tables
// in use are then kept.
std::optional<GainTables> ComputeWhiteBalance(FrameSize size, std::span<const std::uint8_t> raw,
                                              const std::optional<PixelRect>& rect, BayerCell cell = {});

// The same over a 24-bit BGR frame (blue, green, red bytes of each pixel).
std::optional<GainTables> ComputeWhiteBalanceBgr(FrameSize size, std::span<const std::uint8_t> bgr,
                                                 const std::optional<PixelRect>& rect);

// Sensor gain bytes moved by the continuous balance (bytes 1 and 3 of the
// three gain bytes of the capture information).
struct SensorGains {
    int red = 0;    // gain byte 1
    int green = 0;  // gain byte 2
    int blue = 0;   // gain byte 3
};

// Report value of a finished continuous balance:
// ((exposure >> 3) << 24) | (blue << 16) | (green << 8) | red.
std::uint32_t PackContinuousWhiteBalance(int exposure, const SensorGains& gains);

struct WhiteBalanceOutcome {
    bool evaluated = false;
    bool finished = false;  // all settled: clear the request and report
};

class ContinuousWhiteBalance {
public:
    static constexpr int kMinGainByte = 2;
    static constexpr int kMaxGainByte = 62;

    // One step on the 24-bit output (every second call). Updates the
    // exposure and gain bytes in place; the caller sends them when evaluated.
    WhiteBalanceOutcome Step(FrameSize size, std::span<std::uint8_t> rgb, bool mark, int& exposure, SensorGains& gains);
    void Restart();

private:
    enum class State { lowering, raising, settled, start };

    void ExposurePhase(int green, int& exposure);
    // Moves one gain byte so that `channel` approaches `green`; the byte drops
    // only from `dropFrom` up and stays within dropFrom - 1 .. kMaxGainByte.
    static void FollowChannel(int channel, int green, int dropFrom, State& state, int& lowerDiff, int& raiseDiff,
                              int& gainByte);

    int callCount_ = 0;
    State red_ = State::start;
    State exposure_ = State::start;
    State blue_ = State::start;
    int redLowerDiff_ = 256;
    int redRaiseDiff_ = 256;
    int blueLowerDiff_ = 256;
    int blueRaiseDiff_ = 256;
};

}  // namespace kqcmos
