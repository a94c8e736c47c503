// The entries of the USB camera libraries' shape (KQCMOSu, and KQCCDu, which
// takes the same arguments) that answer more than a code: they open
// devices, keep the capture window, deliver frames and write files. Each is
// exported under its family name by the library's export list.
#include <windows.h>

#include <cstring>

#include "KQCMOSu.h"
#include "double_entries.h"

extern const int kDoubleFirstNumber = 1;

namespace {
int Bits(int colourMode) { return colourMode == 3 || colourMode == 4 ? 8 : 24; }

template <typename Value>
int ReadBack(const char* entry, HANDLE handle, Value* out, Value value) {
    const int code = LogCall(entry, handle);
    if (code == 0 && out) {
        *out = value;
    }
    return code;
}
}  // namespace

#define VZ_DOUBLE_SETTER(name) \
    extern "C" int WINAPI DoubleCmosShape_##name(HANDLE h, int value) { return LogCall(#name, h, value); }
VZ_DOUBLE_SETTER(KQ_SetParamFlip)
VZ_DOUBLE_SETTER(KQ_SetContrastValue)
VZ_DOUBLE_SETTER(KQ_SetGamma)
VZ_DOUBLE_SETTER(KQ_SetSaturation)
VZ_DOUBLE_SETTER(KQ_SetSharpness)
VZ_DOUBLE_SETTER(KQ_SetAELevel)
VZ_DOUBLE_SETTER(KQ_SetHDR)
VZ_DOUBLE_SETTER(KQ_SetExpouseUnit)
VZ_DOUBLE_SETTER(KQ_SetAviCompressor)
VZ_DOUBLE_SETTER(KQ_SetShowVideo)
VZ_DOUBLE_SETTER(KQ_EnableLightAvg)
VZ_DOUBLE_SETTER(KQ_SetColorAdjust)
VZ_DOUBLE_SETTER(KQ_SetOffCenter)
VZ_DOUBLE_SETTER(KQ_SetGainR)
VZ_DOUBLE_SETTER(KQ_SetGainG)
VZ_DOUBLE_SETTER(KQ_SetGainB)
VZ_DOUBLE_SETTER(KQ_SetClearView)
VZ_DOUBLE_SETTER(KQ_SetValidBit)
VZ_DOUBLE_SETTER(KQ_ApplyErasure)

#define VZ_DOUBLE_GETTER(name, key, fallback)                                                    \
    extern "C" int WINAPI DoubleCmosShape_##name(HANDLE h, int* value) {                         \
        return ReadBack(#name, h, value, DoubleLibrary::Instance().Script().Int(key, fallback)); \
    }
VZ_DOUBLE_GETTER(KQ_GetGainR, "gain.r", 500)
VZ_DOUBLE_GETTER(KQ_GetGainG, "gain.g", 500)
VZ_DOUBLE_GETTER(KQ_GetGainB, "gain.b", 500)
VZ_DOUBLE_GETTER(KQ_GetOffCenter, "off_centre", 0)
VZ_DOUBLE_GETTER(KQ_GetContrastValue, "contrast", 16)
VZ_DOUBLE_GETTER(KQ_GetGamma, "gamma", 16)
VZ_DOUBLE_GETTER(KQ_GetSaturation, "saturation", 8)
VZ_DOUBLE_GETTER(KQ_GetSharpness, "sharpness", 4)

extern "C" int WINAPI DoubleCmosShape_KQ_Initialize(const wchar_t* label, int* number, KQ_CAPINFO*, HANDLE* handle) {
    return OpenDevice(label, number, handle, "KQ_Initialize");
}

extern "C" int WINAPI DoubleCmosShape_KQ_Uninitialize(HANDLE h) { return CloseDevice(h); }

extern "C" int WINAPI DoubleCmosShape_KQ_GetTotalDeviceNum(HANDLE, int* count) {
    const int code = LogFreeCall("KQ_GetTotalDeviceNum");
    if (code == 0 && count) {
        *count = DoubleLibrary::Instance().DeviceCount();
    }
    return code;
}

extern "C" int WINAPI DoubleCmosShape_KQ_GetDeviceType(HANDLE h, int* type) {
    return ReadBack("KQ_GetDeviceType", h, type, DeviceSetting(h, "type", 1));
}

extern "C" int WINAPI DoubleCmosShape_KQ_GetDeviceColorType(HANDLE h, int* colour) {
    return ReadBack("KQ_GetDeviceColorType", h, colour, DeviceSetting(h, "colour", 0));
}

extern "C" int WINAPI DoubleCmosShape_KQ_GetFriendlyName(HANDLE h, wchar_t* name) {
    const int code = LogCall("KQ_GetFriendlyName", h);
    if (code == 0 && name) {
        const std::string text = DeviceText(h, "name", "Camera " + std::to_string(NumberOf(h)));
        std::size_t i = 0;
        for (; i < text.size() && i < 255; ++i) {
            name[i] = static_cast<unsigned char>(text[i]);
        }
        name[i] = L'\0';
    }
    return code;
}

extern "C" int WINAPI DoubleCmosShape_KQ_SetCapInfo(HANDLE h, KQ_CAPINFO* info) {
    if (!info) {
        return LogCall("KQ_SetCapInfo", h, "null");
    }
    const int code = LogCall("KQ_SetCapInfo", h, info->width, info->height, "exposure", info->exposure, "gains",
                             int{info->gain[0]}, int{info->gain[1]}, int{info->gain[2]}, "control", int{info->control},
                             "offsets", info->columnStart, info->rowStart);
    if (code == 0) {
        SetFrameSize(h, static_cast<int>(info->width), static_cast<int>(info->height));
        DoubleLibrary::Instance().WithDevice(h, [&](DoubleDevice& device) {
            KQ_CAPINFO kept = *info;
            kept.width = static_cast<uint32_t>(device.format.width);
            kept.height = static_cast<uint32_t>(device.format.height);
            std::memcpy(device.capInfo, &kept, sizeof kept);
        });
    }
    return code;
}

extern "C" int WINAPI DoubleCmosShape_KQ_GetCapInfo(HANDLE h, KQ_CAPINFO* info) {
    const int code = LogCall("KQ_GetCapInfo", h);
    if (code == 0 && info) {
        DoubleLibrary::Instance().WithDevice(
            h, [&](DoubleDevice& device) { std::memcpy(info, device.capInfo, sizeof *info); });
    }
    return code;
}

extern "C" int WINAPI DoubleCmosShape_KQ_SetParamColor(HANDLE h, int mode) {
    const int code = LogCall("KQ_SetParamColor", h, mode);
    if (code == 0) {
        DoubleLibrary::Instance().WithDevice(h, [&](DoubleDevice& device) {
            device.colourMode = mode;
            device.format.bitsPerPixel = Bits(mode);
        });
    }
    return code;
}

extern "C" int WINAPI DoubleCmosShape_KQ_SetFrameCallBack(HANDLE h, KQ_FRAME_CALLBACK callback, void* context) {
    return SetFrameCallback("KQ_SetFrameCallBack", h, callback, context);
}

extern "C" int WINAPI DoubleCmosShape_KQ_StartView(HANDLE h, const wchar_t* name, unsigned int style, int x, int y,
                                                   int width, int height, HWND parent, void*) {
    return StartView(h, name, style, x, y, width, height, parent);
}

extern "C" int WINAPI DoubleCmosShape_KQ_StopView(HANDLE h) { return StopView(h); }

extern "C" int WINAPI DoubleCmosShape_KQ_SetScrollOffset(HANDLE h, int dx, int dy) {
    return LogCall("KQ_SetScrollOffset", h, dx, dy);
}

extern "C" int WINAPI DoubleCmosShape_KQ_SetVideoSize(HANDLE h, int width, int height) {
    return LogCall("KQ_SetVideoSize", h, width, height);
}

extern "C" int WINAPI DoubleCmosShape_KQ_GetFrameRate(HANDLE h, float* fps) {
    return ReadBack("KQ_GetFrameRate", h, fps,
                    static_cast<float>(DoubleLibrary::Instance().Script().Number("frame_rate", 30)));
}

#define VZ_DOUBLE_ONE_SHOT(name)                                                                             \
    extern "C" int WINAPI DoubleCmosShape_##name(HANDLE h, int on, int reserved, KQ_AWB_CALLBACK completion, \
                                                 void* context) {                                            \
        const int code = LogCall(#name, h, on, reserved, completion ? "completion" : "null");                \
        if (code == 0 && completion) {                                                                       \
            DoubleLibrary::Instance().Complete(h, completion, context);                                      \
        }                                                                                                    \
        return code;                                                                                         \
    }
VZ_DOUBLE_ONE_SHOT(KQ_SetDoAWB)
VZ_DOUBLE_ONE_SHOT(KQ_SetDoAE)

#define VZ_DOUBLE_ONE_SHOT_IN_REGION(name)                                                                    \
    extern "C" int WINAPI DoubleCmosShape_##name(HANDLE h, int on, int reserved, KQ_AWB_CALLBACK completion,  \
                                                 void* context, int x1, int y1, int x2, int y2) {             \
        const int code = LogCall(#name, h, on, reserved, completion ? "completion" : "null", x1, y1, x2, y2); \
        if (code == 0 && completion) {                                                                        \
            DoubleLibrary::Instance().Complete(h, completion, context);                                       \
        }                                                                                                     \
        return code;                                                                                          \
    }
VZ_DOUBLE_ONE_SHOT_IN_REGION(KQ_SetDoAWBInRegion)
VZ_DOUBLE_ONE_SHOT_IN_REGION(KQ_SetDoAEInRegion)

// Continuous exposure runs in the library; it reports nothing back.
extern "C" int WINAPI DoubleCmosShape_KQ_AEParam(HANDLE h, int on, int level, KQ_AWB_CALLBACK completion, void*) {
    return LogCall("KQ_AEParam", h, on, level, completion ? "completion" : "null");
}

extern "C" int WINAPI DoubleCmosShape_KQ_GetRgbFrameToBmp(HANDLE h, unsigned char** buffer, unsigned char* out,
                                                          const wchar_t* fileName, int copyOut) {
    const int code =
        LogCall("KQ_GetRgbFrameToBmp", h, buffer ? "buffer" : "null", out ? "out" : "null", Narrow(fileName), copyOut);
    if (code != 0) {
        return code;
    }
    if (copyOut) {
        FillRgb(h, out);
    }
    return WriteFrameFile(h, fileName, "bmp") ? 0 : 5;
}

extern "C" int WINAPI DoubleCmosShape_KQ_GetRgbFrameToJpeg(HANDLE h, unsigned char** buffer, int reserved,
                                                           const wchar_t* fileName, int quality) {
    const int code =
        LogCall("KQ_GetRgbFrameToJpeg", h, buffer ? "buffer" : "null", reserved, Narrow(fileName), quality);
    if (code != 0) {
        return code;
    }
    return WriteFrameFile(h, fileName, "jpeg") ? 0 : 5;
}

extern "C" int WINAPI DoubleCmosShape_KQ_GetRgbFrame(HANDLE h, unsigned char** buffer, unsigned char* out,
                                                     int bottomUp) {
    const int code = LogCall("KQ_GetRgbFrame", h, buffer ? "buffer" : "null", out ? "out" : "null", bottomUp);
    if (code == 0) {
        if (!out) {
            return 6;
        }
        FillRgb(h, out);
    }
    return code;
}

extern "C" int WINAPI DoubleCmosShape_KQ_CaptureToAvi(HANDLE h, int on, const wchar_t* fileName) {
    return CaptureToAvi(h, on, fileName);
}

extern "C" int WINAPI DoubleCmosShape_KQ_SelectAviCompressor(HANDLE h, int* id) {
    return ReadBack("KQ_SelectAviCompressor", h, id, DoubleLibrary::Instance().Script().Int("compressor", 0));
}

extern "C" int WINAPI DoubleCmosShape_KQ_GetAWBVal(HANDLE h, int* red, int* green, int* blue) {
    const int code = LogCall("KQ_GetAWBVal", h);
    std::vector<int> values = DoubleLibrary::Instance().Script().Ints("awb");
    values.resize(3, 128);
    if (code == 0 && red && green && blue) {
        *red = values[0];
        *green = values[1];
        *blue = values[2];
    }
    return code;
}

extern "C" int WINAPI DoubleCmosShape_KQ_ReSetAWBVal(HANDLE h, int red, int green, int blue) {
    return LogCall("KQ_ReSetAWBVal", h, red, green, blue);
}
