#pragma once
// What any build of KQCMOSu.dll answers with no camera present: nothing
// counted, no open, no handle. The product without the driver and the
// simulated build without cameras both answer so.

#include <gtest/gtest.h>

#include <windows.h>

#include "KQCMOSu.h"

namespace kq::test {

template <class F>
F Export(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

inline void ExpectNoCameras(HMODULE module) {
    const auto count = Export<decltype(&KQ_GetTotalDeviceNum)>(module, "KQ_GetTotalDeviceNum");
    const auto initialize = Export<decltype(&KQ_Initialize)>(module, "KQ_Initialize");
    const auto deviceHandle = Export<decltype(&KQ_GetDeviceHandle)>(module, "KQ_GetDeviceHandle");
    ASSERT_TRUE(count != nullptr && initialize != nullptr && deviceHandle != nullptr);
    int total = -1;
    EXPECT_EQ(count(nullptr, &total), 0);
    EXPECT_EQ(total, 0);
    HANDLE handle = reinterpret_cast<HANDLE>(0x1234);
    int position = 1;
    KQ_CAPINFO record{};
    record.width = 640;
    record.height = 480;
    record.exposure = 100;
    record.gain[0] = record.gain[1] = record.gain[2] = 32;
    EXPECT_EQ(initialize(L"test", &position, &record, &handle), 3);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(count(nullptr, &total), 0);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(deviceHandle(L"test", &position, &record), nullptr);
}

}  // namespace kq::test
