#include "hot_plug_window.h"

#include <mutex>
#include <utility>

#include "kqff_protocol.h"

namespace kq {
namespace {

// Posted by StopHotPlugWindow: the window destroys itself on its thread.
constexpr UINT kStopMessage = WM_APP + 1;

struct WindowThread {
    std::mutex lock;
    HotPlugHost host{};
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    HWND window = nullptr;
};

// Its destruction at exit waits for nothing: the thread is gone by then.
WindowThread& State() {
    static WindowThread state;
    return state;
}

struct StartRequest {
    HMODULE module;
    const HotPlugHost* host;
    HANDLE ready;
    HWND window;
};

struct WindowData {
    const HotPlugHost* host;
    HDEVNOTIFY notices;
};

LRESULT CALLBACK MsgWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<WindowData*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        data = static_cast<WindowData*>(create->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
        // Without the broadcasts the window still hears power changes and
        // the notices a caller delivers; the host process goes on.
        data->notices = data->host->registerNotices(window);
        return 0;
    }
    case kStopMessage:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (data != nullptr && data->notices != nullptr) {
            UnregisterDeviceNotification(data->notices);
            data->notices = nullptr;
        }
        PostQuitMessage(0);
        return 0;
    case WM_DEVICECHANGE:
        // The broadcast's contents are not examined: every arrival or
        // removal of a camera interface sweeps the whole table.
        if (data == nullptr) break;
        if (wParam == DBT_DEVICEARRIVAL) {
            data->host->library().OnDevicesArrived();
            return 0;
        }
        if (wParam == DBT_DEVICEREMOVECOMPLETE) {
            data->host->library().OnDevicesRemoved();
            return 0;
        }
        break;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMSUSPEND || wParam == PBT_APMRESUMEAUTOMATIC) return 0;
        if (wParam == PBT_APMRESUMESUSPEND) {
            if (data != nullptr) data->host->library().ResumeStreaming();
            return 0;
        }
        break;
    case WM_COMMAND:
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI MsgWindowThread(void* argument) {
    auto* request = static_cast<StartRequest*>(argument);
    const HMODULE module = request->module;
    WindowData data{request->host, nullptr};

    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MsgWindowProc;
    windowClass.hInstance = module;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kHotPlugWindowClass;
    RegisterClassW(&windowClass);  // fails harmlessly when a former thread registered it
    const HWND window = CreateWindowExW(0, kHotPlugWindowClass, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, module, &data);
    request->window = window;
    SetEvent(request->ready);  // request is the starter's: not touched after this
    if (window == nullptr) FreeLibraryAndExitThread(module, 1);
    ShowWindow(window, SW_HIDE);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

HDEVNOTIFY RegisterCameraNotices(HWND window) {
    constexpr auto& g = kqff::kCameraInterfaceGuid;
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = {g.data1, g.data2, g.data3,
                             {g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6],
                              g.data4[7]}};
    return RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void StartHotPlugWindow(const HotPlugHost& host) {
    WindowThread& state = State();
    std::lock_guard<std::mutex> hold(state.lock);
    if (state.thread != nullptr) {
        if (WaitForSingleObject(state.thread, 0) == WAIT_TIMEOUT) return;
        // Its window was destroyed from outside: start another.
        CloseHandle(state.thread);
        state.thread = nullptr;
        state.window = nullptr;
    }
    state.host = host;

    // The thread's own reference to this module, released as it ends.
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&MsgWindowProc),
                            &module)) {
        return;
    }
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (ready == nullptr) {
        FreeLibrary(module);
        return;
    }
    StartRequest request{module, &state.host, ready, nullptr};
    DWORD id = 0;
    const HANDLE thread = CreateThread(nullptr, 0, MsgWindowThread, &request, 0, &id);
    if (thread == nullptr) {
        FreeLibrary(module);
        CloseHandle(ready);
        return;
    }
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
    state.thread = thread;
    state.threadId = id;
    state.window = request.window;
}

void StopHotPlugWindow() {
    WindowThread& state = State();
    HANDLE thread = nullptr;
    HWND window = nullptr;
    DWORD id = 0;
    {
        std::lock_guard<std::mutex> hold(state.lock);
        thread = std::exchange(state.thread, nullptr);
        window = std::exchange(state.window, nullptr);
        id = std::exchange(state.threadId, 0);
    }
    if (thread == nullptr) return;
    if (id == GetCurrentThreadId()) {
        // A callback of a sweep on this thread: it cannot wait for itself.
        if (window != nullptr) DestroyWindow(window);
    } else {
        // Without a window the thread has ended on its own, or is ending.
        if (window != nullptr) PostMessageW(window, kStopMessage, 0, 0);
        WaitForSingleObject(thread, INFINITE);
    }
    CloseHandle(thread);
}

}  // namespace kq
