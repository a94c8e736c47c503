#pragma once
// The frame thread of one open device of a library double: it delivers the
// frames it is asked for to the device's callback, each a fresh buffer of
// the device's current format with guard bytes behind it, and reports to the
// library whether the callback wrote past the frame. The thread keeps the
// library loaded while it runs; stopping joins it.
#include <windows.h>

#include <condition_variable>
#include <mutex>

class DoubleLibrary;

class DoubleView {
public:
    DoubleView(DoubleLibrary& library, HANDLE device, int frames);
    ~DoubleView();
    DoubleView(const DoubleView&) = delete;
    DoubleView& operator=(const DoubleView&) = delete;

    void Deliver(int frames);

private:
    static DWORD WINAPI Run(void* self);
    void Loop();

    DoubleLibrary& m_library;
    HANDLE m_device;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    int m_pending = 0;
    bool m_stop = false;
    HANDLE m_thread = nullptr;
};
