// The CCD camera over the scripted library double loaded as KQCCDu.dll by
// full path: the open order by model, the model tables, the still at the
// current size, parameter files, the device list while previewing, a
// library lacking names, and the crosshairs in the frames it delivers.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "camera_sdk_families.h"
#include "ccd_camera.h"
#include "library_double_fixture.h"

namespace {

namespace fs = std::filesystem;

class CcdCameraTest : public LibraryDoubleFixture<CCCDSdkBinding, CCCDCamera> {
protected:
    CCCDCamera& Open(int number = 1) { return LibraryDoubleFixture::Open(number); }
    // The log without the read-backs of the capture record, which the camera
    // makes to learn the frames the library delivers.
    std::vector<std::string> CallsFrom(std::size_t from) const {
        std::vector<std::string> calls;
        for (const std::string& line : LogFrom(from)) {
            if (line.rfind("KQ_GetCapInfo", 0) != 0) {
                calls.push_back(line);
            }
        }
        return calls;
    }
};

TEST_F(CcdCameraTest, OpensInTheLibrarysOrderWithAWhiteBalanceForModelsThatTakeIt) {
    struct Case {
        int type;
        bool whiteBalance;
        bool exposureUnit;
        std::string openSize;
    };
    const Case cases[] = {
        {1, false, true, "1024 768"}, {2, true, true, "1360 1024"},   {3, true, false, "1024 768"},
        {4, true, true, "2304 1712"}, {5, false, false, "2560 1920"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type));
        LoadDouble(L"sdk_double_ccd.dll", "device.1.type " + std::to_string(c.type) + "\n");
        Open();
        std::vector<std::string> expected = {"load",
                                             "KQ_Initialize KQ_DEMO 1",
                                             "KQ_SetCapInfo h1 1280 1024 exposure 200 gains 32 32 32 control 0 "
                                             "offsets 100 0",
                                             "KQ_SetParamColor h1 0",
                                             "KQ_SetParamFlip h1 0",
                                             "KQ_SetContrastValue h1 16",
                                             "KQ_GetDeviceType h1",
                                             "KQ_SetGamma h1 0",
                                             "KQ_GetTotalDeviceNum",
                                             "KQ_SetFrameCallBack h1 callback",
                                             "KQ_SetAviCompressor h1 0",
                                             "KQ_GetDeviceColorType h1",
                                             "KQ_SetSaturation h1 8",  // never chosen: neutral
                                             "KQ_SetSharpness h1 0",
                                             "KQ_SetAELevel h1 0",
                                             "KQ_SetHDR h1 0",
                                             "KQ_AEParam h1 0 0 completion"};
        if (c.whiteBalance) {
            expected.push_back("KQ_SetDoAWB h1 1 0 completion");
        }
        if (c.exposureUnit) {
            expected.push_back("KQ_SetExpouseUnit h1 0");
        }
        expected.push_back("KQ_SetCapInfo h1 " + c.openSize + " exposure 200 gains 32 32 32 control 0 offsets 100 0");
        expected.push_back("KQ_SetShowVideo h1 1");
        EXPECT_EQ(CallsFrom(0), expected);
        EXPECT_EQ(m_camera->IsExposureUnitSupported(), c.exposureUnit ? 1 : 0);
        EXPECT_EQ(m_camera->GetExposureRange().has_value(), c.exposureUnit);
        EXPECT_EQ(m_camera->GetCameraKind(), 3);
        TearDown();
    }
}

TEST_F(CcdCameraTest, AnUnlistedTypeGetsTheOneEntryTableAndNoExposureUnit) {
    LoadDouble(L"sdk_double_ccd.dll", "device.1.type 3\n");
    Open();
    EXPECT_EQ(Labels(), (std::vector<std::wstring>{L"1024 * 768"}));
    EXPECT_FALSE(m_camera->GetExposureRange());
    EXPECT_EQ(m_camera->IsExposureUnitSupported(), 0);
    EXPECT_EQ(m_camera->GetVideoSize().width, 1024);
    EXPECT_EQ(ReadConfig(L"CCD", L"Width"), 1024);
    EXPECT_EQ(ReadConfig(L"CCD", L"Height"), 768);
}

TEST_F(CcdCameraTest, TheStillAtTheSnapshotSizeNeverChangesTheCaptureSize) {
    LoadDouble(L"sdk_double_ccd.dll", "device.1.type 5\n");
    WriteConfig(L"CCD", L"ImgType", 1);
    Open();
    m_camera->SetResolution(1);
    m_camera->SaveSnapshotSize(L"640 * 480", 640, 480);
    ASSERT_EQ(m_camera->GetSnapshotSizeSetting().width, 640);
    m_camera->StartPreview(m_host);
    const std::size_t mark = LogMark();

    EXPECT_EQ(m_camera->CaptureStillAtSize(), 1);
    const auto calls = CallsFrom(mark);
    EXPECT_EQ(CountStarting(calls, "KQ_SetCapInfo"), 0u);
    ASSERT_EQ(CountStarting(calls, "KQ_GetRgbFrameToBmp"), 1u);
    EXPECT_EQ(m_camera->GetVideoSize().width, 1280);
    EXPECT_EQ(m_camera->GetVideoSize().height, 980);
    // The library wrote the still at the running size.
    std::ifstream shot(fs::path(m_camera->GetLastShotPath()), std::ios::binary);
    std::string content;
    std::getline(shot, content);
    EXPECT_EQ(content, "bmp 1280x980x24\r");
}

TEST_F(CcdCameraTest, AParameterFileResetsTheWhiteBalanceOnlyWithThreeValuesInRange) {
    struct Case {
        int red, green, blue;
        const char* reset;  // the line expected, or null
    };
    const Case cases[] = {
        {90, 1, 90, nullptr},
        {90, 100, 256, nullptr},
        {2, 255, 128, "KQ_ReSetAWBVal h1 2 255 128"},
    };
    LoadDouble(L"sdk_double_ccd.dll", "device.1.type 2\n");
    Open();
    for (const Case& c : cases) {
        const fs::path path = m_folder / L"preset.ini";
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            << "[CCD]\r\nExposure=700\r\nGain_R=300\r\nGain_AD=150\r\nAVGR=" << c.red << "\r\nAVGG=" << c.green
            << "\r\nAVGB=" << c.blue << "\r\n";
        CIniFile file;
        file.m_strPath = path.wstring();
        const std::size_t mark = LogMark();
        m_camera->LoadParamFile(file);
        const auto calls = CallsFrom(mark);
        EXPECT_EQ(CountStarting(calls, "KQ_ReSetAWBVal"), c.reset ? 1u : 0u) << c.red << " " << c.green;
        if (c.reset) {
            EXPECT_TRUE(Contains(calls, c.reset));
        }
        // The file's exposure, low gain byte and AD gain reach the library.
        EXPECT_TRUE(Contains(calls, "KQ_SetCapInfo h1 1360 1024 exposure 700 gains 44 32 32 control 0 offsets 150 0"));
        EXPECT_TRUE(Contains(calls, "KQ_SetGamma h1 16"));
        EXPECT_TRUE(Contains(calls, "KQ_SetSaturation h1 8"));
        EXPECT_TRUE(Contains(calls, "KQ_SetSharpness h1 1"));
    }
}

TEST_F(CcdCameraTest, CopyingAParameterFileWritesWhatApplyingItGivesTheCamera) {
    LoadDouble(L"sdk_double_ccd.dll", "");
    fs::create_directories(m_folder / L"Params" / L"CCD");
    std::ofstream(m_folder / L"Params" / L"CCD" / L"bright.ini", std::ios::binary)
        << "[CCD]\r\nExposure=900\r\nGain_G=258\r\nControl=513\r\n";
    Open();
    m_camera->CopyParamFileToSettings(L"bright");
    EXPECT_EQ(ReadConfig(L"CCD", L"Exposure"), 900);
    EXPECT_EQ(ReadConfig(L"CCD", L"Gain_G"), 2);
    EXPECT_EQ(ReadConfig(L"CCD", L"Control"), 1);
    EXPECT_EQ(ReadConfig(L"CCD", L"Gamma"), 16);
    EXPECT_EQ(ReadConfig(L"CCD", L"Saturation"), 8);
    EXPECT_EQ(ReadConfig(L"CCD", L"Sharpness"), 1);
    EXPECT_EQ(ReadConfig(L"CCD", L"Gain_AD"), 100);

    // A name that reaches outside the folder names no parameter file.
    std::ofstream(m_folder / L"Params" / L"evil.ini", std::ios::binary) << "[CCD]\r\nExposure=5\r\n";
    m_camera->CopyParamFileToSettings(L"..\\evil");
    EXPECT_EQ(ReadConfig(L"CCD", L"Exposure"), 900);
}

TEST_F(CcdCameraTest, ListingDevicesWhilePreviewingKeepsTheOpenCameraOpenAndDelivering) {
    LoadDouble(L"sdk_double_ccd.dll",
               "devices 3\ndevice.1.type 2\ndevice.1.name First\ndevice.2.type 1\ndevice.2.name Second\n"
               "device.3.type 0\n");
    Open(2);
    m_camera->StartPreview(m_host);
    ASSERT_EQ(m_camera->IsVideoOpen(), 1);
    ASSERT_EQ(WaitFrames(1), 1);
    const std::size_t mark = LogMark();

    EXPECT_EQ(m_camera->EnumDevices(), 0);
    const auto calls = CallsFrom(mark);
    EXPECT_FALSE(Contains(calls, "KQ_Initialize KQ_DEMO 2"));
    EXPECT_FALSE(Contains(calls, "KQ_Uninitialize h2"));
    EXPECT_TRUE(Contains(calls, "KQ_GetFriendlyName h2"));
    EXPECT_TRUE(Contains(calls, "KQ_Initialize KQ_DEMO 1"));
    EXPECT_TRUE(Contains(calls, "KQ_Uninitialize h1"));
    EXPECT_EQ(CountStarting(Log(), "view stopped"), 0u);
    const auto devices = m_camera->GetDeviceList();
    ASSERT_EQ(devices.size(), 2u);  // type 0 is no camera
    EXPECT_EQ(devices[0].name, L"First");
    EXPECT_EQ(devices[0].number, 1);
    EXPECT_EQ(devices[1].name, L"Second");
    EXPECT_EQ(devices[1].number, 2);

    EXPECT_EQ(DeliverFrames(1), 1);
    EXPECT_EQ(WaitFrames(2), 2);
    EXPECT_EQ(m_camera->IsVideoOpen(), 1);
}

TEST_F(CcdCameraTest, ALibraryLackingItsHdrEntryOpensAndPreviews) {
    LoadDouble(L"sdk_double_ccd_without_hdr.dll", "device.1.type 2\n");
    WriteConfig(L"CCD", L"HDR", 1);
    Open();
    ASSERT_FALSE(m_camera->GetResolutionList().empty());
    m_camera->StartPreview(m_host);
    EXPECT_EQ(m_camera->IsVideoOpen(), 1);
    EXPECT_EQ(WaitFrames(1), 1);
    EXPECT_EQ(LastFrame().width, 1360);
    EXPECT_EQ(CountStarting(Log(), "KQ_SetHDR"), 0u);
    EXPECT_TRUE(Contains(Log(), "KQ_StartView h1 Quillab 50000000 0 0 1360 1024 host"));
}

TEST_F(CcdCameraTest, TheShowVideoEntryIsCalledOnlyWhenTheLibraryExportsIt) {
    LoadDouble(L"sdk_double_ccd_without_show_video.dll", "device.1.type 2\n");
    Open();
    EXPECT_FALSE(m_camera->GetResolutionList().empty());
    const auto calls = CallsFrom(0);
    EXPECT_EQ(CountStarting(calls, "KQ_SetShowVideo"), 0u);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().rfind("KQ_SetCapInfo h1 1360 1024", 0), 0u) << calls.back();
}

TEST_F(CcdCameraTest, CrosshairsAreDrawnWithinTheFramesTheLibraryDelivers) {
    // The library delivers at most 1000 columns of the 1360 asked for.
    LoadDouble(L"sdk_double_ccd.dll", "device.1.type 2\nclamp.width 1000\n");
    Open();
    ASSERT_EQ(m_camera->SetCrossLineCount(1), 1);
    // Vertical line past the delivered width, horizontal line 10 rows from the end.
    ASSERT_EQ(m_camera->SetCrossLine(0, 0, 1, 0, 1200, 10, 0x0000FF00), 1);
    m_camera->EnableCrossLine(1, 0, 0);
    m_camera->SetCrossCenter(1);
    m_camera->StartPreview(m_host);
    ASSERT_EQ(WaitFrames(1), 1);
    const auto frame = LastFrame();
    ASSERT_EQ(frame.width, 1000);
    ASSERT_EQ(frame.height, 1024);
    ASSERT_EQ(frame.bits, 24);
    const unsigned char green[] = {0, 255, 0}, red[] = {0, 0, 255};
    EXPECT_EQ(std::memcmp(frame.Pixel(999, 3), green, 3), 0) << "last delivered column";
    EXPECT_EQ(std::memcmp(frame.Pixel(3, 1014), green, 3), 0);
    EXPECT_EQ(std::memcmp(frame.Pixel(500, 3), red, 3), 0) << "single cross at the delivered centre";
    EXPECT_EQ(std::memcmp(frame.Pixel(3, 512), red, 3), 0);
    EXPECT_EQ(frame.Pixel(3, 3)[0], 0x40);
    EXPECT_EQ(CountStarting(Log(), "overrun"), 0u);
}

TEST_F(CcdCameraTest, EightBitFramesGetGreyLinesAndNothingPastTheirEnd) {
    LoadDouble(L"sdk_double_ccd.dll", "device.1.type 2\n");
    WriteConfig(L"CCD", L"ColorMode", 3);
    Open();
    EXPECT_EQ(m_camera->IsRecordDisabled(), 1);
    m_camera->SetCrossLineCount(1);
    m_camera->SetCrossLine(0, 0, 1, 1, 0, 0, 0x000000FF);  // red, centred
    m_camera->EnableCrossLine(1, 5, 5);
    m_camera->StartPreview(m_host);
    ASSERT_EQ(WaitFrames(1), 1);
    const auto frame = LastFrame();
    ASSERT_EQ(frame.bits, 8);
    EXPECT_EQ(*frame.Pixel(680, 3), 76) << "grey of pure red";
    EXPECT_EQ(CountStarting(Log(), "overrun"), 0u);
}

TEST_F(CcdCameraTest, SettingsKeepTheAdGainInTheCaptureRecordAcrossAResolutionChange) {
    LoadDouble(L"sdk_double_ccd.dll", "device.1.type 4\n");
    WriteConfig(L"CCD", L"Gain_AD", 150);
    WriteConfig(L"CCD", L"Exposure", 321);
    WriteConfig(L"CCD", L"CCD_CPS", 7);
    Open();
    const std::size_t mark = LogMark();
    m_camera->SetResolution(1);
    EXPECT_TRUE(
        Contains(CallsFrom(mark), "KQ_SetCapInfo h1 2304 856 exposure 321 gains 32 32 32 control 0 offsets 150 0"));
    m_camera->SetResolution(2);  // the table has two entries
    EXPECT_EQ(m_camera->GetVideoSize().height, 856);
    m_camera.reset();
    EXPECT_EQ(ReadConfig(L"CCD", L"Gain_AD"), 150);
    EXPECT_EQ(ReadConfig(L"CCD", L"Exposure"), 321);
    EXPECT_EQ(ReadConfig(L"CCD", L"CCD_CPS"), 7);
    EXPECT_EQ(ReadConfig(L"CCD", L"Height"), 856);
    EXPECT_TRUE(Contains(Log(), "KQ_Uninitialize h1"));
}

TEST_F(CcdCameraTest, OneShotCompletionReadsTheRecordBackOnALibraryThread) {
    LoadDouble(L"sdk_double_ccd.dll", "device.1.type 1\n");
    Open();
    const std::size_t mark = LogMark();
    EXPECT_EQ(m_camera->SetAutoExposure(), 0);
    EXPECT_EQ(m_camera->DoWhiteBalanceOnce(10, 20, 110, 220), 0);
    EXPECT_EQ(DoubleHook<SdkDoubleWaitCompletions>("SdkDouble_WaitCompletions")(2, kWaitMs), 2);
    const auto lines = LogFrom(mark);
    EXPECT_TRUE(Contains(lines, "KQ_SetDoAE h1 1 0 completion"));
    // Rows counted from the bottom of the 768-row capture.
    EXPECT_TRUE(Contains(lines, "KQ_SetDoAWBInRegion h1 1 0 completion 10 549 110 749"));
    EXPECT_EQ(CountStarting(lines, "KQ_GetCapInfo h1"), 2u);
}

TEST_F(CcdCameraTest, FillingTheWindowTakesTheWholeClientAreaUnrounded) {
    LoadDouble(L"sdk_double_ccd.dll", "device.1.type 2\n");
    Open();
    m_camera->StartPreview(m_host);  // 1023 x 767 client
    struct Case {
        int fill;
        int stretch;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {1, 1, {"KQ_SetScrollOffset h1 0 0", "KQ_SetVideoSize h1 1023 767"}},
        {0, 1, {"KQ_SetScrollOffset h1 -2 0", "KQ_SetVideoSize h1 1018 767"}},
        {0, 0, {"KQ_SetScrollOffset h1 0 0", "KQ_SetVideoSize h1 1360 1024"}},
    };
    for (const Case& c : cases) {
        m_camera->SetFillWindow(c.fill);
        const std::size_t mark = LogMark();
        m_camera->FitVideoWindow(c.stretch);
        EXPECT_EQ(CallsFrom(mark), c.calls);
    }
    m_camera->StopPreview();
    EXPECT_EQ(m_camera->IsVideoOpen(), 0);
}

TEST_F(CcdCameraTest, WithoutADeviceEveryOperationIsSkipped) {
    LoadDouble(L"sdk_double_ccd.dll", "devices 1\n");
    Open(4);
    EXPECT_TRUE(m_camera->GetResolutionList().empty());
    m_camera->StartPreview(m_host);
    EXPECT_EQ(m_camera->IsVideoOpen(), 0);
    EXPECT_EQ(m_camera->SaveSnapshot(), 0);
    EXPECT_EQ(m_camera->CaptureStillAtSize(), 0);
    EXPECT_EQ(m_camera->GetFrameRate(), 0.0f);
    EXPECT_EQ(m_camera->SetVideoZoom(1), 0);
    EXPECT_EQ(m_camera->SetBW(1), 0);
    EXPECT_EQ(m_camera->SetClearView(1), 0);
    m_camera->SetResolution(0);
    EXPECT_EQ(CallsFrom(0), (std::vector<std::string>{"load", "KQ_Initialize KQ_DEMO 4", "KQ_Uninitialize null"}));
}

}  // namespace
