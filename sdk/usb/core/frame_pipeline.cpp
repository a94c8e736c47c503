#include "frame_pipeline.h"

#include <algorithm>

#include "bayer_kernels.h"
#include "bgr_filters.h"
#include "contrast_kernels.h"
#include "corrected_demosaic.h"
#include "edge_repair.h"
#include "erasure.h"
#include "frame_orientation.h"
#include "microscope_filters.h"
#include "point_filters.h"
#include "tone_tables.h"
#include "yuv_frame.h"
#include "models/raw_formats.h"

namespace kq {
namespace {

using kqcmos::FrameBytes;
using kqcmos::FrameSize;

// Every buffer holds the sensor plus two rows, so any window fits.
std::size_t PlaneBytes(FrameSize sensor) { return FrameBytes({sensor.width, sensor.height + 2}); }

// RGB 5-6-5 rows, top-down, into the bottom-up BGR picture.
std::span<std::uint8_t> Rgb565Picture(FrameSize size, std::span<const std::uint8_t> raw,
                                      std::span<std::uint8_t> picture) {
    const auto w = static_cast<std::size_t>(size.width);
    const auto h = static_cast<std::size_t>(size.height);
    for (std::size_t y = 0; y < h; ++y) {
        (void)raw::Rgb565ToBgr(raw.subspan(2 * w * y, 2 * w), picture.subspan(3 * w * (h - 1 - y), 3 * w));
    }
    return picture.first(3 * w * h);
}

// Grey from the sum of each pixel's three bytes; the 8-bit form is packed
// in place, which only ever reads ahead of where it writes.
void GreyPicture(FrameSize size, std::span<std::uint8_t> picture, bool packed) {
    for (std::size_t i = 0, n = FrameBytes(size); i < n; ++i) {
        const int s = picture[3 * i] + picture[3 * i + 1] + picture[3 * i + 2];
        const auto grey = static_cast<std::uint8_t>((s >> 6) + (s >> 4) + (s >> 2));
        if (packed) {
            picture[i] = grey;
        } else {
            picture[3 * i] = picture[3 * i + 1] = picture[3 * i + 2] = grey;
        }
    }
}

// A 5-6-5 picture in the form its colour mode delivers: grey in modes 2 to
// 4, one byte a pixel where the mode is 8-bit; empty for an unknown mode.
std::span<std::uint8_t> Rgb565InColourMode(FrameSize size, int colorMode, std::span<std::uint8_t> picture) {
    const int bpp = kqcmos::OutputBytesPerPixel(colorMode);
    if (bpp == 0) return {};
    if (colorMode >= 2 && colorMode <= 4) GreyPicture(size, picture, bpp == 1);
    return picture.first(FrameBytes(size, bpp));
}

// Pipeline step 1 on the raw frame. The plain conversion takes the frame as
// the sensor sent it.
void RepairEdges(const PixelModel& model, FrameSize size, std::span<std::uint8_t> frame) {
    if (!model.plainConversion) kqcmos::RepairEdges(model.edgeRepair, size, frame);
}

// The byte of each 16-bit sample the model keeps, packed in place.
void ReduceSamples(const PixelModel& model, std::span<std::uint8_t> samples) {
    raw::ReduceSamplesInPlace(samples, model.lowSampleByte ? raw::SampleByte::low : raw::SampleByte::high);
}

}  // namespace

FramePipeline::FramePipeline(FrameSize sensor, bool stripeCapable, int rawBytesPerPixel)
    : sensor_(sensor),
      stripeCapable_(stripeCapable),
      raw_(PlaneBytes(sensor) * static_cast<std::size_t>(rawBytesPerPixel)),
      rotated_(PlaneBytes(sensor)),
      grabRaw_(PlaneBytes(sensor) * static_cast<std::size_t>(rawBytesPerPixel)),
      grabRotated_(PlaneBytes(sensor)),
      picture_(3 * PlaneBytes(sensor)),
      grabPicture_(3 * PlaneBytes(sensor)),
      crop_(3 * PlaneBytes(sensor)),
      grabCrop_(3 * PlaneBytes(sensor)),
      sharpenScratch_(2 * 3 * static_cast<std::size_t>(std::max(sensor.width, sensor.height))),
      stripePlanes_(stripeCapable ? 3 * PlaneBytes(sensor) : 0),
      demosaic_({sensor.width, sensor.height + 2}),
      flatField_(sensor),
      alternateExposure_({sensor.width * rawBytesPerPixel, sensor.height + 2}),
      toneCurve_(kqcmos::BuildDefaultToneCurve()),
      lastRaw_(PlaneBytes(sensor) * static_cast<std::size_t>(rawBytesPerPixel)) {}

void FramePipeline::CorrectBadPixels(const FrameSource& source, FrameSize size, std::span<std::uint8_t> frame) {
    if (!badPixelsSuspended_) {
        badPixels_.Correct(source.window, kqcmos::IsHalfResolution(source.halfReadout, size, sensor_), frame);
    }
}

kqcmos::DemosaicSettings FramePipeline::DemosaicSettingsFor(const PictureSettings& settings) {
    const bool plainGrey = settings.plainGreySensor || (settings.model.greyRaw && !settings.model.greyKernels);
    const bool greyMode = settings.colorMode == 2 || settings.colorMode == 3;
    const auto& order = plainGrey && greyMode ? settings.model.greyOrderForFlip : settings.model.kernelForFlip;
    const int kernel = settings.flipMode >= 0 && settings.flipMode < 6
                           ? order[static_cast<std::size_t>(settings.flipMode)]
                           : settings.flipMode;
    return {settings.colorMode, kernel, settings.colorAdjust, plainGrey, settings.model.colourCell,
            settings.model.cellDemosaic};
}

bool FramePipeline::CorrectsWhileDemosaicing(const PictureSettings& settings, FrameSize size,
                                             bool whiteBalancePending) const {
    const bool turned = settings.flipMode == 4 || settings.flipMode == 5;
    const bool microscopeFilters = settings.microscopeMode && !whiteBalancePending;
    // The one walk knows the colour demosaic only, in any Bayer cell (a cell
    // with kernels of its own is checked there).
    const bool usualSensor = !settings.model.contrastKernels && !settings.model.greyRaw;
    return usualSensor && !turned && !flatFieldRebuild_ && !microscopeFilters &&
           kqcmos::CorrectsWhileDemosaicing(DemosaicSettingsFor(settings), size, demosaic_);
}

kqcmos::RawCorrection FramePipeline::RawCorrectionFor(const PictureSettings& settings, const FrameSource& source,
                                                      bool whiteBalancePending, bool pointTables) const {
    kqcmos::RawCorrection correction{gains_, nullptr, source.window, std::nullopt, settings.model.colourCell};
    if (gamma_.active()) {
        for (kqcmos::ByteTable* table : {&correction.gains.red, &correction.gains.green, &correction.gains.blue}) {
            *table = kqcmos::ComposeTables(*table, gamma_.table());
        }
    }
    if (flatFieldEnabled_ && !whiteBalancePending) correction.flatField = &flatField_;
    if (!pointTables) return correction;
    // Light and contrast, which follow the flat field, map every byte.
    kqcmos::ByteTable after = kqcmos::IdentityTable();
    if (settings.light != kqcmos::kNeutralLight) after = kqcmos::LightTable(settings.light);
    if (kqcmos::AdjustsColour(settings.colorMode)) {
        after = kqcmos::ComposeTables(after, kqcmos::ContrastTable(kqcmos::ContrastArgument(settings.contrast)));
    }
    if (after == kqcmos::IdentityTable()) return correction;
    if (correction.flatField == nullptr) {
        // Nothing between the gains and these tables: one look-up does both.
        for (kqcmos::ByteTable* table : {&correction.gains.red, &correction.gains.green, &correction.gains.blue}) {
            *table = kqcmos::ComposeTables(*table, after);
        }
    } else {
        correction.after = after;
    }
    return correction;
}

std::span<std::uint8_t> FramePipeline::CorrectRaw(const PictureSettings& settings, const FrameSource& source,
                                                  std::span<std::uint8_t> raw, std::span<std::uint8_t> rotated,
                                                  FrameSize& size, bool whiteBalancePending) {
    const auto frame = raw.first(FrameBytes(size));
    CorrectBadPixels(source, size, frame);
    kqcmos::ApplyGainLut(size, frame, gains_, settings.model.colourCell);
    if (gamma_.active()) kqcmos::ApplyTable(frame, gamma_.table());
    if (flatFieldRebuild_) {
        flatFieldRebuild_ = !flatField_.Build(source.window, frame);
    }
    if (flatFieldEnabled_ && !whiteBalancePending) (void)flatField_.Apply(source.window, frame);
    if (settings.flipMode == 4 || settings.flipMode == 5) {
        FrameSize turned = size;
        if (!kqcmos::FlipFrame(settings.flipMode, turned, rotated, frame, settings.model.turnRepair)) return {};
        size = turned;
        return rotated.first(FrameBytes(size));
    }
    return frame;
}

std::optional<DeliveredFrame> FramePipeline::Convert(const PictureSettings& settings, FrameSize size,
                                                     std::span<std::uint8_t> source, std::span<std::uint8_t> picture,
                                                     std::span<std::uint8_t> cropOut, bool whiteBalancePending,
                                                     bool streamed, FrameEvents* events, bool pointTablesApplied) {
    if (source.empty()) return std::nullopt;
    if (!pointTablesApplied) {
        kqcmos::ApplyLight(source, settings.light);
        if (!settings.model.contrastKernels) {
            kqcmos::AdjustColor(source, kqcmos::ContrastArgument(settings.contrast), settings.colorMode);
        }
    }
    // Both microscope filters act in microscope mode only, so other frames
    // keep their colours; with HDR on, the filter ends with the tone curve.
    if (!whiteBalancePending && settings.microscopeMode) {
        const auto tone = settings.hdr ? std::span<const std::uint32_t>(toneCurve_) : std::span<const std::uint32_t>();
        kqcmos::RunMicroscopeFilters(settings.model.microscopePhase, size, source, tone);
    }
    if (!streamed) grabSource_ = DeliveredFrame{source, size, 8};
    const bool converted =
        settings.model.contrastKernels
            ? kqcmos::ContrastDemosaic(settings.colorMode, settings.flipMode, size, picture, source, settings.contrast)
            : kqcmos::Demosaic(DemosaicSettingsFor(settings), size, picture, source, demosaic_);
    if (!converted) return std::nullopt;
    return FinishPicture(settings, size, picture, cropOut, streamed, events);
}

std::optional<DeliveredFrame> FramePipeline::FinishPicture(const PictureSettings& settings, FrameSize size,
                                                           std::span<std::uint8_t> picture,
                                                           std::span<std::uint8_t> cropOut, bool streamed,
                                                           FrameEvents* events) {
    const int bpp = kqcmos::OutputBytesPerPixel(settings.colorMode);
    const auto frame = picture.first(FrameBytes(size, bpp));
    SharpenPicture(settings, size, bpp, frame);
    RemoveStripes(size, settings.flipMode, bpp, frame, streamed);
    if (streamed && settings.hdr && settings.colorMode == 0 && settings.model.hdrToneAfterDemosaic) {
        kqcmos::ApplyTable(frame, kqcmos::HdrToneTable());
    }
    if (events != nullptr && streamed && bpp == 3 && whiteBalanceRequested_ && settings.model.exposureBalanceLoop) {
        RunExposureBalance(lastSource_, size, frame, *events);
    }

    return Deliverable(settings, size, bpp, frame, cropOut);
}

void FramePipeline::SharpenPicture(const PictureSettings& settings, FrameSize size, int bpp,
                                   std::span<std::uint8_t> frame) {
    // Neutral settings leave the picture as it is; skipping them saves the
    // two slowest passes of the chain.
    // Saturation acts on 24-bit pictures only; there it shares one pass
    // with the sharpness.
    if (bpp == 3) {
        (void)kqcmos::ApplySaturationAndSharpness(size, frame, settings.saturation, settings.sharpness,
                                                  sharpenScratch_);
    } else if (settings.sharpness > kqcmos::kNeutralSharpness) {
        (void)kqcmos::ApplySharpness(size, bpp, frame, settings.sharpness, sharpenScratch_);
    }
}

void FramePipeline::RemoveStripes(FrameSize size, int flipMode, int bpp, std::span<std::uint8_t> frame, bool streamed) {
    if (!stripeCapable_ || bpp != 3) return;
    const std::size_t plane = stripePlanes_.size() / 3;
    auto blue = stripePlanes_.span().first(plane);
    auto green = stripePlanes_.span().subspan(plane, plane);
    auto red = stripePlanes_.span().subspan(2 * plane, plane);
    if (stripeRecapture_ && streamed) {
        stripesTaken_ = kqcmos::ComputeErasurePlanes(size, flipMode, frame, blue, green, red);
        stripeRecapture_ = false;
    }
    if (stripeEnabled_ && stripesTaken_) kqcmos::ApplyErasurePlanes(size, frame, blue, green, red);
}

DeliveredFrame FramePipeline::Deliverable(const PictureSettings& settings, FrameSize size, int bpp,
                                          std::span<std::uint8_t> frame, std::span<std::uint8_t> cropOut) const {
    DeliveredFrame out{frame, size, 8 * bpp};
    if (settings.cropEnabled) {
        // A 5-6-5 picture is delivered upright whatever the flip mode: its
        // crop lies where the caller sees it.
        const int flipMode = settings.model.rawFormat == RawFormat::rgb565 ? 0 : settings.flipMode;
        // Checked against this frame: the window may no longer fit it.
        if (const auto block = PlaceCrop(settings.crop, flipMode, size)) {
            if (CopyCrop(*block, size, bpp, frame, cropOut)) {
                const FrameSize cut{block->width, block->height};
                out = DeliveredFrame{cropOut.first(FrameBytes(cut, bpp)), cut, 8 * bpp};
            }
        }
    }
    return out;
}

std::optional<DeliveredFrame> FramePipeline::ConvertYuv(const PictureSettings& settings, FrameSize size,
                                                        std::span<std::uint8_t> yuv, std::span<std::uint8_t> picture,
                                                        std::span<std::uint8_t> cropOut, bool pending,
                                                        FrameEvents* balance) {
    const int bpp = kqcmos::OutputBytesPerPixel(settings.colorMode);
    if (bpp == 0 || !kqcmos::ConvertYuvFrame(size, settings.flipMode, picture, yuv)) return std::nullopt;
    const auto bgr = picture.first(FrameBytes(size, 3));
    if (balance != nullptr) {
        auto& region = autoExposure_.region();
        if (const auto tables = kqcmos::ComputeWhiteBalanceBgr(size, bgr, region.ForWhiteBalance(size))) {
            gains_ = *tables;
        }
        region.Reset();
        balance->whiteBalance = gains_;
        whiteBalanceRequested_ = false;
    }
    kqcmos::ApplyGainLutBgr(bgr, gains_);
    if (!pending) kqcmos::RunBgrFilter(settings.colorAdjust, bgr);
    if (settings.colorMode == 2 || settings.colorMode == 3) GreyPicture(size, picture, settings.colorMode == 3);
    const auto frame = picture.first(FrameBytes(size, bpp));
    kqcmos::ApplyLight(frame, settings.light);
    kqcmos::AdjustColor(frame, kqcmos::ContrastArgument(settings.contrast), settings.colorMode);
    if (gamma_.active()) kqcmos::ApplyTable(frame, gamma_.table());
    if (bpp == 3 && settings.saturation != kqcmos::kNeutralSaturation) {
        kqcmos::ApplySaturation(size, frame, settings.saturation);
    }
    return Deliverable(settings, size, bpp, frame, cropOut);
}

std::optional<DeliveredFrame> FramePipeline::ProcessYuv(const PictureSettings& settings, const FrameSource& source,
                                                        FrameEvents& events) {
    const FrameSize size = source.window.size;
    const std::size_t bytes = FrameBytes(size, 2);
    if (bytes == 0 || bytes > raw_.size()) return std::nullopt;
    const auto frame = raw_.span().first(bytes);
    std::copy(frame.begin(), frame.end(), lastRaw_.span().begin());
    lastRawBytes_ = bytes;
    RunAutoExposure(settings, source, frame, events);
    const bool pending = whiteBalanceRequested_;
    // The sensor gains first: the tables only even out what they leave.
    const bool balanceTables = pending && (!settings.model.chromaBalance || StepChromaBalance(source, frame, events));
    if (flatFieldRebuild_) {
        flatFieldRebuild_ = !flatField_.BuildYuv(source.window, frame);
        events.flatFieldBuilt = !flatFieldRebuild_;
    }
    if (flatFieldEnabled_ && !pending) (void)flatField_.ApplyYuv(source.window, frame);
    last_ = ConvertYuv(settings, size, frame, picture_, crop_, pending, balanceTables ? &events : nullptr);
    return last_;
}

bool FramePipeline::StepChromaBalance(const FrameSource& source, std::span<std::uint8_t> yuv, FrameEvents& events) {
    const FrameSize size = source.window.size;
    // A frame that gives no picture has nothing to balance: no step counted.
    if (!kqcmos::ConvertibleYuvSize(size)) return false;
    kqcmos::SensorGains gains = source.sensorGains;
    const kqcmos::ChromaBalanceOutcome outcome = chromaBalance_.Step(size, yuv, gains.red, gains.blue);
    if (!outcome.evaluated) return false;
    // The sensor's second gain byte follows the first; reported so, it does
    // not depend on whether the last step was sent yet.
    gains.green = gains.red;
    events.chromaGains = gains;
    return outcome.finished;
}

std::optional<DeliveredFrame> FramePipeline::Process(const PictureSettings& settings, const FrameSource& source,
                                                     FrameEvents& events) {
    if (settings.model.rawFormat == RawFormat::yuv422) return ProcessYuv(settings, source, events);
    lastSource_ = source;
    FrameSize size = source.window.size;
    const std::size_t readBytes = FrameBytes(size) * RawBytesPerPixel(settings.model.rawFormat);
    if (FrameBytes(size) == 0 || readBytes > raw_.size()) return std::nullopt;
    if (settings.model.rawFormat == RawFormat::rgb565) {
        // A colour picture already: none of the Bayer steps apply.
        const auto read = raw_.span().first(readBytes);
        std::copy(read.begin(), read.end(), lastRaw_.span().begin());
        lastRawBytes_ = readBytes;
        const auto picture = Rgb565Picture(size, read, picture_);
        const int bpp = kqcmos::OutputBytesPerPixel(settings.colorMode);
        // Repaired on the picture, whose rows run bottom-up: the sensor's
        // last rows come first.
        const kqcmos::EdgeRepair& e = settings.model.edgeRepair;
        kqcmos::RepairEdges({e.left, e.right, e.top, e.bottom}, size, picture, 3);
        if (settings.model.balancedPicture) BalancePicture(settings, source, picture, events);
        const auto delivered = Rgb565InColourMode(size, settings.colorMode, picture_);
        if (delivered.empty()) return std::nullopt;
        // The picture is never turned or mirrored: its stripes are measured
        // as the upright frame's.
        if (settings.model.balancedPicture) {
            SharpenPicture(settings, size, bpp, delivered);
        } else {
            RemoveStripes(size, 0, bpp, delivered, true);
        }
        last_ = Deliverable(settings, size, bpp, delivered, crop_);
        return last_;
    }
    const auto frame = raw_.span().first(FrameBytes(size));
    // The grab while streaming gets the frame as the driver sent it, as a
    // grab while idle does.
    const auto read = raw_.span().first(readBytes);
    std::copy(read.begin(), read.end(), lastRaw_.span().begin());
    if (settings.model.rawFormat == RawFormat::samples16) ReduceSamples(settings.model, read);
    RepairEdges(settings.model, size, frame);
    lastRawBytes_ = readBytes;
    if (settings.model.plainConversion) {
        last_ = ConvertPlain(settings, size, frame, picture_);
        return last_;
    }

    RunAutoExposure(settings, source, frame, events);
    const bool whiteBalancePending = whiteBalanceRequested_;
    if (whiteBalancePending && settings.model.exposureBalanceLoop) {
        // Balanced by the loop on the picture, after the conversion.
    } else if (whiteBalancePending && settings.model.greyRaw) {
        whiteBalanceRequested_ = false;  // a grey sensor has no colours to balance
    } else if (whiteBalancePending) {
        // Over the shared measuring region when it is set (all four values
        // 1 or more), else the whole frame; the region is used once.
        auto& region = autoExposure_.region();
        auto rect = region.ForWhiteBalance(size);
        if (rect && settings.model.regionFromFarEdges) {
            // Nothing left on the frame is an empty region, not the whole frame.
            rect = kqcmos::ClipToFrame(kqcmos::MirrorFromFarEdges(*rect, size), size).value_or(kqcmos::PixelRect{});
        }
        if (const auto tables = kqcmos::ComputeWhiteBalance(size, frame, rect, settings.model.colourCell)) {
            gains_ = *tables;
        }
        region.Reset();
        events.whiteBalance = gains_;
        whiteBalanceRequested_ = false;
    }
    if (CorrectsWhileDemosaicing(settings, size, whiteBalancePending)) {
        // The common case: one walk over the raw rows does the corrections
        // and the demosaic, and leaves the raw frame as it is.
        CorrectBadPixels(source, size, frame);
        const kqcmos::RawCorrection correction = RawCorrectionFor(settings, source, whiteBalancePending);
        last_ = kqcmos::CorrectAndDemosaic(DemosaicSettingsFor(settings), correction, size, picture_, frame, demosaic_)
                    ? FinishPicture(settings, size, picture_, crop_, true)
                    : std::nullopt;
        return last_;
    }
    if ((settings.flipMode == 4 || settings.flipMode == 5) && !flatFieldRebuild_) {
        // Turned frames: the corrections in one pass into the turn's
        // buffer (light and contrast too: they map each byte alike wherever
        // it lies), then the turn back into the frame and the conversion.
        // The contrast kernels take the contrast themselves.
        CorrectBadPixels(source, size, frame);
        const bool pointTables = !settings.model.contrastKernels;
        const kqcmos::RawCorrection correction =
            RawCorrectionFor(settings, source, whiteBalancePending, pointTables);
        const auto corrected = rotated_.span().first(FrameBytes(size));
        FrameSize turned = size;
        const bool ready = kqcmos::CorrectRawFrame(correction, size, corrected, frame, demosaic_) &&
                           kqcmos::FlipFrame(settings.flipMode, turned, frame, corrected, settings.model.turnRepair);
        last_ = ready ? Convert(settings, turned, frame.first(FrameBytes(turned)), picture_, crop_, whiteBalancePending,
                                true, &events, pointTables)
                      : std::nullopt;
        return last_;
    }
    const auto sourcePlane = CorrectRaw(settings, source, frame, rotated_, size, whiteBalancePending);
    last_ = Convert(settings, size, sourcePlane, picture_, crop_, whiteBalancePending, true, &events);
    return last_;
}

std::optional<DeliveredFrame> FramePipeline::ConvertPlain(const PictureSettings& settings, FrameSize size,
                                                          std::span<std::uint8_t> raw,
                                                          std::span<std::uint8_t> picture) {
    const int bpp = kqcmos::OutputBytesPerPixel(settings.colorMode);
    if (bpp == 0) return std::nullopt;
    kqcmos::ApplyGainLut(size, raw, gains_, settings.model.colourCell);
    const auto flip = static_cast<std::size_t>(settings.flipMode >= 0 && settings.flipMode < 6 ? settings.flipMode : 0);
    const int kernel = settings.model.kernelForFlip[flip];
    const auto out = picture.first(FrameBytes(size, bpp));
    bool converted = false;
    switch (settings.colorMode) {
    case 4:
        std::copy(raw.begin(), raw.end(), out.begin());
        converted = true;
        break;
    case 3: converted = kqcmos::BayerConvert(kqcmos::BayerOutput::gray8, kernel, size, out, raw); break;
    case 2: converted = kqcmos::BayerConvert(kqcmos::BayerOutput::grayRgb, kernel, size, out, raw); break;
    default: converted = kqcmos::BayerConvert(kqcmos::BayerOutput::colorRgb, kernel, size, out, raw); break;
    }
    if (!converted) return std::nullopt;
    return DeliveredFrame{out, size, 8 * bpp};
}

void FramePipeline::RunExposureBalance(const FrameSource& source, FrameSize size, std::span<std::uint8_t> bgr,
                                       FrameEvents& events) {
    int exposure = source.exposure;
    kqcmos::SensorGains gains = source.sensorGains;
    const kqcmos::ExposureBalanceOutcome outcome = exposureBalance_.Step(size, bgr, exposure, gains);
    if (outcome.finished) {
        whiteBalanceRequested_ = false;
        events.balanceReport = kqcmos::PackExposureBalance(exposure, gains);
    } else if (outcome.evaluated) {
        events.balanceExposure = exposure;
        events.balanceGains = gains;
    }
}

void FramePipeline::BalancePicture(const PictureSettings& settings, const FrameSource& source,
                                   std::span<std::uint8_t> bgr, FrameEvents& events) {
    const FrameSize size = source.window.size;
    if (whiteBalanceRequested_) {
        auto& region = autoExposure_.region();
        if (const auto tables = kqcmos::ComputeWhiteBalanceBgr(size, bgr, region.ForWhiteBalance(size))) {
            gains_ = *tables;
        }
        region.Reset();
        events.whiteBalance = gains_;
        whiteBalanceRequested_ = false;
    }
    kqcmos::ApplyGainLutBgr(bgr, gains_);
    if (!autoExposure_.enabled()) return;
    // The byte mean of the picture's centre: each pixel's three bytes count.
    int exposure = source.exposure;
    const kqcmos::ExposureOutcome outcome =
        autoExposure_.Step8({3 * size.width, size.height}, bgr, false, settings.model.exposureLimit, exposure);
    if (outcome.changed) events.sendExposure = exposure;
    if (outcome.finished) events.reportExposure = exposure;
}

void FramePipeline::RunAutoExposure(const PictureSettings& settings, const FrameSource& source,
                                    std::span<std::uint8_t> frame, FrameEvents& events) {
    // The base pipeline measures the raw Bayer frame whatever the colour
    // mode; models choose the 8-bit step and their limit.
    const kqcmos::FrameSize size = source.window.size;
    int exposure = source.exposure;
    if (settings.alternateExposure) {
        // Selecting the alternate AE ends the continuous one; the alternate
        // reports every change it makes.
        autoExposure_.Enable(false);
        alternateExposure_.SetLevel(autoExposure_.level());
        const kqcmos::ExposureOutcome outcome =
            alternateExposure_.Step(size, frame, settings.model.exposureLimit, exposure, settings.model.exposureKind,
                                    settings.model.alternateThresholds);
        if (outcome.changed) events.reportExposure = exposure;
        return;
    }
    if (!autoExposure_.enabled()) return;
    const kqcmos::ExposureOutcome outcome =
        settings.model.byteExposure
            ? autoExposure_.Step8(size, frame, settings.showAutoMark, settings.model.exposureLimit, exposure)
            : autoExposure_.StepBayer(size, frame, settings.showAutoMark, settings.model.exposureLimit, exposure,
                                      settings.model.exposureKind);
    if (outcome.changed) events.sendExposure = exposure;
    if (outcome.finished) events.reportExposure = exposure;
}

std::optional<DeliveredFrame> FramePipeline::ProcessGrab(const PictureSettings& settings, const FrameSource& source,
                                                         std::span<std::uint8_t> raw, bool convert) {
    FrameSize size = source.window.size;
    if (FrameBytes(size) == 0 || raw.size() < FrameBytes(size) || FrameBytes(size) > grabRotated_.size()) {
        return std::nullopt;
    }
    grabSource_.reset();
    if (settings.model.rawFormat == RawFormat::yuv422) {
        const std::size_t bytes = FrameBytes(size, 2);
        if (raw.size() < bytes || bytes > grabRaw_.size()) return std::nullopt;
        if (flatFieldEnabled_) (void)flatField_.ApplyYuv(source.window, raw.first(bytes));
        grabSource_ = DeliveredFrame{raw.first(bytes), size, 16};
        if (!convert) return grabSource_;
        return ConvertYuv(settings, size, raw.first(bytes), grabPicture_, grabCrop_, false, nullptr);
    }
    if (settings.model.rawFormat == RawFormat::rgb565 || settings.model.rawFormat == RawFormat::samples16) {
        const std::size_t bytes = FrameBytes(size, 2);
        if (raw.size() < bytes || bytes > grabRaw_.size()) return std::nullopt;
        if (settings.model.rawFormat == RawFormat::rgb565) {
            grabSource_ = DeliveredFrame{raw.first(bytes), size, 16};
            if (!convert) return grabSource_;
            (void)Rgb565Picture(size, raw.first(bytes), grabPicture_);
            const auto delivered = Rgb565InColourMode(size, settings.colorMode, grabPicture_);
            if (delivered.empty()) return std::nullopt;
            return Deliverable(settings, size, kqcmos::OutputBytesPerPixel(settings.colorMode), delivered, grabCrop_);
        }
        ReduceSamples(settings.model, raw.first(bytes));
        raw = raw.first(FrameBytes(size));
    }
    if (settings.model.plainConversion) {
        const auto frame = raw.first(FrameBytes(size));
        if (!convert) {
            grabSource_ = DeliveredFrame{frame, size, 8};
            return grabSource_;
        }
        return ConvertPlain(settings, size, frame, grabPicture_);
    }
    if (settings.model.grabRepairsEdges) RepairEdges(settings.model, size, raw.first(FrameBytes(size)));
    const auto sourcePlane = CorrectRaw(settings, source, raw, grabRotated_, size, false);
    if (sourcePlane.empty()) return std::nullopt;
    if (!convert) {
        grabSource_ = DeliveredFrame{sourcePlane, size, 8};
        return grabSource_;
    }
    return Convert(settings, size, sourcePlane, grabPicture_, grabCrop_, false, false);
}

}  // namespace kq
