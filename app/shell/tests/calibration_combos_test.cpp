// The calibration and parameter-file combos on a real parent window that
// hands their notifications back, as the toolbars do; a recording window
// stands for the view.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calibration_store.h"
#include "ini_profile.h"
#include "lent_payload.h"
#include "param_file_combo.h"
#include "private_messages.h"
#include "scale_combo.h"
#include "temp_folder_test.h"
#include "window.h"

namespace {

constexpr UINT kComboId = 45028;

// What the view received, in order.
struct ViewRecord {
    UINT message = 0;
    LPARAM index = 0;
    CScaleEntry entry;
};
std::vector<ViewRecord> g_received;

LRESULT CALLBACK RecordingViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SCALE_SELECTED) {
        ViewRecord record{message, 0, {}};
        // Copied while the sender lends it, as the view does.
        if (IsLentPayload(static_cast<std::uintptr_t>(lParam))) {
            record.entry = *reinterpret_cast<const CScaleEntry*>(lParam);
        } else {
            record.entry.index = -99;
        }
        g_received.push_back(record);
        return 0;
    }
    if (message == WM_PARAMFILE_SELECTED) {
        g_received.push_back(ViewRecord{message, lParam, {}});
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A parent that gives a control's WM_COMMAND back to the control's object.
class ReflectingParent : public CWindow {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND && lParam && ReflectCommand(wParam, lParam)) {
            return 0;
        }
        return CWindow::WindowProc(message, wParam, lParam);
    }
};

class ComboFixture : public testing_support::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        g_received.clear();
        ASSERT_TRUE(CWindow::RegisterWindowClass(L"VizcamComboParent", 0, nullptr));
        ASSERT_TRUE(parent_.CreateEx(0, L"VizcamComboParent", L"", WS_POPUP, RECT{0, 0, 300, 200}, nullptr, 0));
        WNDCLASSW cls{};
        cls.lpfnWndProc = RecordingViewProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"VizcamRecordingView";
        RegisterClassW(&cls);
        view_ = CreateWindowExW(0, L"VizcamRecordingView", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(view_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(view_);
        parent_.DestroyWindow();
        TempFolderTest::TearDown();
    }
    // The user picks item `index` from the list.
    void Choose(CFlatComboBox& combo, int index) {
        combo.SetCurSel(index);
        SendMessageW(parent_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(kComboId, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo.GetSafeHwnd()));
    }

    ReflectingParent parent_;
    HWND view_ = nullptr;
};

class ScaleComboTest : public ComboFixture {
protected:
    void SetUp() override {
        ComboFixture::SetUp();
        combo_.m_strScalePath = (folder / L"scale.ini").wstring();
        combo_.m_strConfigPath = (folder / L"Config.ini").wstring();
        ASSERT_TRUE(combo_.Create(parent_.GetSafeHwnd(), kComboId, RECT{0, 0, 95, 200}, CBS_DROPDOWNLIST));
        combo_.SetViewWindowSource([this] { return view_; });
    }
    void Store(std::initializer_list<Calibration> calibrations) {
        IniProfile file(combo_.m_strScalePath);
        CalibrationStore store(file);
        for (const Calibration& c : calibrations) {
            store.Save(c.name, c.value, c.unit, 640, 480);
        }
    }
    std::vector<std::wstring> Items() const {
        std::vector<std::wstring> items;
        for (int i = 0; i < combo_.GetCount(); ++i) {
            items.push_back(combo_.GetItemText(i));
        }
        return items;
    }

    CScaleCombo combo_;
};

Calibration Cal(std::u16string name, float value, std::u16string unit) {
    Calibration c;
    c.name = std::move(name);
    c.value = value;
    c.unit = std::move(unit);
    return c;
}

TEST_F(ScaleComboTest, ListsDefaultThenEverySectionInItsPlace) {
    EXPECT_EQ(combo_.FillFromScaleIni(), -1);
    EXPECT_EQ(Items(), (std::vector<std::wstring>{L"Default"}));

    Store({Cal(u"4x", 2.0f, u"cm"), Cal(u"10x", 0.5f, u"mm"), Cal(u"40x", 0.125f, u"mm")});
    // A lost middle section keeps its item: item 3 is still section 3.
    WritePrivateProfileStringW(L"scl_2", nullptr, nullptr, combo_.m_strScalePath.c_str());
    EXPECT_EQ(combo_.FillFromScaleIni(), 0);
    EXPECT_EQ(Items(), (std::vector<std::wstring>{L"Default", L"4x", L"", L"40x"}));
    Choose(combo_, 3);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].entry.index, 3);
    EXPECT_EQ(g_received[0].entry.name, L"40x");
    EXPECT_EQ(g_received[0].entry.value, 0.125f);
}

TEST_F(ScaleComboTest, EachChangedChoiceIsSentOnceWithItsCalibration) {
    Store({Cal(u"4x", 2.0f, u"cm"), Cal(u"10x", 0.5f, u"mm")});
    combo_.FillFromScaleIni();
    combo_.SetCurSel(0);
    Choose(combo_, 0);  // what was shown already: nothing
    EXPECT_TRUE(g_received.empty());
    Choose(combo_, 2);
    Choose(combo_, 2);
    ASSERT_EQ(g_received.size(), 1u);
    const CScaleEntry& entry = g_received[0].entry;
    EXPECT_EQ(g_received[0].message, WM_SCALE_SELECTED);
    EXPECT_EQ(entry.index, 2);
    EXPECT_EQ(entry.name, L"10x");
    EXPECT_EQ(entry.reso, L"640 * 480");
    EXPECT_EQ(entry.unit, L"mm");
    EXPECT_EQ(entry.value, 0.5f);
    Choose(combo_, 1);
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_EQ(g_received[1].entry.name, L"4x");
}

TEST_F(ScaleComboTest, DefaultCarriesTheDrawingUnitOrMillimetres) {
    Store({Cal(u"4x", 2.0f, u"cm")});
    combo_.FillFromScaleIni();
    struct Case {
        const wchar_t* stored;  // null: no key
        const wchar_t* sent;
    };
    for (const Case& c : {Case{L"inch", L"inch"}, Case{L"", L"mm"}, Case{nullptr, L"mm"}}) {
        WritePrivateProfileStringW(L"CLdraw", L"Unit", c.stored, combo_.m_strConfigPath.c_str());
        g_received.clear();
        Choose(combo_, 1);
        Choose(combo_, 0);
        ASSERT_EQ(g_received.size(), 2u);
        const CScaleEntry& entry = g_received[1].entry;
        EXPECT_EQ(entry.index, 0);
        EXPECT_EQ(entry.value, 1.0f);
        EXPECT_EQ(entry.name, L"");
        EXPECT_EQ(entry.unit, c.sent) << (c.stored ? c.stored : L"(none)");
    }
}

TEST_F(ScaleComboTest, SelectingByNameOrValueSendsNothing) {
    EXPECT_EQ(combo_.SelectByName(L"4x"), -1);
    EXPECT_EQ(combo_.SelectByIndex(2.0f, L"cm"), -1);
    Store({Cal(u"Obj 4X", 2.0f, u"cm"), Cal(u"a", 0.00025f, u"mm"), Cal(u"b", 0.0005f, u"mm")});
    combo_.FillFromScaleIni();
    EXPECT_EQ(combo_.SelectByName(L"obj 4x"), 1);
    EXPECT_EQ(combo_.GetCurSel(), 1);
    EXPECT_EQ(combo_.SelectByName(L"none"), 0);
    EXPECT_EQ(combo_.GetCurSel(), 0);
    EXPECT_EQ(combo_.SelectByIndex(0.0005f, L"mm"), 3);
    EXPECT_EQ(combo_.GetCurSel(), 3);
    EXPECT_EQ(combo_.GetLastSelection(), 3);
    EXPECT_TRUE(g_received.empty());
    // The selection made is the one remembered: choosing it again is no change.
    Choose(combo_, 3);
    EXPECT_TRUE(g_received.empty());
}

class ParamFileComboTest : public ComboFixture {
protected:
    void SetUp() override {
        ComboFixture::SetUp();
        combo_.m_strProgramFolder = folder.wstring() + L"\\";
        ASSERT_TRUE(combo_.Create(parent_.GetSafeHwnd(), kComboId, RECT{0, 0, 95, 200}, CBS_DROPDOWNLIST));
        combo_.SetViewWindowSource([this] { return view_; });
        combo_.SetLoader([this](const std::wstring& name) {
            loaded_.push_back(name + L" after " + std::to_wstring(g_received.size()));
        });
        for (const wchar_t* family : {L"CMOSE", L"CCD", L"GIGE"}) {
            std::filesystem::create_directories(folder / L"Params" / family);
            Touch(folder / L"Params" / family / (std::wstring(family) + L"_a.ini"));
        }
        Touch(folder / L"Params" / L"CMOSE" / L"notes.txt");
        std::filesystem::create_directories(folder / L"Params" / L"CMOSE" / L"old.ini");
        Touch(folder / L"Params" / L"top.ini");
    }
    static void Touch(const std::filesystem::path& path) { std::ofstream(path) << "[x]\n"; }

    CParamFileCombo combo_;
    std::vector<std::wstring> loaded_;
};

TEST_F(ParamFileComboTest, ListsTheFamilysFolderAndStartsWithNoChoice) {
    struct Case {
        int kind;
        std::vector<std::wstring> names;
    };
    const Case cases[] = {{0, {L"CMOSE_a"}}, {1, {L"CCD_a"}}, {2, {L"GIGE_a"}}, {3, {L"top"}}, {-1, {L"top"}}};
    for (const Case& c : cases) {
        combo_.SetCameraKind(c.kind);
        EXPECT_EQ(combo_.Refill(), 0);
        EXPECT_EQ(combo_.GetFileNames(), c.names) << c.kind;
        ASSERT_EQ(combo_.GetCount(), static_cast<int>(c.names.size()));
        EXPECT_EQ(combo_.GetItemText(0), c.names[0]);
    }
    Touch(folder / L"Params" / L"second.ini");
    combo_.Refill();
    EXPECT_EQ(combo_.GetCount(), 2);
    EXPECT_EQ(combo_.SelectByName(L""), -1);
    EXPECT_EQ(combo_.GetCurSel(), -1);
    EXPECT_EQ(combo_.GetLastSelection(), -1);
    std::filesystem::remove_all(folder / L"Params");
    combo_.Refill();
    EXPECT_EQ(combo_.GetCount(), 0);
}

TEST_F(ParamFileComboTest, AChoiceIsAnnouncedThenLoaded) {
    Touch(folder / L"Params" / L"CCD" / L"CCD_b.ini");
    combo_.SetCameraKind(1);
    combo_.Refill();
    const int b = combo_.GetFileNames()[0] == L"CCD_b" ? 0 : 1;
    Choose(combo_, b);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].message, WM_PARAMFILE_SELECTED);
    EXPECT_EQ(g_received[0].index, b);
    EXPECT_EQ(loaded_, (std::vector<std::wstring>{L"CCD_b after 1"}));
    EXPECT_EQ(combo_.GetLastSelection(), b);

    // No view: nothing is sent or loaded.
    combo_.SetViewWindowSource([] { return HWND{}; });
    Choose(combo_, 1 - b);
    EXPECT_EQ(g_received.size(), 1u);
    EXPECT_EQ(loaded_.size(), 1u);
    EXPECT_EQ(combo_.GetLastSelection(), 0);
}

}  // namespace
