#pragma once
// The state of a camera-library double: its script, its call log, the
// devices it has open and the frames it delivered. One object per loaded
// library; every entry point of the double works on it under its lock, and
// no lock is held while the double calls back into its caller.
#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "double_script.h"

class DoubleView;

// The frame callback every family registers: frame, unused, context.
using DoubleFrameCallback = int(WINAPI*)(unsigned char* frame, int unused, void* context);
// The one-shot completion of white balance and exposure.
using DoubleCompletion = void(WINAPI*)(int value1, int value2, void* context);

struct DoubleFrameFormat {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
};
// The callback of a library that hands each frame's format with it: frame,
// format (laid out as the library's frame information), context.
using DoubleInfoFrameCallback = void(WINAPI*)(unsigned char* frame, DoubleFrameFormat* format, void* context);

struct DoubleDevice {
    int number = 0;
    HANDLE handle = nullptr;
    DoubleFrameFormat format;  // what the next frame is
    std::uint8_t capInfo[36] = {};
    int colourMode = 0;
    std::map<int, int> properties;
    DoubleFrameCallback callback = nullptr;
    DoubleInfoFrameCallback infoCallback = nullptr;
    void* context = nullptr;
    std::unique_ptr<DoubleView> view;
    // Threads running its one-shot completions; closing the device joins them.
    std::vector<HANDLE> completions;
};

class DoubleLibrary {
public:
    static DoubleLibrary& Instance();

    void SetModule(HMODULE module);
    // The folder of the library file, with a trailing backslash.
    std::wstring Folder() const;

    // Appends "<library file> <text>" to "sdk_calls.log" beside the library.
    void Log(const std::string& text);
    // The code `entry` answers: "return.<entry>" of the script, else 0.
    int Code(const char* entry);
    // Reads the script once from "sdk_script.txt" beside the library.
    DoubleScript Script();
    void ReplaceScript(const std::string& text);

    // Devices are numbered from `firstNumber` (1 for the USB families, 0 for UVC).
    void SetFirstNumber(int first);
    int FirstNumber();
    int DeviceCount();
    bool IsDeviceNumber(int number);
    // Opens a device; a number already open has its view stopped first, as a
    // library that hands a device to a second caller does.
    HANDLE Open(int number);
    // Stops its view and waits for its completions, as a library joins the
    // threads of a device it closes.
    void Close(HANDLE handle);
    // "h<number>" for an open handle, "null", or "h?" for any other value.
    std::string NameOf(HANDLE handle);

    // Runs `work` on the open device of `handle` under the lock; false when
    // no device has that handle.
    template <typename Work>
    bool WithDevice(HANDLE handle, Work&& work) {
        std::unique_lock lock(m_mutex);
        DoubleDevice* device = Find(handle);
        if (!device) {
            return false;
        }
        work(*device);
        return true;
    }

    // Starts the frame thread of a device (frames as the script says), or
    // stops it; both join what they replace outside the lock.
    bool StartView(HANDLE handle);
    bool StopView(HANDLE handle);
    // Asks every running view for `count` more frames; the number of views asked.
    int DeliverFrames(int count);

    // Called by a view thread: the device's format and callbacks now.
    bool FrameSetup(HANDLE handle, DoubleFrameFormat& format, DoubleFrameCallback& callback,
                    DoubleInfoFrameCallback& infoCallback, void*& context);
    // A frame went through the callback; overran: it wrote past the frame.
    void FrameDelivered(const std::vector<std::uint8_t>& frame, const DoubleFrameFormat& format, bool overran);
    // Waits until `total` frames were delivered since load; the count then.
    int WaitFrames(int total, DWORD timeoutMs);
    // Copies the last delivered frame; its size in bytes, 0 when none.
    int CopyLastFrame(std::uint8_t* out, int capacity, int* width, int* height, int* bits);

    // Calls `completion` from a thread of the library once the caller
    // returned; closing the device waits for it.
    void Complete(HANDLE device, DoubleCompletion completion, void* context);
    int WaitCompletions(int total, DWORD timeoutMs);

    // Stops every view and joins every thread; before the library is freed.
    void Shutdown();

private:
    DoubleLibrary() = default;
    DoubleDevice* Find(HANDLE handle);
    void LoadScriptLocked();

    std::mutex m_mutex;
    std::mutex m_logMutex;
    std::condition_variable m_changed;
    HMODULE m_module = nullptr;
    bool m_scriptRead = false;
    DoubleScript m_script;
    int m_firstNumber = 1;
    std::uintptr_t m_nextHandle = 0x1000;
    std::vector<std::unique_ptr<DoubleDevice>> m_devices;
    int m_framesDelivered = 0;
    DoubleFrameFormat m_lastFormat;
    std::vector<std::uint8_t> m_lastFrame;
    int m_completions = 0;
    std::vector<HANDLE> m_completionThreads;
};

// Narrow text for the log; null as "null".
std::string Narrow(const wchar_t* text);
