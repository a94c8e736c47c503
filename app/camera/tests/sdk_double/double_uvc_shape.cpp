// The entries of the UVC camera library's shape that answer more than a
// code: devices numbered from 0, numbered properties kept per device, the
// resolution, the view window, frames and files.
#include <windows.h>

#include <sstream>

#include "double_entries.h"
#include "kq_uvc_interface.h"

extern const int kDoubleFirstNumber = 0;

extern "C" int WINAPI DoubleUvcShape_KQ_Initialize(const wchar_t* label, int* number, HANDLE* handle) {
    return OpenDevice(label, number, handle, "KQ_Initialize");
}

extern "C" int WINAPI DoubleUvcShape_KQ_Uninitialize(HANDLE h) { return CloseDevice(h); }

extern "C" int WINAPI DoubleUvcShape_KQ_SetParam(HANDLE h, int id, int value) {
    const int code = LogCall("KQ_SetParam", h, id, value);
    if (code == 0) {
        DoubleLibrary::Instance().WithDevice(h, [&](DoubleDevice& device) { device.properties[id] = value; });
    }
    return code;
}

extern "C" int WINAPI DoubleUvcShape_KQ_GetParam(HANDLE h, int id, int* value) {
    const int code = LogCall("KQ_GetParam", h, id);
    if (code == 0 && value) {
        int answer = DoubleLibrary::Instance().Script().Int("param." + std::to_string(id), 0);
        DoubleLibrary::Instance().WithDevice(h, [&](DoubleDevice& device) {
            if (const auto found = device.properties.find(id); found != device.properties.end()) {
                answer = found->second;
            }
        });
        *value = answer;
    }
    return code;
}

extern "C" int WINAPI DoubleUvcShape_KQ_GetCameraType(HANDLE h, int* type) {
    const int code = LogCall("KQ_GetCameraType", h);
    if (code == 0 && type) {
        *type = DeviceSetting(h, "type", 0x5001);
    }
    return code;
}

extern "C" int WINAPI DoubleUvcShape_KQ_GetTotalDeviceNum(HANDLE h, int* count) {
    const int code = LogCall("KQ_GetTotalDeviceNum", h);
    if (code == 0 && count) {
        *count = DoubleLibrary::Instance().DeviceCount();
    }
    return code;
}

extern "C" int WINAPI DoubleUvcShape_KQ_SetFrameCallback(HANDLE h, kquvc::FrameCallback callback, void* context) {
    return SetFrameCallback("KQ_SetFrameCallback", h, callback, context);
}

extern "C" int WINAPI DoubleUvcShape_KQ_SetAviCompressor(HANDLE h, int compressor) {
    return LogCall("KQ_SetAviCompressor", h, compressor);
}

extern "C" int WINAPI DoubleUvcShape_KQ_GetAviCompressor(HANDLE h, int* compressor) {
    const int code = LogCall("KQ_GetAviCompressor", h);
    if (code == 0 && compressor) {
        *compressor = DoubleLibrary::Instance().Script().Int("compressor", 0);
    }
    return code;
}

extern "C" int WINAPI DoubleUvcShape_KQ_GetResolution(HANDLE h, int* count, int* width, int* height) {
    const int code = LogCall("KQ_GetResolution", h, count ? *count : -1, width ? *width : -1, height ? *height : -1);
    if (code == 0 && count && width && height) {
        *count = DoubleLibrary::Instance().Script().Int("resolutions", 3);
        *width = DeviceSetting(h, "width", 2592);
        *height = DeviceSetting(h, "height", 1944);
    }
    return code;
}

extern "C" int WINAPI DoubleUvcShape_KQ_SetResolution(HANDLE h, int width, int height) {
    const int code = LogCall("KQ_SetResolution", h, width, height);
    if (code == 0) {
        SetFrameSize(h, width, height);
    }
    return code;
}

extern "C" int WINAPI DoubleUvcShape_KQ_StartView(HANDLE h, const wchar_t* caption, unsigned int style, int x, int y,
                                                  int width, int height, HWND host, void*) {
    return StartView(h, caption, style, x, y, width, height, host);
}

extern "C" int WINAPI DoubleUvcShape_KQ_StopView(HANDLE h) { return StopView(h); }

extern "C" int WINAPI DoubleUvcShape_KQ_SetViewWin(HANDLE h, int* rectangle) {
    if (!rectangle) {
        return LogCall("KQ_SetViewWin", h, "null");
    }
    return LogCall("KQ_SetViewWin", h, rectangle[0], rectangle[1], rectangle[2], rectangle[3]);
}

extern "C" int WINAPI DoubleUvcShape_KQ_GetRgbFrame(HANDLE h, unsigned char* rgb) {
    const int code = LogCall("KQ_GetRgbFrame", h, rgb ? "rgb" : "null");
    if (code == 0) {
        if (!rgb) {
            return 6;
        }
        FillRgb(h, rgb);
    }
    return code;
}

extern "C" int WINAPI DoubleUvcShape_KQ_GetRgbFrameToBmp(HANDLE h, unsigned char* rgb, const wchar_t* path,
                                                         int copyOut) {
    const int code = LogCall("KQ_GetRgbFrameToBmp", h, rgb ? "rgb" : "null", Narrow(path), copyOut);
    if (code != 0) {
        return code;
    }
    if (copyOut) {
        FillRgb(h, rgb);
    }
    return WriteFrameFile(h, path, "bmp") ? 0 : 5;
}

extern "C" int WINAPI DoubleUvcShape_KQ_GetRgbFrameToJpeg(HANDLE h, unsigned char* rgb, const wchar_t* path,
                                                          int quality) {
    const int code = LogCall("KQ_GetRgbFrameToJpeg", h, rgb ? "rgb" : "null", Narrow(path), quality);
    if (code != 0) {
        return code;
    }
    return WriteFrameFile(h, path, "jpeg") ? 0 : 5;
}

extern "C" int WINAPI DoubleUvcShape_KQ_GetFrameRate(HANDLE h, float* fps) {
    const int code = LogCall("KQ_GetFrameRate", h);
    if (code == 0 && fps) {
        *fps = static_cast<float>(DoubleLibrary::Instance().Script().Number("frame_rate", 30));
    }
    return code;
}

extern "C" int WINAPI DoubleUvcShape_KQ_CaptureToAvi(HANDLE h, int on, const wchar_t* path) {
    return CaptureToAvi(h, on, path);
}

extern "C" int WINAPI DoubleUvcShape_KQ_ShowPropertyPage(HANDLE h, HWND owner) {
    return LogCall("KQ_ShowPropertyPage", h, owner ? "owner" : "null");
}

#define VZ_DOUBLE_UVC_ONE_SHOT(name)                                                                              \
    extern "C" int WINAPI DoubleUvcShape_##name(HANDLE h, int on, int reserved, kquvc::StatusCallback completion, \
                                                void* context) {                                                  \
        const int code = LogCall(#name, h, on, reserved, completion ? "completion" : "null");                     \
        if (code == 0 && completion) {                                                                            \
            DoubleLibrary::Instance().Complete(h, completion, context);                                           \
        }                                                                                                         \
        return code;                                                                                              \
    }
VZ_DOUBLE_UVC_ONE_SHOT(KQ_SetDoAWB)
VZ_DOUBLE_UVC_ONE_SHOT(KQ_SetDoAE)
