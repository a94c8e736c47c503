#pragma once
// Loads the simulated-camera build of KQCMOSu.dll by full path, as any
// client of simulated cameras does, and drives its cameras only through the
// plain-C KQSim_* exports. Every test starts with no camera; a test that
// needs some writes them as KQSimCam.ini text.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "KQCMOSu.h"
#include "KQSim.h"
#include "dll_no_cameras.h"
#include "unique_temp_dir.h"

namespace kq::test {

struct LoadedModule {
    HMODULE module = nullptr;
    LoadedModule() = default;
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    ~LoadedModule() {
        if (module != nullptr) FreeLibrary(module);
    }
};

class KqDll : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (library.module == nullptr) {
            library.module = LoadLibraryW(std::filesystem::path(KQSIM_DLL_PATH).make_preferred().c_str());
        }
    }
    void SetUp() override {
        ASSERT_NE(library.module, nullptr) << "the simulated build did not load from " << KQSIM_DLL_PATH;
        UseCameras("[Cameras]\nCount=0\n");
    }

    template <class F>
    static F Fn(const char* name) {
        return Export<F>(library.module, name);
    }
#define KQ(name) Fn<decltype(&name)>(#name)

    // Puts the cameras of this KQSimCam.ini text on the simulated bus.
    void UseCameras(std::string_view ini) {
        const auto folder = testing_support::UniqueTempPath("kq_dll_cameras");
        std::filesystem::create_directories(folder);
        const auto file = folder / L"KQSimCam.ini";
        {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            out << ini;
        }
        ASSERT_EQ(KQ(KQSim_LoadConfig)(file.c_str()), KQSIM_OK) << ini;
    }

    static int OpenConnections() {
        int count = -1;
        EXPECT_EQ(KQ(KQSim_OpenConnections)(&count), KQSIM_OK);
        return count;
    }

    // The input bytes of the latest request with the control code.
    static std::vector<std::uint8_t> LastInput(unsigned int code) {
        std::vector<std::uint8_t> bytes(256);
        int size = 0;
        EXPECT_EQ(KQ(KQSim_LastControlInput)(code, bytes.data(), static_cast<int>(bytes.size()), &size), KQSIM_OK);
        bytes.resize(static_cast<std::size_t>(std::clamp(size, 0, 256)));
        return bytes;
    }

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

    // Loaded once for the process; the simulated build keeps itself loaded
    // while its cameras' threads run.
    static inline LoadedModule library;
};

}  // namespace kq::test
