// CImageAlgorithm: one per camera. Turns a raw frame into the picture that
// is drawn, called back and saved, and owns the camera's software auto
// exposure and white balance with their KQGE.ini gains.
//
// Threads: the display thread and the snapshot workers convert at the same
// time, each with its own raw copy, output and scratch. Settings are read
// once per frame; the white-balance tables are copied under a lock at the
// start of a frame; the AE countdown and the one-shot measurement advance
// only on the display path. Setters run on any thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>

#include "awb_settings.h"
#include "frame_layout.h"
#include "shared_image_settings.h"
#include "white_balance.h"

namespace kqge {

// What the algorithm asks of its camera. No virtual destructor: the
// algorithm never owns its camera.
class ExposureControl {
public:
    // The camera's stored exposure in register units (lines).
    virtual std::int32_t ExposureLines() const = 0;
    virtual std::int32_t LinesToExposure(std::int32_t lines) const = 0;
    // Sends a new exposure (caller units) to the camera; called on the
    // display thread.
    virtual void SetExposure(std::int32_t exposure) = 0;

protected:
    ~ExposureControl() = default;
};

// The caller's callback: (value, 0, user). Runs on the display thread or
// the caller's thread of AEParam.
using AutoCallback = void (*)(std::int32_t value, std::int32_t zero, void* user);

enum class FramePath { display, snapshot };

struct ConvertedFrame {
    bool ok = false;
    FrameSize size;  // width and height exchanged after a quarter turn
};

class CImageAlgorithm {
public:
    // Result codes of the camera slots.
    static constexpr int kNotColor = 17;
    static constexpr int kBusy = 18;

    CImageAlgorithm(ExposureControl& camera, AwbSettingsFile& settingsFile, std::uint32_t modelCode);
    virtual ~CImageAlgorithm() = default;
    CImageAlgorithm(const CImageAlgorithm&) = delete;
    CImageAlgorithm& operator=(const CImageAlgorithm&) = delete;

    SharedImageSettings& settings() { return settings_; }

    // 0 when the file is missing (gains and tables untouched), else 1 after
    // reading the model's gains and rebuilding the tables.
    int LoadAwb();
    // 1 when the gains were written, 0 when the file could not be written.
    int SaveAwb();
    void BuildAwbLuts();
    // Ignored unless every gain is 2..255; else stores, rebuilds, saves.
    void ReSetAWBVal(std::int32_t red, std::int32_t green, std::int32_t blue);
    AwbGains GetAWBVal() const;
    AwbTables CurrentAwbTables() const;

    int SetDoAE(bool showMark, bool on, AutoCallback callback, void* user);
    void AEParam(bool flag, int windowSelector);
    int SetDoAWB(std::int32_t once, bool continuous, AutoCallback callback, void* user);
    void ClearWhiteBalanceCallback();
    bool AutoExposureRunning() const { return aeRunning_.load(); }
    bool WhiteBalancePending() const { return awbPending_.load(); }

    // The whole pipeline on one frame: contrast, white balance, auto
    // exposure (display path), correction and tone, flip, conversion,
    // saturation, sharpening and quarter turn. `raw` is the caller's copy
    // and is changed in place; `scratch` holds at least ScratchBytes.
    // Allocates nothing. Not ok (output untouched) when a buffer is short.
    ConvertedFrame Convert(FrameSize size, OutputKind kind, std::span<std::uint8_t> raw, std::span<std::uint8_t> out,
                           std::span<std::uint8_t> scratch, FramePath path);

private:
    void AutoExposureStep(FrameSize size, const ImageSettings& s, int bytesPerSample, std::span<std::uint8_t> raw);
    void Report(std::int32_t lines);

    ExposureControl& camera_;
    AwbSettingsFile& file_;
    const std::u16string section_;
    SharedImageSettings settings_;

    mutable std::mutex awbLock_;  // gains, tables and both callbacks
    AwbGains gains_;
    AwbTables tables_ = IdentityAwbTables();
    AutoCallback aeCallback_ = nullptr;
    void* aeUser_ = nullptr;
    AutoCallback awbCallback_ = nullptr;
    void* awbUser_ = nullptr;

    std::atomic<bool> awbPending_{false};
    std::atomic<bool> awbContinuous_{false};
    std::atomic<bool> aeRunning_{false};
    std::atomic<bool> aeShowMark_{false};
    std::atomic<bool> aeParamFlag_{false};
    std::atomic<int> aeWindow_{1};
    std::atomic<int> aeCountdown_{5};
    std::atomic<std::int32_t> aeExposureLines_{0};
    int aeCycles_ = 0;  // display path only
};

}  // namespace kqge
