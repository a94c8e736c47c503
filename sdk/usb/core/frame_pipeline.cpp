#include "frame_pipeline.h"

#include <algorithm>

#include "erasure.h"
#include "frame_orientation.h"
#include "microscope_filters.h"
#include "point_filters.h"
#include "tone_tables.h"

namespace kq {
namespace {

using kqcmos::FrameBytes;
using kqcmos::FrameSize;

// Every buffer holds the sensor plus two rows, so any window fits.
std::size_t PlaneBytes(FrameSize sensor) { return FrameBytes({sensor.width, sensor.height + 2}); }

// The last n columns become the mirror image of the columns before them,
// about the last good column.
void RepairRightEdge(FrameSize size, std::span<std::uint8_t> raw, int n) {
    if (n <= 0 || size.width < 2 * n + 2) return;
    const auto w = static_cast<std::size_t>(size.width);
    for (int y = 0; y < size.height; ++y) {
        std::uint8_t* row = raw.data() + y * w;
        const std::size_t good = w - 1 - n;
        for (int j = 0; j < n; ++j) row[good + 1 + j] = row[good - 1 - j];
    }
}

}  // namespace

FramePipeline::FramePipeline(FrameSize sensor, bool stripeCapable)
    : sensor_(sensor),
      stripeCapable_(stripeCapable),
      raw_(PlaneBytes(sensor)),
      rotated_(PlaneBytes(sensor)),
      grabRaw_(PlaneBytes(sensor)),
      grabRotated_(PlaneBytes(sensor)),
      picture_(3 * PlaneBytes(sensor)),
      grabPicture_(3 * PlaneBytes(sensor)),
      crop_(3 * PlaneBytes(sensor)),
      grabCrop_(3 * PlaneBytes(sensor)),
      sharpenScratch_(2 * 3 * static_cast<std::size_t>(std::max(sensor.width, sensor.height))),
      stripePlanes_(stripeCapable ? 3 * PlaneBytes(sensor) : 0),
      demosaic_({sensor.width, sensor.height + 2}),
      flatField_(sensor),
      lastRaw_(PlaneBytes(sensor)) {}

std::span<std::uint8_t> FramePipeline::CorrectRaw(const PictureSettings& settings, const FrameSource& source,
                                                  std::span<std::uint8_t> raw, std::span<std::uint8_t> rotated,
                                                  FrameSize& size, bool whiteBalancePending) {
    const auto frame = raw.first(FrameBytes(size));
    if (!badPixelsSuspended_) {
        badPixels_.Correct(source.window, kqcmos::IsHalfResolution(source.halfReadout, size, sensor_), frame);
    }
    kqcmos::ApplyGainLut(size, frame, gains_);
    if (gamma_.active()) kqcmos::ApplyTable(frame, gamma_.table());
    if (flatFieldRebuild_) {
        flatFieldRebuild_ = !flatField_.Build(source.window, frame);
    }
    if (flatFieldEnabled_ && !whiteBalancePending) (void)flatField_.Apply(source.window, frame);
    if (settings.flipMode == 4 || settings.flipMode == 5) {
        FrameSize turned = size;
        if (!kqcmos::FlipFrame(settings.flipMode, turned, rotated, frame)) return {};
        size = turned;
        return rotated.first(FrameBytes(size));
    }
    return frame;
}

std::optional<DeliveredFrame> FramePipeline::Convert(const PictureSettings& settings, FrameSize size,
                                                     std::span<std::uint8_t> source, std::span<std::uint8_t> picture,
                                                     std::span<std::uint8_t> cropOut, bool whiteBalancePending) {
    if (source.empty()) return std::nullopt;
    kqcmos::ApplyLight(source, settings.light);
    kqcmos::AdjustColor(source, (2 * settings.contrast) % 256, settings.colorMode);
    if (!whiteBalancePending) {
        kqcmos::MicroscopeChromaClamp3(size, source);
        if (settings.hdr || settings.microscopeMode) kqcmos::MicroscopeBayerFilter3(size, source);
    }
    const kqcmos::DemosaicSettings demosaic{settings.colorMode, settings.flipMode, settings.colorAdjust,
                                            settings.monochromeSensor};
    if (!kqcmos::Demosaic(demosaic, size, picture, source, demosaic_)) return std::nullopt;
    const int bpp = kqcmos::OutputBytesPerPixel(settings.colorMode);
    const auto frame = picture.first(FrameBytes(size, bpp));
    // Neutral settings leave the picture as it is; skipping them saves the
    // two slowest passes of the chain.
    if (bpp == 3 && settings.saturation != kqcmos::kNeutralSaturation) {
        kqcmos::ApplySaturation(size, frame, settings.saturation);
    }
    if (settings.sharpness > kqcmos::kNeutralSharpness) {
        (void)kqcmos::ApplySharpness(size, bpp, frame, settings.sharpness, sharpenScratch_);
    }
    if (stripeCapable_ && bpp == 3) {
        const std::size_t plane = stripePlanes_.size() / 3;
        auto blue = stripePlanes_.span().first(plane);
        auto green = stripePlanes_.span().subspan(plane, plane);
        auto red = stripePlanes_.span().subspan(2 * plane, plane);
        if (stripeRecapture_) {
            stripesTaken_ = kqcmos::ComputeErasurePlanes(size, settings.flipMode, frame, blue, green, red);
            stripeRecapture_ = false;
        }
        if (stripeEnabled_ && stripesTaken_) kqcmos::ApplyErasurePlanes(size, frame, blue, green, red);
    }
    if (settings.hdr && settings.colorMode == 0) kqcmos::ApplyTable(frame, kqcmos::HdrToneTable());

    DeliveredFrame out{frame, size, 8 * bpp};
    if (settings.cropEnabled) {
        // Checked against this frame: the window may no longer fit it.
        if (const auto block = PlaceCrop(settings.crop, settings.flipMode, size)) {
            if (CopyCrop(*block, size, bpp, frame, cropOut)) {
                const FrameSize cut{block->width, block->height};
                out = DeliveredFrame{cropOut.first(FrameBytes(cut, bpp)), cut, 8 * bpp};
            }
        }
    }
    return out;
}

std::optional<DeliveredFrame> FramePipeline::Process(const PictureSettings& settings, const FrameSource& source,
                                                     FrameEvents& events) {
    FrameSize size = source.window.size;
    if (FrameBytes(size) == 0 || FrameBytes(size) > raw_.size()) return std::nullopt;
    const auto frame = raw_.span().first(FrameBytes(size));
    RepairRightEdge(size, frame, settings.rightEdgeRepair);
    std::copy(frame.begin(), frame.end(), lastRaw_.span().begin());
    lastRawBytes_ = frame.size();

    if (autoExposure_.enabled()) {
        int exposure = source.exposure;
        const bool eightBit = kqcmos::OutputBytesPerPixel(settings.colorMode) == 1 || settings.monochromeSensor;
        const kqcmos::ExposureOutcome outcome =
            eightBit ? autoExposure_.Step8(size, frame, settings.showAutoMark, source.exposureLimit, exposure)
                     : autoExposure_.StepBayer(size, frame, settings.showAutoMark, source.exposureLimit, exposure);
        if (outcome.changed) events.sendExposure = exposure;
        if (outcome.finished) events.reportExposure = exposure;
    }
    const bool whiteBalancePending = whiteBalanceRequested_;
    if (whiteBalancePending) {
        gains_ = kqcmos::ComputeWhiteBalance(size, frame, std::nullopt);
        events.whiteBalance = gains_;
        whiteBalanceRequested_ = false;
    }
    const auto sourcePlane = CorrectRaw(settings, source, frame, rotated_, size, whiteBalancePending);
    last_ = Convert(settings, size, sourcePlane, picture_, crop_, whiteBalancePending);
    return last_;
}

std::optional<DeliveredFrame> FramePipeline::ProcessGrab(const PictureSettings& settings, const FrameSource& source,
                                                         std::span<std::uint8_t> raw, bool convert) {
    FrameSize size = source.window.size;
    if (FrameBytes(size) == 0 || raw.size() < FrameBytes(size) || FrameBytes(size) > grabRotated_.size()) {
        return std::nullopt;
    }
    const auto sourcePlane = CorrectRaw(settings, source, raw, grabRotated_, size, false);
    if (sourcePlane.empty()) return std::nullopt;
    if (!convert) return DeliveredFrame{sourcePlane, size, 8};
    return Convert(settings, size, sourcePlane, grabPicture_, grabCrop_, false);
}

}  // namespace kq
