// The product KQCMOSu.dll, loaded by full path: on a machine without the
// camera driver it counts no cameras and opens none, and it carries no test
// hook. (Its whole export table is checked by tests/check_exports.cmake.)

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "dll_no_cameras.h"

namespace {

class ProductDll : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(module_, nullptr) << "KQCMOSu.dll did not load from " << KQ_PRODUCT_DLL_PATH; }
    ~ProductDll() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }

    HMODULE module_ = LoadLibraryW(std::filesystem::path(KQ_PRODUCT_DLL_PATH).make_preferred().c_str());
};

TEST_F(ProductDll, WithoutTheDriverOpenFailsAndNothingIsCounted) {
    kq::test::ExpectNoCameras(module_);
    EXPECT_EQ(GetProcAddress(module_, "KQTest_SetTransport"), nullptr);
    EXPECT_EQ(GetProcAddress(module_, "KQSim_LoadConfig"), nullptr);
}

}  // namespace
