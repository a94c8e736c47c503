#include "auto_exposure.h"

#include "yuv_frame.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kqcmos {

BrightnessBand BayerExposureBand(int level, BayerExposureKind kind) {
    if (kind == BayerExposureKind::fpga) {
        switch (level) {
        case 0: return {1750, 2000};
        case 1: return {1500, 1700};
        case 2: return {1200, 1400};
        default: return {1400, 1600};
        }
    }
    switch (level) {
    case 0: return {1950, 2200};
    case 1: return {1700, 1900};
    default: return {1400, 1600};
    }
}

BrightnessBand ByteExposureBand(int level) {
    switch (level) {
    case 0: return {90, 140};
    case 2: return {180, 220};
    default: return {145, 175};
    }
}

BrightnessBand AlternateExposureBand(int level) {
    switch (level) {
    case 0: return {1750, 2000};
    case 1: return {1500, 1700};
    case 2: return {1200, 1400};
    default: return {1400, 1600};
    }
}

void AutoExposure::Enable(bool on) { enabled_ = on; }

void AutoExposure::SetLevel(int level) {
    if (enabled_) {
        iterations_ = 0;
        direction_ = Direction::none;
    }
    level_ = level;
}

bool AutoExposure::TakeThisFrame() {
    callCount_ = (callCount_ + 1) % 2;
    return callCount_ == 0;
}

ExposureOutcome AutoExposure::Finish(ExposureOutcome outcome) {
    outcome.finished = true;
    enabled_ = false;
    iterations_ = 0;
    direction_ = Direction::none;
    streak_ = 0;
    return outcome;
}

ExposureOutcome AutoExposure::StepBayer(FrameSize size, std::span<std::uint8_t> raw, bool mark, int limit,
                                        int& exposure, BayerExposureKind kind) {
    ExposureOutcome outcome;
    if (!enabled_ || !TakeThisFrame() || !HoldsFrame(raw, size)) {
        return outcome;
    }
    outcome.evaluated = true;
    ++iterations_;
    const BrightnessBand band = BayerExposureBand(level_, kind);
    const bool yuv = kind == BayerExposureKind::yuv;
    // The YUV sensor always measures its centre (or the whole frame).
    std::optional<PixelRect> region = yuv ? std::nullopt : region_.ForExposure(size);
    if (region && kind == BayerExposureKind::fpga) {
        // Mirrored, and cut to the frame again (the mirror reaches one past it).
        region = ClipToFrame(MirrorFromFarEdges(*region, size), size);
    }
    const PixelRect rect = region.value_or(CentreWindow(size, 1025, 769));
    const int luma = yuv ? YuvLuma(size, raw, rect) : BayerLuma(size, raw, rect);
    if (mark && yuv) {
        DrawYuvAutoMark(size, raw);
    } else if (mark && kind == BayerExposureKind::fpga) {
        DrawFarEdgeAutoMark(size, raw);
    } else if (mark) {
        DrawAutoMark(size, 1, raw);
    }
    const int before = exposure;
    bool ended = false;
    if (exposure >= limit && exposure >= 20) {
        ended = true;
    } else if (exposure < 20) {
        if (exposure == 0) {
            ended = true;
        } else if (luma < band.low) {
            exposure += 1;
        } else if (luma > band.high) {
            exposure -= 1;
        } else {
            ended = true;
        }
    } else if (luma < band.low) {
        exposure = static_cast<int>(std::trunc(exposure * 1.05));
    } else if (luma > band.high) {
        exposure = static_cast<int>(std::trunc(exposure * 0.96));
    } else {
        ended = true;
    }
    exposure = std::min(exposure, limit);
    outcome.changed = exposure != before;
    if (ended || iterations_ > kMaxAutoExposureIterations) {
        if (!yuv) region_.Reset();
        return Finish(outcome);
    }
    return outcome;
}

ExposureOutcome AutoExposure::Step8(FrameSize size, std::span<std::uint8_t> frame, bool mark, int limit,
                                    int& exposure) {
    ExposureOutcome outcome;
    if (!enabled_ || !TakeThisFrame() || !HoldsFrame(frame, size)) {
        return outcome;
    }
    outcome.evaluated = true;
    ++iterations_;
    const int mean = MeanByte(size, frame, CentreWindow(size, 1025, 769));
    if (mark) {
        DrawAutoMark(size, 1, frame);
    }
    const BrightnessBand band = ByteExposureBand(level_);
    const int before = exposure;
    bool ended = false;
    if (mean < band.low) {
        streak_ = direction_ == Direction::lowering ? streak_ + 1 : 0;
        if (exposure < limit) {
            exposure = std::min(limit, static_cast<int>(std::trunc(exposure * (1.0 + 0.25 / (streak_ + 1)))));
            if (exposure < 10) {
                exposure += 2;
            }
        } else {
            ended = true;
        }
        direction_ = Direction::raising;
    } else if (mean > band.high) {
        streak_ = direction_ == Direction::raising ? streak_ + 1 : 0;
        exposure = static_cast<int>(std::trunc(exposure * (0.8 + 0.2 * streak_ / (streak_ + 1))));
        direction_ = Direction::lowering;
    } else {
        ended = true;
    }
    exposure = std::min(exposure, limit);
    outcome.changed = exposure != before;
    if (ended || iterations_ > kMaxAutoExposureIterations) {
        return Finish(outcome);
    }
    return outcome;
}

AlternateAutoExposure::AlternateAutoExposure(FrameSize maxSize) : frozenFrame_(FrameBytes(maxSize)) {}

ExposureOutcome AlternateAutoExposure::Step(FrameSize size, std::span<std::uint8_t> raw, int limit, int& exposure,
                                            BayerExposureKind kind, AlternateExposureThresholds thresholds) {
    ExposureOutcome outcome;
    const bool yuv = kind == BayerExposureKind::yuv;
    const std::size_t bytes = FrameBytes(size, yuv ? 2 : 1);
    if (!HoldsFrame(raw, size, yuv ? 2 : 1) || bytes > frozenFrame_.size()) {
        return outcome;
    }
    callCount_ = (callCount_ + 1) % 4;
    if (callCount_ == 0) {
        outcome.evaluated = true;
        const PixelRect centre = CentreWindow(size, 641, 481);
        const int luma = yuv ? YuvLuma(size, raw, centre) : BayerLuma(size, raw, centre);
        int target = exposure;
        // A held frame is released at the next evaluation whatever the
        // brightness; otherwise a dark scene at a long exposure would keep
        // the display frozen for good.
        if (frozen_) {
            release_ = true;
        }
        if ((exposure < thresholds.exposure && luma < thresholds.brightness) || luma > thresholds.brightness) {
            const BrightnessBand band = AlternateExposureBand(level_);
            if (luma >= band.low || exposure != limit) {
                const std::int64_t e = exposure;
                if (luma > kOverExposedLuma) {
                    overExposed_ = true;
                    release_ = false;
                    target = exposure / 10;
                } else if (luma < band.low || luma > band.high) {
                    const std::int64_t scaled = e * luma;
                    target =
                        static_cast<int>(scaled % (luma + 10) == 0 ? scaled / (luma + 10)
                                                                   : e * ((band.low + band.high) / 2) / (luma + 10));
                }
            }
        }
        if (overExposed_) {
            std::memcpy(frozenFrame_.data(), raw.data(), bytes);
            frozen_ = true;
            overExposed_ = false;
        }
        const int before = exposure;
        if (target == 0) {
            exposure = std::min(exposure * 2, limit);
        } else if (target != exposure) {
            exposure = std::min(target, limit);
        }
        outcome.changed = exposure != before;
    }
    if (frozen_) {
        std::memcpy(raw.data(), frozenFrame_.data(), bytes);
        if (release_) {
            // The exposure has been lowered: show live frames again from the next one.
            frozen_ = false;
            release_ = false;
        }
    }
    return outcome;
}

}  // namespace kqcmos
