// The UVC camera over the scripted library double loaded as KQUVCu.dll by
// full path: its properties at open, the resolution tables, the compressor,
// the layout calls, the device list while previewing, and the crosshairs in
// the frames it delivers.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "camera_sdk_families.h"
#include "file_commands_resource.h"
#include "library_double_fixture.h"
#include "uvc_camera.h"

namespace {

namespace fs = std::filesystem;

class UvcCameraTest : public LibraryDoubleFixture<CUVCSdkBinding, CUVCCamera> {
protected:
    CUVCCamera& Open(int number = 0) { return LibraryDoubleFixture::Open(number); }
};

TEST_F(UvcCameraTest, OpenGivesTheDeviceItsStoredPropertiesInTheLibrarysOrder) {
    LoadDouble(L"sdk_double_uvc.dll", "device.0.type 0x5002\n");
    const std::pair<const wchar_t*, int> stored[] = {
        {L"ColorMode", 1},  {L"FlipMode", 2},  {L"Contrast", 3}, {L"Brightness", 4},   {L"Hue", 5},
        {L"Saturation", 6}, {L"Sharpness", 7}, {L"Gamma", 8},    {L"WhiteBalance", 9}, {L"BacklightCompensation", 10},
        {L"Zoom", 11},      {L"Expouse", 12},  {L"OffsetX", 13}, {L"OffsetY", 14},     {L"AEing", 15},
        {L"AWBing", 16}};
    for (const auto& [key, value] : stored) {
        WriteConfig(L"UVC", key, value);
    }
    Open();
    const std::vector<std::string> expected = {
        "load", "KQ_Initialize KQ_DEMO 0", "KQ_SetParam h0 17 1", "KQ_SetParam h0 18 2", "KQ_SetParam h0 1 3",
        "KQ_SetParam h0 0 4", "KQ_SetParam h0 2 5", "KQ_SetParam h0 3 6", "KQ_SetParam h0 4 7", "KQ_SetParam h0 16 8",
        "KQ_SetParam h0 6 9", "KQ_SetParam h0 7 10", "KQ_SetParam h0 10 11", "KQ_SetParam h0 15 12",
        "KQ_SetParam h0 14 13", "KQ_SetParam h0 13 14", "KQ_SetParam h0 19 15", "KQ_SetParam h0 20 16",
        "KQ_GetCameraType h0", "KQ_GetTotalDeviceNum h0", "KQ_SetFrameCallback h0 callback",
        // No stored compressor number: the library gets -1.
        "KQ_SetAviCompressor h0 -1", "KQ_SetResolution h0 1600 1200"};
    EXPECT_EQ(Log(), expected);
    EXPECT_EQ(m_camera->GetCameraKind(), 5);
    EXPECT_EQ(m_camera->IsExposureUnitSupported(), 0);
    EXPECT_EQ(m_camera->GetParamFileIndex(), -1);

    // Closing writes them back under the same keys.
    m_camera.reset();
    for (const auto& [key, value] : stored) {
        EXPECT_EQ(ReadConfig(L"UVC", key), value) << key;
    }
    EXPECT_EQ(ReadConfig(L"Video", L"SCompressorNum"), 0);
}

TEST_F(UvcCameraTest, ResolutionTableByTypeAndTheCountTheLibraryReports) {
    struct Case {
        const char* script;
        std::size_t entries;
        bool asksCount;
    };
    const Case cases[] = {
        {"device.0.type 0x5001\nresolutions 4\n", 3, true},
        {"device.0.type 0x5001\nresolutions 5\n", 8, true},
        {"device.0.type 0x5002\nresolutions 5\n", 6, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        LoadDouble(L"sdk_double_uvc.dll", c.script);
        Open();
        EXPECT_EQ(m_camera->GetResolutionList().size(), c.entries);
        EXPECT_EQ(Contains(Log(), "KQ_GetResolution h0 1 0 0"), c.asksCount);
        TearDown();
    }
}

TEST_F(UvcCameraTest, AResolutionChangeReappliesTheZoom) {
    LoadDouble(L"sdk_double_uvc.dll", "device.0.type 0x5001\nresolutions 8\n");
    Open();
    m_camera->StartPreview(m_host);
    std::size_t mark = LogMark();
    m_camera->SetResolution(4);
    EXPECT_EQ(LogFrom(mark), (std::vector<std::string>{"KQ_SetResolution h0 1280 960", "KQ_SetViewWin h0 0 0 1022 767",
                                                       "KQ_SetParam h0 10 6"}));
    EXPECT_EQ(ReadConfig(L"UVC", L"Width"), 1280);
    EXPECT_EQ(m_camera->SetVideoZoom(1), 0);
    mark = LogMark();
    m_camera->SetResolution(7);
    EXPECT_EQ(LogFrom(mark), (std::vector<std::string>{"KQ_SetResolution h0 640 480", "KQ_SetViewWin h0 0 0 1022 767",
                                                       "KQ_SetParam h0 10 0"}));
    mark = LogMark();
    m_camera->SetResolution(8);
    EXPECT_TRUE(LogFrom(mark).empty()) << "index past the table";
}

TEST_F(UvcCameraTest, TheLayoutEndsInOneViewWindowCall) {
    LoadDouble(L"sdk_double_uvc.dll", "device.0.type 0x5001\nresolutions 8\n");
    WriteConfig(L"UVC", L"Width", 1280);
    WriteConfig(L"UVC", L"Height", 1024);
    Open();
    m_camera->StartPreview(m_host);  // 1023 x 767 client
    struct Case {
        int fill;
        int stretch;
        const char* call;
    };
    const Case cases[] = {
        {1, 1, "KQ_SetViewWin h0 0 0 1020 764"},   // whole client, sides to multiples of 4
        {0, 1, "KQ_SetViewWin h0 32 0 958 767"},   // the aspect kept, centred
        {0, 0, "KQ_SetViewWin h0 0 0 1280 1024"},  // 1:1
    };
    for (const Case& c : cases) {
        m_camera->SetFillWindow(c.fill);
        const std::size_t mark = LogMark();
        m_camera->FitVideoWindow(c.stretch);
        EXPECT_EQ(LogFrom(mark), (std::vector<std::string>{c.call}));
    }
}

TEST_F(UvcCameraTest, ListingDevicesWhilePreviewingUsesTheOpenHandle) {
    LoadDouble(L"sdk_double_uvc.dll", "devices 3\ndevice.0.type 0x5001\ndevice.1.type 0\ndevice.2.type 7\n");
    Open(0);
    m_camera->StartPreview(m_host);
    ASSERT_EQ(WaitFrames(1), 1);
    const std::size_t mark = LogMark();
    EXPECT_EQ(m_camera->EnumDevices(), 0);
    const auto calls = LogFrom(mark);
    EXPECT_FALSE(Contains(calls, "KQ_Initialize KQ_DEMO 0"));
    EXPECT_FALSE(Contains(calls, "KQ_Uninitialize h0"));
    EXPECT_TRUE(Contains(calls, "KQ_GetCameraType h0"));
    EXPECT_TRUE(Contains(calls, "KQ_Uninitialize h2"));
    EXPECT_EQ(CountStarting(Log(), "view stopped"), 0u);
    const auto devices = m_camera->GetDeviceList();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].name, L"KQZelpha");
    EXPECT_EQ(devices[0].number, 0);
    EXPECT_EQ(devices[1].name, L"UNKNOWN");
    EXPECT_EQ(devices[1].number, 2);
    EXPECT_EQ(DeliverFrames(1), 1);
    EXPECT_EQ(WaitFrames(2), 2);
}

TEST_F(UvcCameraTest, CrosshairsAreDrawnIntoEveryFrame) {
    LoadDouble(L"sdk_double_uvc.dll", "device.0.type 0x5002\n");
    WriteConfig(L"UVC", L"Width", 320);
    WriteConfig(L"UVC", L"Height", 240);
    Open();
    m_camera->SetCrossLineCount(1);
    m_camera->SetCrossLine(0, 0, 1, 0, 5, 0, 0x00FF0000);  // blue; y offset 0: the last row
    m_camera->StartPreview(m_host);
    ASSERT_EQ(WaitFrames(1), 1);
    const auto frame = LastFrame();
    ASSERT_EQ(frame.width, 320);
    ASSERT_EQ(frame.height, 240);
    const unsigned char blue[] = {255, 0, 0};
    EXPECT_EQ(std::memcmp(frame.Pixel(5, 100), blue, 3), 0);
    EXPECT_EQ(std::memcmp(frame.Pixel(200, 239), blue, 3), 0);
    EXPECT_EQ(frame.Pixel(200, 238)[0], 0x40);
    EXPECT_EQ(CountStarting(Log(), "overrun"), 0u);
}

TEST_F(UvcCameraTest, SnapshotsAndRecordingsGoThroughTheLibraryUnderFreshNames) {
    LoadDouble(L"sdk_double_uvc.dll", "device.0.type 0x5002\n");
    WriteConfig(L"UVC", L"ImgType", 2);
    Open();
    m_camera->StartPreview(m_host);
    EXPECT_EQ(m_camera->SaveSnapshot(), 1);
    const std::wstring shot = m_camera->GetLastShotPath();
    EXPECT_TRUE(fs::exists(shot));
    EXPECT_TRUE(Contains(Log(), "KQ_GetRgbFrameToJpeg h0 rgb " + fs::path(shot).string() + " 100"));

    m_camera->StartRecord(m_host);
    m_camera->StopRecord(m_host);
    m_camera->StartRecord(m_host);
    m_camera->StopRecord(m_host);
    std::vector<std::string> videos;
    for (const std::string& line : Log()) {
        if (line.rfind("KQ_CaptureToAvi h0 1 ", 0) == 0) {
            videos.push_back(fs::path(line.substr(21)).filename().string());
        }
    }
    ASSERT_EQ(videos.size(), 2u);
    EXPECT_NE(videos[0], videos[1]);
    const std::regex name(R"(Video_\d{14}(_\d+)?\.avi)");
    for (const std::string& video : videos) {
        EXPECT_TRUE(std::regex_match(video, name)) << video;
    }
}

TEST_F(UvcCameraTest, ATiffSnapshotIsWrittenFromTheLibrarysRgbFrame) {
    LoadDouble(L"sdk_double_uvc.dll", "device.0.type 0x5002\n");
    WriteConfig(L"UVC", L"ImgType", 3);
    WriteConfig(L"UVC", L"Width", 320);
    WriteConfig(L"UVC", L"Height", 240);
    Open();
    m_camera->StartPreview(m_host);
    EXPECT_EQ(m_camera->SaveSnapshot(), 1);
    const fs::path shot = m_camera->GetLastShotPath();
    EXPECT_EQ(shot.extension(), ".tiff");
    std::ifstream in(shot, std::ios::binary);
    std::string header(4, '\0');
    in.read(header.data(), 4);
    EXPECT_EQ(header, std::string("II*\0", 4));
    EXPECT_GE(fs::file_size(shot), 320u * 240u * 3u) << "uncompressed 24-bit rows";
    EXPECT_TRUE(Contains(Log(), "KQ_GetRgbFrame h0 rgb"));

    // A frame the library does not give is no snapshot, and the user is told.
    EXPECT_TRUE(m_told.empty());
    DoubleHook<SdkDoubleSetScript>("SdkDouble_SetScript")("device.0.type 0x5002\nreturn.KQ_GetRgbFrame 13\n");
    EXPECT_EQ(m_camera->SaveSnapshot(), 0);
    EXPECT_EQ(m_told, std::vector<UINT>{IDS_SAVE_FAILED});
}

TEST_F(UvcCameraTest, TheStillAtTheSnapshotSizeSwitchesOnlyWhenBothSidesDiffer) {
    LoadDouble(L"sdk_double_uvc.dll", "device.0.type 0x5002\n");
    WriteConfig(L"UVC", L"ImgType", 1);
    Open();
    m_camera->StartPreview(m_host);
    m_camera->SaveSnapshotSize(L"640 * 480", 640, 480);
    std::size_t mark = LogMark();
    EXPECT_EQ(m_camera->CaptureStillAtSize(), 1);
    auto calls = LogFrom(mark);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], "KQ_SetResolution h0 640 480");
    EXPECT_EQ(calls[1].rfind("KQ_GetRgbFrameToBmp h0 rgb ", 0), 0u);
    EXPECT_EQ(calls[2], "KQ_SetResolution h0 1600 1200");
    EXPECT_EQ(m_camera->GetVideoSize().width, 1600);

    m_camera->SetResolution(1);                            // 1280 x 960
    m_camera->SaveSnapshotSize(L"1280 * 720", 1280, 720);  // same width
    mark = LogMark();
    EXPECT_EQ(m_camera->CaptureStillAtSize(), 1);
    calls = LogFrom(mark);
    EXPECT_EQ(CountStarting(calls, "KQ_SetResolution"), 0u);
    EXPECT_EQ(CountStarting(calls, "KQ_GetRgbFrameToBmp"), 1u);

    // A still the library does not write is not reported as taken, though
    // the capture size comes back.
    DoubleHook<SdkDoubleSetScript>("SdkDouble_SetScript")("device.0.type 0x5002\nreturn.KQ_GetRgbFrameToBmp 5\n");
    m_camera->SaveSnapshotSize(L"640 * 480", 640, 480);
    mark = LogMark();
    EXPECT_EQ(m_camera->CaptureStillAtSize(), 0);
    EXPECT_EQ(LogFrom(mark).back(), "KQ_SetResolution h0 1280 960");
    EXPECT_EQ(m_told, std::vector<UINT>{IDS_SAVE_FAILED});
}

TEST_F(UvcCameraTest, WithoutADeviceEveryOperationIsSkipped) {
    LoadDouble(L"sdk_double_uvc.dll", "devices 1\n");
    Open(3);
    EXPECT_TRUE(m_camera->GetResolutionList().empty());
    m_camera->StartPreview(m_host);
    EXPECT_EQ(m_camera->IsVideoOpen(), 0);
    EXPECT_EQ(m_camera->SaveSnapshot(), 0);
    EXPECT_EQ(m_camera->CaptureStillAtSize(), 0);
    EXPECT_EQ(m_camera->SetVideoZoom(1), 0);
    EXPECT_EQ(m_camera->SetAutoExposure(), 0);
    m_camera->StartRecord(m_host);
    EXPECT_EQ(m_camera->IsRecording(), 0);
    EXPECT_EQ(Log(), (std::vector<std::string>{"load", "KQ_Initialize KQ_DEMO 3", "KQ_Uninitialize null"}));
}

TEST_F(UvcCameraTest, TheChosenCompressorIsStoredAndGivenToTheLibrary) {
    LoadDouble(L"sdk_double_uvc.dll", "");
    Open();
    struct Case {
        int chosen;
        int storedFlag;
    };
    const Case cases[] = {{1, 1}, {3, 1}, {0, 0}, {5, 0}};
    for (const Case& c : cases) {
        m_camera->SetCompressorChooser([&](int, const std::wstring&) {
            return std::optional<AviCompressorChoice>(AviCompressorChoice{c.chosen, L"Codec"});
        });
        const std::size_t mark = LogMark();
        m_camera->SelectAviCompressor();
        EXPECT_EQ(LogFrom(mark), (std::vector<std::string>{"KQ_SetAviCompressor h0 " + std::to_string(c.chosen - 1)}));
        EXPECT_EQ(ReadConfig(L"Video", L"SCompressorNum"), c.chosen);
        EXPECT_EQ(ReadConfig(L"Video", L"bCompressor"), c.storedFlag) << c.chosen;
    }
    m_camera->SetCompressorChooser([](int, const std::wstring&) { return std::optional<AviCompressorChoice>(); });
    const std::size_t mark = LogMark();
    m_camera->SelectAviCompressor();
    EXPECT_TRUE(LogFrom(mark).empty()) << "Cancel changes nothing";
}

}  // namespace
