#include "white_balance.h"

#include <algorithm>
#include <cmath>

namespace kqcmos {

ByteTable WhiteBalanceTable(double factor) {
    ByteTable t{};
    for (int j = 0; j < 256; ++j) {
        const double product = j * factor;
        t[static_cast<std::size_t>(j)] =
            product < 0 ? 0 : static_cast<std::uint8_t>(std::trunc(std::min(product, 254.9) + 0.5));
    }
    return t;
}

namespace {

// Tables that bring each mean to the largest of the three.
GainTables BalanceTables(int red, int green, int blue) {
    const int brightest = std::max({red, green, blue});
    GainTables tables;
    if (brightest == 0) {
        return tables;  // a black frame says nothing about colour
    }
    auto factor = [brightest](int mean) { return static_cast<double>(brightest) / std::max(mean, 1); };
    tables.red = WhiteBalanceTable(factor(red));
    tables.green = WhiteBalanceTable(factor(green));
    tables.blue = WhiteBalanceTable(factor(blue));
    return tables;
}

}  // namespace

std::optional<GainTables> ComputeWhiteBalance(FrameSize size, std::span<const std::uint8_t> raw,
                                              const std::optional<PixelRect>& rect, BayerCell cell) {
    const RawChannelMeans means =
        MeanRawChannels(size, raw, rect.value_or(PixelRect{0, 0, size.width, size.height}), cell);
    if (!means.complete) return std::nullopt;
    return BalanceTables(means.red, means.green, means.blue);
}

std::optional<GainTables> ComputeWhiteBalanceBgr(FrameSize size, std::span<const std::uint8_t> bgr,
                                                 const std::optional<PixelRect>& rect) {
    const std::optional<PixelRect> r = ClipToFrame(rect.value_or(PixelRect{0, 0, size.width, size.height}), size);
    if (!r || !HoldsFrame(bgr, size, 3)) return std::nullopt;
    const std::array<int, 3> means = MeanBgr(size, bgr, *r);
    return BalanceTables(means[2], means[1], means[0]);
}

std::uint32_t PackContinuousWhiteBalance(int exposure, const SensorGains& gains) {
    return (static_cast<std::uint32_t>(exposure >> 3) << 24) | (static_cast<std::uint32_t>(gains.blue & 0xFF) << 16) |
           (static_cast<std::uint32_t>(gains.green & 0xFF) << 8) | static_cast<std::uint32_t>(gains.red & 0xFF);
}

void ContinuousWhiteBalance::Restart() {
    red_ = exposure_ = blue_ = State::start;
    redLowerDiff_ = redRaiseDiff_ = blueLowerDiff_ = blueRaiseDiff_ = 256;
}

void ContinuousWhiteBalance::ExposurePhase(int green, int& exposure) {
    if (green < 150 && exposure < 5100) {
        if (exposure_ != State::lowering) {
            if (exposure > 4849 || exposure < 21) {
                exposure += 1;
            } else {
                exposure_ = State::raising;
                exposure = static_cast<int>(std::trunc(exposure * 1.05));
            }
        } else {
            exposure_ = State::settled;
            exposure = static_cast<int>(std::trunc(exposure * 1.05));
        }
    } else if (green > 220 && exposure > 1) {
        if (exposure_ != State::raising) {
            if (exposure < 21) {
                exposure -= 1;
            } else {
                exposure_ = State::lowering;
                exposure = static_cast<int>(std::trunc(exposure * 0.95));
            }
        } else {
            exposure -= 1;
            exposure_ = State::settled;
        }
    } else {
        exposure_ = State::settled;
    }
}

void ContinuousWhiteBalance::FollowChannel(int channel, int green, int dropFrom, State& state, int& lowerDiff,
                                           int& raiseDiff, int& gainByte) {
    if (channel > green && state != State::raising && gainByte >= dropFrom) {
        gainByte -= 1;
        state = State::lowering;
        lowerDiff = channel - green;
    } else if (channel < green && state != State::lowering && gainByte < kMaxGainByte) {
        gainByte += 1;
        state = State::raising;
        raiseDiff = green - channel;
    } else {
        // Overshot: settle on the side with the smaller remembered error.
        state = State::settled;
        if (lowerDiff < green - channel) {
            gainByte += 1;
        } else if (raiseDiff < channel - green) {
            gainByte -= 1;
        }
    }
    gainByte = std::clamp(gainByte, dropFrom - 1, kMaxGainByte);
}

WhiteBalanceOutcome ContinuousWhiteBalance::Step(FrameSize size, std::span<std::uint8_t> rgb, bool mark, int& exposure,
                                                 SensorGains& gains) {
    WhiteBalanceOutcome outcome;
    callCount_ = (callCount_ + 1) % 2;
    if (callCount_ != 0 || !HoldsFrame(rgb, size, 3)) {
        return outcome;
    }
    outcome.evaluated = true;
    const auto [b, g, r] = MeanBgr(size, rgb, CentreWindow(size, 641, 481));
    if (mark) {
        DrawAutoMark(size, 3, rgb);
    }
    if (red_ == State::settled && exposure_ == State::settled && blue_ == State::settled) {
        Restart();
        outcome.finished = true;
        return outcome;
    }
    if (exposure_ != State::settled) {
        ExposurePhase(g, exposure);
        return outcome;
    }
    // Red byte: it can drop to 1; the blue byte stays within 2..62.
    FollowChannel(r, g, kMinGainByte, red_, redLowerDiff_, redRaiseDiff_, gains.red);
    if (red_ == State::settled && blue_ != State::settled) {
        FollowChannel(b, g, kMinGainByte + 1, blue_, blueLowerDiff_, blueRaiseDiff_, gains.blue);
    }
    return outcome;
}

}  // namespace kqcmos
