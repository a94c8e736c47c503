// The shared bodies of the camera interface: the crosshair list and its
// Config.ini sections, timed capture on the view's timer 2, snapshot and
// recording names, and the device list copy.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "colour_ref.h"
#include "cross_line_settings.h"
#include "fake_camera.h"
#include "private_messages.h"
#include "unique_temp_dir.h"

namespace {

namespace fs = std::filesystem;

// The camera double with the base's own bodies and data within reach.
class BaseCamera : public FakeCamera {
public:
    explicit BaseCamera(HWND view = nullptr) { m_viewWindow = m_hostWindow = view; }
    using CCameraDevice::AnnounceSnapshot;
    using CCameraDevice::m_deviceList;
    using CCameraDevice::m_settings;
    using CCameraDevice::NewRecordingPath;
    using CCameraDevice::NextSnapshotPath;
};

// A window of this thread that records the snapshot paths announced to it.
class AnnouncementWindow {
public:
    AnnouncementWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &AnnouncementWindow::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VizcamCameraBaseTest";
        RegisterClassW(&wc);
        hwnd =
            CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~AnnouncementWindow() { DestroyWindow(hwnd); }

    HWND hwnd = nullptr;
    std::vector<std::wstring> announced;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SNAPSHOT_SAVED) {
            auto* self = reinterpret_cast<AnnouncementWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            self->announced.push_back(*reinterpret_cast<const std::wstring*>(wParam));
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

TEST(CameraBase, CrossLineListGrowsOnlyAndRefusesPositionsOutside) {
    BaseCamera camera;
    EXPECT_EQ(camera.SetCrossLineCount(5), 1);
    EXPECT_EQ(camera.SetCrossLineCount(3), 1);
    EXPECT_EQ(camera.GetCrossLineCount(), 5);
    EXPECT_EQ(camera.SetCrossLine(4, 9, 1, 0, 10, 20, 0xFF123456), 1);
    const std::optional<CrossLineEntry> entry = camera.GetCrossLine(4);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(*entry, (CrossLineEntry{9, 1, 0, 10, 20, 0x123456}));  // the fourth colour byte is always 0
    for (int outside : {-1, 5}) {
        EXPECT_EQ(camera.SetCrossLine(outside, 1, 1, 1, 1, 1, 0), 0) << outside;
        EXPECT_FALSE(camera.GetCrossLine(outside).has_value()) << outside;
    }
}

class CrossLineSettings : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder_);
        ini_ = folder_ / L"Config.ini";
        fs::remove(ini_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void PointAtIni(BaseCamera& camera) { camera.m_settings.m_strPath = ini_.wstring(); }

    fs::path folder_ = testing_support::UniqueTempPath("vz_crossline_settings");
    fs::path ini_;
};

TEST_F(CrossLineSettings, ListSurvivesASaveAndALoadIntoAnotherCamera) {
    BaseCamera saved;
    PointAtIni(saved);
    saved.SetCrossLineCount(3);
    saved.SetCrossLine(0, 1, 1, 1, 0, 0, MakeColourRef(255, 0, 0));
    saved.SetCrossLine(2, 3, 0, 0, -7, 2000, MakeColourRef(1, 2, 3));
    SaveCrossLineSettings(saved.m_settings, saved);
    EXPECT_EQ(GetPrivateProfileIntW(L"CROSSLINE", L"Total", -1, ini_.c_str()), 3);
    EXPECT_EQ(GetPrivateProfileIntW(L"CROSSLINEINFO_2", L"OffY", -1, ini_.c_str()), 2000);
    EXPECT_EQ(GetPrivateProfileIntW(L"CROSSLINEINFO_2", L"B", -1, ini_.c_str()), 3);

    BaseCamera loaded;
    PointAtIni(loaded);
    LoadCrossLineSettings(loaded.m_settings, loaded);
    ASSERT_EQ(loaded.GetCrossLineCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(loaded.GetCrossLine(i), saved.GetCrossLine(i)) << i;
    }
}

TEST_F(CrossLineSettings, StoredTotalIsBoundedAndMissingEntriesReadZero) {
    struct Case {
        const wchar_t* total;
        int entries;
    };
    for (const Case& c : {Case{L"2", 2}, Case{L"-4", 0}, Case{L"2147483647", kMaxStoredCrossLines}}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.total)));
        WritePrivateProfileStringW(L"CROSSLINE", L"Total", c.total, ini_.c_str());
        WritePrivateProfileStringW(L"CROSSLINEINFO_1", L"IsDraw", L"1", ini_.c_str());
        BaseCamera camera;
        PointAtIni(camera);
        LoadCrossLineSettings(camera.m_settings, camera);
        EXPECT_EQ(camera.GetCrossLineCount(), c.entries);
        if (c.entries > 1) {
            EXPECT_EQ(camera.GetCrossLine(0), CrossLineEntry{});
            EXPECT_EQ(camera.GetCrossLine(1)->draw, 1);
        }
    }
}

TEST(CameraBase, TimedCaptureRunsViewTimer2OnlyWithVideoAndASoundInterval) {
    AnnouncementWindow view;
    struct Case {
        int videoOpen;
        float seconds;
        int result;
    };
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {1, 2.5f, 1}, {0, 2.5f, 0},          {1, 0.0f, 0},   {1, -1.0f, 0},
        {1, inf, 0},  {1, std::nanf(""), 0}, {1, 3.0e9f, 0}, {1, 0.1f, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.videoOpen << " " << c.seconds);
        BaseCamera camera(view.hwnd);
        camera.videoOpen = c.videoOpen;
        EXPECT_EQ(camera.CCameraDevice::SetTimedCapture(1, c.seconds), c.result);
        EXPECT_EQ(camera.CCameraDevice::IsTimedCapture(), c.result);
        // KillTimer succeeds only for a running timer.
        EXPECT_EQ(KillTimer(view.hwnd, kTimedCaptureTimerId) != 0, c.result == 1);
    }
    BaseCamera camera(view.hwnd);
    camera.videoOpen = 1;
    ASSERT_EQ(camera.CCameraDevice::SetTimedCapture(1, 1.0f), 1);
    EXPECT_EQ(camera.CCameraDevice::SetTimedCapture(0, 0.0f), 1);
    EXPECT_EQ(camera.CCameraDevice::IsTimedCapture(), 0);
    EXPECT_FALSE(KillTimer(view.hwnd, kTimedCaptureTimerId));
}

TEST(CameraBase, PendingNameIsUsedOnceThenTheAutomaticNameAndTheSavedPathIsAnnounced) {
    AnnouncementWindow main;
    BaseCamera camera(main.hwnd);
    camera.CCameraDevice::SetShotFolder(L"C:\\shots\\");
    camera.CCameraDevice::SetImageType(2);
    camera.CCameraDevice::SetNameType(1);
    camera.CCameraDevice::SetShotName(L"slide 4");
    EXPECT_EQ(camera.NextSnapshotPath(), L"C:\\shots\\slide 4.jpg");
    const std::optional<std::wstring> automatic = camera.NextSnapshotPath();
    ASSERT_TRUE(automatic.has_value());
    EXPECT_EQ(automatic->rfind(L"C:\\shots\\Shot_", 0), 0u) << *automatic;
    EXPECT_EQ(automatic->size(), std::wstring(L"C:\\shots\\Shot_").size() + 18 + 4);
    EXPECT_EQ(camera.CCameraDevice::GetLastShotPath(), *automatic);
    camera.CCameraDevice::SetImageType(4);
    EXPECT_FALSE(camera.NextSnapshotPath().has_value());

    camera.AnnounceSnapshot();
    camera.CCameraDevice::SetOpenAfterSave(0);
    camera.AnnounceSnapshot();
    EXPECT_EQ(main.announced, std::vector<std::wstring>{*automatic});
}

TEST(CameraBase, RecordingPathNeverNamesAnExistingFile) {
    const fs::path folder = testing_support::UniqueTempPath("vz_camera_videos");
    fs::create_directories(folder);
    BaseCamera camera;
    camera.CCameraDevice::SetVideoFolder(folder.wstring() + L"\\");
    std::vector<std::wstring> taken;
    for (int i = 0; i < 3; ++i) {
        const std::optional<std::wstring> path = camera.NewRecordingPath();
        ASSERT_TRUE(path.has_value());
        EXPECT_FALSE(fs::exists(*path)) << *path;
        EXPECT_EQ(fs::path(*path).extension(), L".avi");
        std::ofstream(fs::path(*path)) << "taken";
        taken.push_back(*path);
    }
    EXPECT_NE(taken[0], taken[1]);
    EXPECT_NE(taken[1], taken[2]);
    fs::remove_all(folder);
}

TEST(CameraBase, DeviceListIsAnIndependentCopy) {
    BaseCamera camera;
    camera.m_deviceList = {{L"Camera A", 1}, {L"Camera B", 2}};
    std::vector<CameraDeviceEntry> copy = camera.CCameraDevice::GetDeviceList();
    ASSERT_EQ(copy.size(), 2u);
    copy[0].name = L"changed";
    copy.pop_back();
    const std::vector<CameraDeviceEntry> again = camera.CCameraDevice::GetDeviceList();
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[0].name, L"Camera A");
    EXPECT_EQ(again[1].number, 2);
}

}  // namespace
