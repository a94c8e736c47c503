// The presets dialog in both languages, over a program folder of its own:
// saving, overwriting, deleting, the result indices, refused names and what
// each family shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "camera_resource.h"
#include "language_library.h"
#include "modal_script.h"
#include "param_preset_dlg.h"
#include "unique_temp_dir.h"

namespace {

using testing_support::ModalScript;
namespace fs = std::filesystem;

class ParamPresetDlgTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ASSERT_TRUE(language_.Loaded());
        program_ = testing_support::UniqueTempPath("vizcam_presets_dlg");
        fs::remove_all(program_);
        fs::create_directories(program_);
    }
    void TearDown() override { fs::remove_all(program_); }

    fs::path Folder(PresetFamily family) const { return program_ / "Params" / PresetFolderName(family); }
    fs::path File(PresetFamily family, const std::wstring& name) const { return Folder(family) / (name + L".ini"); }
    // A preset file written as the dialog would have written it.
    void Preset(PresetFamily family, const std::wstring& name, int exposure) const {
        fs::create_directories(Folder(family));
        const std::wstring path = File(family, name).wstring();
        WritePrivateProfileStringW(PresetFolderName(family), L"Exposure", std::to_wstring(exposure).c_str(),
                                   path.c_str());
    }
    int Key(PresetFamily family, const std::wstring& name, const wchar_t* key) const {
        return static_cast<int>(
            GetPrivateProfileIntW(PresetFolderName(family), key, -99, File(family, name).wstring().c_str()));
    }
    int IndexOf(PresetFamily family, const std::wstring& name) const {
        return PresetIndex(ListPresetNames(Folder(family)), name);
    }
    std::wstring ProgramFolder() const { return program_.wstring() + L"\\"; }
    static ParamPresetRecord Record(PresetFamily family) {
        ParamPresetRecord r;
        r.family = family;
        r.values = {100, 10, 11, 12, 20, 30, 16, 1, 2, 5, 6, {120, 121, 122}};
        const ExposureTime t = PresetExposureTime({100, {}, 0, 0});
        r.exposureTime = t.value;
        r.exposureUnit = t.unit;
        return r;
    }
    static void EditName(HWND d, const wchar_t* name) {
        ModalScript::SetText(d, IDC_PRESET_NAME, name);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_PRESET_NAME, CBN_EDITCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_PRESET_NAME)));
    }
    static bool DeleteEnabled(HWND d) { return IsWindowEnabled(GetDlgItem(d, IDC_PRESET_DELETE)) != FALSE; }
    static std::wstring ComboItem(HWND combo, int index) {
        wchar_t text[64] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }

    LanguageLibrary language_{GetParam()};
    fs::path program_;
};

TEST_P(ParamPresetDlgTest, SavingUnderAnExistingNameOverwritesItInPlace) {
    Preset(PresetFamily::ccd, L"Day", 1);
    Preset(PresetFamily::ccd, L"Night", 2);
    fs::create_directories(Folder(PresetFamily::ccd) / "x.ini");  // a folder, not a preset
    ParamPresetRecord record = Record(PresetFamily::ccd);
    record.selectedIndex = IndexOf(PresetFamily::ccd, L"Night");
    CParamPresetDlg dlg(record);
    dlg.m_strProgramFolder = ProgramFolder();
    std::wstring shownName, time, unit, caption;
    LRESULT listed = -1;
    bool deleteEnabled = false;
    ModalScript script({[&](HWND d) {
        caption = ModalScript::Text(d);
        shownName = ModalScript::ItemText(d, IDC_PRESET_NAME);
        time = ModalScript::ItemText(d, IDC_PRESET_EXPOSURE_TIME);
        unit = ModalScript::ItemText(d, IDC_PRESET_EXPOSURE_UNIT);
        listed = SendMessageW(GetDlgItem(d, IDC_PRESET_NAME), CB_GETCOUNT, 0, 0);
        EditName(d, L"Day");
        deleteEnabled = DeleteEnabled(d);
        ModalScript::SetText(d, IDC_PRESET_GAIN_R, L"40");
        ModalScript::SetText(d, IDC_PRESET_SHARPNESS, L"3");
        ModalScript::Press(d, IDOK);
    }});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(caption, GetParam() == 1 ? L"\u53c2\u6570\u4fe1\u606f" : L"Parameter Information");
    EXPECT_EQ(shownName, L"Night");
    EXPECT_EQ(time, L"7.460");
    EXPECT_EQ(unit, L"ms");
    EXPECT_EQ(listed, 2);
    EXPECT_TRUE(deleteEnabled);

    EXPECT_EQ(ListPresetNames(Folder(PresetFamily::ccd)).size(), 2u);
    EXPECT_EQ(dlg.m_nSavedIndex, IndexOf(PresetFamily::ccd, L"Day"));
    EXPECT_EQ(dlg.m_nOpenedIndex, IndexOf(PresetFamily::ccd, L"Night"));
    const int expected[][2] = {{100, 0}, {40, 1}, {11, 2}, {12, 3}, {20, 4},   {30, 5},   {16, 6},
                               {1, 7},   {2, 8},  {3, 9},  {6, 10}, {120, 11}, {121, 12}, {122, 13}};
    const wchar_t* keys[] = {L"Exposure",   L"Gain_R", L"Gain_G",    L"Gain_B",     L"Gain_AD",
                             L"Contrast",   L"Gamma",  L"FilpKinds", L"ColorKinds", L"Sharpness",
                             L"Saturation", L"AVGR",   L"AVGG",      L"AVGB"};
    for (const auto& [value, key] : expected) {
        EXPECT_EQ(Key(PresetFamily::ccd, L"Day", keys[key]), value) << key;
    }
    // One section, each key once: the old "Exposure" was replaced, not added to.
    std::wifstream in(File(PresetFamily::ccd, L"Day"));
    std::wstringstream text;
    text << in.rdbuf();
    const std::wstring all = text.str();
    EXPECT_EQ(all.find(L"Exposure="), all.rfind(L"Exposure="));
    EXPECT_EQ(all.find(L"[CCD]"), all.rfind(L"[CCD]"));
    EXPECT_EQ(Key(PresetFamily::ccd, L"Night", L"Exposure"), 2);
}

TEST_P(ParamPresetDlgTest, SavingANewNameMakesTheFoldersAndListsIt) {
    ParamPresetRecord record = Record(PresetFamily::gige);
    CParamPresetDlg dlg(record);
    dlg.m_strProgramFolder = ProgramFolder();
    std::wstring shownName = L"unread";
    ModalScript script({[&](HWND d) {
        shownName = ModalScript::ItemText(d, IDC_PRESET_NAME);
        EditName(d, L"\u5fae\u5c0f 40x");
        ModalScript::Press(d, IDOK);
    }});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shownName, L"");
    EXPECT_EQ(dlg.m_nSavedIndex, 0);
    EXPECT_EQ(dlg.m_nOpenedIndex, -1);
    EXPECT_EQ(Key(PresetFamily::gige, L"\u5fae\u5c0f 40x", L"AVGB"), 122);
}

TEST_P(ParamPresetDlgTest, DeletingTheOpenedPresetGivesMinusOneForBoth) {
    struct Case {
        const wchar_t* deleted;
        bool openedSurvives;
    };
    for (const Case c : {Case{L"Night", false}, Case{L"Day", true}}) {
        Preset(PresetFamily::usbCmos, L"Day", 1);
        Preset(PresetFamily::usbCmos, L"Night", 2);
        Preset(PresetFamily::usbCmos, L"Dusk", 3);
        ParamPresetRecord record = Record(PresetFamily::usbCmos);
        record.selectedIndex = IndexOf(PresetFamily::usbCmos, L"Night");
        CParamPresetDlg dlg(record);
        dlg.m_strProgramFolder = ProgramFolder();
        std::wstring nameAfter = L"unread";
        bool enabledAfter = true;
        LRESULT listedAfter = -1;
        ModalScript script({[&](HWND d) {
            EditName(d, c.deleted);
            ModalScript::Press(d, IDC_PRESET_DELETE);
            nameAfter = ModalScript::ItemText(d, IDC_PRESET_NAME);
            enabledAfter = DeleteEnabled(d);
            listedAfter = SendMessageW(GetDlgItem(d, IDC_PRESET_NAME), CB_GETCOUNT, 0, 0);
            ModalScript::Press(d, IDCANCEL);
        }});
        ASSERT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_FALSE(fs::exists(File(PresetFamily::usbCmos, c.deleted)));
        EXPECT_EQ(nameAfter, L"");
        EXPECT_FALSE(enabledAfter);
        EXPECT_EQ(listedAfter, 2);
        const int opened = c.openedSurvives ? IndexOf(PresetFamily::usbCmos, L"Night") : -1;
        EXPECT_EQ(dlg.m_nOpenedIndex, opened) << c.deleted;
        EXPECT_EQ(dlg.m_nSavedIndex, opened) << c.deleted;
        if (c.openedSurvives) {
            EXPECT_GE(opened, 0);
        }
        fs::remove_all(program_ / "Params");
    }
}

TEST_P(ParamPresetDlgTest, TheListFollowsTheFolderAndDeleteFollowsTheTypedName) {
    Preset(PresetFamily::gige, L"Day", 1);
    CParamPresetDlg dlg(Record(PresetFamily::gige));
    dlg.m_strProgramFolder = ProgramFolder();
    struct Typed {
        const wchar_t* name;
        bool deletable;
    };
    std::vector<std::pair<std::wstring, bool>> seen;
    LRESULT listedBefore = -1, listedAfter = -1;
    ModalScript script({[&](HWND d) {
        HWND names = GetDlgItem(d, IDC_PRESET_NAME);
        listedBefore = SendMessageW(names, CB_GETCOUNT, 0, 0);
        // A preset written meanwhile shows up when the list drops down.
        Preset(PresetFamily::gige, L"Night", 2);
        EditName(d, L"Nig");
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_PRESET_NAME, CBN_DROPDOWN), reinterpret_cast<LPARAM>(names));
        listedAfter = SendMessageW(names, CB_GETCOUNT, 0, 0);
        seen.emplace_back(ModalScript::ItemText(d, IDC_PRESET_NAME), DeleteEnabled(d));
        for (const Typed& t : {Typed{L"Night", true}, Typed{L"night", true}, Typed{L"Nigh", false},
                               Typed{L"Day ", false}, Typed{L"", false}}) {
            EditName(d, t.name);
            seen.emplace_back(t.name, DeleteEnabled(d));
        }
        ModalScript::Press(d, IDCANCEL);
    }});
    ASSERT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(listedBefore, 1);
    EXPECT_EQ(listedAfter, 2);
    const std::vector<std::pair<std::wstring, bool>> expected{{L"Nig", false},  {L"Night", true}, {L"night", true},
                                                              {L"Nigh", false}, {L"Day ", false}, {L"", false}};
    EXPECT_EQ(seen, expected);
}

TEST_P(ParamPresetDlgTest, AFileThatCannotBeWrittenKeepsTheDialogOpen) {
    // A folder where the preset's file would be.
    fs::create_directories(Folder(PresetFamily::ccd) / "Busy.ini");
    CParamPresetDlg dlg(Record(PresetFamily::ccd));
    dlg.m_strProgramFolder = ProgramFolder();
    bool stillOpen = false;
    ModalScript script({
        [&](HWND d) {
            EditName(d, L"Busy");
            ModalScript::Press(d, IDOK);
        },
        [&](HWND d) {
            stillOpen = ModalScript::ItemText(d, IDC_PRESET_NAME) == L"Busy";
            ModalScript::Press(d, IDCANCEL);
        },
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(fs::is_directory(Folder(PresetFamily::ccd) / "Busy.ini"));
    EXPECT_EQ(dlg.m_nSavedIndex, -1);
}

TEST_P(ParamPresetDlgTest, CloseKeepsTheOpenedPresetAsTheResult) {
    Preset(PresetFamily::ccd, L"Day", 1);
    ParamPresetRecord record = Record(PresetFamily::ccd);
    record.selectedIndex = 0;
    CParamPresetDlg dlg(record);
    dlg.m_strProgramFolder = ProgramFolder();
    ModalScript script({[&](HWND d) {
        EditName(d, L"Other");
        ModalScript::Press(d, IDCANCEL);
    }});
    ASSERT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_nSavedIndex, 0);
    EXPECT_EQ(dlg.m_nOpenedIndex, 0);
    EXPECT_FALSE(fs::exists(File(PresetFamily::ccd, L"Other")));
}

TEST_P(ParamPresetDlgTest, NamesThatLeaveTheFolderAreRefusedLikeAnEmptyOne) {
    // A file beside the family folder that a crafted name would reach.
    Preset(PresetFamily::ccd, L"Day", 1);
    fs::create_directories(program_ / "Params");
    std::ofstream(program_ / "Params" / "evil.ini") << "[CCD]\n";
    std::ofstream(program_ / "Config.ini") << "[CCD]\n";
    const auto before = std::distance(fs::recursive_directory_iterator(program_), {});

    for (const wchar_t* name : {L"", L"..\\evil", L"..", L"..\\..\\Config", L"C:evil", L"sub/Day", L"a*b", L"CON"}) {
        CParamPresetDlg dlg(Record(PresetFamily::ccd));
        dlg.m_strProgramFolder = ProgramFolder();
        std::wstring onDelete, onSave;
        ModalScript script({
            [&](HWND d) {
                EditName(d, name);
                ModalScript::Press(d, IDC_PRESET_DELETE);
            },
            [&](HWND box) {
                onDelete = ModalScript::MessageText(box);
                ModalScript::Press(box, IDOK);
            },
            [&](HWND d) { ModalScript::Press(d, IDOK); },
            [&](HWND box) {
                onSave = ModalScript::MessageText(box);
                ModalScript::Press(box, IDOK);
            },
            [&](HWND d) { ModalScript::Press(d, IDCANCEL); },
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(script.Finished()) << std::wstring(name).size();
        EXPECT_EQ(onDelete, L"No Name");
        EXPECT_EQ(onSave, L"No Name");
    }
    EXPECT_TRUE(fs::exists(program_ / "Params" / "evil.ini"));
    EXPECT_TRUE(fs::exists(program_ / "Config.ini"));
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(program_), {}), before);
}

TEST_P(ParamPresetDlgTest, EachFamilyShowsItsLabelsLimitsAndColourModes) {
    struct Case {
        PresetFamily family;
        const wchar_t* adLabel;
        bool gammaShown;
        const wchar_t* largestGain;
        const wchar_t* refusedGain;
        int colourModes;
    };
    const Case cases[] = {
        {PresetFamily::usbCmos, L"Gain:", true, L"6000", L"6001", 5},
        {PresetFamily::ccd, L"AD:", true, L"63", L"64", 5},
        {PresetFamily::gige, L"AD:", false, L"63", L"64", 6},
    };
    for (const Case& c : cases) {
        ParamPresetRecord record = Record(c.family);
        record.values.color = 4;
        // USB CMOS: the analogue gain its video page edits is byte 0.
        TakeCaptureInfo(c.family, {100, {40, 7, 99}, 0, 77}, record.values);
        CParamPresetDlg dlg(record);
        dlg.m_strProgramFolder = ProgramFolder();
        std::wstring label, colour, lastColour, prompt;
        bool gammaShown = false, gammaLabelShown = false;
        LRESULT colours = -1;
        ModalScript script({
            [&](HWND d) {
                label = ModalScript::ItemText(d, IDC_PRESET_AD_LABEL);
                gammaShown = IsWindowVisible(GetDlgItem(d, IDC_PRESET_GAMMA)) != FALSE;
                gammaLabelShown = IsWindowVisible(GetDlgItem(d, IDC_PRESET_GAMMA_LABEL)) != FALSE;
                HWND combo = GetDlgItem(d, IDC_PRESET_COLOR);
                colours = SendMessageW(combo, CB_GETCOUNT, 0, 0);
                colour = ModalScript::ItemText(d, IDC_PRESET_COLOR);
                lastColour = ComboItem(combo, static_cast<int>(colours) - 1);
                EditName(d, L"Limits");
                ModalScript::SetText(d, IDC_PRESET_GAIN_B, c.refusedGain);
                ModalScript::Press(d, IDOK);
            },
            [&](HWND box) {
                prompt = ModalScript::MessageText(box);
                ModalScript::Press(box, IDOK);
            },
            [&](HWND d) {
                ModalScript::SetText(d, IDC_PRESET_GAIN_B, c.largestGain);
                ModalScript::Press(d, IDOK);
            },
        });
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(label, c.adLabel);
        EXPECT_EQ(gammaShown, c.gammaShown);
        EXPECT_EQ(gammaLabelShown, c.gammaShown);
        EXPECT_EQ(colours, c.colourModes);
        EXPECT_EQ(colour, c.family == PresetFamily::gige ? L"MONO10" : L"RGB_Microscope");
        EXPECT_EQ(lastColour, L"RGB_Microscope");
        EXPECT_NE(prompt.find(c.largestGain), std::wstring::npos);
        EXPECT_EQ(Key(c.family, L"Limits", L"Gain_B"), _wtoi(c.largestGain));
        EXPECT_EQ(Key(c.family, L"Limits", L"Gain_AD"), c.family == PresetFamily::usbCmos ? 40
                                                        : c.family == PresetFamily::ccd   ? 77
                                                                                          : 20);
        EXPECT_EQ(Key(c.family, L"Limits", L"AVGR"), c.family == PresetFamily::usbCmos ? -99 : 120);
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ParamPresetDlgTest, ::testing::Values(0, 1));

}  // namespace
