// The UVC video-parameter dialog in both languages over the library double:
// a new colour mode reaches the library at once, the property-page button
// opens the library's page, and the camera's OK and Cancel read the
// properties back or give the stored ones back.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "camera_resource.h"
#include "camera_sdk_families.h"
#include "language_library.h"
#include "library_double_fixture.h"
#include "modal_script.h"
#include "uvc_camera.h"
#include "uvc_video_param_dlg.h"

namespace {

using testing_support::ModalScript;
using Lines = std::vector<std::string>;

// The camera with its library handle in view, so a test can play the
// library's own property page on that device.
class UvcCameraUnderTest : public CUVCCamera {
public:
    using CUVCCamera::CUVCCamera;
    HANDLE Device() const { return m_device; }
};

class UvcVideoParamTest : public LibraryDoubleFixture<CUVCSdkBinding, UvcCameraUnderTest>,
                          public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        ASSERT_TRUE(language_.Loaded());
        LoadDouble(L"sdk_double_uvc.dll", "device.0.type 0x5001\nresolutions 8\n");
    }
    // An opened, previewing camera.
    UvcCameraUnderTest& Previewing() {
        UvcCameraUnderTest& camera = LibraryDoubleFixture::Open(0);
        camera.StartPreview(m_host);
        return camera;
    }
    static void SelectMode(HWND d, int mode) {
        HWND combo = GetDlgItem(d, IDC_UVC_COLOUR_MODE);
        SendMessageW(combo, CB_SETCURSEL, WPARAM(mode), 0);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_UVC_COLOUR_MODE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    // The library's own page changing a property while the dialog is open.
    static void LibrarySets(HANDLE device, int id, int value) { KQUVC().KQ_SetParam(device, id, value); }

    LanguageLibrary language_{GetParam()};
};

TEST_P(UvcVideoParamTest, ColourModeGoesToTheLibraryAtOnceAndCancelKeepsIt) {
    int number = 0;
    HANDLE device = nullptr;
    ASSERT_EQ(KQUVC().KQ_Initialize(L"KQ_DEMO", &number, &device), 0);
    CUVCVideoParamDlg dialog;
    dialog.SetColorModeIndex(0);
    dialog.SetDeviceHandle(device);

    std::wstring caption, label;
    std::vector<std::wstring> items;
    int selected = -1;
    Lines afterChange, afterPage, afterSave;
    std::size_t mark = LogMark();
    ModalScript script({[&](HWND d) {
        caption = ModalScript::Text(d);
        label = ModalScript::ItemText(d, IDC_UVC_PROPERTY_PAGE);
        HWND combo = GetDlgItem(d, IDC_UVC_COLOUR_MODE);
        for (int i = 0; i < int(SendMessageW(combo, CB_GETCOUNT, 0, 0)); ++i) {
            wchar_t text[16] = {};
            SendMessageW(combo, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        selected = int(SendMessageW(combo, CB_GETCURSEL, 0, 0));
        SelectMode(d, 1);
        afterChange = LogFrom(mark);
        mark = LogMark();
        ModalScript::Press(d, IDC_UVC_PROPERTY_PAGE);
        afterPage = LogFrom(mark);
        mark = LogMark();
        ModalScript::Press(d, IDC_UVC_SAVE_PARAMS);
        afterSave = LogFrom(mark);
        mark = LogMark();
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());

    EXPECT_EQ(caption, GetParam() == 1 ? L"\u89c6\u9891\u53c2\u6570\u8bbe\u7f6e" : L"Video Parameters");
    EXPECT_EQ(label, GetParam() == 1 ? L"\u57fa\u672c\u53c2\u6570\u8c03\u8282" : L"Basic Settings");
    EXPECT_EQ(items, (std::vector<std::wstring>{L"YUV2", L"MJPEG"}));
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(afterChange, Lines{"KQ_SetParam h0 17 1"});
    EXPECT_EQ(afterPage, Lines{"KQ_ShowPropertyPage h0 owner"});
    EXPECT_TRUE(afterSave.empty());
    EXPECT_TRUE(LogFrom(mark).empty()) << "the dialog's Cancel undoes nothing";
    EXPECT_EQ(dialog.GetColorModeIndex(), 1);
    EXPECT_EQ(dialog.GetInitialColorModeIndex(), 0);
    KQUVC().KQ_Uninitialize(device);
}

TEST_P(UvcVideoParamTest, OkReadsThePropertiesBackSkippingThoseTheAutomaticModesOwn) {
    struct Case {
        int autoExposure;
        int autoWhiteBalance;
        Lines reads;
    };
    const Case cases[] = {
        {0, 0, {"18", "1", "0", "2", "3", "4", "16", "19", "20", "6", "7", "10", "15", "14", "13"}},
        {1, 0, {"18", "1", "0", "2", "3", "4", "16", "19", "20", "6", "7", "10", "14", "13"}},
        {0, 1, {"18", "1", "0", "2", "3", "4", "16", "19", "20", "7", "10", "15", "14", "13"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.autoExposure * 10 + c.autoWhiteBalance);
        UvcCameraUnderTest& camera = Previewing();
        std::size_t mark = 0;
        ModalScript script({[&](HWND d) {
            HANDLE device = camera.Device();
            SelectMode(d, 1);
            // What the library's page changed: every property a new value.
            for (int id : {18, 1, 0, 2, 3, 4, 16, 6, 7, 10, 15, 14, 13}) {
                LibrarySets(device, id, 100 + id);
            }
            LibrarySets(device, 19, c.autoExposure);
            LibrarySets(device, 20, c.autoWhiteBalance);
            mark = LogMark();
            ModalScript::Press(d, IDOK);
        }});
        EXPECT_EQ(camera.ShowVideoParams(), IDOK);
        EXPECT_TRUE(script.Finished());
        Lines expected;
        for (const std::string& id : c.reads) {
            expected.push_back("KQ_GetParam h0 " + id);
        }
        EXPECT_EQ(LogFrom(mark), expected);
        EXPECT_EQ(camera.GetProperty(17), 1);
        EXPECT_EQ(camera.GetProperty(18), 118);
        EXPECT_EQ(camera.GetProperty(13), 113);
        EXPECT_EQ(camera.GetProperty(19), c.autoExposure);
        EXPECT_EQ(camera.GetProperty(15), c.autoExposure ? 0 : 115);
        EXPECT_EQ(camera.GetProperty(6), c.autoWhiteBalance ? 0 : 106);
        TearDown();
        LoadDouble(L"sdk_double_uvc.dll", "device.0.type 0x5001\nresolutions 8\n");
    }
}

TEST_P(UvcVideoParamTest, CancelGivesTheStoredPropertiesBack) {
    struct Case {
        bool changeMode;
        int autoExposure;
        int autoWhiteBalance;
        Lines writes;  // id and the stored value
    };
    const Case cases[] = {
        // Automatic exposure on: the exposure is not written back.
        {false, 1, 0, {"18 2", "1 3", "0 4", "2 5", "3 6", "4 7", "16 8", "19 1", "20 0", "6 9", "7 10", "10 11",
                       "14 13", "13 14"}},
        {true, 0, 1, {"17 0", "18 2", "1 3", "0 4", "2 5", "3 6", "4 7", "16 8", "19 0", "20 1", "7 10", "10 11",
                      "15 12", "14 13", "13 14"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.changeMode);
        const std::pair<const wchar_t*, int> stored[] = {
            {L"FlipMode", 2},     {L"Contrast", 3}, {L"Brightness", 4}, {L"Hue", 5},
            {L"Saturation", 6},   {L"Sharpness", 7}, {L"Gamma", 8},     {L"WhiteBalance", 9},
            {L"BacklightCompensation", 10}, {L"Zoom", 11}, {L"Expouse", 12}, {L"OffsetX", 13},
            {L"OffsetY", 14},     {L"AEing", c.autoExposure}, {L"AWBing", c.autoWhiteBalance}};
        for (const auto& [key, value] : stored) {
            WriteConfig(L"UVC", key, value);
        }
        UvcCameraUnderTest& camera = Previewing();
        std::size_t mark = 0;
        Lines duringDialog;
        ModalScript script({[&](HWND d) {
            const std::size_t opened = LogMark();
            if (c.changeMode) {
                SelectMode(d, 1);
            }
            duringDialog = LogFrom(opened);
            mark = LogMark();
            ModalScript::Press(d, IDCANCEL);
        }});
        EXPECT_EQ(camera.ShowVideoParams(), IDCANCEL);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(duringDialog, c.changeMode ? Lines{"KQ_SetParam h0 17 1"} : Lines{});
        Lines expected;
        for (const std::string& write : c.writes) {
            expected.push_back("KQ_SetParam h0 " + write);
        }
        EXPECT_EQ(LogFrom(mark), expected);
        EXPECT_EQ(camera.GetProperty(17), 0);
        TearDown();
        LoadDouble(L"sdk_double_uvc.dll", "device.0.type 0x5001\nresolutions 8\n");
    }
}

TEST_P(UvcVideoParamTest, ARefusedReadKeepsTheStoredValue) {
    TearDown();
    LoadDouble(L"sdk_double_uvc.dll", "device.0.type 0x5001\nresolutions 8\nreturn.KQ_GetParam 5\n");
    WriteConfig(L"UVC", L"FlipMode", 2);
    WriteConfig(L"UVC", L"Expouse", 12);
    UvcCameraUnderTest& camera = Previewing();
    ModalScript script({[&](HWND d) {
        LibrarySets(camera.Device(), 18, 3);
        LibrarySets(camera.Device(), 15, 40);
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(camera.ShowVideoParams(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(CountStarting(Log(), "KQ_GetParam h0 "), 15u);
    EXPECT_EQ(camera.GetProperty(18), 2);
    EXPECT_EQ(camera.GetProperty(15), 12);
}

TEST_P(UvcVideoParamTest, NoDialogWithoutARunningPreview) {
    UvcCameraUnderTest& camera = LibraryDoubleFixture::Open(0);
    const std::size_t mark = LogMark();
    EXPECT_EQ(camera.ShowVideoParams(), 0);
    EXPECT_TRUE(LogFrom(mark).empty());
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, UvcVideoParamTest, ::testing::Values(0, 1));

}  // namespace
