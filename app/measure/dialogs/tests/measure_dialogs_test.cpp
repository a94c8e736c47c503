#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "calibration_dlg.h"
#include "calibration_store.h"
#include "ini_profile.h"
#include "measure_resource.h"
#include "modal_script.h"
#include "precision_dlg.h"
#include "resource_module.h"
#include "text_input_dlg.h"
#include "text_input_resource.h"

namespace {

using testing_support::ModalScript;

class LanguageFixture : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW(L"Lan_1.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr);
        SetResourceModule(module_);
    }
    void TearDown() override {
        SetResourceModule(nullptr);
        FreeLibrary(module_);
    }
    HMODULE module_ = nullptr;
};

using PrecisionDlgTest = LanguageFixture;

TEST_F(PrecisionDlgTest, OutOfRangeIsRefusedAndTheDialogStays) {
    CPrecisionDlg dlg(3);
    std::wstring shown;
    std::wstring caption;
    std::wstring prompt;
    ModalScript script({
        [&](HWND d) {
            shown = ModalScript::ItemText(d, IDC_PRECISION_DECIMALS);
            caption = ModalScript::Text(d);
            ModalScript::SetText(d, IDC_PRECISION_DECIMALS, L"6");
            ModalScript::Press(d, IDOK);
        },
        [&](HWND box) {
            prompt = ModalScript::MessageText(box);
            ModalScript::Press(box, IDOK);
        },
        [&](HWND d) {
            ModalScript::SetText(d, IDC_PRECISION_DECIMALS, L"abc");
            ModalScript::Press(d, IDOK);
        },
        [&](HWND box) { ModalScript::Press(box, IDOK); },
        [&](HWND d) {
            ModalScript::SetText(d, IDC_PRECISION_DECIMALS, L"0");
            ModalScript::Press(d, IDOK);
        },
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(shown, L"3");
    EXPECT_EQ(caption, L"\u6570\u636e\u7cbe\u5ea6\u8bbe\u7f6e");
    EXPECT_NE(prompt.find(L"between 0 and 5"), std::wstring::npos) << prompt.size();
    EXPECT_EQ(dlg.m_nDecimals, 0u);
}

TEST_F(PrecisionDlgTest, CancelKeepsTheDecimals) {
    CPrecisionDlg dlg(4);
    ModalScript script({[](HWND d) {
        ModalScript::SetText(d, IDC_PRECISION_DECIMALS, L"1");
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_nDecimals, 4u);
}

class CalibrationDlgTest : public LanguageFixture {
protected:
    void SetUp() override {
        LanguageFixture::SetUp();
        path_ = std::filesystem::temp_directory_path() /
                (L"vizcam_calib_" + std::to_wstring(GetCurrentProcessId()) + L".ini");
        std::filesystem::remove(path_);
    }
    void TearDown() override {
        std::filesystem::remove(path_);
        LanguageFixture::TearDown();
    }
    std::filesystem::path path_;
};

TEST_F(CalibrationDlgTest, NewCalibrationIsWritten) {
    CCalibrationDlg dlg;
    dlg.m_strScalePath = path_.wstring();
    dlg.SetPixelLength(200.0f);
    dlg.m_nResoWidth = 2048;
    dlg.m_nResoHeight = 1536;
    std::wstring lengthShown;
    std::wstring nameShown;
    ModalScript script({[&](HWND d) {
        lengthShown = ModalScript::ItemText(d, IDC_CALIB_LENGTH);
        nameShown = ModalScript::ItemText(d, IDC_CALIB_NAME);
        ModalScript::SetText(d, IDC_CALIB_NAME, L"10x");
        ModalScript::SetText(d, IDC_CALIB_LENGTH, L"50");
        ModalScript::Press(d, IDOK);
    }});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(lengthShown, L"200");  // no calibration "Name": the value is 1
    EXPECT_EQ(nameShown, L"Name");
    EXPECT_EQ(dlg.m_fValue, 0.25f);
    EXPECT_EQ(dlg.m_strUnit, L"\u03bcm");

    IniProfile file(path_.wstring());
    EXPECT_EQ(file.Read(u"scl_1", u"Value"), u"0.250000");
    EXPECT_EQ(file.Read(u"scl_1", u"Unit"), u"\u03bcm");
    EXPECT_EQ(file.Read(u"scl_1", u"Reso"), u"2048 * 1536");
    EXPECT_EQ(file.Read(u"Scale", u"Count"), u"1");
}

TEST_F(CalibrationDlgTest, ChoosingANameShowsItsLengthAndUnit) {
    {
        IniProfile file(path_.wstring());
        CalibrationStore store(file);
        store.Save(u"4x", 2.0f, u"cm", 1, 1);
        store.Save(u"10x", 0.5f, u"mm", 1, 1);
    }
    CCalibrationDlg dlg;
    dlg.m_strScalePath = path_.wstring();
    dlg.SetPixelLength(30.0f);
    std::wstring length;
    std::wstring unit;
    ModalScript script({
        [&](HWND d) {
            HWND names = GetDlgItem(d, IDC_CALIB_NAME);
            SendMessageW(names, CB_SETCURSEL, 1, 0);
            SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_CALIB_NAME, CBN_SELENDOK), reinterpret_cast<LPARAM>(names));
        },
        [&](HWND d) {
            length = ModalScript::ItemText(d, IDC_CALIB_LENGTH);
            unit = ModalScript::ItemText(d, IDC_CALIB_UNIT);
            ModalScript::Press(d, IDOK);  // overwrites "10x" in place
        },
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(length, L"15");
    EXPECT_EQ(unit, L"mm");
    EXPECT_EQ(dlg.m_nCount, 2);
    IniProfile file(path_.wstring());
    EXPECT_EQ(file.Read(u"scl_2", u"Name"), u"10x");
    EXPECT_EQ(file.Read(u"scl_2", u"Unit"), u"mm");
}

TEST_F(CalibrationDlgTest, ZeroLengthOrPixelsIsRefusedAndCancelWritesNothing) {
    CCalibrationDlg dlg;
    dlg.m_strScalePath = path_.wstring();
    dlg.SetPixelLength(0.0f);
    std::wstring notice;
    ModalScript script({
        [&](HWND d) {
            ModalScript::SetText(d, IDC_CALIB_LENGTH, L"50");
            ModalScript::Press(d, IDOK);
        },
        [&](HWND box) {
            notice = ModalScript::ItemText(box, 1081);
            ModalScript::Press(box, 3);
        },
        [&](HWND d) {
            ModalScript::SetText(d, IDC_CALIB_PIXELS, L"100");
            ModalScript::SetText(d, IDC_CALIB_LENGTH, L"-1");
            ModalScript::Press(d, IDOK);
        },
        [&](HWND box) { ModalScript::Press(box, 3); },
        [&](HWND d) { ModalScript::Press(d, IDCANCEL); },
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(notice, L"\u957f\u5ea6\u548c\u50cf\u7d20\u6570\u90fd\u5fc5\u987b\u5927\u4e8e0\u3002");
    EXPECT_FALSE(std::filesystem::exists(path_));
}

using TextInputDlgTest = LanguageFixture;

TEST_F(TextInputDlgTest, OpensEmptyAtTheGivenPointAndReturnsTheConfirmedText) {
    CTextInputDlg dlg(120, 90);
    RECT shownAt{};
    std::wstring caption;
    std::wstring initial = L"not read";
    ModalScript script({[&](HWND d) {
        ::GetWindowRect(d, &shownAt);
        caption = ModalScript::Text(d);
        initial = ModalScript::ItemText(d, IDC_TEXT_INPUT_EDIT);
        ModalScript::SetText(d, IDC_TEXT_INPUT_EDIT, L"\u7ec6\u80de A");
        ModalScript::Press(d, IDOK);
    }});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shownAt.left, 120);
    EXPECT_EQ(shownAt.top, 90);
    EXPECT_EQ(caption, L"\u8f93\u5165\u6587\u5b57");
    EXPECT_EQ(initial, L"");
    EXPECT_EQ(dlg.m_strText, L"\u7ec6\u80de A");
}

}  // namespace
