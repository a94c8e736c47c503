#include <gtest/gtest.h>

#include <windows.h>

#include "counting_resource.h"
#include "counting_test_support.h"
#include "grid_plate_dlg.h"
#include "modal_script.h"

namespace {

using testing_support::ModalScript;

class GridPlateDlgTest : public counting_testing::LanguageFixture {
protected:
    void SetUp() override {
        LanguageFixture::SetUp();
        ini = (folder / L"scale.ini").wstring();
        Write(L"Scale", L"Count", L"2");
        Write(L"scl_1", L"Name", L"\u4f4e\u500d");
        Write(L"scl_1", L"Reso", L"640*480");
        Write(L"scl_1", L"Value", L"10X");
        Write(L"scl_1", L"Unit", L"mm");
        Write(L"scl_1", L"GridW", L"25.000000");  // no GridH
        Write(L"scl_2", L"Name", L"High");
        Write(L"scl_2", L"GridW", L"3.500000");
        Write(L"scl_2", L"GridH", L"2.500000");
        Write(L"scl_2", L"GColor", L"65280");
    }
    void Write(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
        WritePrivateProfileStringW(section, key, value, ini.c_str());
    }
    std::wstring Read(const wchar_t* section, const wchar_t* key) {
        wchar_t buffer[64] = {};
        GetPrivateProfileStringW(section, key, L"missing", buffer, 64, ini.c_str());
        return buffer;
    }
    struct Shown {
        std::wstring size, value, unit, width, height, caption;
        LRESULT selected = -1;
        LRESULT entries = 0;
    };
    static Shown Read(HWND d) {
        return {ModalScript::ItemText(d, IDC_GRID_SIZE_TEXT),
                ModalScript::ItemText(d, IDC_GRID_VALUE_TEXT),
                ModalScript::ItemText(d, IDC_GRID_UNIT_TEXT),
                ModalScript::ItemText(d, IDC_GRID_WIDTH),
                ModalScript::ItemText(d, IDC_GRID_HEIGHT),
                ModalScript::Text(d),
                SendDlgItemMessageW(d, IDC_GRID_CALIBRATION, CB_GETCURSEL, 0, 0),
                SendDlgItemMessageW(d, IDC_GRID_CALIBRATION, CB_GETCOUNT, 0, 0)};
    }
    static void Select(HWND d, int index) {
        SendDlgItemMessageW(d, IDC_GRID_CALIBRATION, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_GRID_CALIBRATION, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_GRID_CALIBRATION)));
    }
    static void SetCells(HWND d, const wchar_t* width, const wchar_t* height) {
        ModalScript::SetText(d, IDC_GRID_WIDTH, width);
        ModalScript::SetText(d, IDC_GRID_HEIGHT, height);
    }

    std::wstring ini;
};

TEST_F(GridPlateDlgTest, CalibrationWithoutHeightOpensAtTenByTenAndTakesOnesButRefusesAHalf) {
    CGridPlateDlg dlg(1);
    dlg.ScaleFile().m_strPath = ini;
    Shown shown;
    std::wstring prompt;
    bool stayedOpen = false;
    ModalScript script({
        [&](HWND d) {
            shown = Read(d);
            SetCells(d, L"0.5", L"3");
            ModalScript::Press(d, IDOK);
        },
        [&](HWND box) {
            prompt = ModalScript::MessageText(box);
            ModalScript::Press(box, IDOK);
        },
        [&](HWND d) {
            stayedOpen = ModalScript::ItemText(d, IDC_GRID_WIDTH) == L"0.5";
            EXPECT_EQ(Read(L"scl_1", L"GridH"), L"missing") << "nothing written before OK";
            SetCells(d, L"1", L"1");
            ModalScript::Press(d, IDOK);
        },
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(shown.caption, L"\u8bbe\u7f6e\u8ba1\u6570\u7f51\u683c\u677f");
    EXPECT_EQ(shown.entries, 3);
    EXPECT_EQ(shown.selected, 1);
    EXPECT_EQ(shown.size, L"640*480");
    EXPECT_EQ(shown.value, L"10X");
    EXPECT_EQ(shown.unit, L"mm");
    EXPECT_EQ(std::stof(shown.width), 10.0f);
    EXPECT_EQ(std::stof(shown.height), 10.0f);
    EXPECT_EQ(
        prompt,
        L"\u7f51\u683c\u9ad8\u548c\u5bbd\u81f3\u5c11\u8981\u5927\u4e8e1\uff0c\u8bf7\u91cd\u65b0\u8f93\u5165\u3002");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Read(L"scl_1", L"GridH"), L"1.000000");
    EXPECT_EQ(Read(L"scl_1", L"GridW"), L"1.000000");
    EXPECT_EQ(Read(L"scl_1", L"GColor"), L"16777215");
}

TEST_F(GridPlateDlgTest, DefaultShowsItsTextsAndWritesSectionZeroWithTheChosenColour) {
    CGridPlateDlg dlg(2);
    dlg.ScaleFile().m_strPath = ini;
    Shown high;
    Shown fallback;
    ModalScript script({
        [&](HWND d) {
            high = Read(d);
            Select(d, 0);
            fallback = Read(d);
            SetCells(d, L"4", L"6");
            // The colour pop-up's choice, as it reaches the button.
            SendMessageW(GetDlgItem(d, IDC_GRID_COLOR), WM_COLOR_SELECTED, RGB(0, 0, 255), 0);
            ModalScript::Press(d, IDOK);
        },
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(high.selected, 2);
    EXPECT_EQ(std::stof(high.width), 3.5f);
    EXPECT_EQ(std::stof(high.height), 2.5f);
    EXPECT_EQ(high.size, L"NULL");
    EXPECT_EQ(fallback.size, L"0*0");
    EXPECT_EQ(fallback.value, L"1.0");
    EXPECT_EQ(fallback.unit, L"null");
    EXPECT_EQ(Read(L"scl_0", L"GridW"), L"4.000000");
    EXPECT_EQ(Read(L"scl_0", L"GridH"), L"6.000000");
    EXPECT_EQ(Read(L"scl_0", L"GColor"), std::to_wstring(RGB(0, 0, 255)));
    EXPECT_EQ(Read(L"scl_2", L"GridW"), L"3.500000");
}

TEST_F(GridPlateDlgTest, CancelWritesNothing) {
    CGridPlateDlg dlg(2);
    dlg.ScaleFile().m_strPath = ini;
    ModalScript script({[](HWND d) {
        SetCells(d, L"7", L"7");
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(Read(L"scl_2", L"GridW"), L"3.500000");
    EXPECT_EQ(Read(L"scl_0", L"GridW"), L"missing");
}

}  // namespace
