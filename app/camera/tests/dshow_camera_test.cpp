// The DirectShow camera over the test source registered in the test prefix:
// preview into the view and the graph's running-object-table entry, stills
// named by the user, recording at the frame rate of [TPF], stills refused
// while recording, a compressor that cannot take the frames, and a capture
// pin without dropped-frame counters; the maker's image controls through
// the source's extension properties, saved and applied again; stills at
// the snapshot size with their exposure, timed stills and the stored
// capture size. The recording goes to DSHOW_CAMERA_FILES for ffprobe.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "dshow_camera.h"
#include "dshow_fixtures/fixture_registration.h"
#include "dshow_fixtures/source_properties.h"
#include "snapshot_message_pump.h"
#include "temp_folder_test.h"
#include "video_layout.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using dshow_test::notices;
using dshow_test::WaitFor;

bool InRunningObjectTable(const std::wstring& name) {
    IRunningObjectTable* table = nullptr;
    IEnumMoniker* monikers = nullptr;
    IBindCtx* context = nullptr;
    bool found = false;
    if (SUCCEEDED(GetRunningObjectTable(0, &table)) && SUCCEEDED(table->EnumRunning(&monikers)) &&
        SUCCEEDED(CreateBindCtx(0, &context))) {
        IMoniker* moniker = nullptr;
        while (monikers->Next(1, &moniker, nullptr) == S_OK) {
            LPOLESTR display = nullptr;
            if (SUCCEEDED(moniker->GetDisplayName(context, nullptr, &display)) && display) {
                found = found || std::wstring(display).find(name) != std::wstring::npos;
                CoTaskMemFree(display);
            }
            moniker->Release();
        }
    }
    if (context) context->Release();
    if (monikers) monikers->Release();
    if (table) table->Release();
    return found;
}

// The extension property ids the camera uses.
enum : DWORD {
    kAE = 0,
    kAWB = 1,
    kBW = 2,
    kLightAVG = 3,
    kCrossOn = 4,
    kExposure = 7,
    kGainR = 8,
    kGainB = 9,
    kGainG = 10,
    kCrossY = 14,
    kCrossX = 15,
    kVideoZoom = 22,
    kClearView = 23,
    kBadPixels = 30,
};

// Width and height of a BMP file, (0, 0) when it cannot be read.
std::pair<int, int> BitmapSize(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    char header[26] = {};
    if (!file.read(header, sizeof(header)) || header[0] != 'B' || header[1] != 'M') return {0, 0};
    std::int32_t width = 0, height = 0;
    memcpy(&width, header + 18, 4);
    memcpy(&height, header + 22, 4);
    return {width, height < 0 ? -height : height};
}

// The blue, green, red bytes of a 24-bit BMP file's pixel at (x, row), rows
// counted as the file stores them (bottom-up: row 0 is the picture's last).
std::array<int, 3> BitmapPixel(const fs::path& path, int x, int row) {
    std::ifstream file(path, std::ios::binary);
    char header[54] = {};
    if (!file.read(header, sizeof(header))) return {-1, -1, -1};
    std::uint32_t offset = 0;
    std::int32_t width = 0;
    memcpy(&offset, header + 10, 4);
    memcpy(&width, header + 18, 4);
    const std::streamoff stride = (width * 3 + 3) & ~3;
    file.seekg(offset + row * stride + x * 3);
    unsigned char pixel[3] = {};
    if (!file.read(reinterpret_cast<char*>(pixel), 3)) return {-1, -1, -1};
    return {pixel[0], pixel[1], pixel[2]};
}

// The capture pin's current format (width, height) of an open camera.
std::pair<int, int> PinFormat(CDShowCamera& cam) {
    std::pair<int, int> size{0, 0};
    IAMStreamConfig* config = nullptr;
    if (!cam.Graph() || FAILED(cam.Graph()->FindPinInterface(cam.Graph()->GetSource(), IID_IAMStreamConfig,
                                                             reinterpret_cast<void**>(&config)))) {
        return size;
    }
    AM_MEDIA_TYPE* type = nullptr;
    if (SUCCEEDED(config->GetFormat(&type))) {
        if (type->formattype == FORMAT_VideoInfo && type->pbFormat) {
            const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
            size = {info->bmiHeader.biWidth, info->bmiHeader.biHeight};
        }
        CoTaskMemFree(type->pbFormat);
        CoTaskMemFree(type);
    }
    config->Release();
    return size;
}

class DShowCameraTest : public testing_support::TempFolderTest {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }
    void SetUp() override {
        TempFolderTest::SetUp();
        notices.clear();
        view = CreateWindowExW(0, L"STATIC", L"view", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 800,
                               600, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(view, nullptr);
        settings = (folder / L"Config.ini").wstring();
    }
    void TearDown() override {
        camera.reset();
        DestroyWindow(view);
        TempFolderTest::TearDown();
    }
    void Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
        WritePrivateProfileStringW(section, key, value.c_str(), settings.c_str());
    }
    std::wstring Read(const wchar_t* section, const wchar_t* key) const {
        wchar_t value[64] = {};
        GetPrivateProfileStringW(section, key, L"(none)", value, 64, settings.c_str());
        return value;
    }
    CDShowCamera& Make() {
        camera = std::make_unique<CDShowCamera>(view, 0, settings);
        camera->SetMessageShower([this](UINT id) { messages.push_back(id); });
        camera->SetShotFolder(folder.wstring() + L"\\");
        camera->SetVideoFolder(folder.wstring() + L"\\");
        return *camera;
    }
    bool RendererInView() const {
        const HWND child = GetWindow(view, GW_CHILD);
        return child && (GetWindowLongW(child, GWL_STYLE) & WS_CHILD) && IsWindowVisible(child);
    }

    HWND view = nullptr;
    std::wstring settings;
    std::unique_ptr<CDShowCamera> camera;
    std::vector<UINT> messages;
};

TEST_F(DShowCameraTest, PreviewsInTheViewWhileItsGraphIsInTheRunningObjectTable) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    CDShowCamera& cam = Make();
    EXPECT_EQ(cam.EnumDevices(), 1);
    ASSERT_EQ(cam.GetDeviceList().size(), 1u);
    EXPECT_EQ(cam.GetDeviceList()[0].name, L"Camera source");

    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    EXPECT_EQ(cam.EnumDevices(), 0);
    EXPECT_EQ(cam.GetVideoSize().width, 640);
    EXPECT_EQ(cam.GetResolutionList().size(), 3u);
    EXPECT_TRUE(RendererInView());
    const std::wstring name = cam.TableName();
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.rfind(L"FilterGraph ", 0), 0u);
    EXPECT_TRUE(InRunningObjectTable(name));
    EXPECT_TRUE(WaitFor([&] { return cam.GetFrameRate() > 0; }));

    cam.StopPreview();
    EXPECT_EQ(cam.IsVideoOpen(), 0);
    EXPECT_FALSE(InRunningObjectTable(name));
    EXPECT_TRUE(cam.TableName().empty());
    EXPECT_EQ(GetWindow(view, GW_CHILD), nullptr);
}

TEST_F(DShowCameraTest, UserNamedStillIsWrittenFromTheStreamAndAnnouncedOnce) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    cam.SetImageType(2);
    cam.SetNameType(1);
    cam.SetShotName(L"A1");
    ASSERT_EQ(cam.SaveSnapshot(), 1);
    const fs::path expected = folder / L"A1.jpg";
    EXPECT_EQ(cam.GetLastShotPath(), expected.wstring());
    ASSERT_TRUE(WaitFor([] { return !notices.empty(); }));
    EXPECT_EQ(notices, std::vector<std::wstring>{expected.wstring()});
    EXPECT_TRUE(fs::exists(expected));
    // The pending name was used once: the next still has an automatic name.
    ASSERT_EQ(cam.SaveSnapshot(), 1);
    EXPECT_EQ(fs::path(cam.GetLastShotPath()).filename().wstring().rfind(L"Shot_", 0), 0u);
    cam.StopPreview();
}

TEST_F(DShowCameraTest, RecordsAtTheConfiguredFrameRateAndRefusesStillsMeanwhile) {
    dshow_fixtures::FileWriterStandIn writer;
    ASSERT_TRUE(writer.Registered());
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    Write(L"Pin", L"Width", L"1280");
    Write(L"Pin", L"Height", L"1024");
    Write(L"TPF", L"cap1280", L"15");
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    cam.StartRecord(view);
    ASSERT_EQ(cam.IsRecording(), 1);
    EXPECT_EQ(cam.GetVideoSize().width, 1280);
    EXPECT_EQ(cam.GetFrameDuration(), 666666);
    EXPECT_TRUE(RendererInView());
    EXPECT_EQ(cam.SaveSnapshot(), 0);
    EXPECT_EQ(cam.CaptureStillAtSize(), 0);
    WaitFor([] { return false; }, 1500ms);
    cam.StopRecord(view);
    EXPECT_EQ(cam.IsRecording(), 0);
    EXPECT_EQ(cam.IsVideoOpen(), 1);  // the preview is back
    EXPECT_TRUE(messages.empty());
    fs::path recording;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == L".avi") recording = entry.path();
    }
    ASSERT_FALSE(recording.empty());
    const fs::path files(DSHOW_CAMERA_FILES);
    fs::create_directories(files);
    fs::copy_file(recording, files / L"camera_recording.avi", fs::copy_options::overwrite_existing);

    // Without a [TPF] key for the width: 4 frames per second.
    cam.StopPreview();
    WritePrivateProfileStringW(L"TPF", L"cap1280", nullptr, settings.c_str());
    cam.StartRecord(view);
    ASSERT_EQ(cam.IsRecording(), 1);
    EXPECT_EQ(cam.GetFrameDuration(), 10000000 / 4);
    cam.StopRecord(nullptr);
    EXPECT_EQ(cam.IsVideoOpen(), 0);
}

TEST_F(DShowCameraTest, CompressorThatCannotTakeTheFramesGivesTheMessageAndThePreviewBack) {
    dshow_fixtures::FileWriterStandIn writer;
    ASSERT_TRUE(writer.Registered());
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    Write(L"Video", L"bCompressor", L"1");
    Write(L"Video", L"SCompressor", L"Wine MS-RLE video codec");
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    cam.StartRecord(view);
    EXPECT_EQ(cam.IsRecording(), 0);
    EXPECT_EQ(messages, std::vector<UINT>{47050});
    EXPECT_EQ(cam.IsVideoOpen(), 1);
    EXPECT_TRUE(RendererInView());
}

// A source with a frame always on its way when the recording stops: the
// graph stops the mux before the source, and that frame must not reach a
// mux that has finished its file (a fault that ends the process). Every
// recording keeps its frames.
TEST_F(DShowCameraTest, RecordingStoppedWithAFrameOnItsWayEndsCleanly) {
    dshow_fixtures::FileWriterStandIn writer;
    ASSERT_TRUE(writer.Registered());
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    ASSERT_TRUE(dshow_fixtures::SetSourceSwitch(L"Flood", 1));
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        cam.StartRecord(view);
        ASSERT_EQ(cam.IsRecording(), 1);
        // The delivered-frame count goes on across the mux's start.
        IAMDroppedFrames* dropped = cam.Graph()->GetDroppedFrames();
        ASSERT_NE(dropped, nullptr);
        long delivered = 0;
        ASSERT_TRUE(WaitFor([&] { return SUCCEEDED(dropped->GetNumNotDropped(&delivered)) && delivered >= 10; }));
        cam.StopRecord(view);
        EXPECT_EQ(cam.IsVideoOpen(), 1);
    }
    cam.StopPreview();
    EXPECT_TRUE(messages.empty());
    int recordings = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != L".avi") continue;
        ++recordings;
        EXPECT_GT(fs::file_size(entry.path()), 10u * 640u * 480u * 3u) << entry.path();
    }
    EXPECT_GE(recordings, 1);
}

// The platform's own file writer here takes no byte stream on its input, and
// the mux writes only through one: fed frames, it faults and ends the
// process. Record is refused before the graph runs, with the message, no
// file is left, and the preview comes back.
TEST_F(DShowCameraTest, WriterWithoutAByteStreamRefusesRecordWithTheMessage) {
    dshow_fixtures::PlatformFileWriter writer;
    ASSERT_TRUE(writer.Registered());
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    cam.StartRecord(view);
    EXPECT_EQ(cam.IsRecording(), 0);
    EXPECT_EQ(messages, std::vector<UINT>{47150});
    EXPECT_EQ(cam.IsVideoOpen(), 1);
    EXPECT_TRUE(RendererInView());
    EXPECT_TRUE(WaitFor([&] { return cam.GetFrameRate() > 0; }));
    for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_NE(entry.path().extension(), L".avi") << entry.path();
    }
    cam.StopPreview();
}

TEST_F(DShowCameraTest, PinWithoutDroppedFrameCountersStillPreviews) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    ASSERT_TRUE(dshow_fixtures::SetSourceSwitch(L"NoDroppedFrames", 1));
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    EXPECT_TRUE(RendererInView());
    EXPECT_EQ(cam.GetFrameRate(), 0.0f);
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(cam.SaveSnapshot(), 1);
    EXPECT_TRUE(WaitFor([] { return !notices.empty(); }));
}

TEST_F(DShowCameraTest, ClosedCameraRefusesStills) {
    CDShowCamera& cam = Make();
    EXPECT_EQ(cam.SaveSnapshot(), 0);
    EXPECT_EQ(cam.CaptureStillAtSize(), 0);
    EXPECT_EQ(cam.GetFrameRate(), 0.0f);
    EXPECT_EQ(cam.GetVideoSize().width, 0);
}

TEST_F(DShowCameraTest, ImageControlsReachTheDeviceWhileOpenAndAreSavedAndAppliedAgain) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    dshow_fixtures::SourceProperties device;
    ASSERT_TRUE(device.Loaded());
    Write(L"Video", L"BW", L"1");
    Write(L"Video", L"AVG", L"1");
    Write(L"Video", L"ClearVideo", L"1");
    Write(L"Video", L"ZoomVideo", L"1");
    Write(L"Video", L"Crossline", L"1");
    Write(L"Video", L"Crossline_x", L"320");
    Write(L"Video", L"Crossline_y", L"240");
    CDShowCamera& cam = Make();
    // Closed: nothing reaches the device.
    EXPECT_EQ(cam.SetBW(0), 0);
    EXPECT_EQ(cam.SetAutoExposure(), 0);
    EXPECT_EQ(cam.GetBW(), 1);
    EXPECT_EQ(cam.CheckDeviceType(), 0);
    EXPECT_TRUE(device.Calls().empty());

    device.Set(kAE, 1);
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    EXPECT_TRUE(messages.empty());
    // The probe finds the first candidate; the start switches the crossline
    // and automatic exposure off, then the saved controls are applied.
    const std::vector<std::string> start = device.Calls();
    const std::vector<std::string> expected = {"Get 1 7",    "Set 1 4 0",  "Set 1 15 0",   "Set 1 14 0",
                                               "Set 1 0 0",  "Set 1 4 1",  "Set 1 15 320", "Set 1 14 240",
                                               "Set 1 23 1", "Set 1 22 1", "Set 1 3 1",    "Set 1 2 1"};
    EXPECT_EQ(start, expected);
    EXPECT_EQ(device.Get(kAE), 0);

    // Setters go to the device and answer its result; getters read it.
    EXPECT_EQ(cam.SetBW(0), 0);
    EXPECT_EQ(device.Get(kBW), 0);
    device.Set(kLightAVG, 0);
    EXPECT_EQ(cam.GetLightAVG(), 0);
    device.Set(kVideoZoom, 0);
    EXPECT_EQ(cam.GetVideoZoom(), 0);
    device.Set(kClearView, 0);
    EXPECT_EQ(cam.GetClearView(), 0);
    EXPECT_EQ(cam.GetCrossLineEnabled(), 1);
    EXPECT_EQ(cam.SetAutoExposure(), 0);
    EXPECT_EQ(device.Get(kAE), 1);
    EXPECT_EQ(cam.SetAutoWhiteBalance(), 0);
    EXPECT_EQ(device.Get(kAWB), 1);
    cam.SetFinBadPNT(1);
    EXPECT_EQ(device.Get(kBadPixels), 1);
    cam.EnableCrossLine(0, 100, 50);
    EXPECT_EQ(cam.GetCrossLineEnabled(), 0);
    int on = -5, x = -5, y = -5;
    cam.GetCrosslineStatus(&on, &x, &y);
    EXPECT_EQ(std::make_tuple(on, x, y), std::make_tuple(0, 100, 50));

    // The device's exposure, gains and crossline position are saved with the controls.
    device.Set(kExposure, 700);
    device.Set(kGainR, 11);
    device.Set(kGainG, 12);
    device.Set(kGainB, 13);
    cam.StopPreview();
    EXPECT_EQ(Read(L"Video", L"Exposure"), L"700");
    EXPECT_EQ(Read(L"Video", L"Gain_R"), L"11");
    EXPECT_EQ(Read(L"Video", L"Gain_G"), L"12");
    EXPECT_EQ(Read(L"Video", L"Gain_B"), L"13");
    EXPECT_EQ(Read(L"Video", L"Crossline_x"), L"100");
    EXPECT_EQ(Read(L"Video", L"Crossline_y"), L"50");
    EXPECT_EQ(Read(L"Video", L"Crossline"), L"0");
    EXPECT_EQ(Read(L"Video", L"BW"), L"0");
    EXPECT_EQ(Read(L"Video", L"AVG"), L"0");

    // Closed again: the stored values, and no call.
    device.Reset();
    device.Set(kBW, 1);
    EXPECT_EQ(cam.GetBW(), 0);
    EXPECT_EQ(cam.SetVideoZoom(1), 0);
    EXPECT_EQ(cam.GetCrossLineEnabled(), 0);
    EXPECT_TRUE(device.Calls().empty());
}

// Types 2 and 5 (the two sets with 56 47 41) are the one group the view marks.
TEST_F(DShowCameraTest, DeviceTypeGroupFollowsTheSetTheDeviceAnswers) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    dshow_fixtures::SourceProperties device;
    ASSERT_TRUE(device.Loaded());
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    const struct {
        DWORD set;
        int group;
    } cases[] = {{23, 1}, {24, 1}, {1, 0}, {4, 0}, {42, 0}, {0, 0}};
    for (const auto& c : cases) {
        ASSERT_TRUE(dshow_fixtures::SetSourceSwitch(L"PropertySet", c.set));
        EXPECT_EQ(cam.CheckDeviceType(), c.group) << "set " << c.set;
    }
}

// The crosshair list the crosshair dialog edits is burnt into the frames the
// preview shows, stills included (the vertical line at column OffX, the
// horizontal one at row height - OffY of the bottom-up frame), and is kept
// in the shared "CROSSLINE" sections: loaded at the start, saved at the stop.
TEST_F(DShowCameraTest, CrosshairListIsDrawnIntoThePreviewAndKept) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    Write(L"CROSSLINE", L"Total", L"2");
    const struct {
        const wchar_t* section;
        const wchar_t* draw;
        const wchar_t* x;
        const wchar_t* y;
        const wchar_t* red;
        const wchar_t* blue;
    } stored[] = {{L"CROSSLINEINFO_0", L"1", L"100", L"50", L"255", L"0"},
                  {L"CROSSLINEINFO_1", L"0", L"300", L"200", L"0", L"255"}};
    for (const auto& entry : stored) {
        Write(entry.section, L"Index", entry.section[14] == L'0' ? L"1" : L"2");
        Write(entry.section, L"IsDraw", entry.draw);
        Write(entry.section, L"OffX", entry.x);
        Write(entry.section, L"OffY", entry.y);
        Write(entry.section, L"R", entry.red);
        Write(entry.section, L"G", L"0");
        Write(entry.section, L"B", entry.blue);
    }
    Write(L"Video", L"ImgType", L"1");
    CDShowCamera& cam = Make();
    ASSERT_EQ(cam.GetCrossLineCount(), 2);
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    ASSERT_EQ(cam.SaveSnapshot(), 1);
    ASSERT_TRUE(WaitFor([] { return !notices.empty(); }));
    const fs::path first = cam.GetLastShotPath();
    const std::array<int, 3> red{0, 0, 255};
    EXPECT_EQ(BitmapPixel(first, 100, 7), red);    // the vertical line
    EXPECT_EQ(BitmapPixel(first, 613, 430), red);  // the horizontal line
    EXPECT_NE(BitmapPixel(first, 300, 7), (std::array<int, 3>{255, 0, 0}));  // the hidden entry

    // The dialog's edits reach the next frames and are saved at the stop.
    cam.SetCrossLine(1, 2, 1, 1, 0, 0, 0xFF0000);  // drawn, centred, blue
    notices.clear();
    ASSERT_EQ(cam.SaveSnapshot(), 1);
    ASSERT_TRUE(WaitFor([] { return !notices.empty(); }));
    const std::array<int, 3> blue{255, 0, 0};
    EXPECT_EQ(BitmapPixel(cam.GetLastShotPath(), 320, 11), blue);
    EXPECT_EQ(BitmapPixel(cam.GetLastShotPath(), 5, 240), blue);
    EXPECT_EQ(BitmapPixel(cam.GetLastShotPath(), 100, 7), red);
    cam.StopPreview();
    EXPECT_EQ(Read(L"CROSSLINE", L"Total"), L"2");
    EXPECT_EQ(Read(L"CROSSLINEINFO_1", L"IsDraw"), L"1");
    EXPECT_EQ(Read(L"CROSSLINEINFO_1", L"IsCenter"), L"1");
    EXPECT_EQ(Read(L"CROSSLINEINFO_1", L"B"), L"255");
    EXPECT_EQ(Read(L"CROSSLINEINFO_0", L"OffX"), L"100");
}

// A device without the extension sets: the start says that automatic
// exposure could not be reset and goes on; the stored controls are kept,
// none is saved as -1, and nothing of the device is written.
TEST_F(DShowCameraTest, DeviceWithoutExtensionPropertiesKeepsTheStoredControls) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    ASSERT_TRUE(dshow_fixtures::SetSourceSwitch(L"PropertySet", 0));
    dshow_fixtures::SourceProperties device;
    ASSERT_TRUE(device.Loaded());
    Write(L"Video", L"BW", L"1");
    Write(L"Video", L"Crossline_x", L"30");
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    EXPECT_EQ(messages, std::vector<UINT>{47051});
    const std::vector<std::string> calls = device.Calls();
    ASSERT_EQ(calls.size(), 42u);  // the probe reads property 7 of every candidate, nothing more
    EXPECT_EQ(calls.front(), "Get 1 7");
    EXPECT_EQ(calls.back(), "Get 42 7");
    EXPECT_EQ(cam.GetBW(), 1);
    EXPECT_EQ(cam.GetVideoZoom(), 0);
    EXPECT_EQ(cam.GetCrossLineEnabled(), 0);
    EXPECT_NE(cam.SetBW(0), 0);  // refused
    EXPECT_EQ(cam.GetBW(), 0);
    cam.StopPreview();
    EXPECT_EQ(Read(L"Video", L"BW"), L"0");
    EXPECT_EQ(Read(L"Video", L"Exposure"), L"(none)");
    EXPECT_EQ(Read(L"Video", L"Crossline_x"), L"30");
}

// Video 640 x 480, snapshot 1280 x 1024, exposure 320: the still is taken
// at 1280 x 1024 with exposure 160, then both come back; its name is the
// automatic one even in user-naming mode, whose pending name stays.
TEST_F(DShowCameraTest, StillAtSnapshotSizeScalesTheExposureAndComesBack) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    dshow_fixtures::SourceProperties device;
    ASSERT_TRUE(device.Loaded());
    Write(L"Video", L"ShoutWidth", L"1280");
    Write(L"Video", L"ShoutHeight", L"1024");
    Write(L"Video", L"ImgType", L"1");
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    ASSERT_EQ(PinFormat(cam), std::make_pair(640, 480));
    device.Set(kExposure, 320);
    cam.SetNameType(1);
    cam.SetShotName(L"B7");

    ASSERT_EQ(cam.CaptureStillAtSize(), 1);
    EXPECT_EQ(device.Get(kExposure), 160);
    EXPECT_EQ(PinFormat(cam), std::make_pair(1280, 1024));
    EXPECT_EQ(cam.GetVideoSize().width, 640);
    const fs::path still = cam.GetLastShotPath();
    EXPECT_EQ(still.filename().wstring().rfind(L"Shot_", 0), 0u);
    EXPECT_EQ(still.extension(), L".bmp");
    ASSERT_TRUE(WaitFor([] { return !notices.empty(); }));
    EXPECT_EQ(notices, std::vector<std::wstring>{still.wstring()});
    EXPECT_EQ(BitmapSize(still), std::make_pair(1280, 1024));

    cam.SetStillExposure();
    EXPECT_EQ(device.Get(kExposure), 320);
    EXPECT_EQ(PinFormat(cam), std::make_pair(640, 480));
    EXPECT_EQ(cam.IsVideoOpen(), 1);
    // The pending name is the next ordinary still's.
    ASSERT_EQ(cam.SaveSnapshot(), 1);
    EXPECT_EQ(fs::path(cam.GetLastShotPath()).filename(), L"B7.bmp");
    ASSERT_TRUE(WaitFor([] { return notices.size() == 2; }));
    EXPECT_EQ(BitmapSize(folder / L"B7.bmp"), std::make_pair(640, 480));
}

TEST_F(DShowCameraTest, StillAtTheVideoSizeKeepsFormatAndExposure) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    dshow_fixtures::SourceProperties device;
    ASSERT_TRUE(device.Loaded());
    Write(L"Video", L"ShoutWidth", L"640");
    Write(L"Video", L"ShoutHeight", L"480");
    Write(L"Video", L"ImgType", L"1");
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    device.Set(kExposure, 320);
    ASSERT_EQ(cam.CaptureStillAtSize(), 1);
    EXPECT_EQ(device.Get(kExposure), 320);
    EXPECT_EQ(PinFormat(cam), std::make_pair(640, 480));
    ASSERT_TRUE(WaitFor([] { return !notices.empty(); }));
    EXPECT_EQ(BitmapSize(notices[0]), std::make_pair(640, 480));
}

// The snapshot size is an entry of the device's list: the one asked for, else the largest.
TEST_F(DShowCameraTest, SnapshotSizeIsTakenFromTheDevicesFormats) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    const struct {
        int width, height;
        int storedWidth, storedHeight;
    } cases[] = {{640, 480, 640, 480}, {800, 600, 800, 600}, {1024, 768, 1280, 1024}, {0, 0, 1280, 1024}};
    for (const auto& c : cases) {
        cam.SaveSnapshotSize(L"chosen", c.width, c.height);
        EXPECT_EQ(cam.GetSnapshotSizeSetting().width, c.storedWidth) << c.width;
        EXPECT_EQ(cam.GetSnapshotSizeSetting().height, c.storedHeight) << c.width;
        EXPECT_EQ(Read(L"Video", L"ShoutWidth"), std::to_wstring(c.storedWidth));
        EXPECT_EQ(Read(L"Video", L"ShoutHeight"), std::to_wstring(c.storedHeight));
    }
}

// Timer 2 of the view drives timed stills; refused while the video is closed.
TEST_F(DShowCameraTest, TimedCaptureRunsTheViewsTimerWhilePreviewing) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    CDShowCamera& cam = Make();
    EXPECT_EQ(cam.SetTimedCapture(1, 2.5f), 0);
    EXPECT_EQ(cam.IsTimedCapture(), 0);

    static std::vector<std::chrono::steady_clock::time_point> ticks;
    ticks.clear();
    static WNDPROC staticProc = nullptr;
    staticProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND window, UINT message, WPARAM w, LPARAM l) -> LRESULT {
            if (message == WM_TIMER && w == kTimedCaptureTimerId) ticks.push_back(std::chrono::steady_clock::now());
            return CallWindowProcW(staticProc, window, message, w, l);
        })));
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(cam.SetTimedCapture(1, 2.5f), 1);
    EXPECT_EQ(cam.IsTimedCapture(), 1);
    ASSERT_TRUE(WaitFor([] { return !ticks.empty(); }, 15s));
    EXPECT_GE(ticks[0] - started, 2400ms);
    // Each tick's still gets a name of its own.
    ASSERT_EQ(cam.SaveSnapshot(), 1);
    const std::wstring first = cam.GetLastShotPath();
    ASSERT_TRUE(WaitFor([] { return notices.size() == 1; }));
    ASSERT_TRUE(WaitFor([] { return ticks.size() >= 2; }, 15s));
    ASSERT_EQ(cam.SaveSnapshot(), 1);
    EXPECT_NE(cam.GetLastShotPath(), first);
    ASSERT_TRUE(WaitFor([] { return notices.size() == 2; }));
    EXPECT_TRUE(fs::exists(first));
    EXPECT_TRUE(fs::exists(cam.GetLastShotPath()));

    EXPECT_EQ(cam.SetTimedCapture(0, 0.0f), 1);
    EXPECT_EQ(cam.IsTimedCapture(), 0);
    cam.StopPreview();
    SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticProc));
}

// A resolution chosen from the list is the device's capture size at the next start.
TEST_F(DShowCameraTest, ChosenResolutionIsStoredUnderPinAndOpenedAgain) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    cam.SetResolution(3);  // outside the list: nothing changes
    EXPECT_EQ(cam.GetVideoSize().width, 640);
    cam.SetResolution(2);
    EXPECT_EQ(cam.GetVideoSize().width, 800);
    EXPECT_EQ(cam.GetVideoSize().height, 600);
    EXPECT_EQ(Read(L"Pin", L"Width"), L"800");
    EXPECT_EQ(Read(L"Pin", L"Height"), L"600");
    EXPECT_EQ(cam.IsVideoOpen(), 1);
    EXPECT_TRUE(WaitFor([&] { return cam.GetFrameRate() > 0; }));
    cam.StopPreview();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    EXPECT_EQ(PinFormat(cam), std::make_pair(800, 600));
    EXPECT_EQ(cam.GetVideoSize().width, 800);
}

// The renderer's window in the view: the stretched layout, or the video's
// own size centred once stretching is off.
TEST_F(DShowCameraTest, RendererSitsWhereTheLayoutPutsTheVideo) {
    dshow_fixtures::TestSources sources({L"Camera source"});
    ASSERT_TRUE(sources.Registered());
    CDShowCamera& cam = Make();
    cam.StartPreview(view);
    ASSERT_EQ(cam.IsVideoOpen(), 1);
    RECT client{};
    GetClientRect(view, &client);
    auto rendererPlacement = [&] {
        const HWND child = GetWindow(view, GW_CHILD);
        RECT box{};
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, view, reinterpret_cast<POINT*>(&box), 2);
        return VideoPlacement{box.left, box.top, box.right - box.left, box.bottom - box.top};
    };
    const VideoPlacement stretched = StretchedLayout({640, 480}, {client.right, client.bottom});
    const VideoPlacement shown = rendererPlacement();
    EXPECT_EQ(std::make_tuple(shown.x, shown.y, shown.width, shown.height),
              std::make_tuple(stretched.x, stretched.y, stretched.width, stretched.height));
    EXPECT_EQ(cam.IsStretched(), 1);

    cam.FitVideoWindow(0);
    EXPECT_EQ(cam.IsStretched(), 0);
    const VideoPlacement own = OneToOneLayout({640, 480}, {client.right, client.bottom});
    const VideoPlacement centred = rendererPlacement();
    EXPECT_EQ(std::make_tuple(centred.x, centred.y, centred.width, centred.height),
              std::make_tuple(own.x, own.y, 640, 480));
    EXPECT_EQ(cam.GetVideoPos().x, own.x);
    EXPECT_EQ(cam.GetVideoWindowSize().width, 640);
}

// The compressor choice is kept in [Video] and reported by GetStatusC.
TEST_F(DShowCameraTest, CompressorChoiceIsStoredAndReported) {
    CDShowCamera& cam = Make();
    EXPECT_EQ(cam.GetStatusC(), 0);
    cam.SetCompressorChooser([](int, const std::wstring&) {
        return std::optional<std::pair<int, std::wstring>>({1, L"Cinepak Video codec"});
    });
    cam.SelectAviCompressor();
    EXPECT_EQ(cam.GetStatusC(), 1);
    EXPECT_EQ(Read(L"Video", L"bCompressor"), L"1");
    EXPECT_EQ(Read(L"Video", L"SCompressor"), L"Cinepak Video codec");
    cam.SetCompressorChooser([](int, const std::wstring&) { return std::optional<std::pair<int, std::wstring>>(); });
    cam.SelectAviCompressor();  // Cancel keeps the choice
    EXPECT_EQ(cam.GetStatusC(), 1);
    EXPECT_EQ(Read(L"Video", L"bCompressor"), L"1");
}

}  // namespace
