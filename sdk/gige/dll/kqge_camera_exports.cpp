// The per-camera exports: each looks its camera up by index (21 when none
// has it), refuses a null output with 2, converts the C types (window
// handles into drawing surfaces, wide paths, 0/1 flags) and forwards to the
// camera's operation, returning its result.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "KQGEu.h"
#include "firmware_file.h"
#include "gige_camera.h"
#include "kqge_library.h"
#include "result_codes.h"
#include "system_compressor_chooser.h"
#include "win32/window_preview_surface.h"

namespace {

using kqge::IGigECamera;
namespace result = kqge::result;

static_assert(sizeof(KQGE_FRAME_INFO) == sizeof(kqge::FrameInfo));
static_assert(offsetof(KQGE_FRAME_INFO, bitsPerPixel) == offsetof(kqge::FrameInfo, bitsPerPixel));

// The only guard value that lets KQGE_SetMacAddr act.
constexpr std::uint32_t kMacAddressGuard = 48213957;

template <class Op>
int32_t OnCamera(int32_t index, Op&& op) {
    IGigECamera* camera = kqge::Library().FindCamera(index);
    if (camera == nullptr) return result::kNoCameraAtIndex;
    return op(*camera);
}

// As OnCamera, with 2 when any of `outputs` is null.
template <class Op, class... Out>
int32_t WithOutputs(int32_t index, Op&& op, Out*... outputs) {
    return OnCamera(index, [&](IGigECamera& camera) {
        if (((outputs == nullptr) || ...)) return result::kNullOutput;
        return op(camera);
    });
}

std::unique_ptr<kq::PreviewSurface> SurfaceFor(HWND window) {
    if (window == nullptr) return nullptr;
    return std::make_unique<kq::win32::WindowPreviewSurface>(window);
}

// The C callback and the camera's share their arguments' layout and, on
// x86_64, their calling convention.
kqge::FrameCallback ForCamera(KQGE_FRAME_CALLBACK callback) { return reinterpret_cast<kqge::FrameCallback>(callback); }
kqge::AutoCallback ForCamera(KQGE_AE_CALLBACK callback) { return reinterpret_cast<kqge::AutoCallback>(callback); }

}  // namespace

extern "C" {

// ---- Open, close, stream ----

int32_t KQGEAPI KQGE_InitCamera(int32_t index, HWND window) {
    return OnCamera(index, [&](IGigECamera& c) { return c.InitCamera(SurfaceFor(window)); });
}
int32_t KQGEAPI KQGE_UnInitCamera(int32_t index) {
    return OnCamera(index, [](IGigECamera& c) { return c.UnInitCamera(); });
}
int32_t KQGEAPI KQGE_LiveStart(int32_t index) {
    return OnCamera(index, [](IGigECamera& c) { return c.LiveStart(); });
}
int32_t KQGEAPI KQGE_LiveStop(int32_t index) {
    return OnCamera(index, [](IGigECamera& c) { return c.LiveStop(); });
}
int32_t KQGEAPI KQGE_ResetCameraPort(int32_t index, int32_t port) {
    return OnCamera(index, [&](IGigECamera& c) { return c.ResetCameraPort(port, kqge::Library().Registry()); });
}
int32_t KQGEAPI KQGE_GetCameraPort(int32_t index, uint16_t* port) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetCameraPort(*port); }, port);
}
int32_t KQGEAPI KQGE_SetNewHwnd(int32_t index, HWND window) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetNewHwnd(SurfaceFor(window)); });
}
int32_t KQGEAPI KQGE_SetVideoWindowPos(int32_t index, int32_t x, int32_t y, int32_t width, int32_t height) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetVideoWindowPos(x, y, width, height); });
}
int32_t KQGEAPI KQGE_SetPackageSize(int32_t index, int32_t size) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetPackageSize(size); });
}
int32_t KQGEAPI KQGE_GetPackageSize(int32_t index, uint16_t* size) {
    return WithOutputs(
        index,
        [&](IGigECamera& c) {
            *size = c.GetPackageSize();
            return result::kOk;
        },
        size);
}
int32_t KQGEAPI KQGE_SetPackageDelayTime(int32_t index, int32_t delay) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetPackageDelayTime(delay); });
}
int32_t KQGEAPI KQGE_GetPackageDelayTime(int32_t index, int32_t* delay) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetPackageDelayTime(*delay); }, delay);
}
int32_t KQGEAPI KQGE_CapFastMode(int32_t index, int32_t on) {
    return OnCamera(index, [&](IGigECamera& c) { return c.CapFastMode(on != 0); });
}
int32_t KQGEAPI KQGE_GetCameraFrameRate(int32_t index, float* fps) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetCameraFrameRate(*fps); }, fps);
}
int32_t KQGEAPI KQGE_GetNICFrameRate(int32_t index, float* fps) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetNICFrameRate(*fps); }, fps);
}
int32_t KQGEAPI KQGE_GetCameraInfo(int32_t index, unsigned char* record) {
    return WithOutputs(
        index,
        [&](IGigECamera& c) {
            return c.GetCameraInfo(
                std::span<std::uint8_t, kqge::kDiscoveryRecordBytes>(record, kqge::kDiscoveryRecordBytes));
        },
        record);
}
int32_t KQGEAPI KQGE_GetCameraType(int32_t index, int32_t* modelCode) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetCameraType(*modelCode); }, modelCode);
}

// ---- Sensor settings ----

int32_t KQGEAPI KQGE_SetExposure(int32_t index, uint32_t exposure) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetExposure(exposure); });
}
int32_t KQGEAPI KQGE_GetExposure(int32_t index, int32_t* exposure) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetExposure(*exposure); }, exposure);
}
int32_t KQGEAPI KQGE_SetGainR(int32_t index, uint32_t gain) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetGainR(gain); });
}
int32_t KQGEAPI KQGE_SetGainG(int32_t index, uint32_t gain) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetGainG(gain); });
}
int32_t KQGEAPI KQGE_SetGainB(int32_t index, uint32_t gain) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetGainB(gain); });
}
int32_t KQGEAPI KQGE_SetGain_A(int32_t index, int32_t gain) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetGain_A(gain); });
}
int32_t KQGEAPI KQGE_SetResolution(int32_t index, uint32_t width, uint32_t height) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetResolution(width, height); });
}
int32_t KQGEAPI KQGE_SetOffsetH(int32_t index, int32_t offset) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetOffsetH(offset); });
}
int32_t KQGEAPI KQGE_SetOffsetV(int32_t index, int32_t offset) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetOffsetV(offset); });
}
int32_t KQGEAPI KQGE_EnableAE(int32_t index, int32_t on) {
    return OnCamera(index, [&](IGigECamera& c) { return c.EnableAE(on != 0); });
}
int32_t KQGEAPI KQGE_EnableAG(int32_t index, int32_t on) {
    return OnCamera(index, [&](IGigECamera& c) { return c.EnableAG(on != 0); });
}
int32_t KQGEAPI KQGE_SetFlipMode(int32_t index, int32_t mode) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetFlipMode(mode); });
}
int32_t KQGEAPI KQGE_SetZoomMode(int32_t index, int32_t mode) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetZoomMode(mode); });
}
int32_t KQGEAPI KQGE_SetExpMode(int32_t index, int32_t mode) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetExpMode(mode); });
}
int32_t KQGEAPI KQGE_SetCapMode(int32_t index, int32_t mode) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetCapMode(mode); });
}
int32_t KQGEAPI KQGE_SetSpeedMode(int32_t index, int32_t mode) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetSpeedMode(mode); });
}
int32_t KQGEAPI KQGE_SetFlashState(int32_t index, int32_t on, int32_t mode) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetFlashState(on != 0, mode != 0); });
}
int32_t KQGEAPI KQGE_HDR_Enable(int32_t index, int32_t on) {
    return OnCamera(index, [&](IGigECamera& c) { return c.HDR_Enable(on); });
}
int32_t KQGEAPI KQGE_SetValidBitsOff(int32_t index, int32_t shift) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetValidBitsOff(shift); });
}
int32_t KQGEAPI KQGE_SetDoAutoCorrection(int32_t index) {
    return OnCamera(index, [](IGigECamera& c) { return c.SetDoAutoCorrection(); });
}
int32_t KQGEAPI KQGE_SetDoCorrecting(int32_t index, int32_t on) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetDoCorrecting(on != 0); });
}

// ---- Registers ----

int32_t KQGEAPI KQGE_WriterRegister(int32_t index, uint32_t address, uint32_t value) {
    return OnCamera(index, [&](IGigECamera& c) { return c.WriteRegister(address, value); });
}
int32_t KQGEAPI KQGE_ReadRegister(int32_t index, uint32_t address, uint32_t* value) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.ReadRegister(address, *value); }, value);
}
int32_t KQGEAPI KQGE_SetTriggerMode(int32_t index, int32_t mode) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetTriggerMode(mode); });
}
int32_t KQGEAPI KQGE_GetTriggerMode(int32_t index, int32_t* mode) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetTriggerMode(*mode); }, mode);
}
int32_t KQGEAPI KQGE_SetWatchdogState(int32_t index, int32_t on) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetWatchdogState(on != 0); });
}
int32_t KQGEAPI KQGE_GetWatchdogState(int32_t index, int32_t* on) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetWatchdogState(*on); }, on);
}
int32_t KQGEAPI KQGE_SetIO(int32_t index, uint32_t line, uint32_t level) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetIO(line, level); });
}
int32_t KQGEAPI KQGE_GetIO(int32_t index, uint32_t line, uint32_t* level) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetIO(line, *level); }, level);
}
int32_t KQGEAPI KQGE_SetTriggerDelayTime(int32_t index, uint32_t delay) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetTriggerDelayTime(delay); });
}
int32_t KQGEAPI KQGE_SoftTrigger(int32_t index) {
    return OnCamera(index, [](IGigECamera& c) { return c.SoftTrigger(); });
}
int32_t KQGEAPI KQGE_SetCameraIP(int32_t index, uint32_t ip, uint32_t mask, uint32_t gateway) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetCameraIP(ip, mask, gateway); });
}
int32_t KQGEAPI KQGE_IPConfig(int32_t index, int32_t on) {
    return OnCamera(index, [&](IGigECamera& c) { return c.IPConfig(on != 0); });
}
int32_t KQGEAPI KQGE_SetDhcpEnable(int32_t index, int32_t on) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetDhcpEnable(on != 0); });
}
int32_t KQGEAPI KQGE_SetMacAddr(int32_t index, uint32_t value, uint32_t guard) {
    return OnCamera(index,
                    [&](IGigECamera& c) { return guard == kMacAddressGuard ? c.SetMacAddr(value) : result::kOk; });
}
int32_t KQGEAPI KQGE_UpdateDeviceProgram(int32_t index, int32_t start, const wchar_t* path) {
    return OnCamera(index, [&](IGigECamera& c) {
        return c.UpdateDeviceProgram(start, path != nullptr ? std::filesystem::path(path)
                                                            : std::filesystem::path(kqge::kDefaultFirmwareFileName));
    });
}

// ---- Pictures ----

int32_t KQGEAPI KQGE_SetFrameCallBack(int32_t index, KQGE_FRAME_CALLBACK callback, void* user) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetFrameCallBack(ForCamera(callback), user); });
}
int32_t KQGEAPI KQGE_SetTriggerState(int32_t index, int32_t on, KQGE_FRAME_CALLBACK callback, void* user) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetTriggerState(on != 0, ForCamera(callback), user); });
}
int32_t KQGEAPI KQGE_GetFrame(int32_t index, unsigned char* picture) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetFrame(picture); }, picture);
}
int32_t KQGEAPI KQGE_GetFrameToImage(int32_t index, const wchar_t* path, int32_t kind, int32_t, int32_t) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetFrameToImage(std::filesystem::path(path), kind); }, path);
}
int32_t KQGEAPI KQGE_SetColorMode(int32_t index, int32_t kind) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetColorMode(kind); });
}
int32_t KQGEAPI KQGE_SetContrast(int32_t index, uint32_t contrast) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetContrast(contrast); });
}
int32_t KQGEAPI KQGE_SetSaturation(int32_t index, int32_t value) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetSaturation(value); });
}
int32_t KQGEAPI KQGE_GetSaturation(int32_t index, int32_t* value) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetSaturation(*value); }, value);
}
int32_t KQGEAPI KQGE_SetSharpness(int32_t index, int32_t value) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetSharpness(value); });
}
int32_t KQGEAPI KQGE_GetSharpness(int32_t index, int32_t* value) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetSharpness(*value); }, value);
}
int32_t KQGEAPI KQGE_SetDoAE(int32_t index, int32_t showMark, int32_t on, KQGE_AE_CALLBACK callback, void* user) {
    return OnCamera(index,
                    [&](IGigECamera& c) { return c.SetDoAE(showMark != 0, on != 0, ForCamera(callback), user); });
}
int32_t KQGEAPI KQGE_AEParam(int32_t index, int32_t flag, int32_t targetWindow) {
    return OnCamera(index, [&](IGigECamera& c) { return c.AEParam(flag != 0, targetWindow); });
}
int32_t KQGEAPI KQGE_SetDoAWB(int32_t index, int32_t once, int32_t continuous, KQGE_AE_CALLBACK callback, void* user) {
    return OnCamera(index,
                    [&](IGigECamera& c) { return c.SetDoAWB(once, continuous != 0, ForCamera(callback), user); });
}
int32_t KQGEAPI KQGE_GetAWBVal(int32_t index, uint32_t* red, uint32_t* green, uint32_t* blue) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetAWBVal(*red, *green, *blue); }, red, green, blue);
}
int32_t KQGEAPI KQGE_ReSetAWBVal(int32_t index, int32_t red, int32_t green, int32_t blue) {
    return OnCamera(index, [&](IGigECamera& c) { return c.ReSetAWBVal(red, green, blue); });
}
int32_t KQGEAPI KQGE_MCResolutionShow(int32_t index, int32_t on) {
    return OnCamera(index, [&](IGigECamera& c) { return c.MCResolutionShow(on != 0); });
}
int32_t KQGEAPI KQGE_IsMCResolutionShow(int32_t index, int32_t* on) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.IsMCResolutionShow(*on); }, on);
}
int32_t KQGEAPI KQGE_SetMCResolution(int32_t index, int32_t x, int32_t y, int32_t width, int32_t height) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetMCResolution(x, y, width, height); });
}
int32_t KQGEAPI KQGE_GetMCResolution(int32_t index, int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.GetMCResolution(*x, *y, *width, *height); }, x, y, width, height);
}

// ---- Recording ----

int32_t KQGEAPI KQGE_CaptureStart(int32_t index, const wchar_t* path) {
    return WithOutputs(
        index, [&](IGigECamera& c) { return c.SetCapture(true, std::filesystem::path(path), true); }, path);
}
int32_t KQGEAPI KQGE_CaptureStop(int32_t index) {
    return OnCamera(index, [](IGigECamera& c) { return c.SetCapture(false, {}, true); });
}
int32_t KQGEAPI KQGE_SelectAviCompressor(int32_t index, HWND) {
    return OnCamera(index, [](IGigECamera& c) {
        kqge::SystemCompressorChooser chooser;
        return c.SelectAviCompressor(chooser);
    });
}
int32_t KQGEAPI KQGE_SetAviCompressor(int32_t index, uint32_t compressor) {
    return OnCamera(index, [&](IGigECamera& c) { return c.SetAviCompressor(compressor); });
}

}  // extern "C"
