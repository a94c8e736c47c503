// The scripted library double itself, loaded by full path as the program
// loads a family's library: it answers from its script, delivers frames from
// a thread of its own and reports a callback that writes past a frame, so
// the camera tests that rely on it can.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "kq_uvc_interface.h"
#include "library_double_fixture.h"
#include "sdk_double_hooks.h"
#include "unique_temp_dir.h"

namespace {

namespace fs = std::filesystem;

fs::path FixtureFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path().parent_path() / L"camera_fixtures";
}

struct CallbackRecord {
    DWORD threadId = 0;
    int overwrite = 0;  // bytes written from the frame's start
};

int WINAPI RecordFrame(unsigned char* frame, int, void* context) {
    auto* record = static_cast<CallbackRecord*>(context);
    record->threadId = GetCurrentThreadId();
    for (int i = 0; i < record->overwrite; ++i) {
        frame[i] = 0x11;
    }
    return 0;
}

class SdkDoubleTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = testing_support::UniqueTempPath(std::string("vz_sdk_double_") +
                                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        fs::copy_file(FixtureFolder() / L"sdk_double_uvc.dll", m_folder / L"KQUVCu.dll");
        m_module = LoadLibraryW((m_folder / L"KQUVCu.dll").c_str());
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override {
        if (m_module) {
            FreeLibrary(m_module);
        }
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    template <typename Entry>
    Entry Get(const char* name) {
        return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }
    std::vector<std::string> Log() { return ReadLogLines(m_folder / L"sdk_calls.log"); }

    fs::path m_folder;
    HMODULE m_module = nullptr;
};

TEST_F(SdkDoubleTest, AnswersFromItsScriptAndRefusesNumbersItHasNot) {
    Get<SdkDoubleSetScript>("SdkDouble_SetScript")("devices 2\ndevice.1.type 7\nreturn.KQ_SetParam 9\n");
    auto initialize = Get<kquvc::KQ_Initialize_t>("KQ_Initialize");
    HANDLE handle = nullptr;
    int number = 2;
    EXPECT_EQ(initialize(L"KQ_DEMO", &number, &handle), 3);
    number = 1;
    ASSERT_EQ(initialize(L"KQ_DEMO", &number, &handle), 0);
    int type = 0;
    EXPECT_EQ(Get<kquvc::KQ_GetCameraType_t>("KQ_GetCameraType")(handle, &type), 0);
    EXPECT_EQ(type, 7);
    EXPECT_EQ(Get<kquvc::KQ_SetParam_t>("KQ_SetParam")(handle, 17, 2), 9);
    EXPECT_EQ(Get<kquvc::KQ_Uninitialize_t>("KQ_Uninitialize")(handle), 0);
    EXPECT_EQ(Get<kquvc::KQ_GetCameraType_t>("KQ_GetCameraType")(handle, &type), 1) << "closed handle";

    const std::vector<std::string> expected = {"KQUVCu.dll load",
                                               "KQUVCu.dll KQ_Initialize KQ_DEMO 2",
                                               "KQUVCu.dll KQ_Initialize KQ_DEMO 1",
                                               "KQUVCu.dll KQ_GetCameraType h1",
                                               "KQUVCu.dll KQ_SetParam h1 17 2",
                                               "KQUVCu.dll KQ_Uninitialize h1",
                                               "KQUVCu.dll KQ_GetCameraType h?"};
    EXPECT_EQ(Log(), expected);

    // A device still open when the library is freed is reported.
    number = 0;
    ASSERT_EQ(initialize(L"KQ_DEMO", &number, &handle), 0);
    FreeLibrary(m_module);
    m_module = nullptr;
    const auto log = Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "KQUVCu.dll left open h0");
    EXPECT_EQ(log.back(), "KQUVCu.dll free");
}

TEST_F(SdkDoubleTest, DeliversFramesFromItsOwnThreadAndReportsWritesPastTheFrame) {
    Get<SdkDoubleSetScript>("SdkDouble_SetScript")("frames 1\nclamp.width 8\n");
    HANDLE handle = nullptr;
    int number = 0;
    ASSERT_EQ(Get<kquvc::KQ_Initialize_t>("KQ_Initialize")(L"KQ_DEMO", &number, &handle), 0);
    ASSERT_EQ(Get<kquvc::KQ_SetResolution_t>("KQ_SetResolution")(handle, 10, 4), 0);
    CallbackRecord record;
    ASSERT_EQ(Get<kquvc::KQ_SetFrameCallback_t>("KQ_SetFrameCallback")(handle, RecordFrame, &record), 0);
    ASSERT_EQ(Get<kquvc::KQ_StartView_t>("KQ_StartView")(handle, L"Quillab", WS_CHILD | WS_VISIBLE, 0, 0, 10, 4,
                                                         nullptr, nullptr),
              0);
    auto waitFrames = Get<SdkDoubleWaitFrames>("SdkDouble_WaitFrames");
    ASSERT_EQ(waitFrames(1, 10000), 1);
    EXPECT_NE(record.threadId, 0u);
    EXPECT_NE(record.threadId, GetCurrentThreadId());

    // The window is clamped to 8 columns: 8 x 4 x 3 bytes.
    std::vector<unsigned char> frame(200);
    int width = 0, height = 0, bits = 0;
    EXPECT_EQ(Get<SdkDoubleCopyLastFrame>("SdkDouble_CopyLastFrame")(frame.data(), 200, &width, &height, &bits), 96);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 4);
    EXPECT_EQ(bits, 24);

    record.overwrite = 96;
    ASSERT_EQ(Get<SdkDoubleDeliverFrames>("SdkDouble_DeliverFrames")(1), 1);
    ASSERT_EQ(waitFrames(2, 10000), 2);
    record.overwrite = 97;
    ASSERT_EQ(Get<SdkDoubleDeliverFrames>("SdkDouble_DeliverFrames")(1), 1);
    ASSERT_EQ(waitFrames(3, 10000), 3);
    EXPECT_EQ(Get<kquvc::KQ_StopView_t>("KQ_StopView")(handle), 0);
    EXPECT_EQ(Get<SdkDoubleDeliverFrames>("SdkDouble_DeliverFrames")(1), 0) << "no view runs";
    Get<kquvc::KQ_Uninitialize_t>("KQ_Uninitialize")(handle);

    const auto log = Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "KQUVCu.dll overrun 8x4x24"), 1);
}

}  // namespace
