// The snapshot-settings and compressor dialogs in both languages: the
// format and naming radio groups and the resolution combo of dialog 151,
// Wine's compressors in dialog 137 with exact-name selection and the combo
// enabled only for the second choice, and the DirectShow and UVC cameras
// storing the compressor chosen in the dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "camera_resource.h"
#include "camera_sdk_families.h"
#include "compressor_dlg.h"
#include "dshow_camera.h"
#include "language_library.h"
#include "library_double_fixture.h"
#include "modal_script.h"
#include "snapshot_settings_dlg.h"
#include "temp_folder_test.h"
#include "uvc_camera.h"

namespace {

using testing_support::ModalScript;

const std::vector<std::wstring> kWineCompressors = {L"Cinepak Video codec", L"Wine MS-RLE video codec",
                                                    L"Wine Video 1 video codec"};

bool Checked(HWND d, int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; }

int Selection(HWND d, int id) { return int(SendMessageW(GetDlgItem(d, id), CB_GETCURSEL, 0, 0)); }

std::vector<std::wstring> Items(HWND d, int id) {
    HWND combo = GetDlgItem(d, id);
    std::vector<std::wstring> items;
    for (int i = 0; i < int(SendMessageW(combo, CB_GETCOUNT, 0, 0)); ++i) {
        std::wstring text(std::size_t(SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(i), 0)), L'\0');
        SendMessageW(combo, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text.data()));
        items.push_back(text);
    }
    return items;
}

void Select(HWND d, int id, int position) {
    HWND combo = GetDlgItem(d, id);
    SendMessageW(combo, CB_SETCURSEL, WPARAM(position), 0);
    SendMessageW(d, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

// A user's click on a radio button: the button checks itself and tells the dialog.
void Click(HWND d, int id) { SendMessageW(GetDlgItem(d, id), BM_CLICK, 0, 0); }

class CameraSettingsDlgTest : public ::testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }
    void SetUp() override { ASSERT_TRUE(language_.Loaded()); }

    LanguageLibrary language_{GetParam()};
};

TEST_P(CameraSettingsDlgTest, SnapshotSettingsShowTheStoredChoicesAndTakeTheChosenSize) {
    const std::vector<CameraResolution> list = {
        {L"640 * 480", 640, 480}, {L"800 * 600", 800, 600}, {L"1280 * 1024", 1280, 1024}};
    struct Case {
        int imageType, nameType;
        CameraResolution size;
        std::vector<bool> formatRadios, namingRadios;
        int comboSelection;
        int clickId;         // 0: none
        int selectPosition;  // -1: none
        int imageChoice, nameChoice;
        CameraResolution result;
    };
    const Case cases[] = {
        // An unknown image type checks no format button.
        {0, 0, {L"800 * 600", 800, 600}, {false, false, false}, {true, false}, 1, 0, -1, -1, 0,
         {L"800 * 600", 800, 600}},
        // A size outside the list selects nothing and comes back unchanged.
        {3, 1, {L"Fixed", 1000, 700}, {false, false, true}, {false, true}, -1, IDC_SHOT_BMP, -1, 0, 1,
         {L"Fixed", 1000, 700}},
        // A new selection takes the record's width and height, the label stays.
        {2, 5, {L"Small", 640, 480}, {false, true, false}, {false, false}, 0, IDC_SHOT_AUTO_NAMES, 2, 1, 0,
         {L"Small", 1280, 1024}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.imageType);
        CSnapshotSettingsDlg dialog(c.imageType, c.nameType);
        dialog.SetSnapshotSize(c.size);
        dialog.SetResolutionList(list);
        std::wstring caption;
        std::vector<std::wstring> labels;
        std::vector<bool> formats, namings;
        int selection = -2;
        ModalScript script({[&](HWND d) {
            caption = ModalScript::Text(d);
            labels = Items(d, IDC_SHOT_RESOLUTION);
            formats = {Checked(d, IDC_SHOT_BMP), Checked(d, IDC_SHOT_JPEG), Checked(d, IDC_SHOT_TIFF)};
            namings = {Checked(d, IDC_SHOT_AUTO_NAMES), Checked(d, IDC_SHOT_USER_NAMES)};
            selection = Selection(d, IDC_SHOT_RESOLUTION);
            if (c.clickId) Click(d, c.clickId);
            if (c.selectPosition >= 0) Select(d, IDC_SHOT_RESOLUTION, c.selectPosition);
            ModalScript::Press(d, IDOK);
        }});
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(caption, GetParam() == 1 ? L"\u622a\u56fe\u8bbe\u7f6e" : L"Snapshot Settings");
        EXPECT_EQ(labels, (std::vector<std::wstring>{L"640 * 480", L"800 * 600", L"1280 * 1024"}));
        EXPECT_EQ(formats, c.formatRadios);
        EXPECT_EQ(namings, c.namingRadios);
        EXPECT_EQ(selection, c.comboSelection);
        EXPECT_EQ(dialog.GetImageTypeChoice(), c.imageChoice);
        EXPECT_EQ(dialog.GetNameTypeChoice(), c.nameChoice);
        EXPECT_EQ(dialog.GetSnapshotSize().label, c.result.label);
        EXPECT_EQ(dialog.GetSnapshotSize().width, c.result.width);
        EXPECT_EQ(dialog.GetSnapshotSize().height, c.result.height);
    }
}

TEST_P(CameraSettingsDlgTest, SnapshotSettingsWithAnEmptyListKeepTheSize) {
    CSnapshotSettingsDlg dialog(1, 0);
    dialog.SetSnapshotSize({L"Fixed", 320, 240});
    int count = -1;
    ModalScript script({[&](HWND d) {
        count = int(SendMessageW(GetDlgItem(d, IDC_SHOT_RESOLUTION), CB_GETCOUNT, 0, 0));
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_SHOT_RESOLUTION, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_SHOT_RESOLUTION)));
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(dialog.GetSnapshotSize().width, 320);
    EXPECT_EQ(dialog.GetSnapshotSize().height, 240);
    EXPECT_EQ(dialog.GetImageTypeChoice(), 0);
}

TEST_P(CameraSettingsDlgTest, CompressorDialogSelectsOnlyAnExactNameAndEnablesTheComboForTheSecondChoice) {
    struct Case {
        int choice;
        std::wstring name;
        int selection;
        bool enabled;
    };
    const Case cases[] = {
        {1, L"Wine MS-RLE video codec", 1, true},
        {1, L"Wine Video 1 video codec", 2, true},
        {0, L"Wine MS-RLE", 0, false},  // a part of a name is no match
        {0, L"wine ms-rle video codec", 0, false},
        {1, L"", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        CCompressorDlg dialog(c.choice, c.name);
        std::wstring caption;
        std::vector<std::wstring> items;
        int selection = -2;
        bool enabled = false, afterNone = true, afterUse = false;
        ModalScript script({[&](HWND d) {
            caption = ModalScript::Text(d);
            items = Items(d, IDC_COMPRESSOR_NAME);
            selection = Selection(d, IDC_COMPRESSOR_NAME);
            HWND combo = GetDlgItem(d, IDC_COMPRESSOR_NAME);
            enabled = IsWindowEnabled(combo);
            Click(d, IDC_COMPRESSOR_NONE);
            afterNone = IsWindowEnabled(combo);
            Click(d, IDC_COMPRESSOR_USE);
            afterUse = IsWindowEnabled(combo);
            ModalScript::Press(d, IDCANCEL);
        }});
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(caption, GetParam() == 1 ? L"\u89c6\u9891\u538b\u7f29\u5668" : L"Video Compressor");
        EXPECT_EQ(items, kWineCompressors);
        EXPECT_EQ(selection, c.selection);
        EXPECT_EQ(enabled, c.enabled);
        EXPECT_FALSE(afterNone);
        EXPECT_TRUE(afterUse);
    }
}

TEST_P(CameraSettingsDlgTest, CompressorDialogReturnsTheChoiceAndTheComboText) {
    {
        ModalScript script({[&](HWND d) {
            Click(d, IDC_COMPRESSOR_USE);
            Select(d, IDC_COMPRESSOR_NAME, 2);
            ModalScript::Press(d, IDOK);
        }});
        const auto chosen = RunCompressorDlg(0, L"Cinepak Video codec", nullptr);
        EXPECT_TRUE(script.Finished());
        ASSERT_TRUE(chosen);
        EXPECT_EQ(chosen->first, 1);
        EXPECT_EQ(chosen->second, L"Wine Video 1 video codec");
    }
    ModalScript cancel({[&](HWND d) {
        Click(d, IDC_COMPRESSOR_USE);
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_FALSE(RunCompressorDlg(0, L"", nullptr));
    EXPECT_TRUE(cancel.Finished());
}

// The DirectShow camera shows the dialog over [Video] and writes both keys
// on OK only.
class DShowCompressorTest : public testing_support::TempFolderTest {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }
    std::wstring Read(const wchar_t* key) const {
        wchar_t text[128] = {};
        GetPrivateProfileStringW(L"Video", key, L"<none>", text, 128, Settings().c_str());
        return text;
    }
    std::wstring Settings() const { return (folder / L"Config.ini").wstring(); }

    LanguageLibrary language_{0};
};

TEST_F(DShowCompressorTest, TheDialogsChoiceIsStoredOnOkOnly) {
    WritePrivateProfileStringW(L"Video", L"bCompressor", L"0", Settings().c_str());
    WritePrivateProfileStringW(L"Video", L"SCompressor", L"Wine MS-RLE video codec", Settings().c_str());
    CDShowCamera camera(nullptr, 0, Settings());
    bool useChecked = true;
    int selection = -2;
    {
        ModalScript cancel({[&](HWND d) {
            useChecked = Checked(d, IDC_COMPRESSOR_USE) || !Checked(d, IDC_COMPRESSOR_NONE);
            selection = Selection(d, IDC_COMPRESSOR_NAME);
            Click(d, IDC_COMPRESSOR_USE);
            ModalScript::Press(d, IDCANCEL);
        }});
        camera.SelectAviCompressor();
        EXPECT_TRUE(cancel.Finished());
    }
    EXPECT_FALSE(useChecked);
    EXPECT_EQ(selection, 1);
    EXPECT_EQ(Read(L"bCompressor"), L"0");
    EXPECT_FALSE(camera.UsesCompressor());

    ModalScript ok({[&](HWND d) {
        Click(d, IDC_COMPRESSOR_USE);
        Select(d, IDC_COMPRESSOR_NAME, 0);
        ModalScript::Press(d, IDOK);
    }});
    camera.SelectAviCompressor();
    EXPECT_TRUE(ok.Finished());
    EXPECT_EQ(Read(L"bCompressor"), L"1");
    EXPECT_EQ(Read(L"SCompressor"), L"Cinepak Video codec");
    EXPECT_TRUE(camera.UsesCompressor());
}

// The UVC camera also gives the choice to its library, counted from 0.
class UvcCompressorTest : public LibraryDoubleFixture<CUVCSdkBinding, CUVCCamera> {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }

    LanguageLibrary language_{1};
};

TEST_F(UvcCompressorTest, TheDialogsChoiceIsStoredAndGivenToTheLibrary) {
    LoadDouble(L"sdk_double_uvc.dll", "");
    WriteConfig(L"Video", L"bCompressor", 1);
    WritePrivateProfileStringW(L"Video", L"SCompressor", L"Wine Video 1 video codec", ConfigPath().c_str());
    CUVCCamera& camera = Open(0);
    struct Case {
        int click;
        int choice;
    };
    for (const Case c : {Case{IDC_COMPRESSOR_NONE, 0}, Case{IDC_COMPRESSOR_USE, 1}}) {
        SCOPED_TRACE(c.choice);
        std::wstring name;
        ModalScript script({[&](HWND d) {
            Click(d, c.click);
            name = ModalScript::ItemText(d, IDC_COMPRESSOR_NAME);
            ModalScript::Press(d, IDOK);
        }});
        const std::size_t mark = LogMark();
        camera.SelectAviCompressor();
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(name, L"Wine Video 1 video codec");
        EXPECT_EQ(LogFrom(mark), (std::vector<std::string>{"KQ_SetAviCompressor h0 " + std::to_string(c.choice - 1)}));
        EXPECT_EQ(ReadConfig(L"Video", L"bCompressor"), c.choice);
        EXPECT_EQ(ReadConfig(L"Video", L"SCompressorNum"), c.choice);
        wchar_t stored[64] = {};
        GetPrivateProfileStringW(L"Video", L"SCompressor", L"", stored, 64, ConfigPath().c_str());
        EXPECT_STREQ(stored, L"Wine Video 1 video codec");
    }
    ModalScript cancel({[&](HWND d) { ModalScript::Press(d, IDCANCEL); }});
    const std::size_t mark = LogMark();
    camera.SelectAviCompressor();
    EXPECT_TRUE(LogFrom(mark).empty()) << "Cancel gives the library nothing";
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, CameraSettingsDlgTest, ::testing::Values(0, 1));

}  // namespace
