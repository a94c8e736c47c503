#pragma once
// The per-frame path from one raw sensor frame to the delivered picture, and
// the single-frame grab path. Owns every buffer and correction table, sized
// once for the largest window of the sensor, so processing a frame
// allocates nothing. Platform-free; the device object runs it on its capture
// thread and acts on the events it returns (parameter sends, callbacks).

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "auto_exposure.h"
#include "bad_pixels.h"
#include "corrected_demosaic.h"
#include "crop_window.h"
#include "demosaic.h"
#include "exposure_balance_loop.h"
#include "flat_field.h"
#include "gain_tables.h"
#include "gamma_table.h"
#include "pixel_model.h"
#include "tone_tables.h"
#include "white_balance.h"
#include "yuv_frame.h"

namespace kq {

// Settings the caller changes; copied per frame.
struct PictureSettings {
    std::int32_t colorMode = 0;
    std::int32_t flipMode = 0;
    std::int32_t colorAdjust = 0;
    // The raw frame is plain grey, not a mosaic: the monochrome sensor of
    // type 3. Other monochrome sensors go through the kernels.
    bool plainGreySensor = false;
    std::int32_t light = 32;
    std::int32_t contrast = 16;
    std::int32_t saturation = 8;
    std::int32_t sharpness = 1;
    bool hdr = false;
    bool microscopeMode = false;
    // KQ_AEParam's alternate automatic exposure is selected: it runs on
    // every frame in place of the continuous one.
    bool alternateExposure = false;
    bool showAutoMark = true;
    bool cropEnabled = false;
    CropRequest crop;
    PixelModel model;
};

// Where the frame comes from: the window on the sensor and its readout.
struct FrameSource {
    kqcmos::SensorWindow window;
    bool halfReadout = false;
    std::int32_t exposure = 0;
    // Gain bytes 1..3 of the capture information, which the exposure and
    // sensor-gain loop moves.
    kqcmos::SensorGains sensorGains;
};

struct DeliveredFrame {
    std::span<std::uint8_t> pixels;  // bottom-up rows, no gaps
    kqcmos::FrameSize size;
    std::int32_t bitsPerPixel = 0;
};

// What a frame asks the device to do after it was processed.
struct FrameEvents {
    std::optional<std::int32_t> sendExposure;  // AE changed the exposure
    // AE ended, or the alternate AE changed the exposure: send it and tell
    // the caller.
    std::optional<std::int32_t> reportExposure;
    std::optional<kqcmos::GainTables> whiteBalance;  // one-shot balance done: report gains
    // The exposure and sensor-gain loop measured this frame: send both.
    std::optional<std::int32_t> balanceExposure;
    std::optional<kqcmos::SensorGains> balanceGains;
    // The loop settled: report this packed value and end the request.
    std::optional<std::uint32_t> balanceReport;
    // The YUV flat-field table was built from this frame: store it.
    bool flatFieldBuilt = false;
    // The chroma white balance measured this frame: report these sensor
    // gains, and send them when they moved.
    std::optional<kqcmos::SensorGains> chromaGains;
};

// A byte buffer allocated once and not cleared: every frame overwrites what
// it uses, and untouched pages of a large buffer cost nothing.
class FrameBuffer {
public:
    explicit FrameBuffer(std::size_t bytes)
        : bytes_(std::make_unique_for_overwrite<std::uint8_t[]>(bytes)), size_(bytes) {}
    operator std::span<std::uint8_t>() { return {bytes_.get(), size_}; }
    operator std::span<const std::uint8_t>() const { return {bytes_.get(), size_}; }
    std::span<std::uint8_t> span() { return {bytes_.get(), size_}; }
    std::span<const std::uint8_t> span() const { return {bytes_.get(), size_}; }
    std::size_t size() const { return size_; }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t size_;
};

class FramePipeline {
public:
    // `rawBytesPerPixel`: 2 for sensors that send YUV 4:2:2.
    FramePipeline(kqcmos::FrameSize sensor, bool stripeCapable, int rawBytesPerPixel = 1);

    // The capture thread reads each raw frame into this buffer.
    std::span<std::uint8_t> CaptureBuffer() { return raw_; }
    // Caller-visible buffer for single-frame grabs (raw, sensor sized).
    std::span<std::uint8_t> GrabBuffer() { return grabRaw_.span(); }

    // Processes the frame in CaptureBuffer(). Nothing delivered when the
    // colour mode cannot be converted or the frame does not fit.
    std::optional<DeliveredFrame> Process(const PictureSettings& settings, const FrameSource& source,
                                          FrameEvents& events);

    // The corrections and (with `convert`) conversion of a grabbed raw frame
    // held in `raw` (changed in place), into the grab picture buffer. A grab
    // neither takes the stripe references nor applies the HDR table.
    std::optional<DeliveredFrame> ProcessGrab(const PictureSettings& settings, const FrameSource& source,
                                              std::span<std::uint8_t> raw, bool convert);
    // The raw frame the last ProcessGrab handed to the conversion, with every
    // step before the demosaic applied: `raw` itself, or the turned copy in
    // flip modes 4 and 5 (then with width and height exchanged). Valid until
    // the next grab.
    std::optional<DeliveredFrame> GrabSource() const { return grabSource_; }

    // The last frame delivered by Process, kept until the next one.
    std::optional<DeliveredFrame> LastDelivered() const { return last_; }
    // The raw frame behind it, as read from the driver.
    std::span<const std::uint8_t> LastRaw() const { return lastRaw_.span().first(lastRawBytes_); }
    // A stopped stream's frame was made with the settings before the stop:
    // none is served until the next stream delivers its own.
    void ForgetDelivered() {
        last_.reset();
        lastRawBytes_ = 0;
    }

    // Tables and automatic functions the caller's settings reach.
    kqcmos::GainTables& Gains() { return gains_; }
    const kqcmos::GainTables& Gains() const { return gains_; }
    kqcmos::GammaTable& Gamma() { return gamma_; }
    const kqcmos::GammaTable& Gamma() const { return gamma_; }
    kqcmos::FlatFieldTable& FlatField() { return flatField_; }
    kqcmos::BadPixelTable& BadPixels() { return badPixels_; }
    kqcmos::AutoExposure& AutoExposure() { return autoExposure_; }
    void RequestWhiteBalance(bool on) {
        if (on && !whiteBalanceRequested_) {
            exposureBalance_.Restart();
            chromaBalance_.Restart();
        }
        whiteBalanceRequested_ = on;
    }
    bool WhiteBalanceRequested() const { return whiteBalanceRequested_; }
    void SetFlatField(bool enabled, bool rebuild) {
        flatFieldEnabled_ = enabled;
        flatFieldRebuild_ = rebuild;
    }
    // The next corrected frame rebuilds the flat-field table.
    void RequestFlatFieldRebuild() { flatFieldRebuild_ = true; }
    void EnableFlatField(bool on) { flatFieldEnabled_ = on; }
    // While the bad pixels are being found the frames stay uncorrected.
    void SuspendBadPixelCorrection(bool on) { badPixelsSuspended_ = on; }
    bool FlatFieldEnabled() const { return flatFieldEnabled_; }
    void RequestStripeCapture() { stripeRecapture_ = true; }
    void EnableStripeRemoval(bool on) { stripeEnabled_ = on; }
    bool StripeCapable() const { return stripeCapable_; }

private:
    // Steps up to the conversion: corrections on the raw frame. Returns the
    // (possibly rotated) source of the conversion and its size.
    std::span<std::uint8_t> CorrectRaw(const PictureSettings& settings, const FrameSource& source,
                                       std::span<std::uint8_t> raw, std::span<std::uint8_t> rotated,
                                       kqcmos::FrameSize& size, bool whiteBalancePending);
    void CorrectBadPixels(const FrameSource& source, kqcmos::FrameSize size, std::span<std::uint8_t> frame);
    static kqcmos::DemosaicSettings DemosaicSettingsFor(const PictureSettings& settings);
    // True when every step from the gains to the demosaic is a table, the
    // flat field or the colour demosaic: then CorrectAndDemosaic runs them.
    bool CorrectsWhileDemosaicing(const PictureSettings& settings, kqcmos::FrameSize size,
                                  bool whiteBalancePending) const;
    // The gains, gamma, flat field, light and contrast of this frame as
    // tables and the flat field, with adjacent tables composed; light and
    // contrast left out when `pointTables` is false.
    kqcmos::RawCorrection RawCorrectionFor(const PictureSettings& settings, const FrameSource& source,
                                           bool whiteBalancePending, bool pointTables = true) const;
    // `streamed`: the capture thread's frame; false for a single grab.
    // `events`: where the exposure and sensor-gain loop reports (streamed
    // frames of models that run it). `pointTablesApplied`: light and
    // contrast are in the source already.
    std::optional<DeliveredFrame> Convert(const PictureSettings& settings, kqcmos::FrameSize size,
                                          std::span<std::uint8_t> source, std::span<std::uint8_t> picture,
                                          std::span<std::uint8_t> cropOut, bool whiteBalancePending, bool streamed,
                                          FrameEvents* events = nullptr, bool pointTablesApplied = false);
    // The YUV sensor's path: conversion to BGR, then the white balance, the
    // gain tables and the colour steps on the picture. `balance` takes the
    // one-shot balance of the gain tables; while a white balance is
    // `pending` the colour-adjust filter waits.
    std::optional<DeliveredFrame> ProcessYuv(const PictureSettings& settings, const FrameSource& source,
                                             FrameEvents& events);
    std::optional<DeliveredFrame> ConvertYuv(const PictureSettings& settings, kqcmos::FrameSize size,
                                             std::span<std::uint8_t> yuv, std::span<std::uint8_t> picture,
                                             std::span<std::uint8_t> cropOut, bool pending, FrameEvents* balance);
    // PixelModel::chromaBalance: one step of the sensor gains on the raw
    // frame while a white balance is requested. True when both chroma means
    // are neutral, so the gain tables are balanced on this frame.
    bool StepChromaBalance(const FrameSource& source, std::span<std::uint8_t> yuv, FrameEvents& events);
    // The finished picture, or its crop when one is asked for and fits.
    DeliveredFrame Deliverable(const PictureSettings& settings, kqcmos::FrameSize size, int bytesPerPixel,
                               std::span<std::uint8_t> frame, std::span<std::uint8_t> cropOut) const;
    // The steps after the demosaic: saturation, sharpness, stripes, HDR, crop.
    std::optional<DeliveredFrame> FinishPicture(const PictureSettings& settings, kqcmos::FrameSize size,
                                                std::span<std::uint8_t> picture, std::span<std::uint8_t> cropOut,
                                                bool streamed, FrameEvents* events = nullptr);
    // Saturation and sharpness at their settings (the saturation on 24-bit
    // pictures only).
    void SharpenPicture(const PictureSettings& settings, kqcmos::FrameSize size, int bpp,
                        std::span<std::uint8_t> frame);
    // The stripe reference planes taken from a streamed frame when asked for,
    // and added to the picture while stripe removal is on (24-bit only).
    void RemoveStripes(kqcmos::FrameSize size, int flipMode, int bpp, std::span<std::uint8_t> frame, bool streamed);
    // The exposure and sensor-gain loop on a finished 24-bit picture while
    // a white balance is requested.
    void RunExposureBalance(const FrameSource& source, kqcmos::FrameSize size, std::span<std::uint8_t> bgr,
                            FrameEvents& events);
    // PixelModel::plainConversion: the gains and the kernel, into `picture`.
    std::optional<DeliveredFrame> ConvertPlain(const PictureSettings& settings, kqcmos::FrameSize size,
                                               std::span<std::uint8_t> raw, std::span<std::uint8_t> picture);
    // A 5-6-5 camera's white balance, gains and exposure step on its picture.
    void BalancePicture(const PictureSettings& settings, const FrameSource& source, std::span<std::uint8_t> bgr,
                        FrameEvents& events);
    // Pipeline step 3: the continuous or the alternate automatic exposure.
    void RunAutoExposure(const PictureSettings& settings, const FrameSource& source, std::span<std::uint8_t> frame,
                         FrameEvents& events);

    kqcmos::FrameSize sensor_;
    bool stripeCapable_;
    FrameBuffer raw_, rotated_, grabRaw_, grabRotated_;
    FrameBuffer picture_, grabPicture_, crop_, grabCrop_;
    FrameBuffer sharpenScratch_;
    FrameBuffer stripePlanes_;  // blue, green, red
    kqcmos::DemosaicWork demosaic_;
    kqcmos::GainTables gains_;
    kqcmos::GammaTable gamma_;
    kqcmos::FlatFieldTable flatField_;
    kqcmos::BadPixelTable badPixels_;
    kqcmos::AutoExposure autoExposure_;
    kqcmos::AlternateAutoExposure alternateExposure_;
    kqcmos::ExposureBalanceLoop exposureBalance_;
    kqcmos::ChromaWhiteBalance chromaBalance_;
    FrameSource lastSource_;  // of the streamed frame in process
    // The default tone curve, which the microscope Bayer filter applies with HDR.
    kqcmos::ToneCurve toneCurve_;
    bool whiteBalanceRequested_ = false;
    bool flatFieldEnabled_ = false;
    bool flatFieldRebuild_ = false;
    bool badPixelsSuspended_ = false;
    bool stripeRecapture_ = false;
    bool stripeEnabled_ = false;
    bool stripesTaken_ = false;
    std::optional<DeliveredFrame> last_;
    std::optional<DeliveredFrame> grabSource_;
    FrameBuffer lastRaw_;
    std::size_t lastRawBytes_ = 0;
};

}  // namespace kq
