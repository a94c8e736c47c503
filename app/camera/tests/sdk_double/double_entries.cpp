#include "double_entries.h"

#include <algorithm>
#include <cstring>
#include <sstream>

int NumberOf(HANDLE handle) {
    int number = -1;
    DoubleLibrary::Instance().WithDevice(handle, [&](DoubleDevice& device) { number = device.number; });
    return number;
}

int DeviceSetting(HANDLE handle, const char* field, int fallback) {
    const int number = NumberOf(handle);
    return DoubleLibrary::Instance().Script().Int("device." + std::to_string(number) + "." + field, fallback);
}

std::string DeviceText(HANDLE handle, const char* field, const std::string& fallback) {
    const int number = NumberOf(handle);
    return DoubleLibrary::Instance().Script().Text("device." + std::to_string(number) + "." + field, fallback);
}

void SetFrameSize(HANDLE handle, int width, int height) {
    const DoubleScript script = DoubleLibrary::Instance().Script();
    const int clampedWidth = std::min(width, script.Int("clamp.width", width));
    const int clampedHeight = std::min(height, script.Int("clamp.height", height));
    DoubleLibrary::Instance().WithDevice(handle, [&](DoubleDevice& device) {
        device.format.width = clampedWidth;
        device.format.height = clampedHeight;
    });
}

bool WriteFrameFile(HANDLE handle, const wchar_t* path, const char* kind) {
    if (!path) {
        return false;
    }
    DoubleFrameFormat format;
    DoubleLibrary::Instance().WithDevice(handle, [&](DoubleDevice& device) { format = device.format; });
    const std::string text = std::string(kind) + " " + std::to_string(format.width) + "x" +
                             std::to_string(format.height) + "x" + std::to_string(format.bitsPerPixel) + "\r\n";
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

void FillRgb(HANDLE handle, unsigned char* rgb) {
    DoubleFrameFormat format;
    DoubleLibrary::Instance().WithDevice(handle, [&](DoubleDevice& device) { format = device.format; });
    if (rgb && format.width > 0 && format.height > 0) {
        std::memset(rgb, 0x40, static_cast<std::size_t>(format.width) * format.height * 3);
    }
}

int OpenDevice(const wchar_t* label, int* number, HANDLE* handle, const char* entry) {
    DoubleLibrary& library = DoubleLibrary::Instance();
    const int asked = number ? *number : -1;
    const int code = LogFreeCall(entry, Narrow(label), asked);
    if (code != 0) {
        return code;
    }
    if (!number || !handle || !library.IsDeviceNumber(asked)) {
        return 3;
    }
    const DoubleScript script = library.Script();
    const int opened = script.Int("written_back", asked);
    *number = opened;
    *handle = library.Open(opened);
    return 0;
}

int CloseDevice(HANDLE handle) {
    const int code = LogCall("KQ_Uninitialize", handle);
    DoubleLibrary::Instance().Close(handle);
    return code;
}

int SetFrameCallback(const char* entry, HANDLE handle, DoubleFrameCallback callback, void* context) {
    const int code = LogCall(entry, handle, callback ? "callback" : "null");
    if (code == 0) {
        DoubleLibrary::Instance().WithDevice(handle, [&](DoubleDevice& device) {
            device.callback = callback;
            device.context = context;
        });
    }
    return code;
}

int StartView(HANDLE handle, const wchar_t* caption, unsigned int style, int x, int y, int width, int height,
              HWND host) {
    std::ostringstream styleText;
    styleText << std::hex << style;
    const int code =
        LogCall("KQ_StartView", handle, Narrow(caption), styleText.str(), x, y, width, height, host ? "host" : "null");
    if (code == 0) {
        DoubleLibrary::Instance().StartView(handle);
    }
    return code;
}

int StopView(HANDLE handle) {
    const int code = LogCall("KQ_StopView", handle);
    DoubleLibrary::Instance().StopView(handle);
    return code;
}

int CaptureToAvi(HANDLE handle, int on, const wchar_t* path) {
    const int code = LogCall("KQ_CaptureToAvi", handle, on, Narrow(path));
    if (code == 0 && on) {
        return WriteFrameFile(handle, path, "avi") ? 0 : 5;
    }
    return code;
}
