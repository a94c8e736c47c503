#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>

#include "calibration_dlg.h"
#include "calibration_store.h"
#include "ini_profile.h"
#include "measure_resource.h"
#include "modal_script.h"
#include "precision_dlg.h"
#include "print_scale_dlg.h"
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

// The print dialog over its own scale.ini.
class PrintScaleDlgTest : public CalibrationDlgTest {
protected:
    // Control 2, as Cancel is: found by its class.
    static HWND List(HWND dialog) {
        HWND list = FindWindowExW(dialog, nullptr, WC_LISTVIEWW, nullptr);
        EXPECT_EQ(GetDlgCtrlID(list), IDC_PRINT_CALIBRATIONS);
        return list;
    }
    static void SelectRow(HWND dialog, int row) {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(List(dialog), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
    static std::wstring Cell(HWND dialog, int row, int column) {
        wchar_t text[64] = {};
        LVITEMW cell{};
        cell.iSubItem = column;
        cell.pszText = text;
        cell.cchTextMax = 64;
        SendMessageW(List(dialog), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        return text;
    }
};

TEST_F(PrintScaleDlgTest, WithoutAChosenCalibrationBothButtonsTellTheUserAndStay) {
    CPrintScaleDlg dlg;
    dlg.m_strScalePath = path_.wstring();
    std::vector<std::wstring> notices;
    int rows = -1;
    std::wstring magnification;
    const auto note = [&](HWND box) {
        notices.push_back(ModalScript::Text(box) + L"|" + ModalScript::MessageText(box));
        ModalScript::Press(box, IDOK);
    };
    ModalScript script({
        [&](HWND d) {
            rows = static_cast<int>(SendMessageW(List(d), LVM_GETITEMCOUNT, 0, 0));
            magnification = ModalScript::ItemText(d, IDC_PRINT_MAGNIFICATION);
            ModalScript::Press(d, IDOK);
        },
        note,
        [&](HWND d) { ModalScript::Press(d, IDC_PRINT_PREVIEW); },
        note,
        [&](HWND d) { ModalScript::Press(d, IDCANCEL); },
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(magnification, L"100");
    const std::wstring expected = L"Vizcam|\u8bf7\u5728\u6253\u5370\u524d\u9009\u62e9\u5b9a\u6807!";
    EXPECT_EQ(notices, (std::vector<std::wstring>{expected, expected}));
}

TEST_F(PrintScaleDlgTest, RowsKeepTheirSectionsAndPreviewTakesTheChosenOne) {
    {
        IniProfile file(path_.wstring());
        CalibrationStore store(file);
        store.Save(u"4x", 2.0f, u"cm", 640, 480);
        store.Save(u"10x", 0.5f, u"mm", 800, 600);
        store.Save(u"40x", 0.0000625f, u"mm", 1024, 768);
        // The middle section is lost: the last row still names section 3.
        WritePrivateProfileStringW(L"scl_2", nullptr, nullptr, path_.c_str());
    }
    CPrintScaleDlg dlg;
    dlg.m_strScalePath = path_.wstring();
    std::vector<std::wstring> shown;
    ModalScript script({[&](HWND d) {
        for (int row = 0; row < 2; ++row) {
            for (int column = 1; column <= 4; ++column) {
                shown.push_back(Cell(d, row, column));
            }
        }
        SelectRow(d, 1);
        ModalScript::SetText(d, IDC_PRINT_MAGNIFICATION, L"3");
        ModalScript::Press(d, IDC_PRINT_PREVIEW);
    }});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"4x", L"640 * 480", L"2.000000", L"cm", L"40x", L"1024 * 768",
                                                L"6.2500003e-05", L"mm"}));
    EXPECT_EQ(dlg.m_nPreview, 1);
    EXPECT_EQ(dlg.m_nMagnification, 3u);
    EXPECT_EQ(dlg.m_fValue, 0.0000625f) << "every digit of the stored value";
    EXPECT_EQ(dlg.m_strUnit, L"mm");
}

TEST_F(PrintScaleDlgTest, MissingValueAndUnitReadAsOneMicrometre) {
    WritePrivateProfileStringW(L"Scale", L"Count", L"1", path_.c_str());
    WritePrivateProfileStringW(L"scl_1", L"Name", L"bare", path_.c_str());
    CPrintScaleDlg dlg;
    dlg.m_strScalePath = path_.wstring();
    ModalScript script({[&](HWND d) {
        SelectRow(d, 0);
        ModalScript::Press(d, IDOK);
    }});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nPreview, 0);
    EXPECT_EQ(dlg.m_nMagnification, 100u);
    EXPECT_EQ(dlg.m_fValue, 1.0f);
    EXPECT_EQ(dlg.m_strUnit, L"\u03bcm");
}

TEST_F(PrintScaleDlgTest, MagnificationOutsideItsRangeIsRefused) {
    {
        IniProfile file(path_.wstring());
        CalibrationStore(file).Save(u"4x", 2.0f, u"cm", 640, 480);
    }
    CPrintScaleDlg dlg;
    dlg.m_strScalePath = path_.wstring();
    int refused = 0;
    std::vector<ModalScript::Step> steps;
    for (const wchar_t* bad : {L"0", L"-5", L"10001", L"99999999999", L"abc"}) {
        steps.push_back([bad](HWND d) {
            SelectRow(d, 0);
            ModalScript::SetText(d, IDC_PRINT_MAGNIFICATION, bad);
            ModalScript::Press(d, IDOK);
        });
        steps.push_back([&refused](HWND box) {
            ++refused;
            ModalScript::Press(box, IDOK);
        });
    }
    steps.push_back([](HWND d) {
        ModalScript::SetText(d, IDC_PRINT_MAGNIFICATION, L"10000");
        ModalScript::Press(d, IDOK);
    });
    ModalScript script(std::move(steps));
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(refused, 5);
    EXPECT_EQ(dlg.m_nMagnification, 10000u);
}

}  // namespace
