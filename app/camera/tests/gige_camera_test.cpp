// The GigE camera over the scripted library double loaded as KQGEu.dll by
// full path: what each model code opens with, the discovery record, the
// layout, resolution and snapshot sizes, the device list, parameter files,
// settings, recording, and the crosshairs in the frames it delivers.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "camera_sdk_families.h"
#include "colour_ref.h"
#include "gige_camera.h"
#include "gige_sdk_startup.h"
#include "library_double_fixture.h"
#include "modal_script.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ModalScript;

std::string Decimal(std::uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", code);
    return text;
}

class GigeCameraTest : public LibraryDoubleFixture<CGigESdkBinding, CGigECamera> {
protected:
    // The double with these cameras; the program-wide camera count as the
    // library start found it.
    void LoadCameras(const std::string& script) {
        LoadDouble(L"sdk_double_gige.dll", script);
        InitGigESdk();
    }
    CGigECamera& Open(int index = 0) { return LibraryDoubleFixture::Open(index); }
    // A client area of exactly this size.
    void SizeHost(int width, int height) {
        SetWindowPos(m_host, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void TearDown() override {
        LibraryDoubleFixture::TearDown();
        g_nGigECameraCount = 0;
    }
};

TEST_F(GigeCameraTest, OpensWhatItsModelCodeOffers) {
    struct Case {
        std::uint32_t code;
        std::vector<std::wstring> labels;
        const wchar_t* key;
        GigeColourKind kind;
        std::array<int, 2> range;
        int monochrome;
        int defaultColourMode;
    };
    const Case cases[] = {
        {0x14000, {L"1360 * 1024"}, L"GIGE_CCD_C", GigeColourKind::colour, {75, 1000000}, 0, 0},
        {0x140B1, {L"1360 * 1024"}, L"GIGE_CCD_M", GigeColourKind::mono16, {75, 1000000}, 1, 2},
        {0x10013001,
         {L"1280 * 1024", L"1024 * 768", L"800 * 600"},
         L"GIGE_CMOS_C",
         GigeColourKind::mono,
         {32, 1000000},
         1,
         2},
        {0x10030000,
         {L"2048 * 1536", L"1600 * 1200", L"1024 * 768", L"800 * 600"},
         L"GIGE_CMOS_C",
         GigeColourKind::colour,
         {54, 1000000},
         0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Decimal(c.code));
        LoadCameras("device.0.type " + Decimal(c.code) + "\n");
        CGigECamera& camera = Open();
        EXPECT_EQ(camera.GetModelCode(), c.code);
        EXPECT_EQ(Labels(), c.labels);
        EXPECT_EQ(camera.GetColourKind(), c.kind);
        ASSERT_TRUE(camera.GetExposureRange().has_value());
        EXPECT_EQ(*camera.GetExposureRange(), c.range);
        EXPECT_EQ(camera.IsMonochrome(), c.monochrome);
        EXPECT_EQ(camera.GetColourMode(), c.defaultColourMode);
        EXPECT_TRUE(Contains(Log(), "KQGE_SetColorMode 0 " + std::to_string(c.defaultColourMode)));
        // The model settings go to the model's own section.
        m_camera.reset();
        EXPECT_EQ(ReadConfig(c.key, L"GainAll"), 32);
        EXPECT_EQ(ReadConfig(c.key, L"ColorMode"), c.defaultColourMode);
        TearDown();
    }
}

TEST_F(GigeCameraTest, OpensInTheLibrarysOrder) {
    LoadCameras("device.0.type 81920\n");  // 0x14000
    Open();
    const std::vector<std::string> expected = {
        "KQGE_InitCamera 0 window",    "KQGE_GetCameraType 0",     "KQGE_SetResolution 0 1360 1024",
        "KQGE_SetGain_A 0 32",         "KQGE_SetGainR 0 8",        "KQGE_SetGainG 0 8",
        "KQGE_SetGainB 0 8",           "KQGE_SetExposure 0 2000",  "KQGE_GetExposure 0",
        "KQGE_SetContrast 0 32",       "KQGE_SetOffsetH 0 0",      "KQGE_SetOffsetV 0 0",
        "KQGE_SetColorMode 0 0",       "KQGE_SetFlipMode 0 0",     "KQGE_SetSpeedMode 0 0",
        "KQGE_SetValidBitsOff 0 0",    "KQGE_SetCapMode 0 1",      "KQGE_SetAviCompressor 0 0",
        "KQGE_GetPackageDelayTime",
        "KQGE_GetWatchdogState",       "KQGE_SetDoCorrecting 0 0", "KQGE_HDR_Enable 0 0",
        "KQGE_SetSaturation 0 8",      "KQGE_SetSharpness 0 0",    "KQGE_AEParam 0 0 1",
        "KQGE_SetDoAE 0 0 0 callback", "KQGE_SetDoAWB 0 0 1 null", "KQGE_SetPackageSize 0 1500",
        "KQGE_GetPackageSize 0",       "KQGE_GetCameraInfo 0",
    };
    const std::vector<std::string> log = Log();
    const auto start = std::find(log.begin(), log.end(), "KQGE_InitCamera 0 window");
    ASSERT_NE(start, log.end());
    EXPECT_EQ(std::vector<std::string>(start, log.end()), expected);
}

TEST_F(GigeCameraTest, DiscoveryRecordGivesTheIpAndALateSensorTenBitLines) {
    struct Case {
        int version;
        GigeColourKind kind;
    };
    for (const Case& c : {Case{4, GigeColourKind::mono}, Case{5, GigeColourKind::mono16}}) {
        SCOPED_TRACE(c.version);
        LoadCameras(
            "device.0.type 268513281\n"  // 0x10013001
            "device.0.ip 10 0 200 7\n"
            "device.0.version " +
            std::to_string(c.version) + "\nframes 1\n");
        WriteConfig(L"GIGE_CMOS_C", L"ColorMode", 4);  // 2 bytes a pixel
        CGigECamera& camera = Open();
        EXPECT_EQ(camera.GetIpAddress(), L"10.0.200.7");
        EXPECT_EQ(camera.GetColourKind(), c.kind);
        camera.SetCrossLineCount(1);
        camera.SetCrossLine(0, 1, 1, 0, 10, 5, MakeColourRef(255, 255, 255));
        camera.StartPreview(m_host);
        ASSERT_EQ(camera.IsVideoOpen(), 1);
        ASSERT_EQ(WaitFrames(1), 1);
        const Frame frame = LastFrame();
        ASSERT_EQ(frame.bits, 16);
        const unsigned char* line = frame.Pixel(10, 0);
        if (c.version >= 5) {
            EXPECT_EQ(line[0], 255 >> 6);
            EXPECT_EQ(line[1], (255 << 2) & 0xFF);
        } else {
            EXPECT_EQ(line[0], 255);
            EXPECT_EQ(line[1], 255);
        }
        EXPECT_EQ(frame.Pixel(0, frame.height - 5)[0], line[0]);
        TearDown();
    }
}

// The camera index lies outside the count the library start found: no
// discovery record is asked for.
TEST_F(GigeCameraTest, AsksNoDiscoveryRecordBeyondTheCameraCount) {
    LoadDouble(L"sdk_double_gige.dll", "devices 2\ndevice.1.type 81920\ndevice.1.ip 1 2 3 4\n");
    g_nGigECameraCount = 1;
    CGigECamera& camera = Open(1);
    EXPECT_EQ(camera.GetModelCode(), 0x14000u);
    EXPECT_EQ(camera.GetIpAddress(), L"");
    EXPECT_EQ(CountStarting(Log(), "KQGE_GetCameraInfo"), 0u);
}

TEST_F(GigeCameraTest, StretchesIntoTheViewKeepingTheAspect) {
    LoadCameras("device.0.type 81920\n");  // 1360 x 1024
    SizeHost(800, 800);
    CGigECamera& camera = Open();
    camera.StartPreview(m_host);
    ASSERT_EQ(camera.IsVideoOpen(), 1);
    EXPECT_EQ(Log().back(), "KQGE_SetVideoWindowPos 0 0 99 800 602");
    EXPECT_EQ(camera.GetVideoPos().y, 99);
    // 1:1, larger than the view: from the top left, then following the scroll bars.
    camera.FitVideoWindow(0);
    EXPECT_EQ(Log().back(), "KQGE_SetVideoWindowPos 0 0 0 1360 1024");
    camera.SetVideoWindowPos(40);
    EXPECT_EQ(Log().back(), "KQGE_SetVideoWindowPos 0 -40 0 1360 1024");
}

TEST_F(GigeCameraTest, ResolutionIndexOutsideTheTableIsIgnored) {
    LoadCameras("device.0.type 268632064\n");  // 0x10030000, four sizes
    CGigECamera& camera = Open();
    const std::size_t mark = LogMark();
    camera.SetResolution(5);
    camera.SetResolution(-1);
    EXPECT_EQ(LogFrom(mark), std::vector<std::string>{});
    EXPECT_EQ(camera.GetVideoSize().width, 2048);
    camera.SetResolution(3);
    EXPECT_TRUE(Contains(LogFrom(mark), "KQGE_SetResolution 0 800 600"));
    EXPECT_EQ(camera.GetVideoSize().width, 800);
    EXPECT_EQ(ReadConfig(L"GIGE", L"Width"), 800);
    EXPECT_EQ(ReadConfig(L"GIGE", L"Height"), 600);
}

TEST_F(GigeCameraTest, ARefusedResolutionKeepsTheSize) {
    LoadCameras("device.0.type 268632064\n");
    CGigECamera& camera = Open();
    DoubleHook<SdkDoubleSetScript>("SdkDouble_SetScript")("device.0.type 268632064\nreturn.KQGE_SetResolution 9\n");
    camera.SetResolution(1);
    EXPECT_EQ(camera.GetVideoSize().width, 2048);
    EXPECT_EQ(ReadConfig(L"GIGE", L"Width", -1), -1);
}

TEST_F(GigeCameraTest, SnapshotSizeIsATableEntry) {
    LoadCameras("device.0.type 268632064\n");
    CGigECamera& camera = Open();
    camera.SaveSnapshotSize(L"1000 * 700", 1000, 700);
    EXPECT_EQ(ReadConfig(L"GIGE", L"ShoutWidth"), 2048);
    EXPECT_EQ(ReadConfig(L"GIGE", L"ShoutHeight"), 1536);
    camera.SaveSnapshotSize(L"1024 * 768", 1024, 768);
    EXPECT_EQ(camera.GetSnapshotSizeSetting().width, 1024);
    EXPECT_EQ(ReadConfig(L"GIGE", L"ShoutHeight"), 768);
}

TEST_F(GigeCameraTest, DeviceListSkipsCamerasWithoutAType) {
    LoadCameras("devices 3\ndevice.0.type 81920\ndevice.1.type 0\ndevice.2.type 7\n");
    CGigECamera camera;
    EXPECT_EQ(camera.EnumDevices(), 0);
    const std::vector<CameraDeviceEntry> list = camera.GetDeviceList();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, L"KQGE_Parsun");
    EXPECT_EQ(list[0].number, 0);
    EXPECT_EQ(list[1].name, L"KQGE_UNKNOW");
    EXPECT_EQ(list[1].number, 2);
}

TEST_F(GigeCameraTest, ParameterFileResetsWhiteBalanceOnlyWithValidValues) {
    struct Case {
        int red;
        bool reset;
    };
    for (const Case& c : {Case{1, false}, Case{2, true}, Case{256, false}}) {
        SCOPED_TRACE(c.red);
        LoadCameras("device.0.type 81920\n");
        CGigECamera& camera = Open();
        const fs::path file = m_folder / L"preset.ini";
        std::ofstream(file) << "[GIGE]\nExposure=700\nGain_AD=40\nAVGR=" << c.red << "\nAVGG=100\nAVGB=100\n";
        CIniFile preset;
        preset.m_strPath = file.wstring();
        const std::size_t mark = LogMark();
        camera.LoadParamFile(preset);
        const std::vector<std::string> calls = LogFrom(mark);
        EXPECT_TRUE(Contains(calls, "KQGE_SetExposure 0 700"));
        EXPECT_TRUE(Contains(calls, "KQGE_SetGain_A 0 40"));
        EXPECT_EQ(Contains(calls, "KQGE_ReSetAWBVal 0 " + std::to_string(c.red) + " 100 100"), c.reset);
        EXPECT_EQ(CountStarting(calls, "KQGE_ReSetAWBVal"), c.reset ? 1u : 0u);
        TearDown();
    }
}

TEST_F(GigeCameraTest, SettingsRoundTrip) {
    LoadCameras("device.0.type 268513281\n");  // key GIGE_CMOS_C
    const struct {
        const wchar_t* section;
        const wchar_t* key;
        int value;
    } stored[] = {
        {L"GIGE", L"Exp", 900},
        {L"GIGE", L"GainR", 11},
        {L"GIGE", L"Contrast", 20},
        {L"GIGE", L"FlipMode", 2},
        {L"GIGE", L"ImgType", 3},
        {L"GIGE", L"HDR", 1},
        {L"GIGE", L"AELevel", 2},
        {L"GIGE", L"PackageSize", 4000},
        {L"GIGE_CMOS_C", L"GainAll", 40},
        {L"GIGE_CMOS_C", L"ColorMode", 3},
        {L"GIGE_CMOS_C", L"ValidBitsOff", 2},
        {L"GIGE_CMOS_C", L"SpeedMode", 1},
    };
    for (const auto& s : stored) {
        WriteConfig(s.section, s.key, s.value);
    }
    CGigECamera& camera = Open();
    EXPECT_EQ(camera.GetExposure(), 900);
    EXPECT_EQ(camera.GetPacketSize(), 4000);
    EXPECT_TRUE(Contains(Log(), "KQGE_SetValidBitsOff 0 2"));
    fs::remove(ConfigPath());
    m_camera.reset();
    for (const auto& s : stored) {
        EXPECT_EQ(ReadConfig(s.section, s.key), s.value) << std::string(s.key, s.key + wcslen(s.key));
    }
}

// A fresh Config.ini takes BMP snapshots, as every family does.
TEST_F(GigeCameraTest, FreshSettingsTakeBmpSnapshots) {
    LoadCameras("device.0.type 81920\nframes 1\n");
    CGigECamera& camera = Open();
    EXPECT_EQ(camera.GetImageType(), 1);
    camera.StartPreview(m_host);
    ASSERT_EQ(camera.SaveSnapshot(), 1);
    const std::wstring shot = camera.GetLastShotPath();
    EXPECT_TRUE(Contains(Log(), "KQGE_GetFrameToImage 0 " + std::string(shot.begin(), shot.end()) + " 0 0 0"));
    EXPECT_TRUE(fs::exists(shot));
    EXPECT_EQ(fs::path(shot).extension(), L".bmp");
}

TEST_F(GigeCameraTest, AFailedOpenSavesNothingOverTheUsersSettings) {
    struct Case {
        const char* what;
        std::string script;
    };
    const Case cases[] = {
        {"refused by the library", "device.0.type 81920\nreturn.KQGE_InitCamera 7\n"},
        {"model code in no row", "device.0.type 12345\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoadCameras(c.script);
        WriteConfig(L"GIGE", L"Exp", 777);
        WriteConfig(L"GIGE", L"ImgType", 3);
        CGigECamera& camera = Open();
        EXPECT_EQ(camera.GetResolutionList().size(), 0u);
        camera.StartPreview(m_host);
        camera.FitVideoWindow(1);
        EXPECT_EQ(camera.IsVideoOpen(), 0);
        EXPECT_EQ(CountStarting(Log(), "KQGE_LiveStart"), 0u);
        EXPECT_EQ(CountStarting(Log(), "KQGE_SetVideoWindowPos"), 0u);
        m_camera.reset();
        EXPECT_EQ(ReadConfig(L"GIGE", L"Exp"), 777);
        EXPECT_EQ(ReadConfig(L"GIGE", L"ImgType"), 3);
        EXPECT_EQ(ReadConfig(L"GIGE", L"CROSSLINE"), -12345);
        EXPECT_EQ(ReadConfig(L"CROSSLINE", L"Total"), -12345);
        TearDown();
    }
}

TEST_F(GigeCameraTest, RecordsOnlyWhenTheLibraryStartedTheCapture) {
    struct Case {
        int colourMode;
        int recording;
    };
    for (const Case& c : {Case{4, 0}, Case{0, 1}}) {
        SCOPED_TRACE(c.colourMode);
        LoadCameras("device.0.type 268632064\n");
        WriteConfig(L"GIGE_CMOS_C", L"ColorMode", c.colourMode);
        CGigECamera& camera = Open();
        // Record is offered only where the library records.
        EXPECT_EQ(camera.IsRecordDisabled(), 1 - c.recording);
        camera.StartPreview(m_host);
        camera.StartRecord(m_host);
        EXPECT_EQ(CountStarting(Log(), "KQGE_CaptureStart 0 "), 1u);
        EXPECT_EQ(camera.IsRecording(), c.recording);
        camera.StopRecord(m_host);
        EXPECT_EQ(camera.IsRecording(), 0);
        TearDown();
    }
}

// The compressor the user chose is handed to the library when the camera
// opens and when it is chosen again, and kept in the settings.
TEST_F(GigeCameraTest, TheChosenCompressorReachesTheLibraryAndIsKept) {
    constexpr std::uint32_t kRunLength = mmioFOURCC('M', 'R', 'L', 'E');
    constexpr std::uint32_t kCinepak = mmioFOURCC('c', 'v', 'i', 'd');
    LoadCameras("device.0.type 81920\n");
    WriteConfig(L"GIGE", L"GIGE_CPS", int(kCinepak));
    CGigECamera& camera = Open();
    EXPECT_TRUE(Contains(Log(), "KQGE_SetAviCompressor 0 " + Decimal(kCinepak)));

    std::wstring title, chosen;
    std::uint32_t chosenCode = 0;
    {
        ModalScript script({[&](HWND dialog) {
                                title = ModalScript::Text(dialog);
                                chosen = ModalScript::ChooseComboItem(
                                    dialog, [](const std::wstring& t) { return t.find(L"RLE") != std::wstring::npos; });
                            },
                            [](HWND dialog) { ModalScript::Press(dialog, IDOK); }});
        const std::size_t mark = LogMark();
        camera.SelectAviCompressor();
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(title, L"Video Compressor");
        ASSERT_FALSE(chosen.empty()) << "the run-length coder is listed";
        const std::vector<std::string> calls = LogFrom(mark);
        ASSERT_EQ(calls.size(), 1u);
        unsigned long code = 0;
        ASSERT_EQ(std::sscanf(calls[0].c_str(), "KQGE_SetAviCompressor 0 %lu", &code), 1) << calls[0];
        chosenCode = std::uint32_t(code);
        // Handler codes are read without regard to case.
        EXPECT_EQ(chosenCode & 0xDFDFDFDFu, kRunLength);
    }
    {
        // Cancel keeps the choice.
        ModalScript script({[](HWND dialog) { ModalScript::Press(dialog, IDCANCEL); }});
        const std::size_t mark = LogMark();
        camera.SelectAviCompressor();
        EXPECT_TRUE(script.Finished());
        EXPECT_TRUE(LogFrom(mark).empty());
    }
    m_camera.reset();
    EXPECT_EQ(ReadConfig(L"GIGE", L"GIGE_CPS"), int(chosenCode));
}

// The library may deliver frames of another depth than the camera set (the
// parameter dialog changes colour modes live): drawing follows each frame's
// own information and never writes past it.
TEST_F(GigeCameraTest, DrawsIntoEachFrameByItsOwnInformation) {
    LoadCameras("device.0.type 81920\nframes 1\n");
    CGigECamera& camera = Open();
    camera.SetCrossLineCount(1);
    camera.SetCrossLine(0, 1, 1, 1, 0, 0, MakeColourRef(0, 255, 0));
    camera.EnableCrossLine(1, 3, 4);
    camera.StartPreview(m_host);
    ASSERT_EQ(WaitFrames(1), 1);
    Frame frame = LastFrame();
    ASSERT_EQ(frame.bits, 24);
    EXPECT_EQ(frame.Pixel(680, 0)[1], 255);  // the centred line in green
    EXPECT_EQ(frame.Pixel(3, 10)[2], 255);   // the single cross in red
    EXPECT_EQ(frame.Pixel(3, 10)[1], 0);

    ASSERT_EQ(KQGE().KQGE_SetColorMode(0, 2), 0);  // one byte a pixel
    DeliverFrames(1);
    ASSERT_EQ(WaitFrames(2), 2);
    frame = LastFrame();
    ASSERT_EQ(frame.bits, 8);
    EXPECT_EQ(frame.Pixel(680, 0)[0], 150);     // grey of green
    EXPECT_EQ(frame.Pixel(3, 10)[0], 255);      // the single cross in white
    EXPECT_EQ(frame.Pixel(100, 1020)[0], 255);  // row height - 4
    EXPECT_EQ(frame.Pixel(100, 10)[0], 0x40);
    EXPECT_EQ(CountStarting(Log(), "overrun"), 0u);
}

}  // namespace
