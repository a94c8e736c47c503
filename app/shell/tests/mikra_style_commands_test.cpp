// The style commands sent to the real main frame as WM_COMMAND and routed
// to the view: with objects selected they change the selection as one
// history step, without they become the style of new objects and are saved
// in Config.ini beside the program. The line width and precision dialogs
// are the real ones; the colour and font dialogs answer from a script.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "colour_font_dialogs.h"
#include "language_library.h"
#include "line_figures.h"
#include "log_font_win32.h"
#include "main_frame.h"
#include "measure_resource.h"
#include "mikra_app.h"
#include "mikra_doc.h"
#include "mikra_view.h"
#include "modal_script.h"
#include "module_folder.h"
#include "picture_files.h"
#include "frame_with_camera_double.h"
#include "resource.h"

namespace {

using testing_support::ModalScript;

// Answers the colour and font dialogs in turn and records what they were
// opened on; an empty answer is a Cancel.
class ScriptedColourFontDialogs final : public IColourFontDialogs {
public:
    std::deque<std::optional<COLORREF>> colours;
    std::deque<std::optional<LOGFONTW>> fonts;
    std::vector<COLORREF> colourAskedWith;
    std::vector<LOGFONTW> fontAskedWith;

    std::optional<COLORREF> ChooseColour(HWND, COLORREF initial) override {
        colourAskedWith.push_back(initial);
        return Next(colours);
    }
    std::optional<LOGFONTW> ChooseFont(HWND, const LOGFONTW& initial) override {
        fontAskedWith.push_back(initial);
        return Next(fonts);
    }

private:
    template <typename T>
    static std::optional<T> Next(std::deque<std::optional<T>>& answers) {
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<T> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Config.ini beside the program as it was before the test, put back after.
class KeptFile {
public:
    explicit KeptFile(std::filesystem::path path) : path_(std::move(path)) {
        std::ifstream in(path_, std::ios::binary);
        existed_ = in.good();
        content_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ~KeptFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
        if (existed_) {
            std::ofstream(path_, std::ios::binary) << content_;
        }
    }
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    bool existed_ = false;
    std::string content_;
};

class MikraStyleCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(english_.Loaded());
        // A fresh Config.ini: every controller starts from the default style.
        std::filesystem::remove(config_.path());
        ASSERT_TRUE(LoadFrameWithCameraDouble(frame_, document_));
        view_ = dynamic_cast<CMikraView*>(frame_.GetActiveView());
        ASSERT_NE(view_, nullptr);
        view_->OnInitialUpdate();
        view_->SetColourFontDialogs(&dialogs_);
        const std::wstring file = pictures_.Bmp(L"p.bmp", 60, 40, 0x808080);
        view_->OpenPicture(file);
        view_->ShowPicture(file);
        controller_ = view_->GetCurrentController();
        ASSERT_TRUE(controller_->HasWindow());
        for (int i = 0; i < 2; ++i) {
            auto line = std::make_unique<CCLLine>();
            line->points = {PointF{5.0f, 5.0f + 10.0f * static_cast<float>(i)},
                            PointF{40.0f, 5.0f + 10.0f * static_cast<float>(i)}};
            controller_->GetObjectList()->push_back(std::move(line));
        }
    }
    void TearDown() override { frame_.DestroyWindow(); }

    void Command(UINT id) { SendMessageW(frame_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    CCLObject& Object(std::size_t i) { return *(*controller_->GetObjectList())[i]; }
    void SelectFirst() {
        Object(0).state = CCLObject::kSelectedWhole;
        controller_->GetSelection().push_back(&Object(0));
    }
    std::size_t Steps() const { return controller_->GetHistoryStore().UndoList().size(); }
    int Stored(const wchar_t* section, const wchar_t* key) const {
        return static_cast<int>(GetPrivateProfileIntW(section, key, -1, config_.path().c_str()));
    }

    LanguageLibrary english_{0};
    KeptFile config_{std::filesystem::path(GetModuleFolder()) / L"Config.ini"};
    PictureFiles pictures_{L"vizcam_style_commands"};
    CMikraApp app_;
    CMikraDoc document_;
    CMainFrame frame_;
    CMikraView* view_ = nullptr;
    CImageController* controller_ = nullptr;
    ScriptedColourFontDialogs dialogs_;
};

TEST_F(MikraStyleCommandsTest, LabelModesZeroOneThreeTwoGoToTheSelectionOrBecomeTheDefault) {
    struct Case {
        UINT id;
        int mode;
    };
    const Case cases[] = {{ID_LABEL_INDEX, 1}, {ID_LABEL_RESULTS, 3}, {ID_LABEL_NONE, 2}, {ID_LABEL_ALL, 0}};
    SelectFirst();
    for (const Case& c : cases) {
        const std::size_t before = Steps();
        Object(1).labelMode = 9;
        Command(c.id);
        EXPECT_EQ(Object(0).labelMode, c.mode) << c.id;
        EXPECT_EQ(Object(1).labelMode, 9) << c.id << ": not selected";
        EXPECT_EQ(controller_->labelMode, CCLObject::kLabelAll) << c.id << ": the default stays";
        EXPECT_EQ(Steps(), before + 1) << c.id;
    }
    EXPECT_EQ(Stored(L"CLdraw", L"LT"), -1) << "nothing saved";

    controller_->ClearSelection();
    for (const Case& c : cases) {
        const std::size_t before = Steps();
        Command(c.id);
        EXPECT_EQ(Object(0).labelMode, c.mode) << c.id;
        EXPECT_EQ(Object(1).labelMode, c.mode) << c.id;
        EXPECT_EQ(controller_->labelMode, c.mode) << c.id;
        EXPECT_EQ(Stored(L"CLdraw", L"LT"), c.mode) << c.id;
        EXPECT_EQ(Steps(), before) << c.id << ": no step";
    }
}

TEST_F(MikraStyleCommandsTest, ColourAndFontDialogsOpenOnTheCurrentStyleAndCancelChangesNothing) {
    controller_->drawColour = RGB(1, 1, 1);
    controller_->selectedColour = RGB(2, 2, 2);
    controller_->labelBoxColour = RGB(3, 3, 3);
    SelectFirst();
    const std::size_t start = Steps();

    dialogs_.colours = {std::nullopt, RGB(50, 60, 70), RGB(80, 90, 100), RGB(110, 120, 130)};
    Command(ID_DRAW_COLOR);  // cancelled
    EXPECT_EQ(Object(0).drawColour, 0u);
    EXPECT_EQ(Steps(), start);
    Command(ID_DRAW_COLOR);
    EXPECT_EQ(Object(0).drawColour, RGB(50, 60, 70));
    EXPECT_EQ(Object(1).drawColour, 0u);
    EXPECT_EQ(controller_->drawColour, RGB(1, 1, 1));
    EXPECT_EQ(Steps(), start + 1);
    Command(ID_SELECT_COLOR);
    Command(ID_LABEL_BACKGROUND_COLOR);
    EXPECT_EQ(Steps(), start + 1) << "colours of every object are no step";
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(Object(i).selectedColour, RGB(80, 90, 100));
        EXPECT_EQ(Object(i).label.boxColour, RGB(110, 120, 130));
    }
    EXPECT_EQ(Stored(L"CLdraw", L"SColor"), static_cast<int>(RGB(80, 90, 100)));
    EXPECT_EQ(Stored(L"CLdraw", L"TBColor"), static_cast<int>(RGB(110, 120, 130)));
    EXPECT_EQ(dialogs_.colourAskedWith,
              (std::vector<COLORREF>{RGB(1, 1, 1), RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)}));

    LOGFONTW font{};
    font.lfHeight = -30;
    font.lfItalic = 1;
    wcscpy(font.lfFaceName, L"Courier New");
    dialogs_.fonts = {font};
    controller_->ClearSelection();
    Command(ID_LABEL_FONT);
    ASSERT_EQ(dialogs_.fontAskedWith.size(), 1u);
    EXPECT_EQ(FromLogFontW(dialogs_.fontAskedWith[0]), SystemLogFont());
    EXPECT_EQ(controller_->labelFont, FromLogFontW(font));
    EXPECT_EQ(Stored(L"FSet", L"He"), -30);
    EXPECT_EQ(Steps(), start + 1);
}

TEST_F(MikraStyleCommandsTest, LineWidthAndPrecisionComeFromTheirDialogs) {
    {
        ModalScript script({[](HWND dialog) { ModalScript::SetText(dialog, IDC_LINE_WIDTH_EDIT, L"6"); },
                            [](HWND dialog) { ModalScript::Press(dialog, IDOK); }});
        Command(ID_LINE_WIDTH);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(controller_->lineWidth, 6);
    EXPECT_EQ(Stored(L"CLdraw", L"LW"), 6);
    EXPECT_EQ(Object(0).lineWidth, 1);

    SelectFirst();
    const std::size_t before = Steps();
    {
        ModalScript script({[](HWND dialog) { ModalScript::SetText(dialog, IDC_LINE_WIDTH_EDIT, L"3"); },
                            [](HWND dialog) { ModalScript::Press(dialog, IDOK); }});
        Command(ID_LINE_WIDTH);
    }
    EXPECT_EQ(Object(0).lineWidth, 3);
    EXPECT_EQ(Object(1).lineWidth, 1);
    EXPECT_EQ(controller_->lineWidth, 6);
    EXPECT_EQ(Steps(), before + 1);

    std::wstring shown;
    {
        ModalScript script({[&](HWND dialog) { shown = ModalScript::ItemText(dialog, IDC_PRECISION_DECIMALS); },
                            [](HWND dialog) { ModalScript::SetText(dialog, IDC_PRECISION_DECIMALS, L"4"); },
                            [](HWND dialog) { ModalScript::Press(dialog, IDOK); }});
        Command(ID_RESULT_PRECISION);
    }
    EXPECT_EQ(shown, L"2");
    EXPECT_EQ(controller_->decimals, 4);
    EXPECT_EQ(Stored(L"Option", L"NF"), 4);
}

TEST_F(MikraStyleCommandsTest, LabelBoxAndUnitSwitch) {
    Command(ID_LABEL_BACKGROUND);
    EXPECT_EQ(controller_->labelBoxShown, 0);
    EXPECT_EQ(Object(0).label.boxShown, 0);
    EXPECT_EQ(Object(1).label.boxShown, 0);
    EXPECT_EQ(Stored(L"CLdraw", L"TB"), 0);

    controller_->SetTool(2);
    Command(ID_UNIT_SWITCH);
    EXPECT_EQ(controller_->GetInteraction().tool, 0);
    EXPECT_EQ(controller_->GetDisplayedUnit(), u"mm");
    EXPECT_EQ(Object(1).unitText, u"mm");
    EXPECT_FLOAT_EQ(Object(1).scale, 0.001f);
}

TEST_F(MikraStyleCommandsTest, NothingWhileVideoRunsWithoutLiveMeasuring) {
    view_->OpenVideo();
    ASSERT_EQ(view_->GetTargetController(), nullptr);
    dialogs_.colours = {RGB(5, 5, 5)};
    for (const UINT id : {ID_DRAW_COLOR, ID_LABEL_FONT, ID_LABEL_NONE, ID_LABEL_BACKGROUND, ID_UNIT_SWITCH}) {
        Command(id);
    }
    EXPECT_TRUE(dialogs_.colourAskedWith.empty());
    EXPECT_TRUE(dialogs_.fontAskedWith.empty());
    EXPECT_EQ(Object(0).labelMode, CCLObject::kLabelAll);
    EXPECT_EQ(controller_->labelBoxShown, 1);
    EXPECT_EQ(controller_->GetDisplayedUnit(), u"\u03bcm");
    CCommandState state(ID_DRAW_COLOR);
    ASSERT_TRUE(view_->UpdateCommand(state));
    EXPECT_FALSE(state.IsEnabled());
}

TEST_F(MikraStyleCommandsTest, GridSettingsCommandOpensTheGridDialogOverTheFrame) {
    std::wstring caption;
    HWND owner = nullptr;
    {
        ModalScript script({[&](HWND dialog) {
            caption = ModalScript::Text(dialog);
            owner = GetWindow(dialog, GW_OWNER);
            ModalScript::Press(dialog, IDCANCEL);
        }});
        Command(ID_COUNT_GRID_SETTINGS);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_TRUE(caption == L"Counting Grid Settings" || caption == L"\u8bbe\u7f6e\u8ba1\u6570\u7f51\u683c\u677f")
        << caption.size();
    EXPECT_EQ(owner, frame_.GetSafeHwnd());
}

}  // namespace
