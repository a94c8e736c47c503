#pragma once
// Loads KQCMOSu.dll by name as a client would; each test may put the
// simulated camera bus behind it through the test seam.

#include <gtest/gtest.h>

#include <windows.h>

#include "dll/KQCMOSu.h"
#include "dll/kq_test_seam.h"
#include "sim/simulated_bus.h"

namespace kq::test {

class KqDll : public ::testing::Test {
protected:
    static void SetUpTestSuite() { module = LoadLibraryW(L"KQCMOSu.dll"); }
    static void TearDownTestSuite() {
        if (module != nullptr) FreeLibrary(module);
        module = nullptr;
    }
    void SetUp() override { ASSERT_NE(module, nullptr) << "KQCMOSu.dll did not load"; }
    void TearDown() override {
        if (module != nullptr) Fn<KQTEST_SET_TRANSPORT>("KQTest_SetTransport")(nullptr);
    }

    template <class F>
    static F Fn(const char* name) {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
#define KQ(name) Fn<decltype(&name)>(#name)

    void UseSimulatedBus() { Fn<KQTEST_SET_TRANSPORT>("KQTest_SetTransport")(&bus); }

    HANDLE Open(int position, KQ_CAPINFO record) {
        HANDLE handle = nullptr;
        EXPECT_EQ(KQ(KQ_Initialize)(L"test", &position, &record, &handle), 0);
        EXPECT_NE(handle, nullptr);
        return handle;
    }

    static KQ_CAPINFO Window(uint32_t width, uint32_t height) {
        KQ_CAPINFO r{};
        r.width = width;
        r.height = height;
        r.exposure = 100;
        r.gain[0] = r.gain[1] = r.gain[2] = 32;
        return r;
    }

    static inline HMODULE module = nullptr;
    kq::sim::SimulatedBus bus;
};


}  // namespace kq::test
