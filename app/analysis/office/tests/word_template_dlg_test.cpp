// The Word template picture export dialog driven by its controls: the grid
// it fills, the buttons that follow it, and the document it writes through
// the stand-in registered as "Word.Application" in the test prefix.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "data_prompts.h"
#include "modal_script.h"
#include "office_resource.h"
#include "office_stand_in_registration.h"
#include "recording_export_host.h"
#include "language_library.h"
#include "test_bitmap.h"
#include "word_template_dlg.h"
#include "workbook_model.h"

namespace fs = std::filesystem;
using testing_support::ModalScript;

namespace {

// Hands out the next prepared choice at each multi-selection dialog.
class ScriptedPictures final : public IPictureFileDialogs {
public:
    std::vector<std::wstring> ChoosePictures(HWND) override {
        ++asked;
        if (choices.empty()) return {};
        std::vector<std::wstring> next = choices.front();
        choices.erase(choices.begin());
        return next;
    }
    std::wstring ChoosePicture(HWND) override { return {}; }

    std::vector<std::vector<std::wstring>> choices;
    int asked = 0;
};

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void ChooseCount(HWND dialog, int count) {
    SendDlgItemMessageW(dialog, IDC_WORD_TEMPLATE_COUNT, CB_SETCURSEL, static_cast<WPARAM>(count - 1), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_WORD_TEMPLATE_COUNT, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_WORD_TEMPLATE_COUNT)));
}

// Which of export, load, clear and clear-all are enabled.
std::string Buttons(HWND dialog) {
    std::string state;
    for (const int id : {IDC_WORD_TEMPLATE_EXPORT, IDC_WORD_TEMPLATE_LOAD, IDC_WORD_TEMPLATE_CLEAR,
                         IDC_WORD_TEMPLATE_CLEAR_ALL}) {
        state += Enabled(dialog, id) ? '1' : '0';
    }
    return state;
}

class WordTemplateDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library_.Loaded());
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        program_ = fs::temp_directory_path() / L"word_template_program";
        std::error_code ignored;
        fs::remove_all(program_, ignored);
        fs::create_directories(program_ / L"Files");
        std::ofstream(program_ / L"Template0.dot") << "{\\rtf1\\ansi\\par}";
        for (int i = 0; i < 3; ++i) {
            pictures_.push_back((program_ / (L"shot" + std::to_wstring(i) + L".bmp")).wstring());
            WriteBmp(pictures_.back(), 12 + i, 9);
        }
    }
    void TearDown() override { CoUninitialize(); }

    std::wstring ExportFolder() const { return (program_ / L"Files").wstring() + L"\\"; }

    LanguageLibrary library_{1};
    fs::path program_;
    std::vector<std::wstring> pictures_;
    ScriptedPictures files_;
    RecordingHost host_;
};

}  // namespace

TEST_F(WordTemplateDlgTest, TheButtonsFollowTheGridAndOneCellTakesNoPictures) {
    std::wstring title;
    int listed = 0, shownCount = 0;
    std::wstring width, height;
    std::vector<std::string> states;
    int askedForOneCell = -1;
    std::vector<std::wstring> row;
    CWordTemplateDlg dialog(files_, host_, [this] { return ExportFolder(); }, nullptr,
                            {program_, program_ / L"Config.ini"});
    files_.choices = {{pictures_[0]}, {pictures_[0], pictures_[1]}, {pictures_[2]}};
    ModalScript script({[&](HWND d) {
        title = ModalScript::Text(d);
        listed = static_cast<int>(SendDlgItemMessageW(d, IDC_WORD_TEMPLATE_COUNT, CB_GETCOUNT, 0, 0));
        shownCount = static_cast<int>(SendDlgItemMessageW(d, IDC_WORD_TEMPLATE_COUNT, CB_GETCURSEL, 0, 0)) + 1;
        width = ModalScript::ItemText(d, IDC_WORD_TEMPLATE_WIDTH);
        height = ModalScript::ItemText(d, IDC_WORD_TEMPLATE_HEIGHT);
        states.push_back(Buttons(d));  // at start
        ChooseCount(d, 1);
        ModalScript::Press(d, IDC_WORD_TEMPLATE_LOAD);
        askedForOneCell = files_.asked;
        states.push_back(Buttons(d));  // one cell, load pressed
        ChooseCount(d, 3);
        ModalScript::Press(d, IDC_WORD_TEMPLATE_LOAD);  // the same picture twice: one added
        states.push_back(Buttons(d));
        ModalScript::Press(d, IDC_WORD_TEMPLATE_LOAD);  // the second picture: still one cell free
        ModalScript::Press(d, IDC_WORD_TEMPLATE_LOAD);  // full
        states.push_back(Buttons(d));
        int rows = 0, columns = 0;
        const auto& cells = dialog.GetPane().GetGrid().GetCells(rows, columns);
        if (rows == 1 && !cells.empty()) row = cells.front();
        ModalScript::Press(d, IDC_WORD_TEMPLATE_CLEAR_ALL);
        states.push_back(Buttons(d));
        SendMessageW(d, WM_CLOSE, 0, 0);
    }});
    dialog.DoModal();
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(title, L"图片导出到Word模板设置");
    EXPECT_EQ(listed, 20);
    EXPECT_EQ(shownCount, 2);
    EXPECT_EQ(width, L"8");
    EXPECT_EQ(height, L"7");
    EXPECT_EQ(askedForOneCell, 0);
    EXPECT_EQ(states, (std::vector<std::string>{"0100", "0100", "0111", "1011", "0100"}));
    EXPECT_EQ(row, (std::vector<std::wstring>{pictures_[0], pictures_[1], pictures_[2]}));
}

TEST_F(WordTemplateDlgTest, ExportWritesTheRowIntoANewDocumentAtTheChosenSize) {
    OfficeStandIn word(L"Word.Application", kWordStandInClsidText, fs::temp_directory_path() / L"template_dlg.log");
    ASSERT_TRUE(word.Registered());
    CWordTemplateDlg dialog(files_, host_, [this] { return ExportFolder(); }, nullptr,
                            {program_, program_ / L"Config.ini"});
    files_.choices = {{pictures_[2], pictures_[0], pictures_[1]}};
    std::wstring rangeMessage;
    std::size_t callsAfterBadWidth = 0;
    ModalScript script({[&](HWND d) {
                            ChooseCount(d, 3);
                            ModalScript::Press(d, IDC_WORD_TEMPLATE_LOAD);
                            ModalScript::SetText(d, IDC_WORD_TEMPLATE_WIDTH, L"21");
                            PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_WORD_TEMPLATE_EXPORT, BN_CLICKED),
                                         reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_WORD_TEMPLATE_EXPORT)));
                        },
                        [&](HWND box) {
                            rangeMessage = ModalScript::MessageText(box);
                            callsAfterBadWidth = word.Calls().size();
                            ModalScript::Press(box, IDOK);
                        },
                        [&](HWND d) {
                            ModalScript::SetText(d, IDC_WORD_TEMPLATE_WIDTH, L"5");
                            ModalScript::SetText(d, IDC_WORD_TEMPLATE_HEIGHT, L"4");
                            ModalScript::Press(d, IDC_WORD_TEMPLATE_EXPORT);
                            SendMessageW(d, WM_CLOSE, 0, 0);
                        }});
    SYSTEMTIME before{};
    GetLocalTime(&before);
    dialog.DoModal();
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(rangeMessage, DataPromptText(DataPrompt::IntegerRange, 1, 20));
    EXPECT_EQ(callsAfterBadWidth, 0u);
    EXPECT_TRUE(host_.messages.empty());
    ASSERT_EQ(host_.written.size(), 1u);
    const fs::path written = host_.written.front();
    EXPECT_EQ(written.parent_path(), program_ / L"Files");
    EXPECT_TRUE(std::regex_match(written.filename().string(), std::regex(R"(Word_\d{18}\.doc)")))
        << written.filename().string();
    EXPECT_EQ(written.filename().wstring().substr(0, 9), L"Word_" + std::to_wstring(before.wYear));
    EXPECT_TRUE(fs::exists(written));
    const std::vector<std::string> calls = word.Calls();
    std::vector<std::string> added;
    for (const std::string& call : calls) {
        if (call.rfind("InlineShapes.AddPicture(", 0) == 0) added.push_back(call);
    }
    ASSERT_EQ(added.size(), 3u);
    for (std::size_t i = 0; i < added.size(); ++i) {
        const std::wstring expected = pictures_[(i + 2) % 3];
        EXPECT_NE(added[i].find(Utf8(expected)), std::string::npos) << added[i];
    }
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "InlineShape.Width put(141.75)"), 3);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "InlineShape.Height put(113.4)"), 3);
}
