// The USB CMOS camera over KQCMOSu's simulated-camera build, loaded by full
// path as the program loads it: model tables, stored sizes, the still at the
// snapshot size, colour toggles, Config.ini, the device list while
// previewing, and the crosshairs in the frames the library delivers.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "colour_ref.h"
#include "KQSim.h"
#include "camera_sdk_families.h"
#include "cmos_camera.h"
#include "cmos_models.h"
#include "test_program_folder.h"
#include "unique_temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct SimulatedCamera {
    int type;
    int width = 0;  // 0: the model's sensor size
    int height = 0;
    const wchar_t* name = L"";
};

// A picture file's rows as stored (bottom-up BMP rows, as the frame buffer
// holds them) and its depth.
struct BmpPicture {
    int width = 0;
    int height = 0;
    int bits = 0;
    std::vector<std::uint8_t> pixels;

    const std::uint8_t* Pixel(int x, int row) const {
        const std::size_t stride = (std::size_t(width) * std::size_t(bits / 8) + 3) & ~std::size_t(3);
        return pixels.data() + std::size_t(row) * stride + std::size_t(x) * std::size_t(bits / 8);
    }
    bool RowIs(int row, std::initializer_list<std::uint8_t> value) const { return CountInRow(row, value) == width; }
    bool ColumnIs(int x, std::initializer_list<std::uint8_t> value) const { return CountInColumn(x, value) == height; }
    int CountInRow(int row, std::initializer_list<std::uint8_t> value) const {
        int n = 0;
        for (int x = 0; x < width; ++x) n += std::memcmp(Pixel(x, row), value.begin(), value.size()) == 0;
        return n;
    }
    int CountInColumn(int x, std::initializer_list<std::uint8_t> value) const {
        int n = 0;
        for (int row = 0; row < height; ++row) n += std::memcmp(Pixel(x, row), value.begin(), value.size()) == 0;
        return n;
    }
};

BmpPicture ReadBmp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    BmpPicture picture;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return picture;
    auto at32 = [&](std::size_t offset) {
        std::int32_t v = 0;
        std::memcpy(&v, bytes.data() + offset, 4);
        return v;
    };
    std::uint16_t bits = 0;
    std::memcpy(&bits, bytes.data() + 28, 2);
    picture.width = at32(18);
    picture.height = at32(22);
    picture.bits = bits;
    picture.pixels.assign(bytes.begin() + at32(10), bytes.end());
    return picture;
}

class CmosCameraTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_binding = std::make_unique<CCMOSSdkBinding>(SimulatedCmosPath().wstring()); }
    static void TearDownTestSuite() { s_binding.reset(); }

    void SetUp() override {
        ASSERT_TRUE(s_binding->IsLoaded());
        fs::remove_all(folder_);
        fs::create_directories(folder_ / L"shots");
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VizcamCmosTestHost";
        RegisterClassW(&wc);
        host_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                                wc.hInstance, nullptr);
        ASSERT_NE(host_, nullptr);
    }
    void TearDown() override {
        camera_.reset();
        if (host_) DestroyWindow(host_);
        if (auto load = Sim<decltype(&KQSim_LoadConfig)>("KQSim_LoadConfig")) load(nullptr);
        fs::remove_all(folder_);
    }

    template <typename F>
    static F Sim(const char* name) {
        return reinterpret_cast<F>(GetProcAddress(GetModuleHandleW(SimulatedCmosPath().c_str()), name));
    }

    void UseCameras(std::initializer_list<SimulatedCamera> cameras) {
        const fs::path ini = folder_ / L"KQSimCam.ini";
        const std::wstring path = ini.wstring();
        WritePrivateProfileStringW(L"Cameras", L"Count", std::to_wstring(cameras.size()).c_str(), path.c_str());
        int n = 1;
        for (const SimulatedCamera& c : cameras) {
            const std::wstring section = L"Camera" + std::to_wstring(n++);
            WritePrivateProfileStringW(section.c_str(), L"Type", std::to_wstring(c.type).c_str(), path.c_str());
            if (c.width > 0) {
                WritePrivateProfileStringW(section.c_str(), L"Width", std::to_wstring(c.width).c_str(), path.c_str());
                WritePrivateProfileStringW(section.c_str(), L"Height", std::to_wstring(c.height).c_str(), path.c_str());
            }
            if (*c.name) WritePrivateProfileStringW(section.c_str(), L"Name", c.name, path.c_str());
        }
        ASSERT_EQ(Sim<decltype(&KQSim_LoadConfig)>("KQSim_LoadConfig")(path.c_str()), KQSIM_OK);
    }

    void SetConfig(const wchar_t* section, const wchar_t* key, int value) {
        WritePrivateProfileStringW(section, key, std::to_wstring(value).c_str(), Config().c_str());
    }
    int ConfigInt(const wchar_t* key, int fallback = -12345) {
        return int(GetPrivateProfileIntW(L"CMOS", key, fallback, Config().c_str()));
    }
    std::wstring Config() const { return (folder_ / L"Config.ini").wstring(); }

    void Open(int number = 1) {
        camera_ = std::make_unique<CCMOSCamera>(host_, number, Config());
        camera_->SetShotFolder((folder_ / L"shots").wstring() + L"\\");
        camera_->SetOpenAfterSave(0);
    }

    // Starts the preview and returns once `frames` frames went through the
    // frame callback: the capture thread then waits for the next read.
    void PreviewFrames(int simulatedCamera, int frames) {
        ASSERT_EQ(Sim<decltype(&KQSim_SetReadBudget)>("KQSim_SetReadBudget")(simulatedCamera, frames), KQSIM_OK);
        camera_->StartPreview(host_);
        ASSERT_EQ(camera_->IsVideoOpen(), 1);
        ASSERT_EQ(Sim<decltype(&KQSim_WaitForBlockedRead)>("KQSim_WaitForBlockedRead")(simulatedCamera, 20000),
                  KQSIM_OK);
    }

    BmpPicture Snapshot() {
        camera_->SetImageType(1);
        EXPECT_EQ(camera_->SaveSnapshot(), 1);
        return ReadBmp(camera_->GetLastShotPath());
    }

    static std::vector<std::wstring> Labels(std::span<const CameraResolution> table) {
        std::vector<std::wstring> labels;
        for (const CameraResolution& r : table) labels.push_back(r.label);
        return labels;
    }

    static inline std::unique_ptr<CCMOSSdkBinding> s_binding;
    fs::path folder_ = testing_support::UniqueTempPath("vz_cmos_camera");
    HWND host_ = nullptr;
    std::unique_ptr<CCMOSCamera> camera_;
};

TEST_F(CmosCameraTest, EachDeviceTypeOpensWithItsModelTableAndExposureRange) {
    for (int type : {1, 2, 4, 6, 10, 11, 15, 16}) {
        SCOPED_TRACE(type);
        UseCameras({{type}});
        Open();
        ASSERT_EQ(camera_->GetDeviceType(), type);
        const CmosModel model = CmosModelOf(type);
        std::vector<std::wstring> expected;
        for (const ResolutionRecord& r : model.resolutions) expected.emplace_back(r.label);
        EXPECT_EQ(Labels(camera_->GetResolutionList()), expected);
        EXPECT_EQ(camera_->GetExposureRange(), model.exposureRange);
        EXPECT_EQ(camera_->IsExposureUnitSupported(), type == 4 ? 0 : 1);
        EXPECT_EQ(camera_->GetVideoSize().width, model.resolutions.front().width);
        camera_.reset();
        fs::remove(Config());
    }
}

// The simulated type-8 sensor is 2560 columns wide, so the library reads
// back another width than the first entry's.
TEST_F(CmosCameraTest, Type8SensorWithoutTheFullWidthGetsTheThreeEntryTable) {
    UseCameras({{8}});
    Open();
    EXPECT_EQ(Labels(camera_->GetResolutionList()),
              (std::vector<std::wstring>{L"2560 * 1944", L"1280 * 972", L"640 * 486"}));
}

TEST_F(CmosCameraTest, StoredSizeOutsideTheTableSelectsAndStoresTheFirstEntry) {
    UseCameras({{6}});
    SetConfig(L"CMOS", L"Width", 999);
    SetConfig(L"CMOS", L"Height", 777);
    Open();
    EXPECT_EQ(camera_->GetVideoSize().width, 2592);
    EXPECT_EQ(camera_->GetVideoSize().height, 1944);
    EXPECT_EQ(ConfigInt(L"Width"), 2592);
    EXPECT_EQ(ConfigInt(L"Height"), 1944);

    camera_.reset();
    SetConfig(L"CMOS", L"Width", 1024);
    SetConfig(L"CMOS", L"Height", 768);
    Open();
    EXPECT_EQ(camera_->GetVideoSize().width, 1024);
}

TEST_F(CmosCameraTest, ResolutionOutsideTheTableIsIgnoredAndAChosenOneIsStoredAtOnce) {
    UseCameras({{1}});
    Open();
    const int size = int(camera_->GetResolutionList().size());
    for (int outside : {size, -1}) {
        camera_->SetResolution(outside);
        EXPECT_EQ(camera_->GetVideoSize().width, 1280) << outside;
    }
    camera_->SetResolution(2);
    EXPECT_EQ(camera_->GetVideoSize().width, 800);
    EXPECT_EQ(camera_->GetVideoSize().height, 600);
    EXPECT_EQ(ConfigInt(L"Width"), 800);
    EXPECT_EQ(ConfigInt(L"Height"), 600);
}

TEST_F(CmosCameraTest, StillAtSizeSwitchesOnlyWhenBothSidesDifferAndRestoresTheCapture) {
    struct Case {
        int snapshotWidth, snapshotHeight;
        int fileWidth, fileHeight;
    };
    UseCameras({{1}});
    Open();
    for (const Case& c : {Case{640, 480, 640, 480}, Case{1280, 768, 1280, 1024}, Case{800, 1024, 1280, 1024}}) {
        SCOPED_TRACE(testing::Message() << c.snapshotWidth << "x" << c.snapshotHeight);
        camera_->SaveSnapshotSize(L"", c.snapshotWidth, c.snapshotHeight);
        camera_->SetImageType(1);
        EXPECT_EQ(camera_->CaptureStillAtSize(), 1);
        const BmpPicture picture = ReadBmp(camera_->GetLastShotPath());
        EXPECT_EQ(picture.width, c.fileWidth);
        EXPECT_EQ(std::abs(picture.height), c.fileHeight);
        EXPECT_EQ(camera_->GetVideoSize().width, 1280);
        camera_->SetStillExposure();
    }
    // A size not in the table stores the first entry.
    camera_->SaveSnapshotSize(L"", 1280, 768);
    EXPECT_EQ(camera_->GetSnapshotSizeSetting().width, 1280);
    EXPECT_EQ(camera_->GetSnapshotSizeSetting().height, 1024);
    EXPECT_EQ(ConfigInt(L"ShoutHeight"), 1024);
}

TEST_F(CmosCameraTest, BlackAndWhiteUnderClearViewIsRefusedAndKeepsTheColourMode) {
    UseCameras({{10}});
    Open();
    EXPECT_EQ(camera_->SetClearView(1), 0);
    EXPECT_NE(camera_->SetBW(1), 0);
    EXPECT_EQ(camera_->GetBW(), 0);
    camera_->SaveSettings();
    EXPECT_EQ(ConfigInt(L"ColorMode"), 1);

    EXPECT_EQ(camera_->SetClearView(0), 0);
    EXPECT_EQ(camera_->SetBW(1), 0);
    EXPECT_EQ(camera_->GetBW(), 1);
    EXPECT_EQ(camera_->SetBW(0), 0);
    camera_->SaveSettings();
    EXPECT_EQ(ConfigInt(L"ColorMode"), 0);
}

TEST_F(CmosCameraTest, SettingsSurviveCloseAndReopenThroughConfigIni) {
    UseCameras({{6}});
    Open();
    camera_->SetResolution(3);
    camera_->SetImageType(3);
    camera_->SetNameType(1);
    camera_->EnableCrossLine(1, 40, 50);
    camera_->SetCrossCenter(1);
    camera_->SetCrossLineCount(2);
    camera_->SetCrossLine(1, 7, 1, 0, 11, 22, MakeColourRef(10, 20, 30));
    EXPECT_EQ(camera_->SetLightAVG(1), 0);
    camera_->SetAEParam(1);
    camera_.reset();  // saves

    Open();
    EXPECT_EQ(camera_->GetVideoSize().width, 1280);
    EXPECT_EQ(camera_->GetImageType(), 3);
    EXPECT_EQ(camera_->GetNameType(), 1);
    int on = 0, x = 0, y = 0;
    camera_->GetCrosslineStatus(&on, &x, &y);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(x, 40);
    EXPECT_EQ(y, 50);
    EXPECT_EQ(camera_->GetCrossCenter(), 1);
    EXPECT_EQ(camera_->GetAELiving(), 1);
    ASSERT_EQ(camera_->GetCrossLineCount(), 2);
    EXPECT_EQ(camera_->GetCrossLine(1), (CrossLineEntry{7, 1, 0, 11, 22, MakeColourRef(10, 20, 30)}));
    EXPECT_EQ(camera_->GetCrossLine(0), CrossLineEntry{});
    EXPECT_EQ(ConfigInt(L"Gamma"), 16);
    EXPECT_EQ(ConfigInt(L"U_R"), 500);
}

TEST_F(CmosCameraTest, ParameterFileBecomesTheStartupSettingsUnderTheKeysTheCameraReads) {
    UseCameras({{6}});
    fs::create_directories(folder_ / L"Params" / L"CMOSE");
    const std::wstring file = (folder_ / L"Params" / L"CMOSE" / L"Smear.ini").wstring();
    WritePrivateProfileStringW(L"CMOSE", L"Gain_R", L"6000", file.c_str());
    WritePrivateProfileStringW(L"CMOSE", L"Gain_AD", L"40", file.c_str());
    WritePrivateProfileStringW(L"CMOSE", L"Exposure", L"321", file.c_str());
    Open();
    // As the view applies a chosen file: to the camera, then to the settings.
    CIniFile params;
    params.m_strPath = file;
    camera_->LoadParamFile(params);
    camera_->CopyParamFileToSettings(L"Smear");
    EXPECT_EQ(ConfigInt(L"U_R"), 6000);
    EXPECT_EQ(ConfigInt(L"Gain_R"), 40);
    EXPECT_EQ(ConfigInt(L"Gamma"), 16);
    WritePrivateProfileStringW(L"CMOSE", L"Exposure", L"999", file.c_str());
    camera_->CopyParamFileToSettings(L"..\\CMOSE\\Smear");  // refused: the name reaches elsewhere
    EXPECT_EQ(ConfigInt(L"Exposure"), 321);
    camera_.reset();
    Open();  // the copied values are the settings now
    camera_->SaveSettings();
    EXPECT_EQ(ConfigInt(L"Exposure"), 321);
    EXPECT_EQ(ConfigInt(L"U_R"), 6000);
    EXPECT_EQ(ConfigInt(L"Gain_R"), 40);
}

// Type 16 keeps its red analogue gain under "Gain_All120": the gain it runs
// with when closed is what it opens with next time.
TEST_F(CmosCameraTest, Type16SavesTheAnalogueGainItRunsWith) {
    UseCameras({{16}});
    SetConfig(L"CMOS", L"Gain_All120", 20);
    fs::create_directories(folder_ / L"Params" / L"CMOSE");
    const std::wstring file = (folder_ / L"Params" / L"CMOSE" / L"Bright.ini").wstring();
    WritePrivateProfileStringW(L"CMOSE", L"Gain_AD", L"45", file.c_str());
    Open();
    CIniFile params;
    params.m_strPath = file;
    camera_->LoadParamFile(params);
    camera_.reset();  // saves
    EXPECT_EQ(ConfigInt(L"Gain_All120"), 45);
    Open();
    camera_.reset();
    EXPECT_EQ(ConfigInt(L"Gain_All120"), 45);
}

// A saturation never chosen (no value, or the old default 0 saved by an
// earlier run) shows the scene's colours as they are: in the yellow bar blue
// stays well below red and green. A chosen value is kept.
TEST_F(CmosCameraTest, ASaturationNeverChosenLeavesTheColoursAsTheSensorGivesThem) {
    struct Case {
        const char* what;
        int stored;  // -1: no value
        int kept;
    };
    const Case cases[] = {{"fresh install", -1, 8}, {"old default saved", 0, 8}, {"chosen", 12, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseCameras({{10}});
        if (c.stored >= 0) SetConfig(L"CMOS", L"Saturation", c.stored);
        Open();
        PreviewFrames(1, 2);
        const BmpPicture picture = Snapshot();
        ASSERT_EQ(picture.bits, 24);
        const int row = std::abs(picture.height) / 2;  // across the bars
        int yellow = 0;
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.Pixel(x, row);  // blue, green, red
            yellow += p[2] >= 120 && p[1] >= 120 && 2 * p[0] < std::min(p[1], p[2]);
        }
        EXPECT_GE(yellow, picture.width / 16) << "pixels of the yellow bar";
        camera_.reset();
        EXPECT_EQ(ConfigInt(L"Saturation"), c.kept);
        fs::remove(Config());
    }
}

TEST_F(CmosCameraTest, EnumDevicesWhilePreviewingKeepsThePreviewAndListsEveryCamera) {
    UseCameras({{10, 0, 0, L"Left scope"}, {6, 0, 0, L"Right scope"}});
    Open(1);
    PreviewFrames(1, 2);
    int before = 0;
    ASSERT_EQ(Sim<decltype(&KQSim_OpenConnections)>("KQSim_OpenConnections")(&before), KQSIM_OK);
    // Opening the camera again would fail now: the open one answers through
    // its own handle.
    auto failOpen = Sim<decltype(&KQSim_FailOpen)>("KQSim_FailOpen");
    ASSERT_EQ(failOpen(1, 1), KQSIM_OK);
    EXPECT_EQ(camera_->EnumDevices(), 0);
    failOpen(1, 0);
    int after = 0;
    Sim<decltype(&KQSim_OpenConnections)>("KQSim_OpenConnections")(&after);
    EXPECT_EQ(after, before);
    const std::vector<CameraDeviceEntry> devices = camera_->GetDeviceList();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].name, L"Left scope");
    EXPECT_EQ(devices[0].number, 1);
    EXPECT_EQ(devices[1].name, L"Right scope");
    EXPECT_EQ(devices[1].number, 2);
    EXPECT_EQ(camera_->IsVideoOpen(), 1);
    // The preview's last frame is still served: the camera was not reopened.
    EXPECT_GT(Snapshot().width, 0);
}

// Another device closes the previewing one: the preview is off until it is
// started again, and then runs on the new device.
TEST_F(CmosCameraTest, ChoosingAnotherDeviceEndsThePreviewAndTheNewOneStarts) {
    UseCameras({{10, 0, 0, L"Left scope"}, {6, 0, 0, L"Right scope"}});
    Open(1);
    PreviewFrames(1, 2);
    camera_->SelectDevice(2);
    EXPECT_EQ(camera_->IsVideoOpen(), 0);
    PreviewFrames(2, 2);
    EXPECT_EQ(camera_->IsVideoOpen(), 1);
    EXPECT_GT(Snapshot().width, 0);
}

// Crosshairs are drawn within the frame the library delivers. "640 * 486"
// is delivered 640 x 480 (the library rounds the window to 8 rows), so a
// line at y offset 0 lies in buffer row 479, and the pure red single cross
// in an 8-bit frame is its grey, one byte per pixel.
TEST_F(CmosCameraTest, CrosshairsLieWhereComputedInTheDeliveredFrame) {
    struct Case {
        int colourMode;
        std::initializer_list<std::uint8_t> line, cross;
        int bits;
    };
    const Case cases[] = {
        {0, {30, 20, 10}, {0, 0, 255}, 24},
        {3, {18}, {76}, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colourMode);
        UseCameras({{8}});
        SetConfig(L"CMOS", L"ColorMode", c.colourMode);
        Open();
        camera_->SetResolution(2);
        ASSERT_EQ(camera_->GetVideoSize().height, 486);
        camera_->SetCrossLineCount(1);
        camera_->SetCrossLine(0, 1, 1, 0, 100, 0, MakeColourRef(10, 20, 30));
        camera_->EnableCrossLine(1, 5, 200);
        PreviewFrames(1, 2);
        const BmpPicture picture = Snapshot();
        ASSERT_EQ(picture.width, 640);
        ASSERT_EQ(std::abs(picture.height), 480);
        EXPECT_EQ(picture.bits, c.bits);
        // The single cross, drawn last, crosses each line once.
        EXPECT_EQ(picture.CountInRow(479, c.line), 640 - 1);
        EXPECT_EQ(picture.CountInColumn(100, c.line), 480 - 1);
        EXPECT_TRUE(picture.RowIs(480 - 200, c.cross));
        EXPECT_TRUE(picture.ColumnIs(5, c.cross));
        camera_.reset();
    }
}

}  // namespace
