// The 108 exported functions: each looks its handle up in the device table
// and forwards to the device object. Operations whose device side is not
// built yet answer 10 (not supported) after the lookup, like a model that
// lacks them.

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KQCMOSu.h"
#include "core/device_class.h"
#include "files/bmp_file.h"
#include "files/half_picture.h"
#include "files/jpeg_file.h"
#include "kq_device_handle.h"
#include "kq_library.h"
#include "win32/compressor_choice.h"
#include "win32/hot_plug_window.h"
#include "win32/window_preview_surface.h"

namespace {

using kq::BaseDevice;
namespace status = kq::status;

static_assert(sizeof(KQ_CAPINFO) == kq::kCapInfoBytes);

std::uint32_t Token(HANDLE handle) {
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    return value > 0xFFFFFFFFu ? 0 : static_cast<std::uint32_t>(value);
}

HANDLE ToHandle(std::uint32_t token) { return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(token)); }

template <class Op>
int OnDevice(HANDLE handle, Op&& op) {
    return kq::Library().WithDevice(Token(handle), std::forward<Op>(op));
}

// Reads an out value from the device when the caller gave somewhere to put it.
template <class T, class Get>
int Read(HANDLE handle, T* out, Get&& get) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (out == nullptr) return status::kNotSupported;
        *out = static_cast<T>(get(d));
        return status::kSuccess;
    });
}

// Caller text, bounded: a string longer than any path the library keeps is
// cut at that length plus one, which every length check then refuses.
std::u16string Text(const wchar_t* text) {
    std::u16string out;
    for (std::size_t i = 0; text[i] != 0 && i <= 4096; ++i) out.push_back(static_cast<char16_t>(text[i]));
    return out;
}

// A picture file's name: null, empty or longer than a Windows path is refused.
std::optional<std::filesystem::path> PictureFilePath(const wchar_t* name) {
    constexpr std::size_t kMaxPictureFileChars = 259;
    if (name == nullptr) return std::nullopt;
    const std::u16string text = Text(name);
    if (text.empty() || text.size() > kMaxPictureFileChars) return std::nullopt;
    return std::filesystem::path(text);
}

// A picture writer's result as a status: a file that could not be written
// is reported, not hidden.
int Written(bool ok) { return ok ? status::kSuccess : status::kNotSupported; }

// The grabbed picture at half width and height, for the zoomed snapshots;
// empty when nothing remains. Made per call, beside the frame the device
// keeps for later grabs.
struct HalfPicture {
    explicit HalfPicture(const kq::DeliveredFrame& f) : size(kq::files::HalfOf(f.size.width, f.size.height)) {
        const int bytes = f.bitsPerPixel / 8;
        if (size.width <= 0 || size.height <= 0 || bytes <= 0) return;
        pixels.resize(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height) *
                      static_cast<std::size_t>(bytes));
        if (!kq::files::HalvePicture(f.pixels, f.size.width, f.size.height, bytes, pixels)) pixels.clear();
    }
    kq::files::HalfSize size;
    std::vector<std::uint8_t> pixels;
};

kq::CapInfo FromCaller(const KQ_CAPINFO& record) {
    kq::CapInfoBytes bytes{};
    std::memcpy(bytes.data(), &record, bytes.size());
    return kq::DecodeCapInfo(bytes);
}

void ToCaller(const kq::CapInfo& record, KQ_CAPINFO& out) {
    const kq::CapInfoBytes bytes = kq::EncodeCapInfo(record);
    std::memcpy(&out, bytes.data(), bytes.size());
}

}  // namespace

extern "C" {

// ---- Open, close and identity ----

int KQAPI KQ_Initialize(const wchar_t*, int* index, KQ_CAPINFO* capInfo, HANDLE* handle) {
    if (index == nullptr || capInfo == nullptr || handle == nullptr) return status::kNotSupported;
    const kq::CapInfo record = FromCaller(*capInfo);
    std::int32_t position = *index;
    std::uint32_t token = Token(*handle);
    const int rc = kq::Library().Initialize(&position, &record, &token);
    if (rc == status::kNoResources && token == Token(*handle)) return rc;  // handle left alone
    *handle = ToHandle(token);
    if (token != 0) {
        *index = position;
        kq::StartHotPlugWindow({&kq::Library, &kq::RegisterNotices});
    }
    return rc;
}

int KQAPI KQ_Uninitialize(HANDLE handle) {
    if (handle == nullptr) return status::kSuccess;
    const std::uint32_t token = Token(handle);
    if (token == 0) return status::kBadHandle;
    const int rc = kq::Library().Uninitialize(token);
    // The window runs while a camera is open, so unloading waits for nothing.
    if (kq::Library().DeviceCount() == 0) kq::StopHotPlugWindow();
    return rc;
}

int KQAPI KQ_GetTotalDeviceNum(HANDLE, int* count) { return kq::Library().GetTotalDeviceNum(count); }

int KQAPI KQ_GetDeviceID(HANDLE handle, unsigned short* id) { return kq::Library().GetDeviceID(Token(handle), id); }

int KQAPI KQ_GetFriendlyName(HANDLE handle, wchar_t* name) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (name == nullptr) return status::kNotSupported;
        std::array<char16_t, BaseDevice::kFriendlyNameChars> text{};
        d.GetFriendlyName(text);
        std::copy(text.begin(), text.end(), name);
        return status::kSuccess;
    });
}

int KQAPI KQ_GetDeviceType(HANDLE handle, int* type) {
    return Read(handle, type, [](BaseDevice& d) { return kq::ReportedDeviceType(d.TypeCode()); });
}

int KQAPI KQ_GetDeviceColorType(HANDLE handle, int* colorType) {
    return Read(handle, colorType, [](BaseDevice& d) { return d.ColorType(); });
}

int KQAPI KQ_GetSerialNumber(HANDLE handle, unsigned char* serial) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (serial == nullptr) return status::kNotSupported;
        return d.GetSerialNumber(std::span<std::uint8_t, 16>(serial, 16));
    });
}

int KQAPI KQ_SetSerialNumber(HANDLE handle, const unsigned char* serial, unsigned int guard) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (serial == nullptr) return status::kNotSupported;
        return d.SetSerialNumber(std::span<const std::uint8_t, 16>(serial, 16), guard);
    });
}

int KQAPI KQ_SetFrameCallBack(HANDLE handle, KQ_FRAME_CALLBACK callback, void* context) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetFrameCallBack(callback, context); });
}

int KQAPI KQ_SetDeviceEvent(HANDLE handle, KQ_DEVICE_EVENT_CALLBACK callback, void* context) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetDeviceEvent(callback, context); });
}

// ---- Streaming and display ----

// The window name and style are not used: the preview is drawn into the
// caller's window itself. A null window streams without drawing.
int KQAPI KQ_StartView(HANDLE handle, const wchar_t*, unsigned int, int x, int y, int width, int height, HWND window,
                       void*) {
    return OnDevice(handle, [&](BaseDevice& d) {
        std::unique_ptr<kq::PreviewSurface> surface;
        if (window != nullptr) surface = std::make_unique<kq::win32::WindowPreviewSurface>(window);
        return d.StartView(std::move(surface), kq::DrawPlacement{x, y, width, height});
    });
}
int KQAPI KQ_StopView(HANDLE handle) {
    return OnDevice(handle, [](BaseDevice& d) { return d.StopView(); });
}

int KQAPI KQ_SetCapInfo(HANDLE handle, KQ_CAPINFO* capInfo) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (capInfo == nullptr) return status::kNotSupported;
        return d.SetCapInfo(FromCaller(*capInfo));
    });
}

int KQAPI KQ_GetCapInfo(HANDLE handle, KQ_CAPINFO* capInfo) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (capInfo == nullptr) return status::kNotSupported;
        ToCaller(d.GetCapInfo(), *capInfo);
        return status::kSuccess;
    });
}

int KQAPI KQ_SetParamColor(HANDLE handle, int mode) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetParamColor(mode); });
}
int KQAPI KQ_SetParamFlip(HANDLE handle, int mode) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetParamFlip(mode); });
}

int KQAPI KQ_SetScrollOffset(HANDLE handle, int dx, int dy) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetScrollOffset(dx, dy); });
}
int KQAPI KQ_SetVideoSize(HANDLE handle, int width, int height) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetVideoSize(width, height); });
}
int KQAPI KQ_SetShowVideo(HANDLE handle, int show) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetShowVideo(show != 0); });
}
int KQAPI KQ_SetShowAutoMark(HANDLE handle, int show) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetShowAutoMark(show != 0); });
}
int KQAPI KQ_VideoPause(HANDLE handle, int pause) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.VideoPause(pause != 0); });
}
int KQAPI KQ_SetZoomMode(HANDLE handle, int mode) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetZoomMode(mode); });
}
int KQAPI KQ_SetClearView(HANDLE handle, int on) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetClearView(on != 0); });
}
int KQAPI KQ_GetClearViewState(HANDLE handle, int* on) {
    return Read(handle, on, [](BaseDevice& d) { return d.GetClearViewState() ? 1 : 0; });
}
int KQAPI KQ_SetClearPic(HANDLE handle) {
    return OnDevice(handle, [](BaseDevice& d) { return d.RestartStream(); });
}
int KQAPI KQ_GetFrameRate(HANDLE handle, float* fps) {
    return Read(handle, fps, [](BaseDevice& d) { return d.FrameRate(); });
}
int KQAPI KQ_MCResolutionShow(HANDLE handle, int on) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.MCResolutionShow(on != 0); });
}
int KQAPI KQ_IsMCResolutionShow(HANDLE handle, int* on) {
    return Read(handle, on, [](BaseDevice& d) { return d.IsMCResolutionShow() ? 1 : 0; });
}
int KQAPI KQ_SetMCResolution(HANDLE handle, int x, int y, int width, int height) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetMCResolution(x, y, width, height); });
}
int KQAPI KQ_GetMCResolution(HANDLE handle, int* x, int* y, int* width, int* height) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (x == nullptr || y == nullptr || width == nullptr || height == nullptr) {
            return status::kNotSupported;
        }
        const kq::SubRectangle r = d.GetMCResolution();
        *x = r.x;
        *y = r.y;
        *width = r.width;
        *height = r.height;
        return status::kSuccess;
    });
}
int KQAPI KQ_SetSpeedMode(HANDLE handle, int mode) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetSpeedMode(mode); });
}
int KQAPI KQ_CapFastMode(HANDLE handle, int on) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.CapFastMode(on != 0); });
}
int KQAPI KQ_SetSensorRdMode(HANDLE handle, int mode) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetSensorRdMode(mode); });
}
int KQAPI KQ_SetHBlank(HANDLE handle, int value) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetHBlank(value); });
}
int KQAPI KQ_SetVBlank(HANDLE handle, int value) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetVBlank(value); });
}
int KQAPI KQ_SetSourceFormat(HANDLE handle, int format) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetSourceFormat(format); });
}

// ---- Image parameters and automatic control ----

int KQAPI KQ_SetDoAE(HANDLE handle, int on, int, KQ_AWB_CALLBACK callback, void* context) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetDoAE(on != 0, callback, context); });
}
int KQAPI KQ_SetDoAWB(HANDLE handle, int on, int, KQ_AWB_CALLBACK callback, void* context) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetDoAWB(on != 0, callback, context); });
}
int KQAPI KQ_SetDoAEInRegion(HANDLE handle, int on, int, KQ_AWB_CALLBACK callback, void* context, int x1, int y1,
                             int x2, int y2) {
    return OnDevice(handle,
                    [&](BaseDevice& d) { return d.SetDoAEInRegion(on != 0, callback, context, x1, y1, x2, y2); });
}
int KQAPI KQ_SetDoAWBInRegion(HANDLE handle, int on, int, KQ_AWB_CALLBACK callback, void* context, int x1, int y1,
                              int x2, int y2) {
    return OnDevice(handle,
                    [&](BaseDevice& d) { return d.SetDoAWBInRegion(on != 0, callback, context, x1, y1, x2, y2); });
}
int KQAPI KQ_SetAELevel(HANDLE handle, int level) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetAELevel(level); });
}
int KQAPI KQ_AEParam(HANDLE handle, int alternate, int level, KQ_AWB_CALLBACK callback, void* context) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.AEParam(alternate, level, callback, context); });
}
int KQAPI KQ_SetContrastValue(HANDLE handle, int value) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetContrastValue(value); });
}
int KQAPI KQ_GetContrastValue(HANDLE handle, int* value) {
    return Read(handle, value, [](BaseDevice& d) { return d.GetContrastValue(); });
}
int KQAPI KQ_SetGamma(HANDLE handle, int index) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetGamma(index); });
}
int KQAPI KQ_GetGamma(HANDLE handle, int* index) {
    return Read(handle, index, [](BaseDevice& d) { return d.GetGamma(); });
}
int KQAPI KQ_SetSaturation(HANDLE handle, int value) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetSaturation(value); });
}
int KQAPI KQ_GetSaturation(HANDLE handle, int* value) {
    return Read(handle, value, [](BaseDevice& d) { return d.GetSaturation(); });
}
int KQAPI KQ_SetSharpness(HANDLE handle, int level) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetSharpness(level); });
}
int KQAPI KQ_GetSharpness(HANDLE handle, int* level) {
    return Read(handle, level, [](BaseDevice& d) { return d.GetSharpness(); });
}
namespace {
// One channel's gain (0 red, 1 green, 2 blue) into the caller's int.
int GetGainOf(HANDLE handle, int channel, int* gain) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (gain == nullptr) return status::kNotSupported;
        std::int32_t value = *gain;  // kept when the table gives no gain
        const int rc = d.GetGain(channel, value);
        if (rc == status::kSuccess) *gain = value;
        return rc;
    });
}
}  // namespace

int KQAPI KQ_SetGainR(HANDLE handle, int gain) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetGain(0, gain); });
}
int KQAPI KQ_GetGainR(HANDLE handle, int* gain) { return GetGainOf(handle, 0, gain); }
int KQAPI KQ_SetGainG(HANDLE handle, int gain) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetGain(1, gain); });
}
int KQAPI KQ_GetGainG(HANDLE handle, int* gain) { return GetGainOf(handle, 1, gain); }
int KQAPI KQ_SetGainB(HANDLE handle, int gain) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetGain(2, gain); });
}
int KQAPI KQ_GetGainB(HANDLE handle, int* gain) { return GetGainOf(handle, 2, gain); }
int KQAPI KQ_SetColorAdjust(HANDLE handle, int value) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetColorAdjust(value); });
}
int KQAPI KQ_GetColorAdjust(HANDLE handle, int* value) {
    return Read(handle, value, [](BaseDevice& d) { return d.GetColorAdjust(); });
}
int KQAPI KQ_SetOffCenter(HANDLE handle, int value) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetOffCenter(value); });
}
int KQAPI KQ_GetOffCenter(HANDLE handle, int* value) {
    return Read(handle, value, [](BaseDevice& d) { return d.GetOffCenter(); });
}
int KQAPI KQ_SetExpouseUnit(HANDLE handle, int unit) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetExpouseUnit(unit); });
}
int KQAPI KQ_SetExpouseDelayTime(HANDLE handle, int delay) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetExpouseDelayTime(delay); });
}
int KQAPI KQ_SetGolbalGain(HANDLE handle, int gain) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetGolbalGain(gain); });
}
int KQAPI KQ_SetHDR(HANDLE handle, int on) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetHDR(on); });
}
int KQAPI KQ_ResetLightAvgTable(HANDLE handle) {
    return OnDevice(handle, [](BaseDevice& d) { return d.ResetLightAvgTable(); });
}
int KQAPI KQ_EnableLightAvg(HANDLE handle, int on) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.EnableLightAvg(on != 0); });
}
int KQAPI KQ_ErasureStripe(HANDLE handle) {
    return OnDevice(handle, [](BaseDevice& d) { return d.ErasureStripe(); });
}
int KQAPI KQ_ApplyErasure(HANDLE handle, int on) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.ApplyErasure(on != 0); });
}
int KQAPI KQ_PixelCalibration(HANDLE handle) {
    return OnDevice(handle, [](BaseDevice& d) { return d.PixelCalibration(); });
}
int KQAPI KQ_SetLight(HANDLE handle, int value) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetLight(value); });
}
int KQAPI KQ_GetLight(HANDLE handle, unsigned char* value) {
    return Read(handle, value, [](BaseDevice& d) { return d.GetLight(); });
}
int KQAPI KQ_SetCameraLED(HANDLE handle, int value1, int value2) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetCameraLED(value1, value2); });
}

// ---- Frames and files ----

int KQAPI KQ_GetRawFrame(HANDLE handle, unsigned char** buffer) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (buffer == nullptr) return status::kNullFrameBuffer;
        return d.GrabFrame(*buffer, false, [](const kq::DeliveredFrame&) { return status::kSuccess; });
    });
}
int KQAPI KQ_GetRgbFrame(HANDLE handle, unsigned char** buffer, unsigned char* out, int topDown) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (buffer == nullptr) return status::kNullFrameBuffer;
        return d.GrabFrame(*buffer, true, [&](const kq::DeliveredFrame& f) {
            if (out == nullptr) return status::kNotSupported;
            const std::size_t row = static_cast<std::size_t>(f.size.width) * (f.bitsPerPixel / 8);
            for (int y = 0; y < f.size.height; ++y) {
                const int from = topDown != 0 ? f.size.height - 1 - y : y;
                std::copy_n(f.pixels.begin() + from * row, row, out + y * row);
            }
            return status::kSuccess;
        });
    });
}
int KQAPI KQ_GetRawFrameToBmp(HANDLE handle, unsigned char** buffer, const wchar_t* fileName) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (buffer == nullptr) return status::kNullFrameBuffer;
        const auto path = PictureFilePath(fileName);
        if (!path) return status::kNotSupported;
        // Grabbed with processing; the file holds the raw frame
        // as the processing left it before the demosaic.
        return d.GrabProcessedRaw(*buffer, [&](const kq::DeliveredFrame& f) {
            return Written(kq::files::WriteBmpFile(*path, f.pixels, f.size.width, f.size.height, 8, true));
        });
    });
}
int KQAPI KQ_GetRgbFrameToBmp(HANDLE handle, unsigned char** buffer, unsigned char* out, const wchar_t* fileName,
                              int copyOut) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (buffer == nullptr) return status::kNullFrameBuffer;
        const auto path = PictureFilePath(fileName);
        if (!path || (copyOut != 0 && out == nullptr)) return status::kNotSupported;
        return d.GrabFrame(*buffer, true, [&](const kq::DeliveredFrame& f) {
            if (copyOut != 0) std::copy(f.pixels.begin(), f.pixels.end(), out);
            return Written(kq::files::WriteBmpFile(*path, f.pixels, f.size.width, f.size.height, f.bitsPerPixel, true));
        });
    });
}
int KQAPI KQ_GetRgbFrameToJpeg(HANDLE handle, unsigned char** buffer, int, const wchar_t* fileName, int quality) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (buffer == nullptr) return status::kNullFrameBuffer;
        const auto path = PictureFilePath(fileName);
        if (!path) return status::kNotSupported;
        const int q = (quality < 0 || quality > 100) ? 50 : quality;
        return d.GrabFrame(*buffer, true, [&](const kq::DeliveredFrame& f) {
            return Written(kq::files::WriteJpegFile(*path, f.pixels, true, f.bitsPerPixel != 8, f.size.width,
                                                    f.size.height, f.bitsPerPixel, q));
        });
    });
}
int KQAPI KQ_GetRgbFrameToBmpZoom(HANDLE handle, unsigned char** buffer, unsigned char* out, const wchar_t* fileName,
                                  int copyOut) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (buffer == nullptr) return status::kNullFrameBuffer;
        const auto path = PictureFilePath(fileName);
        if (!path || (copyOut != 0 && out == nullptr)) return status::kNotSupported;
        return d.GrabFrame(*buffer, true, [&](const kq::DeliveredFrame& f) {
            const HalfPicture half(f);
            if (half.pixels.empty()) return status::kNotSupported;
            if (copyOut != 0) std::copy(half.pixels.begin(), half.pixels.end(), out);
            return Written(
                kq::files::WriteBmpFile(*path, half.pixels, half.size.width, half.size.height, f.bitsPerPixel, true));
        });
    });
}
int KQAPI KQ_GetRgbFrameToJpegZoom(HANDLE handle, unsigned char** buffer, int, const wchar_t* fileName, int quality) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (buffer == nullptr) return status::kNullFrameBuffer;
        const auto path = PictureFilePath(fileName);
        if (!path) return status::kNotSupported;
        const int q = (quality < 0 || quality > 100) ? 50 : quality;
        return d.GrabFrame(*buffer, true, [&](const kq::DeliveredFrame& f) {
            const HalfPicture half(f);
            if (half.pixels.empty()) return status::kNotSupported;
            return Written(kq::files::WriteJpegFile(*path, half.pixels, true, f.bitsPerPixel != 8, half.size.width,
                                                    half.size.height, f.bitsPerPixel, q));
        });
    });
}
// A caller's frame to a picture file, no camera needed. The buffer holds
// bottom-up rows without gaps, like the frames the library delivers; grey
// (8 bits) or blue-green-red (24). Kind 0 writes a BMP, kind 1 a JPEG at
// full quality.
int KQAPI KQ_FrameToImage(const wchar_t* fileName, unsigned char* pixels, int width, int height, int bitsPerPixel,
                          int kind) {
    constexpr int kMaxSide = 65535;
    const int bytes = bitsPerPixel / 8;
    if (bytes != 1 && bytes != 3) return status::kNotSupported;
    if (kind != 0 && kind != 1) return status::kNotSupported;
    if (pixels == nullptr) return status::kNullFrameBuffer;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return status::kNotSupported;
    const auto path = PictureFilePath(fileName);
    if (!path) return status::kNotSupported;
    const std::span<const std::uint8_t> frame(
        pixels, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * static_cast<std::size_t>(bytes));
    if (kind == 0) return Written(kq::files::WriteBmpFile(*path, frame, width, height, 8 * bytes, true));
    return Written(kq::files::WriteJpegFile(*path, frame, true, bitsPerPixel == 24, width, height, 8 * bytes, 100));
}
int KQAPI KQ_GetNewCalibrationRawFrame(HANDLE handle, int width, int height, int, int, int, int, unsigned char* source,
                                       unsigned char light, int contrast, unsigned char* destination) {
    return OnDevice(handle, [&](BaseDevice& d) {
        return d.CalibrationRawFrame(width, height, source, light, contrast, destination);
    });
}
int KQAPI KQ_RawFrameToRgb(HANDLE handle, int height, int width, int, int, unsigned char* raw, unsigned char* rgb) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.RawFrameToRgb(height, width, raw, rgb); });
}
int KQAPI KQ_GetTrigger(HANDLE handle, int on, int jpeg, const wchar_t* prefix, int quality) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (on != 0 && prefix == nullptr) return status::kNotSupported;
        return d.GetTrigger(on != 0, jpeg != 0, on != 0 ? Text(prefix) : std::u16string(), quality);
    });
}
int KQAPI KQ_CaptureToAvi(HANDLE handle, int start, const wchar_t* path) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (path == nullptr) return d.CaptureToAvi(start != 0, nullptr);
        const std::u16string text = Text(path);
        return d.CaptureToAvi(start != 0, &text);
    });
}
int KQAPI KQ_SelectAviCompressor(HANDLE handle, int* fourcc) {
    kqcmos::FrameSize size{};
    std::int32_t bits = 24;
    std::int32_t current = 0;
    const int rc = OnDevice(handle, [&](BaseDevice& d) {
        size = d.RecordingSize();
        bits = d.OutputBits();
        current = d.AviCompressor();
        return status::kSuccess;
    });
    if (rc != status::kSuccess) return rc;
    // The dialog runs without the device lock: frames go on meanwhile.
    const std::int32_t chosen = kq::ChooseCompressor(nullptr, static_cast<std::int32_t>(size.width),
                                                     static_cast<std::int32_t>(size.height), bits, current);
    if (chosen != 0) {
        if (const int stored = OnDevice(handle, [&](BaseDevice& d) { return d.SetAviCompressor(chosen); });
            stored != status::kSuccess) {
            return stored;
        }
    }
    if (fourcc != nullptr) *fourcc = chosen;
    return status::kSuccess;
}
int KQAPI KQ_SetAviCompressor(HANDLE handle, int fourcc) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetAviCompressor(fourcc); });
}

// ---- Trigger and input/output ----

int KQAPI KQ_SetTriggerMode(HANDLE handle, int on) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetTriggerMode(on); });
}
int KQAPI KQ_SoftTrigger(HANDLE handle) {
    return OnDevice(handle, [](BaseDevice& d) { return d.SoftTrigger(); });
}
int KQAPI KQ_SetTriggerDelayTime(HANDLE handle, int delay) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetTriggerDelayTime(delay); });
}
int KQAPI KQ_SetTriggerSource(HANDLE handle, int source) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetTriggerSource(source); });
}
int KQAPI KQ_SetTriggerSourceTime(HANDLE handle, int time) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetTriggerSourceTime(time); });
}
int KQAPI KQ_SetTriggerCheckSignalTime(HANDLE handle, int time) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetTriggerCheckSignalTime(time); });
}
int KQAPI KQ_SetCustomIO(HANDLE handle, int value) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetCustomIO(value); });
}
int KQAPI KQ_SetIO(HANDLE handle, int value) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.SetIO(static_cast<std::uint8_t>(value)); });
}
int KQAPI KQ_GetIO(HANDLE handle, unsigned char* value) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (value == nullptr) return status::kNotSupported;
        std::uint8_t io = 0;
        const int rc = d.GetIO(io);
        if (rc == status::kSuccess) *value = io;
        return rc;
    });
}

// ---- Device memory, registers and firmware ----

int KQAPI KQ_EEProm_Set(HANDLE handle, unsigned char* data) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (data == nullptr) return status::kRefused;
        return d.EEProm_Set(std::span<const std::uint8_t, 240>(data, 240));
    });
}
int KQAPI KQ_EEProm_Get(HANDLE handle, unsigned char* data) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (data == nullptr) return status::kRefused;
        return d.EEProm_Get(std::span<std::uint8_t, 240>(data, 240));
    });
}
int KQAPI KQ_EEProm_SetByte(HANDLE handle, int length, unsigned char* buffer, int address) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.EEProm_SetByte(address, length, buffer); });
}
int KQAPI KQ_EEProm_GetByte(HANDLE handle, int length, unsigned char* buffer, int address) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.EEProm_GetByte(address, length, buffer); });
}
int KQAPI KQ_EEProm_Set_Test(HANDLE handle, unsigned char* data) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.EEProm_Set_Test(data); });
}
int KQAPI KQ_EEProm_Get_Test(HANDLE handle, unsigned char* data) {
    return OnDevice(handle, [&](BaseDevice& d) { return d.EEProm_Get_Test(data); });
}
int KQAPI KQ_Write_Register(HANDLE handle, unsigned short* registers, unsigned short* values, int count) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (registers == nullptr || values == nullptr || count <= 0) return status::kNotSupported;
        // Each model takes as many pairs as its camera does.
        const auto n = static_cast<std::size_t>(count);
        return d.Write_Register({registers, n}, {values, n});
    });
}
int KQAPI KQ_WriteDataToDevice(HANDLE handle, unsigned char* data, int offset, int length) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (data == nullptr || length < 0 || offset < 0 || offset + std::int64_t{length} >= 64) return status::kRefused;
        return d.WriteDataToDevice({data, static_cast<std::size_t>(length)}, offset);
    });
}
int KQAPI KQ_ReadDataFromDevice(HANDLE handle, unsigned char* data, int offset, int length) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (data == nullptr || length < 0 || offset < 0 || offset + std::int64_t{length} >= 64) return status::kRefused;
        return d.ReadDataFromDevice({data, static_cast<std::size_t>(length)}, offset);
    });
}
int KQAPI KQ_DeviceIoControl(HANDLE handle, unsigned int* value) {
    return OnDevice(handle, [&](BaseDevice& d) {
        if (value == nullptr) return status::kNotSupported;
        return d.DeviceIoControl(*value);
    });
}
int KQAPI KQ_UpdateDeviceProgram(HANDLE handle, int start, const wchar_t* path) {
    return OnDevice(handle, [&](BaseDevice& d) {
        constexpr std::size_t kMaxFirmwarePathChars = 1023;
        if (path == nullptr || start == 0) return d.UpdateDeviceProgram(start != 0, nullptr);
        const std::u16string text = Text(path);
        if (text.size() > kMaxFirmwarePathChars) return status::kNotSupported;
        const std::filesystem::path file(text);
        return d.UpdateDeviceProgram(true, &file);
    });
}

}  // extern "C"

namespace kq {

HANDLE OpenDeviceHandle(int* index, KQ_CAPINFO* capInfo) {
    HANDLE handle = nullptr;
    if (KQ_Initialize(nullptr, index, capInfo, &handle) == status::kSuccess) return handle;
    KQ_Uninitialize(handle);
    return nullptr;
}

}  // namespace kq
