// The product KQCMOSu.dll, loaded by full path: on a machine without the
// camera driver it counts no cameras and opens none. (Its export table is
// checked by tests/check_exports.cmake.)

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "KQCMOSu.h"

namespace {

class ProductDll : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(module_, nullptr) << "KQCMOSu.dll did not load from " << KQ_PRODUCT_DLL_PATH; }
    ~ProductDll() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    template <class F>
    F Fn(const char* name) const {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }
#define KQ(name) Fn<decltype(&name)>(#name)

    HMODULE module_ = LoadLibraryW(std::filesystem::path(KQ_PRODUCT_DLL_PATH).make_preferred().c_str());
};

TEST_F(ProductDll, WithoutTheDriverOpenFailsAndNothingIsCounted) {
    int total = -1;
    EXPECT_EQ(KQ(KQ_GetTotalDeviceNum)(nullptr, &total), 0);
    EXPECT_EQ(total, 0);
    HANDLE handle = reinterpret_cast<HANDLE>(0x1234);
    int position = 1;
    KQ_CAPINFO record{};
    record.width = 640;
    record.height = 480;
    record.exposure = 100;
    EXPECT_EQ(KQ(KQ_Initialize)(L"test", &position, &record, &handle), 3);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(KQ(KQ_GetTotalDeviceNum)(nullptr, &total), 0);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(KQ(KQ_GetDeviceHandle)(L"test", &position, &record), nullptr);
    EXPECT_EQ(GetProcAddress(module_, "KQTest_SetTransport"), nullptr) << "no test hook in the product";
}

}  // namespace
