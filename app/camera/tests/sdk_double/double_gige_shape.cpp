// The entries of the GigE camera library's shape that answer more than a
// code. Cameras are addressed by index from 0; a camera is opened by
// KQGE_InitCamera and closed by KQGE_UnInitCamera. Every entry logs
// "<entry> <index> <values...>" and answers its scripted code. The script
// also gives, per camera index n: device.<n>.type (model code),
// device.<n>.ip (four numbers), device.<n>.version (the digit at byte 143,
// the device-version text's eighth character), and package_size (what the packet-size query
// reports; else the last size set).
#include <windows.h>

#include <cstring>
#include <map>
#include <mutex>

#include "double_entries.h"
#include "kq_gige_interface.h"

extern const int kDoubleFirstNumber = 0;

namespace {

std::mutex g_camerasMutex;
std::map<int, HANDLE> g_cameras;
std::map<int, int> g_packageSize;

HANDLE CameraHandle(int index) {
    std::lock_guard lock(g_camerasMutex);
    const auto found = g_cameras.find(index);
    return found == g_cameras.end() ? nullptr : found->second;
}

int Setting(int index, const char* field, int fallback) {
    return DoubleLibrary::Instance().Script().Int("device." + std::to_string(index) + "." + field, fallback);
}

bool IsStreaming(HANDLE handle) {
    bool streaming = false;
    DoubleLibrary::Instance().WithDevice(handle, [&](DoubleDevice& device) { streaming = device.view != nullptr; });
    return streaming;
}

}  // namespace

extern "C" int WINAPI DoubleGigeShape_KQGE_GetCameraCount(int32_t* count) {
    const int code = LogFreeCall("KQGE_GetCameraCount");
    if (code == 0 && count) {
        *count = DoubleLibrary::Instance().DeviceCount();
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_GetCameraType(int32_t index, int32_t* type) {
    const int code = LogFreeCall("KQGE_GetCameraType", index);
    if (code == 0 && type) {
        *type = Setting(index, "type", 0x14000);
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_GetCameraInfo(int32_t index, unsigned char* record) {
    const int code = LogFreeCall("KQGE_GetCameraInfo", index);
    if (code == 0 && record) {
        std::memset(record, 0, 248);
        const std::vector<int> ip = DoubleLibrary::Instance().Script().Ints("device." + std::to_string(index) + ".ip");
        for (std::size_t i = 0; i < 4 && i < ip.size(); ++i) {
            record[36 + i] = static_cast<unsigned char>(ip[i]);
        }
        record[143] = static_cast<unsigned char>('0' + Setting(index, "version", 1));
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_InitCamera(int32_t index, HWND window) {
    const int code = LogFreeCall("KQGE_InitCamera", index, window ? "window" : "null");
    if (code != 0) {
        return code;
    }
    if (!DoubleLibrary::Instance().IsDeviceNumber(index)) {
        return 3;
    }
    const HANDLE handle = DoubleLibrary::Instance().Open(index);
    std::lock_guard lock(g_camerasMutex);
    g_cameras[index] = handle;
    return 0;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_UnInitCamera(int32_t index) {
    const int code = LogFreeCall("KQGE_UnInitCamera", index);
    HANDLE handle = nullptr;
    {
        std::lock_guard lock(g_camerasMutex);
        const auto found = g_cameras.find(index);
        if (found != g_cameras.end()) {
            handle = found->second;
            g_cameras.erase(found);
        }
    }
    if (handle) {
        DoubleLibrary::Instance().Close(handle);
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_SetFrameCallBack(int32_t index, kqge::KQGE_FRAME_CALLBACK callback,
                                                            void* user) {
    const int code = LogFreeCall("KQGE_SetFrameCallBack", index, callback ? "callback" : "null");
    if (code == 0) {
        DoubleLibrary::Instance().WithDevice(CameraHandle(index), [&](DoubleDevice& device) {
            // The library's frame information is three int32 as the double's format.
            device.infoCallback = reinterpret_cast<DoubleInfoFrameCallback>(callback);
            device.context = user;
        });
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_LiveStart(int32_t index) {
    const int code = LogFreeCall("KQGE_LiveStart", index);
    if (code == 0) {
        DoubleLibrary::Instance().StartView(CameraHandle(index));
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_LiveStop(int32_t index) {
    const int code = LogFreeCall("KQGE_LiveStop", index);
    DoubleLibrary::Instance().StopView(CameraHandle(index));
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_SetResolution(int32_t index, uint32_t width, uint32_t height) {
    const int code = LogFreeCall("KQGE_SetResolution", index, width, height);
    if (code == 0) {
        SetFrameSize(CameraHandle(index), int(width), int(height));
    }
    return code;
}

// Colour modes 0, 1 and 5 deliver 3 bytes a pixel, mode 4 two, the others one.
extern "C" int WINAPI DoubleGigeShape_KQGE_SetColorMode(int32_t index, int32_t mode) {
    const int code = LogFreeCall("KQGE_SetColorMode", index, mode);
    if (code == 0) {
        DoubleLibrary::Instance().WithDevice(CameraHandle(index), [&](DoubleDevice& device) {
            device.colourMode = mode;
            device.format.bitsPerPixel = mode == 0 || mode == 1 || mode == 5 ? 24 : mode == 4 ? 16 : 8;
        });
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_SetExposure(int32_t index, uint32_t exposure) {
    const int code = LogFreeCall("KQGE_SetExposure", index, exposure);
    if (code == 0) {
        DoubleLibrary::Instance().WithDevice(CameraHandle(index),
                                             [&](DoubleDevice& device) { device.properties[0] = int(exposure); });
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_GetExposure(int32_t index, int32_t* exposure) {
    const int code = LogFreeCall("KQGE_GetExposure", index);
    if (code == 0 && exposure) {
        DoubleLibrary::Instance().WithDevice(CameraHandle(index),
                                             [&](DoubleDevice& device) { *exposure = device.properties[0]; });
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_SetPackageSize(int32_t index, int32_t size) {
    const int code = LogFreeCall("KQGE_SetPackageSize", index, size);
    if (code == 0) {
        std::lock_guard lock(g_camerasMutex);
        g_packageSize[index] = size;
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_GetPackageSize(int32_t index, uint16_t* size) {
    const int code = LogFreeCall("KQGE_GetPackageSize", index);
    if (code == 0 && size) {
        int last = 1500;
        {
            std::lock_guard lock(g_camerasMutex);
            if (const auto found = g_packageSize.find(index); found != g_packageSize.end()) {
                last = found->second;
            }
        }
        *size = static_cast<uint16_t>(DoubleLibrary::Instance().Script().Int("package_size", last));
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_GetFrameToImage(int32_t index, const wchar_t* path, int32_t kind,
                                                           int32_t ignored1, int32_t ignored2) {
    const int code = LogFreeCall("KQGE_GetFrameToImage", index, Narrow(path), kind, ignored1, ignored2);
    if (code != 0) {
        return code;
    }
    const char* kinds[] = {"bmp", "jpeg", "tiff"};
    if (kind < 0 || kind > 2) {
        return 4;
    }
    return WriteFrameFile(CameraHandle(index), path, kinds[kind]) ? 0 : 5;
}

// 33 unless streaming, 17 unless the output is 24-bit.
extern "C" int WINAPI DoubleGigeShape_KQGE_CaptureStart(int32_t index, const wchar_t* path) {
    const int code = LogFreeCall("KQGE_CaptureStart", index, Narrow(path));
    if (code != 0) {
        return code;
    }
    const HANDLE handle = CameraHandle(index);
    if (!IsStreaming(handle)) {
        return 33;
    }
    int bits = 0;
    DoubleLibrary::Instance().WithDevice(handle, [&](DoubleDevice& device) { bits = device.format.bitsPerPixel; });
    if (bits != 24) {
        return 17;
    }
    return WriteFrameFile(handle, path, "avi") ? 0 : 5;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_GetCameraFrameRate(int32_t index, float* fps) {
    const int code = LogFreeCall("KQGE_GetCameraFrameRate", index);
    if (code == 0 && fps) {
        *fps = static_cast<float>(DoubleLibrary::Instance().Script().Number("frame_rate", 30));
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_GetAWBVal(int32_t index, uint32_t* red, uint32_t* green, uint32_t* blue) {
    const int code = LogFreeCall("KQGE_GetAWBVal", index);
    const std::vector<int> awb = DoubleLibrary::Instance().Script().Ints("awb");
    if (code == 0 && red && green && blue && awb.size() == 3) {
        *red = uint32_t(awb[0]);
        *green = uint32_t(awb[1]);
        *blue = uint32_t(awb[2]);
    }
    return code;
}

extern "C" int WINAPI DoubleGigeShape_KQGE_SetVideoWindowPos(int32_t index, int32_t x, int32_t y, int32_t width,
                                                             int32_t height) {
    return LogFreeCall("KQGE_SetVideoWindowPos", index, x, y, width, height);
}

extern "C" int WINAPI DoubleGigeShape_KQGE_SetNewHwnd(int32_t index, HWND window) {
    return LogFreeCall("KQGE_SetNewHwnd", index, window ? "window" : "null");
}

extern "C" int WINAPI DoubleGigeShape_KQGE_SetDoAE(int32_t index, int32_t showMark, int32_t on,
                                                   kqge::KQGE_AE_CALLBACK callback, void*) {
    return LogFreeCall("KQGE_SetDoAE", index, showMark, on, callback ? "callback" : "null");
}

extern "C" int WINAPI DoubleGigeShape_KQGE_SetDoAWB(int32_t index, int32_t once, int32_t continuous,
                                                    kqge::KQGE_AE_CALLBACK callback, void*) {
    return LogFreeCall("KQGE_SetDoAWB", index, once, continuous, callback ? "callback" : "null");
}

// Entries that take the camera index and integers: logged with their values.
#define VZ_DOUBLE_GIGE_SET1(name) \
    extern "C" int WINAPI DoubleGigeShape_##name(int32_t index, int32_t a) { return LogFreeCall(#name, index, a); }
#define VZ_DOUBLE_GIGE_SET3(name)                                                                  \
    extern "C" int WINAPI DoubleGigeShape_##name(int32_t index, int32_t a, int32_t b, int32_t c) { \
        return LogFreeCall(#name, index, a, b, c);                                                 \
    }
#define VZ_DOUBLE_GIGE_SET2(name)                                                       \
    extern "C" int WINAPI DoubleGigeShape_##name(int32_t index, int32_t a, int32_t b) { \
        return LogFreeCall(#name, index, a, b);                                         \
    }
VZ_DOUBLE_GIGE_SET1(KQGE_SetGainR)
VZ_DOUBLE_GIGE_SET1(KQGE_SetGainG)
VZ_DOUBLE_GIGE_SET1(KQGE_SetGainB)
VZ_DOUBLE_GIGE_SET1(KQGE_SetGain_A)
VZ_DOUBLE_GIGE_SET1(KQGE_SetContrast)
VZ_DOUBLE_GIGE_SET1(KQGE_SetOffsetH)
VZ_DOUBLE_GIGE_SET1(KQGE_SetOffsetV)
VZ_DOUBLE_GIGE_SET1(KQGE_SetFlipMode)
VZ_DOUBLE_GIGE_SET1(KQGE_SetZoomMode)
VZ_DOUBLE_GIGE_SET1(KQGE_SetCapMode)
VZ_DOUBLE_GIGE_SET1(KQGE_SetSpeedMode)
VZ_DOUBLE_GIGE_SET1(KQGE_HDR_Enable)
VZ_DOUBLE_GIGE_SET1(KQGE_SetValidBitsOff)
VZ_DOUBLE_GIGE_SET1(KQGE_SetPackageDelayTime)
VZ_DOUBLE_GIGE_SET1(KQGE_SetWatchdogState)
VZ_DOUBLE_GIGE_SET1(KQGE_SetDoCorrecting)
VZ_DOUBLE_GIGE_SET1(KQGE_SetSharpness)
VZ_DOUBLE_GIGE_SET1(KQGE_SetSaturation)
VZ_DOUBLE_GIGE_SET1(KQGE_SetAviCompressor)
VZ_DOUBLE_GIGE_SET2(KQGE_AEParam)
VZ_DOUBLE_GIGE_SET3(KQGE_ReSetAWBVal)
