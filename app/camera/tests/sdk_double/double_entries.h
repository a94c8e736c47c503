#pragma once
// What the entry points of every family's double share: the log line of a
// call and the answers that look the same in each family's shape.
#include <windows.h>

#include <sstream>
#include <string>

#include "double_library.h"

inline void Append(std::ostringstream&) {}

template <typename First, typename... Rest>
void Append(std::ostringstream& line, const First& first, const Rest&... rest) {
    line << ' ' << first;
    Append(line, rest...);
}

// Logs "<entry> <handle> <values...>" and answers the entry's scripted code,
// or 1 (unknown handle) when no open device has the handle.
template <typename... Values>
int LogCall(const char* entry, HANDLE handle, const Values&... values) {
    DoubleLibrary& library = DoubleLibrary::Instance();
    const std::string handleName = library.NameOf(handle);
    std::ostringstream line;
    line << entry << ' ' << handleName;
    Append(line, values...);
    library.Log(line.str());
    const int code = library.Code(entry);
    return code != 0 ? code : handleName == "null" || handleName == "h?" ? 1 : 0;
}

// Logs a call that takes no device handle and answers its scripted code.
template <typename... Values>
int LogFreeCall(const char* entry, const Values&... values) {
    std::ostringstream line;
    line << entry;
    Append(line, values...);
    DoubleLibrary::Instance().Log(line.str());
    return DoubleLibrary::Instance().Code(entry);
}

// The device number of an open handle, or -1.
int NumberOf(HANDLE handle);
// "device.<n>.<field>" of the open device's number.
int DeviceSetting(HANDLE handle, const char* field, int fallback);
std::string DeviceText(HANDLE handle, const char* field, const std::string& fallback);

// The next frame's size: the window asked for, within the largest the script lets through.
void SetFrameSize(HANDLE handle, int width, int height);

// Writes a small file that names the frame it stands for, as the library
// writes a picture or a recording.
bool WriteFrameFile(HANDLE handle, const wchar_t* path, const char* kind);

// Fills `rgb` with the current frame's pixels, 3 bytes each.
void FillRgb(HANDLE handle, unsigned char* rgb);

// The number of the device to open, or 0 with the code when it cannot be opened.
int OpenDevice(const wchar_t* label, int* number, HANDLE* handle, const char* entry);

// Entries whose shape every family shares.
int CloseDevice(HANDLE handle);
int SetFrameCallback(const char* entry, HANDLE handle, DoubleFrameCallback callback, void* context);
int StartView(HANDLE handle, const wchar_t* caption, unsigned int style, int x, int y, int width, int height,
              HWND host);
int StopView(HANDLE handle);
int CaptureToAvi(HANDLE handle, int on, const wchar_t* path);
