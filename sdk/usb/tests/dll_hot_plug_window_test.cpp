// The library's message window in the simulated-camera build: found as a
// client's tool would find it, sent the device-change messages the system
// would send after a camera is unplugged or plugged back in, and gone with
// its thread once the last camera is closed.

#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <chrono>
#include <filesystem>
#include <utility>
#include <vector>

#include "dll_fixture.h"
#include "kqff_protocol.h"
#include "unique_temp_dir.h"

namespace {

using kq::test::KqDll;

// The window of this process: other test programs run beside this one on
// the same display, each with its own.
HWND OurMessageWindow() {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"My Msg Win", nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) return window;
    }
    return nullptr;
}

struct Events {
    std::vector<std::pair<int, HANDLE>> seen;
    DWORD thread = 0;
    // Closes the camera from its removal callback when set.
    decltype(&KQ_Uninitialize) closeOnRemoval = nullptr;
    static void KQAPI Record(int event, HANDLE handle, void* context) {
        auto* self = static_cast<Events*>(context);
        self->seen.emplace_back(event, handle);
        self->thread = GetCurrentThreadId();
        if (event == 0 && self->closeOnRemoval != nullptr) self->closeOnRemoval(handle);
    }
};

class HotPlugWindow : public KqDll {
protected:
    void SetUp() override {
        KqDll::SetUp();
        UseCameras("[Cameras]\nCount=2\n[Camera1]\nType=10\nName=Left\n[Camera2]\nType=10\nName=Right\n");
        ASSERT_EQ(KQ(KQSim_SweepOnPlug)(0), KQSIM_OK);
    }
    void TearDown() override {
        KQ(KQSim_SweepOnPlug)(1);
        KQ(KQSim_FailNoticeRegistration)(0);
    }
    HANDLE OpenWithEvents(int position, Events& events) {
        const HANDLE handle = Open(position, Window(640, 480));
        EXPECT_EQ(KQ(KQ_SetDeviceEvent)(handle, &Events::Record, &events), 0);
        return handle;
    }
    // The thread behind the window, to see it end.
    static HANDLE ThreadOf(HWND window) {
        const DWORD id = GetWindowThreadProcessId(window, nullptr);
        return OpenThread(SYNCHRONIZE, FALSE, id);
    }
};

TEST_F(HotPlugWindow, DeviceChangeMessagesSweepTheOpenCameras) {
    Events left, right;
    const HANDLE a = OpenWithEvents(1, left);
    const HANDLE b = OpenWithEvents(2, right);
    const HWND window = OurMessageWindow();
    ASSERT_NE(window, nullptr) << "the first open starts the window";

    ASSERT_EQ(KQ(KQSim_Unplug)(2), KQSIM_OK);
    EXPECT_TRUE(right.seen.empty()) << "nothing happens before the notice";
    EXPECT_EQ(SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0), 0);
    EXPECT_TRUE(left.seen.empty());
    ASSERT_EQ(right.seen.size(), 1u);
    EXPECT_EQ(right.seen[0], std::make_pair(0, b));
    EXPECT_EQ(right.thread, GetWindowThreadProcessId(window, nullptr)) << "reported on the window's thread";
    EXPECT_EQ(OpenConnections(), 1);
    unsigned char serial[16] = {};
    EXPECT_EQ(KQ(KQ_GetSerialNumber)(b, serial), 3);

    ASSERT_EQ(KQ(KQSim_Replug)(2), KQSIM_OK);
    EXPECT_EQ(SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0), 0);
    ASSERT_EQ(right.seen.size(), 2u);
    EXPECT_EQ(right.seen[1], std::make_pair(1, b));
    EXPECT_TRUE(left.seen.empty());
    EXPECT_EQ(OpenConnections(), 2);
    EXPECT_EQ(KQ(KQ_GetSerialNumber)(b, serial), 0);
    // The capture record went to the camera again.
    const auto format = LastInput(kqff::kIoctlSetFormat);
    ASSERT_GE(format.size(), 12u);
    EXPECT_EQ(format[8] | format[9] << 8, 640);

    // Power notices the window has nothing to do for are answered too.
    EXPECT_EQ(SendMessageW(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0), 0);
    EXPECT_EQ(SendMessageW(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0), 0);
    EXPECT_EQ(KQ(KQ_GetSerialNumber)(a, serial), 0);

    EXPECT_EQ(KQ(KQ_Uninitialize)(a), 0);
    EXPECT_EQ(KQ(KQ_Uninitialize)(b), 0);
}

TEST_F(HotPlugWindow, AFailedRegistrationLeavesTheProcessAndTheSweepsRunning) {
    ASSERT_EQ(KQ(KQSim_FailNoticeRegistration)(1), KQSIM_OK);
    Events events;
    const HANDLE handle = OpenWithEvents(1, events);
    const HWND window = OurMessageWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(KQ(KQSim_Unplug)(1), KQSIM_OK);
    SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
    ASSERT_EQ(KQ(KQSim_Replug)(1), KQSIM_OK);
    SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    EXPECT_EQ(events.seen, (std::vector<std::pair<int, HANDLE>>{{0, handle}, {1, handle}}));
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

TEST_F(HotPlugWindow, TheLastCloseEndsTheWindowAndItsThread) {
    Events left, right;
    const HANDLE a = OpenWithEvents(1, left);
    const HANDLE b = OpenWithEvents(2, right);
    const HWND window = OurMessageWindow();
    ASSERT_NE(window, nullptr);
    const HANDLE thread = ThreadOf(window);
    ASSERT_NE(thread, nullptr);

    EXPECT_EQ(KQ(KQ_Uninitialize)(a), 0);
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "a camera is still open";
    EXPECT_EQ(OurMessageWindow(), window);
    EXPECT_EQ(KQ(KQ_Uninitialize)(b), 0);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0) << "joined before the close returned";
    EXPECT_EQ(OurMessageWindow(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    CloseHandle(thread);

    // The next open starts them again.
    const HANDLE again = Open(1, Window(640, 480));
    EXPECT_NE(OurMessageWindow(), nullptr);
    EXPECT_EQ(KQ(KQ_Uninitialize)(again), 0);
    EXPECT_EQ(OurMessageWindow(), nullptr);
}

TEST_F(HotPlugWindow, ARemovalCallbackMayCloseTheLastCamera) {
    Events events;
    events.closeOnRemoval = KQ(KQ_Uninitialize);
    OpenWithEvents(1, events);
    const HWND window = OurMessageWindow();
    ASSERT_NE(window, nullptr);
    const HANDLE thread = ThreadOf(window);
    ASSERT_EQ(KQ(KQSim_Unplug)(1), KQSIM_OK);
    SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
    EXPECT_EQ(events.seen.size(), 1u);
    EXPECT_EQ(OpenConnections(), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0) << "the thread ends after the callback";
    CloseHandle(thread);
}

// A copy of the simulated build is a module of its own: freed with a camera
// still open, it neither waits nor leaves its window thread in a gone image.
TEST_F(HotPlugWindow, FreeLibraryWithACameraOpenReturnsAtOnce) {
    const auto folder = testing_support::UniqueTempPath("kq_unload");
    std::filesystem::create_directories(folder);
    const auto copy = folder / L"KQCMOSu.dll";
    std::filesystem::copy_file(std::filesystem::path(KQSIM_DLL_PATH).make_preferred(), copy);
    const HMODULE module = LoadLibraryW(copy.c_str());
    ASSERT_NE(module, nullptr);
    const auto initialize = kq::test::Export<decltype(&KQ_Initialize)>(module, "KQ_Initialize");
    const auto uninitialize = kq::test::Export<decltype(&KQ_Uninitialize)>(module, "KQ_Uninitialize");
    int position = 1;
    KQ_CAPINFO record = Window(640, 480);
    HANDLE handle = nullptr;
    // No KQSimCam.ini beside the copy: its one default camera.
    ASSERT_EQ(initialize(L"copy", &position, &record, &handle), 0);
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"My Msg Win", nullptr)) != nullptr) {
        if (GetClassLongPtrW(window, GCLP_HMODULE) == reinterpret_cast<ULONG_PTR>(module)) break;
    }
    ASSERT_NE(window, nullptr);
    const HANDLE thread = ThreadOf(window);

    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000));
    // The thread's reference keeps the image mapped under it.
    EXPECT_EQ(GetModuleHandleW(copy.c_str()), module);
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0), 0) << "and it still answers";

    EXPECT_EQ(uninitialize(handle), 0);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
}

}  // namespace
