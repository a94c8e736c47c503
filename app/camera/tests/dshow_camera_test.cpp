// The DirectShow camera over the test source registered in the test prefix:
// preview into the view and the graph's running-object-table entry, stills
// named by the user, recording at the frame rate of [TPF], stills refused
// while recording, a compressor that cannot take the frames, and a capture
// pin without dropped-frame counters. The recording goes to
// DSHOW_CAMERA_FILES for ffprobe.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dshow_camera.h"
#include "dshow_fixtures/fixture_registration.h"
#include "snapshot_message_pump.h"
#include "temp_folder_test.h"

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

}  // namespace
