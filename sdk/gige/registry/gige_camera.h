// `IGigECamera`: the abstract camera of the GigE library, one object per
// discovered camera, owned by the registry. The exports forward each call to
// one operation here; the receive threads see it as a FrameSink. The camera
// classes implement every operation; the bodies shared by all models live in
// the camera library, the model classes override the sensor's slots.
//
// Results are the library's result codes (result_codes.h); operations that
// run a sequence of steps return the bitwise OR of the steps' codes, which a
// caller tests for zero only. Outputs are references: the export layer
// answers 2 for a null output pointer before it calls here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "callbacks.h"
#include "channel_host.h"
#include "discovery_list.h"
#include "preview_surface.h"

namespace kqge {

class CCameraManager;

// The picture handed to a frame or trigger callback. Laid out as the C
// interface's frame information (three 32-bit values).
struct FrameInfo {
    std::int32_t width = 0;  // after a quarter turn and region cropping
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 0;  // 8, 16 or 24
};

// (picture bytes, its size and depth, user value). The picture belongs to
// the camera and is valid only during the call; a live-frame callback may
// change the pixels, and the changed pixels are drawn.
using FrameCallback = void(KQ_STDCALL*)(std::uint8_t* pixels, FrameInfo* info, void* user);
// Software auto exposure and white balance report: (value, 0, user).
using AutoCallback = void (*)(std::int32_t value, std::int32_t zero, void* user);

// The system's compressor choice, shown on the caller's thread. Returns the
// chosen handler code, 0 when cancelled; `current` (0 for none) is offered
// first.
class CompressorChooser {
public:
    virtual std::uint32_t Choose(std::uint32_t current) = 0;

protected:
    ~CompressorChooser() = default;
};

// Opening, streaming and the stream's transport settings.
class GigEStreamControl {
public:
    // Model set-up, buffers, drawing, control access: 32 when buffers cannot
    // be had, 51 when another host holds control. A null surface draws
    // nothing.
    virtual std::int32_t InitCamera(std::unique_ptr<kq::PreviewSurface> surface) = 0;
    // Stops streaming and its threads, frees the buffers, gives up control.
    virtual std::int32_t UnInitCamera() = 0;
    virtual std::int32_t LiveStart() = 0;
    // Returns once the display thread has ended.
    virtual std::int32_t LiveStop() = 0;
    // Moves the camera's host port through the registry: 34 streaming, 35
    // without adapter, 20 for a port outside 1..65535, else the registry's
    // code (0, 8, 9, 16); the camera adopts the port only on 0.
    virtual std::int32_t ResetCameraPort(std::int32_t port, CCameraManager& registry) = 0;
    virtual std::int32_t GetCameraPort(std::uint16_t& port) const = 0;
    // 1500..8000 else 20; restarts a running stream around the change.
    virtual std::int32_t SetPackageSize(std::int32_t bytes) = 0;
    virtual std::uint16_t GetPackageSize() const = 0;
    virtual std::int32_t SetPackageDelayTime(std::int32_t delay) = 0;
    virtual std::int32_t GetPackageDelayTime(std::int32_t& delay) = 0;
    // Snapshot on demand: 17 while streaming.
    virtual std::int32_t CapFastMode(bool on) = 0;
    // Draws into another surface (null: none); restarts a running stream.
    virtual std::int32_t SetNewHwnd(std::unique_ptr<kq::PreviewSurface> surface) = 0;
    virtual std::int32_t SetVideoWindowPos(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) = 0;
    // Displayed frames per second.
    virtual std::int32_t GetCameraFrameRate(float& fps) const = 0;
    // Frames per second received by the camera's adapter.
    virtual std::int32_t GetNICFrameRate(float& fps) const = 0;
    // The discovery record with IP, mask and gateway in host order.
    virtual std::int32_t GetCameraInfo(std::span<std::uint8_t, kDiscoveryRecordBytes> record) const = 0;
    // 19 when the model code is 0 (the output is still written).
    virtual std::int32_t GetCameraType(std::int32_t& modelCode) const = 0;

protected:
    ~GigEStreamControl() = default;
};

// The sensor's settings, written to the model's registers. A setter the
// model does not support answers 17 without touching the camera.
class GigESensorSettings {
public:
    virtual std::int32_t SetExposure(std::uint32_t exposure) = 0;
    virtual std::int32_t GetExposure(std::int32_t& exposure) = 0;
    virtual std::int32_t SetGainR(std::uint32_t gain) = 0;
    virtual std::int32_t SetGainG(std::uint32_t gain) = 0;
    virtual std::int32_t SetGainB(std::uint32_t gain) = 0;
    virtual std::int32_t SetGain_A(std::int32_t gain) = 0;
    virtual std::int32_t SetResolution(std::uint32_t width, std::uint32_t height) = 0;
    virtual std::int32_t SetOffsetH(std::int32_t offset) = 0;
    virtual std::int32_t SetOffsetV(std::int32_t offset) = 0;
    virtual std::int32_t EnableAE(bool on) = 0;
    virtual std::int32_t EnableAG(bool on) = 0;
    virtual std::int32_t SetFlipMode(std::int32_t kind) = 0;
    virtual std::int32_t SetZoomMode(std::int32_t mode) = 0;
    virtual std::int32_t SetExpMode(std::int32_t mode) = 0;
    virtual std::int32_t SetCapMode(std::int32_t mode) = 0;
    virtual std::int32_t SetSpeedMode(std::int32_t mode) = 0;
    virtual std::int32_t SetFlashState(bool on, bool mode) = 0;
    virtual std::int32_t HDR_Enable(std::int32_t on) = 0;
    virtual std::int32_t SetValidBitsOff(std::int32_t shift) = 0;
    virtual std::int32_t SetDoAutoCorrection() = 0;
    virtual std::int32_t SetDoCorrecting(bool on) = 0;

protected:
    ~GigESensorSettings() = default;
};

// Registers every model shares: trigger, I/O, watchdog, addresses, direct
// register access and the firmware upload.
class GigERegisterAccess {
public:
    // Direct access, 35 without adapter; the address goes into the command
    // as given.
    virtual std::int32_t WriteRegister(std::uint32_t address, std::uint32_t value) = 0;
    virtual std::int32_t ReadRegister(std::uint32_t address, std::uint32_t& value) = 0;
    // 0 free run, 1 and 2 the two trigger modes; others 20.
    virtual std::int32_t SetTriggerMode(std::int32_t mode) = 0;
    virtual std::int32_t GetTriggerMode(std::int32_t& mode) = 0;
    virtual std::int32_t SetWatchdogState(bool on) = 0;
    virtual std::int32_t GetWatchdogState(std::int32_t& on) = 0;
    virtual std::int32_t SetIO(std::uint32_t line, std::uint32_t level) = 0;
    virtual std::int32_t GetIO(std::uint32_t line, std::uint32_t& level) = 0;
    virtual std::int32_t SetTriggerDelayTime(std::uint32_t delay) = 0;
    virtual std::int32_t SoftTrigger() = 0;
    // Persistent addresses, in the byte order the caller holds them.
    virtual std::int32_t SetCameraIP(std::uint32_t ip, std::uint32_t mask, std::uint32_t gateway) = 0;
    virtual std::int32_t IPConfig(bool on) = 0;
    virtual std::int32_t SetDhcpEnable(bool on) = 0;
    // The export checks the caller's guard value before calling.
    virtual std::int32_t SetMacAddr(std::uint32_t value) = 0;
    // start 1: begins an upload of `path` on the camera's upload thread
    // (34 streaming, 35 without adapter, 48 without control); start 0:
    // stops a running upload, or gives the result of the last one that
    // ended.
    virtual std::int32_t UpdateDeviceProgram(std::int32_t start, const std::filesystem::path& path) = 0;

protected:
    ~GigERegisterAccess() = default;
};

// The pictures: callbacks, output kind, software image settings, region of
// interest, saving and recording.
class GigEPictureOutput {
public:
    // Null removes the callback.
    virtual std::int32_t SetFrameCallBack(FrameCallback callback, void* user) = 0;
    virtual std::int32_t SetTriggerState(bool on, FrameCallback callback, void* user) = 0;
    // Copies the latest picture (or the region of interest) into `picture`,
    // which holds the whole output at its depth; 2 for null.
    virtual std::int32_t GetFrame(std::uint8_t* picture) = 0;
    // Kinds 0 BMP, 1 JPEG, 2 TIFF, 3 PNG, else 20; 17 for a depth the kind
    // cannot store.
    virtual std::int32_t GetFrameToImage(const std::filesystem::path& path, std::int32_t kind) = 0;
    // Output kind 0-5; 17 when the sensor does not have it.
    virtual std::int32_t SetColorMode(std::int32_t kind) = 0;
    virtual std::int32_t SetContrast(std::uint32_t contrast) = 0;
    virtual std::int32_t SetSaturation(std::int32_t value) = 0;
    virtual std::int32_t GetSaturation(std::int32_t& value) const = 0;
    virtual std::int32_t SetSharpness(std::int32_t value) = 0;
    virtual std::int32_t GetSharpness(std::int32_t& value) const = 0;
    virtual std::int32_t SetDoAE(bool showMark, bool on, AutoCallback callback, void* user) = 0;
    virtual std::int32_t AEParam(bool flag, std::int32_t targetWindow) = 0;
    virtual std::int32_t SetDoAWB(std::int32_t once, bool continuous, AutoCallback callback, void* user) = 0;
    virtual std::int32_t GetAWBVal(std::uint32_t& red, std::uint32_t& green, std::uint32_t& blue) const = 0;
    virtual std::int32_t ReSetAWBVal(std::int32_t red, std::int32_t green, std::int32_t blue) = 0;
    // Region of interest: 18 while recording.
    virtual std::int32_t MCResolutionShow(bool on) = 0;
    virtual std::int32_t IsMCResolutionShow(std::int32_t& on) const = 0;
    virtual std::int32_t SetMCResolution(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) = 0;
    virtual std::int32_t GetMCResolution(std::int32_t& x, std::int32_t& y, std::int32_t& width,
                                         std::int32_t& height) const = 0;
    // Recording: on with a path starts a movie (17 unless 24-bit output, 33
    // unless streaming); off ends it. `takePath` keeps the path for the
    // files a long recording rolls over into.
    virtual std::int32_t SetCapture(bool on, const std::filesystem::path& path, bool takePath) = 0;
    // The compressor code is shared by every camera of the library.
    virtual std::int32_t SelectAviCompressor(CompressorChooser& chooser) = 0;
    virtual std::int32_t SetAviCompressor(std::uint32_t code) = 0;

protected:
    ~GigEPictureOutput() = default;
};

class IGigECamera : public FrameSink,
                    public GigEStreamControl,
                    public GigESensorSettings,
                    public GigERegisterAccess,
                    public GigEPictureOutput {
public:
    virtual ~IGigECamera() = default;

    // Taken from the library-wide camera counter at construction.
    virtual std::int32_t Index() const = 0;
    // The host UDP port the registry hands out; a streaming camera keeps the
    // port its stream was set up with.
    virtual void AssignPort(std::uint16_t port) = 0;
    // The receive buffer this camera needs: its largest packet and one raw
    // frame.
    virtual std::size_t ReceiveBytes() const = 0;
};

}  // namespace kqge
