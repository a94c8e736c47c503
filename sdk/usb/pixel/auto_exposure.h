// Automatic exposure: steps the exposure toward a brightness band chosen by
// the AE level, on every second frame, and ends itself inside the band, at
// the exposure limit or after 30 evaluations. The device object sends a
// changed exposure to the camera and reports the final one to the caller.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "frame_statistics.h"

namespace kqcmos {

inline constexpr int kAutoExposureLimit = 5000;
inline constexpr int kMaxAutoExposureIterations = 30;

struct BrightnessBand {
    int low;
    int high;
};

// Which sensors the Bayer step measures: the base's, or the FPGA sensors',
// which have bands of their own and whose frames arrive turned by half, so
// the caller's region is mirrored in both directions.
// The YUV sensor's frames are measured on their Y bytes with the base's bands.
enum class BayerExposureKind { base, fpga, yuv };

// Luma bands of the Bayer step (level 0, 1, other; FPGA: 0, 1, 2, other).
BrightnessBand BayerExposureBand(int level, BayerExposureKind kind = BayerExposureKind::base);
// Byte-mean bands of the 8-bit step (level 0, 2, other).
BrightnessBand ByteExposureBand(int level);
// Luma bands of the alternate step (level 0, 1, 2, other).
BrightnessBand AlternateExposureBand(int level);

struct ExposureOutcome {
    bool evaluated = false;  // this frame was measured
    bool changed = false;    // the exposure changed and must be sent
    bool finished = false;   // AE ended: report the exposure to the caller
};

class AutoExposure {
public:
    void Enable(bool on);
    bool enabled() const { return enabled_; }
    // A running AE restarts its iteration count and direction.
    void SetLevel(int level);
    int level() const { return level_; }
    int iterations() const { return iterations_; }
    MeasuringRegion& region() { return region_; }

    // On the raw Bayer frame. `exposure` is updated in place.
    ExposureOutcome StepBayer(FrameSize size, std::span<std::uint8_t> raw, bool mark, int limit, int& exposure,
                              BayerExposureKind kind = BayerExposureKind::base);
    // On an 8-bit frame: proportional steps that shrink while the direction
    // keeps reversing.
    ExposureOutcome Step8(FrameSize size, std::span<std::uint8_t> frame, bool mark, int limit, int& exposure);

private:
    enum class Direction { none, raising, lowering };

    bool TakeThisFrame();
    ExposureOutcome Finish(ExposureOutcome outcome);

    bool enabled_ = false;
    int level_ = 1;
    int callCount_ = 0;
    int iterations_ = 0;
    Direction direction_ = Direction::none;
    int streak_ = 0;
    MeasuringRegion region_;
};

// The alternate AE: runs on every fourth frame and jumps to the target
// exposure at once. An over-exposed frame (luma above 2400) cuts the exposure
// to a tenth and is held on screen until the next evaluation, so the
// over-exposed frames in between are not shown.
// It acts when the exposure is below its threshold and the luma below the
// brightness threshold, or the luma is above the brightness threshold; each
// model family has its own pair.
struct AlternateExposureThresholds {
    int exposure = 300;
    int brightness = 150;
    bool operator==(const AlternateExposureThresholds&) const = default;
};

class AlternateAutoExposure {
public:
    static constexpr int kOverExposedLuma = 2400;

    // Allocates the held-frame copy for raw frames up to `maxSize` (in bytes
    // per row and rows).
    explicit AlternateAutoExposure(FrameSize maxSize);

    void SetLevel(int level) { level_ = level; }

    // `raw` is replaced by the held frame while one is held. `changed` asks
    // for the exposure to be sent and reported. YUV frames (`kind` yuv) are
    // measured by 10 x their mean Y of every second pixel.
    ExposureOutcome Step(FrameSize size, std::span<std::uint8_t> raw, int limit, int& exposure,
                         BayerExposureKind kind = BayerExposureKind::base,
                         AlternateExposureThresholds thresholds = {});

    bool holdingFrame() const { return frozen_; }

private:
    int level_ = 1;
    int callCount_ = 0;
    bool overExposed_ = false;
    bool frozen_ = false;
    bool release_ = false;
    std::vector<std::uint8_t> frozenFrame_;
};

}  // namespace kqcmos
