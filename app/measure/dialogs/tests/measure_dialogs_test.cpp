#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "calibration_dlg.h"
#include "calibration_store.h"
#include "ini_profile.h"
#include "measure_resource.h"
#include "modal_script.h"
#include "precision_dlg.h"
#include "print_scale_dlg.h"
#include "language_library.h"
#include "calibration_choice_resource.h"
#include "scale_select_dlg.h"
#include "arrow_dlg.h"
#include "cl_arrow.h"
#include "color_button.h"
#include "object_dialogs_resource.h"
#include "scale_bar_dlg.h"
#include "text_input_dlg.h"
#include "text_input_resource.h"

namespace {

using testing_support::ModalScript;

class LanguageFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language_.Loaded()); }
    LanguageLibrary language_{1};
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

TEST_F(TextInputDlgTest, StaysInsideTheWorkAreaNearTheScreensEdges) {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const POINT clicks[] = {{work.right - 5, work.bottom - 5}, {work.left - 40, work.top - 40}, {work.right + 500, 10}};
    for (const POINT click : clicks) {
        CTextInputDlg dlg(click.x, click.y);
        RECT shownAt{};
        ModalScript script({[&](HWND d) {
            ::GetWindowRect(d, &shownAt);
            ModalScript::Press(d, IDCANCEL);
        }});
        ASSERT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_GE(shownAt.left, work.left) << click.x << "," << click.y;
        EXPECT_GE(shownAt.top, work.top) << click.x << "," << click.y;
        EXPECT_LE(shownAt.right, work.right) << click.x << "," << click.y;
        EXPECT_LE(shownAt.bottom, work.bottom) << click.x << "," << click.y;
        EXPECT_GT(shownAt.right - shownAt.left, 0);
    }
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

// The selection dialog over its own scale.ini.
class ScaleSelectDlgTest : public PrintScaleDlgTest {
protected:
    void StoreThree() {
        IniProfile file(path_.wstring());
        CalibrationStore store(file);
        store.Save(u"4x", 2.0f, u"cm", 640, 480);
        store.Save(u"10x", 0.5f, u"mm", 800, 600);
        store.Save(u"40x", 0.125f, u"inch", 1024, 768);
        store.WriteRulerScale(3, 25);
    }
    std::string Bytes() const {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static int Rows(HWND d) { return static_cast<int>(SendMessageW(List(d), LVM_GETITEMCOUNT, 0, 0)); }
    std::u16string Key(const wchar_t* section, const wchar_t* key) const {
        IniProfile file(path_.wstring());
        std::u16string s(section, section + wcslen(section));
        std::u16string k(key, key + wcslen(key));
        return file.Read(s, k).value_or(u"(missing)");
    }
};

TEST_F(ScaleSelectDlgTest, RowsInSectionOrderAndOkTakesTheChosenOne) {
    StoreThree();
    CScaleSelectDlg dlg;
    dlg.m_strScalePath = path_.wstring();
    std::vector<std::wstring> names;
    std::wstring caption;
    ModalScript script({[&](HWND d) {
        caption = ModalScript::Text(d);
        for (int row = 0; row < Rows(d); ++row) {
            names.push_back(Cell(d, row, 1) + L"|" + Cell(d, row, 4));
        }
        SelectRow(d, 2);
        ModalScript::Press(d, IDOK);
    }});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(caption, L"\u5b9a\u6807\u9009\u62e9");
    EXPECT_EQ(names, (std::vector<std::wstring>{L"4x|cm", L"10x|mm", L"40x|inch"}));
    EXPECT_EQ(dlg.m_fValue, 0.125f);
    EXPECT_EQ(dlg.m_strUnit, L"inch");
    EXPECT_EQ(dlg.m_strName, L"40x");
    EXPECT_FALSE(dlg.HasChangedCalibrations());
}

TEST_F(ScaleSelectDlgTest, WithoutARowOkCancelsAndDeleteDoesNothing) {
    StoreThree();
    const std::string before = Bytes();
    CScaleSelectDlg dlg;
    dlg.m_strScalePath = path_.wstring();
    int rowsAfterDelete = -1;
    ModalScript script({[&](HWND d) {
                            ModalScript::Press(d, IDC_SCALE_DELETE);
                            rowsAfterDelete = Rows(d);
                        },
                        [&](HWND d) { ModalScript::Press(d, IDOK); }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(rowsAfterDelete, 3);
    EXPECT_EQ(Bytes(), before);
    EXPECT_FALSE(dlg.HasChangedCalibrations());
    // The opening result stands: nothing was chosen.
    EXPECT_EQ(dlg.m_fValue, 1.0f);
    EXPECT_EQ(dlg.m_strUnit, L"\u03bcm");
    EXPECT_EQ(dlg.m_strName, L"Default");
}

TEST_F(ScaleSelectDlgTest, DeletingTheSecondOfThreeRenumbersTheThird) {
    StoreThree();
    CScaleSelectDlg dlg;
    dlg.m_strScalePath = path_.wstring();
    std::vector<std::wstring> after;
    ModalScript script({[&](HWND d) {
                            SelectRow(d, 1);
                            ModalScript::Press(d, IDC_SCALE_DELETE);
                            for (int row = 0; row < Rows(d); ++row) {
                                after.push_back(Cell(d, row, 1));
                            }
                        },
                        [&](HWND d) {
                            SelectRow(d, 1);  // the former third, now section 2
                            ModalScript::Press(d, IDOK);
                        }});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(after, (std::vector<std::wstring>{L"4x", L"40x"}));
    EXPECT_EQ(dlg.m_strName, L"40x");
    EXPECT_TRUE(dlg.HasChangedCalibrations());
    EXPECT_EQ(Key(L"Scale", L"Count"), u"2");
    EXPECT_EQ(Key(L"scl_2", L"Name"), u"40x");
    EXPECT_EQ(Key(L"scl_2", L"Rank"), u"2");
    EXPECT_EQ(Key(L"scl_2", L"Unit"), u"inch");
    EXPECT_EQ(Key(L"scl_2", L"Reso"), u"1024 * 768");
    EXPECT_EQ(Key(L"scl_2", L"RulerScale"), u"25");
    for (const wchar_t* key : {L"Name", L"Value", L"Rank", L"Unit", L"Reso", L"GridW", L"GridH", L"GColor"}) {
        EXPECT_EQ(Key(L"scl_3", key), u"(missing)") << key;
    }
}

TEST_F(ScaleSelectDlgTest, DeleteAllAsksInBothLanguagesAndOnlyOkRemovesTheFile) {
    struct Language {
        int library;
        const wchar_t* question;
    };
    for (const Language& language : {Language{1, L"\u8981\u5220\u9664\u6240\u6709\u5b9a\u6807\u5417?"},
                                     Language{0, L"Delete all calibrations?"}}) {
        const LanguageLibrary library(language.library);
        ASSERT_TRUE(library.Loaded());
        StoreThree();
        const std::string before = Bytes();
        CScaleSelectDlg dlg;
        dlg.m_strScalePath = path_.wstring();
        std::vector<std::wstring> questions;
        int rowsLeft = -1;
        const auto ask = [&](int answer) {
            return [&, answer](HWND box) {
                questions.push_back(ModalScript::Text(box) + L"|" + ModalScript::MessageText(box));
                ModalScript::Press(box, answer);
            };
        };
        std::string afterCancel;
        ModalScript script({[&](HWND d) { ModalScript::Press(d, IDC_SCALE_DELETE_ALL); }, ask(IDCANCEL),
                            [&](HWND d) {
                                afterCancel = Bytes();
                                ModalScript::Press(d, IDC_SCALE_DELETE_ALL);
                            },
                            ask(IDOK),
                            [&](HWND d) {
                                rowsLeft = Rows(d);
                                // Nothing left: no second question.
                                ModalScript::Press(d, IDC_SCALE_DELETE_ALL);
                            },
                            [&](HWND d) { ModalScript::Press(d, IDCANCEL); }});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(script.Finished());
        const std::wstring expected = std::wstring(L"Vizcam|") + language.question;
        EXPECT_EQ(questions, (std::vector<std::wstring>{expected, expected})) << language.library;
        EXPECT_EQ(afterCancel, before);
        EXPECT_EQ(rowsLeft, 0);
        EXPECT_FALSE(std::filesystem::exists(path_));
        EXPECT_TRUE(dlg.HasChangedCalibrations());
    }
}

class ScaleBarDlgTest : public LanguageFixture {
protected:
    void SetUp() override {
        LanguageFixture::SetUp();
        config_ = std::filesystem::temp_directory_path() /
                  (L"vizcam_bar_" + std::to_wstring(GetCurrentProcessId()) + L".ini");
        std::filesystem::remove(config_);
    }
    void TearDown() override {
        std::filesystem::remove(config_);
        LanguageFixture::TearDown();
    }
    static std::wstring UnitShown(HWND d) {
        HWND units = GetDlgItem(d, IDC_BAR_UNIT);
        const LRESULT index = SendMessageW(units, CB_GETCURSEL, 0, 0);
        wchar_t text[16] = {};
        SendMessageW(units, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::filesystem::path config_;
};

TEST_F(ScaleBarDlgTest, OpensOnMicrometresAndKeepsTheBackgroundChoice) {
    WritePrivateProfileStringW(L"CLDraw", L"BCBG", L"1", config_.c_str());
    CScaleBarDlg dlg(RGB(0, 128, 255));
    dlg.m_strConfigPath = config_.wstring();
    dlg.m_strUnit = L"mm";  // the last bar's unit does not carry over
    std::wstring unit;
    std::wstring length;
    std::wstring width;
    UINT background = 0;
    COLORREF shown = 0;
    ModalScript script({[&](HWND d) {
        unit = UnitShown(d);
        length = ModalScript::ItemText(d, IDC_BAR_LENGTH);
        width = ModalScript::ItemText(d, IDC_BAR_WIDTH);
        background = IsDlgButtonChecked(d, IDC_BAR_BACKGROUND);
        shown = dynamic_cast<CColorButton*>(CWindow::FromHandle(GetDlgItem(d, IDC_BAR_COLOUR)))->GetColor();
        SendMessageW(GetDlgItem(d, IDC_BAR_UNIT), CB_SETCURSEL, 3, 0);
        CheckDlgButton(d, IDC_BAR_BACKGROUND, BST_UNCHECKED);
        ModalScript::SetText(d, IDC_BAR_LENGTH, L"250.5");
        ModalScript::SetText(d, IDC_BAR_WIDTH, L"7");
        ModalScript::Press(d, IDOK);
    }});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(unit, L"\u03bcm");
    EXPECT_EQ(length, L"100");
    EXPECT_EQ(width, L"1");
    EXPECT_EQ(background, static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(shown, RGB(0, 128, 255));
    EXPECT_EQ(dlg.m_strUnit, L"inch");
    EXPECT_EQ(dlg.m_fLength, 250.5f);
    EXPECT_EQ(dlg.m_nWidth, 7u);
    EXPECT_EQ(dlg.m_nBackground, 0);
    EXPECT_EQ(GetPrivateProfileIntW(L"CLdraw", L"BCBG", -1, config_.c_str()), 0);
}

TEST_F(ScaleBarDlgTest, LengthAndWidthOutsideTheirRangesAreRefused) {
    CScaleBarDlg dlg(0);
    dlg.m_strConfigPath = config_.wstring();
    struct Bad {
        const wchar_t* length;
        const wchar_t* width;
    };
    const Bad bad[] = {{L"0", L"1"},    {L"-3", L"1"},         {L"1000001", L"1"}, {L"1e39", L"1"},
                       {L"10", L"0"},   {L"10", L"1001"},      {L"10", L"2147483648"}};
    int refused = 0;
    std::vector<ModalScript::Step> steps;
    for (const Bad& b : bad) {
        steps.push_back([b](HWND d) {
            ModalScript::SetText(d, IDC_BAR_LENGTH, b.length);
            ModalScript::SetText(d, IDC_BAR_WIDTH, b.width);
            ModalScript::Press(d, IDOK);
        });
        steps.push_back([&refused](HWND box) {
            ++refused;
            ModalScript::Press(box, IDOK);
        });
    }
    steps.push_back([](HWND d) {
        ModalScript::SetText(d, IDC_BAR_LENGTH, L"1000000");
        ModalScript::SetText(d, IDC_BAR_WIDTH, L"1000");
        ModalScript::Press(d, IDOK);
    });
    ModalScript script(std::move(steps));
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(refused, static_cast<int>(std::size(bad)));
    EXPECT_EQ(dlg.m_fLength, 1000000.0f);
    EXPECT_EQ(dlg.m_nWidth, 1000u);
    // Only the accepted attempt stores the background choice.
    EXPECT_EQ(GetPrivateProfileIntW(L"CLDraw", L"BCBG", -1, config_.c_str()), 0);
}

class ArrowDlgTest : public LanguageFixture {
protected:
    void SetUp() override {
        LanguageFixture::SetUp();
        ASSERT_TRUE(dialog_.Create(nullptr));
    }
    HWND Item(int id) const { return GetDlgItem(dialog_.GetSafeHwnd(), id); }
    void Command(int id, WORD code) {
        SendMessageW(dialog_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
    }
    // The user picks a colour in the button's pop-up.
    void ChooseColour(COLORREF colour) {
        auto* button = dynamic_cast<CColorButton*>(CWindow::FromHandle(Item(IDC_ARROW_COLOUR)));
        ASSERT_NE(button, nullptr);
        button->SetColor(colour);
        SendMessageW(dialog_.GetSafeHwnd(), WM_COLOR_SELECTED, colour, IDC_ARROW_COLOUR);
    }
    COLORREF ButtonColour() const {
        return dynamic_cast<CColorButton*>(CWindow::FromHandle(Item(IDC_ARROW_COLOUR)))->GetColor();
    }
    // Reopens the panel on an arrow, as the tool does.
    void Open(CCLArrow& arrow) {
        dialog_.DestroyWindow();
        dialog_.SetArrow(&arrow);
        ASSERT_TRUE(dialog_.Create(nullptr));
    }

    CArrowDlg dialog_;
};

TEST_F(ArrowDlgTest, ChangesGoToTheArrowAtOnceAndWhiteIsKeptOffWhite) {
    CCLArrow arrow;
    arrow.SetArrowStyle(5, 75, 75);
    arrow.SetArrowColor(RGB(10, 20, 30));
    Open(arrow);
    EXPECT_EQ(SendMessageW(Item(IDC_ARROW_SIZE), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(dialog_.m_nDirection, 5);
    EXPECT_EQ(ButtonColour(), RGB(10, 20, 30));

    Command(IDC_ARROW_LEFT, BN_CLICKED);
    EXPECT_EQ(arrow.GetDirection(), 2);
    SendMessageW(Item(IDC_ARROW_SIZE), CB_SETCURSEL, 3, 0);
    Command(IDC_ARROW_SIZE, CBN_SELCHANGE);
    EXPECT_EQ(arrow.GetArrowSize(), (ArrowSize{100, 100}));
    EXPECT_EQ(arrow.GetDirection(), 2);

    ChooseColour(RGB(255, 255, 255));
    EXPECT_EQ(arrow.GetArrowColor(), static_cast<ColourRef>(RGB(254, 254, 254)));
    Open(arrow);
    EXPECT_EQ(ButtonColour(), RGB(255, 255, 255));
    EXPECT_EQ(SendMessageW(Item(IDC_ARROW_SIZE), CB_GETCURSEL, 0, 0), 3);
    ChooseColour(RGB(0, 0, 255));
    EXPECT_EQ(arrow.GetArrowColor(), static_cast<ColourRef>(RGB(0, 0, 255)));

    // Sizes the list does not hold show its first entry.
    arrow.SetArrowStyle(0, 33, 33);
    Open(arrow);
    EXPECT_EQ(SendMessageW(Item(IDC_ARROW_SIZE), CB_GETCURSEL, 0, 0), 0);
}

TEST_F(ArrowDlgTest, DirectionButtonsShowTheirArrowAndFrameTheCurrentOne) {
    CCLArrow arrow;
    arrow.SetArrowStyle(3, 25, 25);
    Open(arrow);
    constexpr int kSide = 40;
    const auto draw = [&](int id) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, kSide, kSide);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(id);
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = Item(id);
        item.hDC = dc;
        item.rcItem = RECT{0, 0, kSide, kSide};
        SendMessageW(dialog_.GetSafeHwnd(), WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&item));
        struct Seen {
            bool redFrame;
            int dark;
        } seen{GetPixel(dc, 2, kSide / 2) == RGB(255, 0, 0), 0};
        for (int y = 4; y < kSide - 4; ++y) {
            for (int x = 4; x < kSide - 4; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                seen.dark += GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100;
            }
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return seen;
    };
    for (int id = IDC_ARROW_UP; id <= IDC_ARROW_DOWN_RIGHT; ++id) {
        const auto seen = draw(id);
        EXPECT_EQ(seen.redFrame, id == IDC_ARROW_RIGHT) << id;
        EXPECT_GT(seen.dark, 20) << "the arrow picture of button " << id;
    }
    Command(IDC_ARROW_UP, BN_CLICKED);
    EXPECT_TRUE(draw(IDC_ARROW_UP).redFrame);
    EXPECT_FALSE(draw(IDC_ARROW_RIGHT).redFrame);
}

}  // namespace
