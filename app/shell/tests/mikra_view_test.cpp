// The real main frame and view in this process with a camera double: the
// video commands move the view between picture, video and recording, the
// snapshot commands name and time their shots, the status bar shows the
// video, and the background picture is painted while DrawAD is set.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "calibration_store.h"
#include "fake_camera.h"
#include "ini_profile.h"
#include "language_library.h"
#include "main_frame.h"
#include "mikra_app.h"
#include "mikra_doc.h"
#include "mikra_view.h"
#include "modal_script.h"
#include "module_folder.h"
#include "picture.h"
#include "frame_with_camera_double.h"
#include "resource.h"

namespace {

using testing_support::ModalScript;

class MikraViewTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(chinese_.Loaded());
        ASSERT_TRUE(LoadFrameWithCameraDouble(
            frame_, document_, {{L"320 * 240", 320, 240}, {L"640 * 480", 640, 480}, {L"1280 * 960", 1280, 960}}));
        view_ = dynamic_cast<CMikraView*>(frame_.GetActiveView());
        ASSERT_NE(view_, nullptr);
        view_->OnInitialUpdate();
        camera_ = dynamic_cast<FakeCamera*>(view_->GetCamera());
        ASSERT_NE(camera_, nullptr);
        camera_->shotFolder = folder_.wstring() + L"\\";
        camera_->videoFolder = camera_->shotFolder;
    }
    void TearDown() override { frame_.DestroyWindow(); }

    void Command(UINT id) { SendMessageW(frame_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    bool ToolBarsShown(bool main, bool measure, bool picture) {
        return frame_.IsToolBarShown(ViewToolBar::main) == main &&
               frame_.IsToolBarShown(ViewToolBar::measure) == measure &&
               frame_.IsToolBarShown(ViewToolBar::picture) == picture;
    }
    SIZE ScrollSizes() const { return view_->GetTotalSize(); }
    void SetInterval(const wchar_t* text) { SetWindowTextW(frame_.GetToolbarCombo().GetSafeHwnd(), text); }

    LanguageLibrary chinese_{1};
    CMikraApp app_;
    CMikraDoc document_;
    CMainFrame frame_;
    CMikraView* view_ = nullptr;
    FakeCamera* camera_ = nullptr;
    std::filesystem::path folder_ = std::filesystem::temp_directory_path();
};

// The toolbar combos as the frame fills them, and a calibration chosen in
// the measurement toolbar's combo reaching the view's current picture.
TEST_F(MikraViewTest, TheCalibrationComboAppliesItsChoiceToThePicture) {
    EXPECT_EQ(frame_.GetParamFileSelection(), -1);
    CScaleCombo& combo = frame_.GetScaleCombo();
    EXPECT_EQ(combo.GetItemText(0), L"Default");
    EXPECT_EQ(combo.GetCurSel(), 0);

    const std::filesystem::path scale = folder_ / L"vizcam_frame_combo_scale.ini";
    std::filesystem::remove(scale);
    {
        IniProfile file(scale.wstring());
        CalibrationStore store(file);
        store.Save(u"a", 0.00025f, u"mm", 10, 10);
        store.Save(u"b", 0.0005f, u"mm", 10, 10);
    }
    combo.m_strScalePath = scale.wstring();
    frame_.RefillCalibrations();
    ASSERT_EQ(combo.GetCount(), 3);

    const std::filesystem::path picturePath = folder_ / L"vizcam_frame_combo.bmp";
    CPicture picture(16, 12, 24, kPictureBmp);
    ASSERT_TRUE(picture.Save(picturePath, kPictureBmp));
    view_->OpenPicture(picturePath.wstring());
    view_->ShowPicture(picturePath.wstring());
    CImageController* current = view_->GetCurrentController();
    ASSERT_TRUE(current->HasWindow());

    combo.SetCurSel(2);
    SendMessageW(GetParent(combo.GetSafeHwnd()), WM_COMMAND, MAKEWPARAM(IDC_SCALE_COMBO, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo.GetSafeHwnd()));
    EXPECT_EQ(current->printScale, 0.0005f);
    EXPECT_EQ(current->printUnitText, u"mm");

    // A picture's calibration selects its own entry, not the first one
    // within 0.001 of it; selecting announces nothing.
    combo.SetCurSel(0);
    frame_.SelectCalibration(0.0005f, L"mm");
    EXPECT_EQ(combo.GetCurSel(), 2);
    frame_.SelectCalibration(0.00025f, L"mm");
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(current->printScale, 0.0005f);
    view_->RemovePicture(picturePath.wstring(), false);
    std::filesystem::remove(picturePath);
    std::filesystem::remove(scale);
}

// The devices the view discovered stand in the browser bar's device tree,
// the first one selected and only the families with devices shown.
TEST_F(MikraViewTest, TheDeviceTreeListsTheDiscoveredDevices) {
    CDeviceTree& tree = frame_.GetBrowserBar().GetDeviceTree();
    EXPECT_EQ(tree.GetSelectedCategory(), 1);
    EXPECT_EQ(tree.GetSelectedDevice(), (DeviceTreeEntry{L"Capture", 0}));
    for (int category = 2; category <= 5; ++category) {
        EXPECT_EQ(tree.Root(category), nullptr) << category;
    }
    ASSERT_NE(tree.Root(1), nullptr);
    const auto first = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree.GetSafeHwnd(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(tree.Root(1))));
    wchar_t text[64] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = first;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tree.GetSafeHwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, L"1. Capture");
}

TEST_F(MikraViewTest, VideoAndRecordingMoveTheViewBetweenItsStates) {
    ASSERT_TRUE(ToolBarsShown(true, true, true));
    Command(ID_VIDEO_OPEN);
    ASSERT_TRUE(camera_->videoOpen);
    EXPECT_TRUE(ToolBarsShown(false, false, false));
    ASSERT_EQ(frame_.GetResolutionCombo().GetCount(), 3);
    EXPECT_EQ(frame_.GetResolutionCombo().GetItemText(frame_.GetResolutionCombo().GetCurSel()), L"640 * 480");
    EXPECT_EQ(ScrollSizes().cx, 640);
    EXPECT_EQ(ScrollSizes().cy, 480);

    Command(ID_VIDEO_RECORD);
    EXPECT_TRUE(camera_->recording);
    EXPECT_TRUE(ToolBarsShown(false, false, false));
    Command(ID_VIDEO_RECORD_STOP);
    EXPECT_FALSE(camera_->recording);
    // Video still runs: the toolbars stay hidden and the sizes stay.
    EXPECT_TRUE(ToolBarsShown(false, false, false));
    EXPECT_EQ(ScrollSizes().cx, 640);

    Command(ID_VIDEO_CLOSE);
    EXPECT_FALSE(camera_->videoOpen);
    EXPECT_TRUE(ToolBarsShown(true, true, true));
    EXPECT_EQ(frame_.GetResolutionCombo().GetCount(), 0);
    EXPECT_EQ(ScrollSizes().cx, 0);
    EXPECT_EQ(ScrollSizes().cy, 0);
}

TEST_F(MikraViewTest, RecordingAloneHidesThePictureToolbarsUntilItStops) {
    camera_->videoSize = {1280, 960};
    Command(ID_VIDEO_RECORD);
    ASSERT_TRUE(camera_->recording);
    EXPECT_TRUE(ToolBarsShown(false, false, false));
    EXPECT_EQ(frame_.GetResolutionCombo().GetItemText(frame_.GetResolutionCombo().GetCurSel()), L"1280 * 960");
    EXPECT_EQ(ScrollSizes().cx, 1280);
    Command(ID_VIDEO_RECORD_STOP);
    EXPECT_TRUE(ToolBarsShown(true, true, true));
    EXPECT_EQ(frame_.GetResolutionCombo().GetCount(), 0);
    EXPECT_EQ(ScrollSizes().cx, 0);
}

TEST_F(MikraViewTest, AFailedStartStaysInPictureState) {
    camera_->startSucceeds = false;
    for (UINT command : {ID_VIDEO_OPEN, ID_VIDEO_RECORD}) {
        // A recording that cannot start is told.
        std::wstring told;
        ModalScript script({[&](HWND box) {
            told = ModalScript::MessageText(box);
            EndDialog(box, IDOK);
        }});
        Command(command);
        EXPECT_EQ(told, command == ID_VIDEO_RECORD ? L"\u65e0\u6cd5\u5f00\u59cb\u5f55\u50cf\u3002" : L"") << command;
        EXPECT_TRUE(ToolBarsShown(true, true, true)) << command;
        EXPECT_EQ(frame_.GetResolutionCombo().GetCount(), 0) << command;
        EXPECT_EQ(ScrollSizes().cx, 0) << command;
        EXPECT_EQ(ScrollSizes().cy, 0) << command;
        EXPECT_EQ(view_->GetTargetController(), view_->GetCurrentController());
    }
}

TEST_F(MikraViewTest, StretchedVideoKeepsNoScrollSizes) {
    camera_->stretched = 1;
    Command(ID_VIDEO_OPEN);
    ASSERT_TRUE(camera_->videoOpen);
    EXPECT_EQ(ScrollSizes().cx, 0);
    EXPECT_EQ(ScrollSizes().cy, 0);
}

TEST_F(MikraViewTest, TheTemporaryNameOnlyInUserNamingOutsideTimedCapture) {
    struct Case {
        int nameType;
        int timed;
        std::wstring name;
    };
    const Case cases[] = {{1, 0, L"ShotPictemp_0"}, {0, 0, L"Shot_"}, {1, 1, L"Shot_"}};
    Command(ID_VIDEO_OPEN);
    ASSERT_TRUE(camera_->videoOpen);
    for (const Case& c : cases) {
        camera_->nameType = c.nameType;
        camera_->timedCapture = c.timed;
        camera_->openAfterSave = 0;
        Command(ID_VIDEO_SNAPSHOT);
        ASSERT_FALSE(camera_->savedNames.empty());
        EXPECT_EQ(camera_->savedNames.back().substr(0, c.name.size()), c.name) << c.nameType << c.timed;
        EXPECT_EQ(camera_->openAfterSave, 1);
    }
    camera_->timedCapture = 0;
    // Timer 2 is the timed snapshot.
    const std::size_t before = camera_->savedNames.size();
    SendMessageW(view_->GetSafeHwnd(), WM_TIMER, 2, 0);
    EXPECT_EQ(camera_->savedNames.size(), before + 1);
    // Without video no snapshot is taken.
    Command(ID_VIDEO_CLOSE);
    Command(ID_VIDEO_SNAPSHOT);
    SendMessageW(view_->GetSafeHwnd(), WM_TIMER, 2, 0);
    EXPECT_EQ(camera_->savedNames.size(), before + 1);
}

TEST_F(MikraViewTest, TheSnapshotIsWrittenAndAnnounced) {
    // The double writes a real file and announces it to the main window.
    camera_->announceTo = frame_.GetSafeHwnd();
    Command(ID_VIDEO_OPEN);
    Command(ID_VIDEO_SNAPSHOT);
    ASSERT_EQ(camera_->savedNames.size(), 1u);
    const std::filesystem::path saved = folder_ / (camera_->savedNames[0] + L".bmp");
    EXPECT_TRUE(std::filesystem::exists(saved));
    // The frame opened it: the browser's loader reads it for its thumbnail.
    ASSERT_TRUE(WaitForBrowserThumbnails(frame_));
    std::filesystem::remove(saved);
}

TEST_F(MikraViewTest, TheIntervalBoxIsCheckedBeforeTimedCapture) {
    struct Case {
        const wchar_t* text;
        const wchar_t* message;
    };
    const Case refused[] = {{L"", L"请输入定时间隔!"},       {L"0", L"非法的定时间隔!"},
                            {L"-1", L"非法的定时间隔!"},     {L"nan", L"非法的定时间隔!"},
                            {L"0.0001", L"非法的定时间隔!"}, {L"1e12", L"非法的定时间隔!"}};
    Command(ID_VIDEO_OPEN);
    ASSERT_TRUE(camera_->videoOpen);
    for (const Case& c : refused) {
        SetInterval(c.text);
        std::wstring shown;
        std::wstring caption;
        ModalScript script({[&](HWND box) {
            shown = ModalScript::MessageText(box);
            caption = ModalScript::Text(box);
            EndDialog(box, IDOK);
        }});
        Command(ID_VIDEO_TIMED_CAPTURE);
        EXPECT_TRUE(script.Finished()) << c.text;
        EXPECT_NE(shown.find(c.message), std::wstring::npos) << c.text;
        EXPECT_EQ(caption, L"Vizcam");
        EXPECT_EQ(camera_->timedCapture, 0) << c.text;
    }
    SetInterval(L"2.5");
    Command(ID_VIDEO_TIMED_CAPTURE);
    EXPECT_EQ(camera_->timedCapture, 1);
    EXPECT_FLOAT_EQ(camera_->timedSeconds, 2.5f);
    // Again: timed capture stops; closing the video stops it too.
    Command(ID_VIDEO_TIMED_CAPTURE);
    EXPECT_EQ(camera_->timedCapture, 0);
    Command(ID_VIDEO_TIMED_CAPTURE);
    Command(ID_VIDEO_CLOSE);
    EXPECT_EQ(camera_->timedCapture, 0);
}

TEST_F(MikraViewTest, TheStatusBarShowsFrameRateAndResolution) {
    CStatusBar& status = frame_.GetStatusBar();
    Command(ID_VIDEO_OPEN);
    SendMessageW(view_->GetSafeHwnd(), WM_TIMER, 3, 0);
    EXPECT_EQ(status.GetPaneText(2), L"帧率：30 F/s");
    EXPECT_EQ(status.GetPaneText(3), L"分辨率：640*480");
    Command(ID_VIDEO_CLOSE);
    EXPECT_EQ(status.GetPaneText(2), L"");
    EXPECT_EQ(status.GetPaneText(3), L"");
}

// "img\AD.jpg" beside the program while the test runs.
class BackgroundPicture {
public:
    BackgroundPicture(int width, int height) {
        std::filesystem::create_directories(folder_);
        CPicture picture(width, height, 24, kPictureJpeg);
        for (int row = 0; row < height; ++row) {
            std::uint8_t* bits = picture.GetBits(row);
            for (int x = 0; x < width; ++x) {
                bits[x * 3] = 0;
                bits[x * 3 + 1] = 0;
                bits[x * 3 + 2] = 255;
            }
        }
        saved_ = picture.Save(folder_ / L"AD.jpg", kPictureJpeg);
    }
    ~BackgroundPicture() { std::filesystem::remove_all(folder_); }
    bool Saved() const { return saved_; }

private:
    std::filesystem::path folder_ = std::filesystem::path(GetModuleFolder()) / L"img";
    bool saved_ = false;
};

// Erases the view's background into a DIB of the view's client size.
class ErasedView {
public:
    explicit ErasedView(HWND view) {
        GetClientRect(view, &client_);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = client_.right;
        info.bmiHeader.biHeight = -client_.bottom;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        SelectObject(dc_, bitmap_);
        SendMessageW(view, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc_), 0);
        GdiFlush();
    }
    ~ErasedView() {
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    int Width() const { return client_.right; }
    int Height() const { return client_.bottom; }
    // 0x00RRGGBB
    std::uint32_t Pixel(int x, int y) const { return bits_[y * client_.right + x] & 0xFFFFFF; }

private:
    RECT client_{};
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

bool IsRed(std::uint32_t pixel) { return (pixel >> 16) > 200 && ((pixel >> 8) & 0xFF) < 60 && (pixel & 0xFF) < 60; }
constexpr std::uint32_t kGrey = 0xC0C0C0;

TEST_F(MikraViewTest, TheBackgroundPictureIsCentredAndScaledWhileDrawADIsSet) {
    RECT client{};
    GetClientRect(view_->GetSafeHwnd(), &client);
    ASSERT_GT(client.right, 40);
    ASSERT_GT(client.bottom, 40);
    // Twice as wide as the view and as high: drawn at half size, centred vertically.
    BackgroundPicture picture(client.right * 2, client.bottom);
    ASSERT_TRUE(picture.Saved());
    app_.m_bDrawAD = 1;
    {
        ErasedView erased(view_->GetSafeHwnd());
        const int w = erased.Width();
        const int h = erased.Height();
        EXPECT_TRUE(IsRed(erased.Pixel(w / 2, h / 2)));
        EXPECT_TRUE(IsRed(erased.Pixel(2, h / 2)));
        EXPECT_TRUE(IsRed(erased.Pixel(w - 3, h / 2)));
        EXPECT_EQ(erased.Pixel(w / 2, h / 8), kGrey);
        EXPECT_EQ(erased.Pixel(w / 2, h - 1 - h / 8), kGrey);
    }
    // Opening the video ends the background picture for the rest of the run.
    Command(ID_VIDEO_OPEN);
    EXPECT_EQ(app_.m_bDrawAD, 0);
    Command(ID_VIDEO_CLOSE);
    ErasedView erased(view_->GetSafeHwnd());
    EXPECT_EQ(erased.Pixel(erased.Width() / 2, erased.Height() / 2), kGrey);
}

TEST_F(MikraViewTest, AMissingBackgroundPictureDrawsOnlyGrey) {
    app_.m_bDrawAD = 1;
    ErasedView erased(view_->GetSafeHwnd());
    EXPECT_EQ(erased.Pixel(erased.Width() / 2, erased.Height() / 2), kGrey);
    EXPECT_EQ(app_.m_bDrawAD, 1);
}

TEST_F(MikraViewTest, LiveMeasuringShowsTheToolbarsAndItsOverlayMovesWithTheFrame) {
    camera_->videoWindowSize = {320, 240};
    camera_->videoPos = {40, 30};
    Command(ID_VIDEO_OPEN);
    ASSERT_TRUE(camera_->videoOpen);
    ASSERT_TRUE(ToolBarsShown(false, false, false));
    Command(ID_LIVE_MEASURE);
    EXPECT_TRUE(ToolBarsShown(true, true, false));
    HWND overlay = view_->GetLiveOverlayWindow();
    ASSERT_TRUE(IsWindowVisible(overlay));
    EXPECT_EQ(GetWindow(overlay, GW_OWNER), frame_.GetSafeHwnd());

    // Over the displayed video, wherever the frame goes.
    const auto placed = [&] {
        POINT corner{0, 0};
        ClientToScreen(view_->GetSafeHwnd(), &corner);
        RECT rect{};
        GetWindowRect(overlay, &rect);
        OffsetRect(&rect, -corner.x, -corner.y);
        return rect;
    };
    const RECT expected{40, 30, 360, 270};
    RECT now = placed();
    EXPECT_TRUE(EqualRect(&now, &expected));
    RECT before{};
    GetWindowRect(overlay, &before);
    RECT frameRect{};
    GetWindowRect(frame_.GetSafeHwnd(), &frameRect);
    SetWindowPos(frame_.GetSafeHwnd(), nullptr, frameRect.left + 30, frameRect.top + 20, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT after{};
    GetWindowRect(overlay, &after);
    EXPECT_EQ(after.left, before.left + 30);
    EXPECT_EQ(after.top, before.top + 20);
    now = placed();
    EXPECT_TRUE(EqualRect(&now, &expected));

    Command(ID_LIVE_MEASURE);
    EXPECT_TRUE(ToolBarsShown(false, false, false));
    EXPECT_FALSE(IsWindowVisible(overlay));
}

}  // namespace

namespace {

const wchar_t* const kRecentFiles = L"Software\\Local AppWizard-Generated Applications\\Mikra\\Recent File List";

std::wstring MenuText(HMENU menu, UINT id) {
    wchar_t text[512] = {};
    return GetMenuStringW(menu, id, text, 512, MF_BYCOMMAND) > 0 ? text : L"<none>";
}

}  // namespace

// The File menu shows the four newest documents, numbered, in place of its
// greyed placeholder, and the list is kept in the registry profile.
TEST_F(MikraViewTest, TheFileMenuListsTheFourNewestDocuments) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kRecentFiles);
    HMENU file = GetSubMenu(GetMenu(frame_.GetSafeHwnd()), 0);
    ASSERT_NE(file, nullptr);
    SendMessageW(frame_.GetSafeHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    EXPECT_EQ(MenuText(file, ID_FILE_MRU_FILE1), L"\u6700\u8fd1\u7684\u6587\u4ef6");
    EXPECT_EQ(GetMenuState(file, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));

    for (const wchar_t* name : {L"a", L"b", L"c", L"B", L"d", L"e & f"}) {
        app_.AddRecentDocument(std::wstring(L"C:\\docs\\") + name + L".kqmk");
    }
    SendMessageW(frame_.GetSafeHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    // "B" is "b" again; "a" dropped out; an ampersand shows as itself.
    EXPECT_EQ(MenuText(file, ID_FILE_MRU_FILE1), L"&1 C:\\docs\\e && f.kqmk");
    EXPECT_EQ(MenuText(file, ID_FILE_MRU_FILE1 + 1), L"&2 C:\\docs\\d.kqmk");
    EXPECT_EQ(MenuText(file, ID_FILE_MRU_FILE1 + 2), L"&3 C:\\docs\\B.kqmk");
    EXPECT_EQ(MenuText(file, ID_FILE_MRU_FILE4), L"&4 C:\\docs\\c.kqmk");
    EXPECT_EQ(MenuText(file, ID_FILE_MRU_FILE4 + 1), L"<none>");
    EXPECT_EQ(GetMenuState(file, ID_FILE_MRU_FILE4, MF_BYCOMMAND) & MF_GRAYED, 0u);

    wchar_t value[512] = {};
    DWORD bytes = sizeof(value);
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kRecentFiles, L"File4", RRF_RT_REG_SZ, nullptr, value, &bytes),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, L"C:\\docs\\c.kqmk");
    RegDeleteTreeW(HKEY_CURRENT_USER, kRecentFiles);
}
