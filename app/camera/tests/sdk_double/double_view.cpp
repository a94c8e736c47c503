#include "double_view.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "double_library.h"

namespace {
constexpr std::uint8_t kBackground = 0x40;
constexpr std::uint8_t kGuard = 0xA5;
constexpr std::size_t kGuardBytes = 64;
}  // namespace

DoubleView::DoubleView(DoubleLibrary& library, HANDLE device, int frames)
    : m_library(library), m_device(device), m_pending(frames) {
    HMODULE pin = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&DoubleView::Run), &pin);
    m_thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    if (!m_thread) {
        FreeLibrary(pin);
    }
}

DoubleView::~DoubleView() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread) {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
    }
}

void DoubleView::Deliver(int frames) {
    {
        std::lock_guard lock(m_mutex);
        m_pending += frames;
    }
    m_wake.notify_all();
}

DWORD WINAPI DoubleView::Run(void* self) {
    static_cast<DoubleView*>(self)->Loop();
    HMODULE pin = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&DoubleView::Run), &pin);
    FreeLibraryAndExitThread(pin, 0);
}

void DoubleView::Loop() {
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [&] { return m_stop || m_pending > 0; });
            if (m_stop) {
                return;
            }
            --m_pending;
        }
        DoubleFrameFormat format;
        DoubleFrameCallback callback = nullptr;
        DoubleInfoFrameCallback infoCallback = nullptr;
        void* context = nullptr;
        if (!m_library.FrameSetup(m_device, format, callback, infoCallback, context) || format.width <= 0 ||
            format.height <= 0) {
            continue;
        }
        const std::size_t size =
            static_cast<std::size_t>(format.width) * format.height * static_cast<std::size_t>(format.bitsPerPixel / 8);
        std::vector<std::uint8_t> buffer(size + kGuardBytes, kGuard);
        std::fill(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size), kBackground);
        if (callback) {
            callback(buffer.data(), 0, context);
        }
        if (infoCallback) {
            DoubleFrameFormat delivered = format;
            infoCallback(buffer.data(), &delivered, context);
        }
        bool overran = false;
        for (std::size_t i = size; i < buffer.size(); ++i) {
            overran = overran || buffer[i] != kGuard;
        }
        buffer.resize(size);
        m_library.FrameDelivered(buffer, format, overran);
    }
}
