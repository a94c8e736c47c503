// The controller's style commands with and without a selection, the unit
// switch, the picture operations as history steps, and the data bar's
// notices, on a controller drawing into a real window under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "controller_fixture.h"
#include "history_actions.h"
#include "line_figures.h"
#include "log_font_win32.h"
#include "recording_controller.h"

namespace {

using namespace controller_testing;

class ControllerStyleTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        controller = std::make_unique<RecordingController>(WritePicture(L"p.bmp", 60, 40, 0x0000FF), window.hwnd());
        // The default style, whatever Config.ini beside the program holds.
        controller->GetSettingsFile().m_strPath = ConfigPath();
        controller->LoadSettings();
        controller->OpenPicture();
        controller->kinds.clear();
        for (int i = 0; i < 2; ++i) {
            auto line = std::make_unique<CCLLine>();
            line->points = {PointF{5.0f, 5.0f + 10.0f * static_cast<float>(i)},
                            PointF{40.0f, 5.0f + 10.0f * static_cast<float>(i)}};
            controller->GetObjectList()->push_back(std::move(line));
        }
    }
    void TearDown() override {
        controller.reset();
        ControllerFixture::TearDown();
    }

    std::wstring ConfigPath() const { return (dir / L"Config.ini").wstring(); }
    int Stored(const wchar_t* section, const wchar_t* key) const {
        return static_cast<int>(::GetPrivateProfileIntW(section, key, -1, ConfigPath().c_str()));
    }
    CCLObject& Object(std::size_t i) { return *(*controller->GetObjectList())[i]; }
    void SelectFirst() {
        Object(0).state = CCLObject::kSelectedWhole;
        controller->GetSelection().push_back(&Object(0));
    }

    std::unique_ptr<RecordingController> controller;
};

TEST_F(ControllerStyleTest, SelectionTakesTheStyleAsOneStepElseItBecomesTheSavedDefault) {
    LOGFONTW chosenFont{};
    chosenFont.lfHeight = -21;
    chosenFont.lfWeight = FW_BOLD;
    wcscpy(chosenFont.lfFaceName, L"Tahoma");
    const LogFont font = FromLogFontW(chosenFont);
    struct Case {
        const char* name;
        std::function<void(CImageController&)> run;
        std::function<bool(const CCLObject&)> objectHas;  // the object took the style
        std::function<bool(const CImageController&)> defaultHas;
        const wchar_t* section;
        const wchar_t* key;  // the saved default, -1 when not saved
        int savedValue;
    };
    const COLORREF colour = RGB(10, 20, 30);
    const Case cases[] = {
        {"drawing colour", [&](CImageController& c) { c.SetDrawColor(colour); },
         [&](const CCLObject& o) { return o.drawColour == colour; },
         [&](const CImageController& c) { return c.drawColour == colour; }, L"CLdraw", L"Color",
         static_cast<int>(colour)},
        {"label font", [&](CImageController& c) { c.SetLabelFont(chosenFont); },
         // A selected label draws bold and underlined: its face and size are compared.
         [&](const CCLObject& o) {
             return o.font == font && o.label.font.FaceName() == font.FaceName() && o.label.font.height == font.height;
         },
         [&](const CImageController& c) { return c.labelFont == font; }, L"FSet", L"He", -21},
        {"line width", [](CImageController& c) { c.SetLineWidth(4); },
         [](const CCLObject& o) { return o.lineWidth == 4; },
         [](const CImageController& c) { return c.lineWidth == 4; }, L"CLdraw", L"LW", 4},
        {"label mode", [](CImageController& c) { c.SetLabelMode(3); },
         [](const CCLObject& o) { return o.labelMode == 3; },
         [](const CImageController& c) { return c.labelMode == 3; }, L"CLdraw", L"LT", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // With a selection: only the selected object, one step of kind 3,
        // the default and Config.ini untouched.
        TearDown();
        SetUp();
        SelectFirst();
        Object(1).label.dirty = 0;
        c.run(*controller);
        EXPECT_EQ(controller->kinds, std::vector<int>{kHistoryModify});
        EXPECT_TRUE(c.objectHas(Object(0)));
        EXPECT_FALSE(c.objectHas(Object(1)));
        EXPECT_FALSE(c.defaultHas(*controller));
        EXPECT_FALSE(fs::exists(ConfigPath()));
        ASSERT_EQ(controller->GetHistoryStore().UndoList().size(), 1u) << "the change, undoable";

        // Without: no step, the default changes and is saved.
        TearDown();
        SetUp();
        c.run(*controller);
        EXPECT_TRUE(controller->kinds.empty());
        EXPECT_TRUE(c.defaultHas(*controller));
        EXPECT_EQ(Stored(c.section, c.key), c.savedValue);
        // Only the label mode reaches the objects without a selection.
        const bool toEveryObject = std::string(c.name) == "label mode";
        EXPECT_EQ(c.objectHas(Object(0)), toEveryObject);
        EXPECT_EQ(c.objectHas(Object(1)), toEveryObject);
    }
}

TEST_F(ControllerStyleTest, SelectedColourAndLabelBoxGoToEveryObjectAndAreSavedEitherWay) {
    struct Case {
        const char* name;
        std::function<void(CImageController&)> run;
        std::function<bool(const CCLObject&)> objectHas;
        std::function<bool(const CImageController&)> defaultHas;
        const wchar_t* key;
        int savedValue;
    };
    const COLORREF colour = RGB(1, 200, 3);
    const Case cases[] = {
        {"selected colour", [&](CImageController& c) { c.SetSelectColor(colour); },
         [&](const CCLObject& o) { return o.selectedColour == colour; },
         [&](const CImageController& c) { return c.selectedColour == colour; }, L"SColor", static_cast<int>(colour)},
        {"label box colour", [&](CImageController& c) { c.SetLabelBoxColor(colour); },
         [&](const CCLObject& o) { return o.label.boxColour == colour; },
         [&](const CImageController& c) { return c.labelBoxColour == colour; }, L"TBColor", static_cast<int>(colour)},
        {"label box off", [](CImageController& c) { c.ToggleLabelBox(); },
         [](const CCLObject& o) { return o.label.boxShown == 0; },
         [](const CImageController& c) { return c.labelBoxShown == 0; }, L"TB", 0},
    };
    for (const Case& c : cases) {
        for (const bool selected : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (selected ? " with a selection" : " without"));
            TearDown();
            SetUp();
            ASSERT_EQ(controller->labelBoxShown, 1);
            if (selected) {
                SelectFirst();
            }
            Object(0).label.dirty = Object(1).label.dirty = 0;
            c.run(*controller);
            EXPECT_TRUE(controller->kinds.empty()) << "no history step";
            EXPECT_TRUE(c.objectHas(Object(0)));
            EXPECT_TRUE(c.objectHas(Object(1)));
            EXPECT_TRUE(c.defaultHas(*controller));
            EXPECT_EQ(Stored(L"CLdraw", c.key), c.savedValue);
        }
    }
    // The label box toggles back on.
    controller->ToggleLabelBox();
    EXPECT_EQ(controller->labelBoxShown, 1);
    EXPECT_EQ(Object(1).label.boxShown, 1);
    EXPECT_EQ(Stored(L"CLdraw", L"TB"), 1);
}

TEST_F(ControllerStyleTest, LabelModeWithASelectionKeepsTheDefaultForNewObjects) {
    SelectFirst();
    controller->SetLabelMode(CCLObject::kLabelNothing);
    EXPECT_EQ(controller->labelMode, CCLObject::kLabelAll);
    CCLLine drawnNext;
    controller->ApplyStyle(drawnNext);
    EXPECT_EQ(drawnNext.labelMode, CCLObject::kLabelAll);

    controller->ClearSelection();
    controller->SetLabelMode(CCLObject::kLabelNameOnly);
    EXPECT_EQ(Object(0).labelMode, CCLObject::kLabelNameOnly);
    EXPECT_EQ(Object(1).labelMode, CCLObject::kLabelNameOnly);
    controller->ApplyStyle(drawnNext);
    EXPECT_EQ(drawnNext.labelMode, CCLObject::kLabelNameOnly);
}

TEST_F(ControllerStyleTest, NothingWithoutOwnerWindow) {
    CImageController windowless;
    windowless.GetSettingsFile().m_strPath = ConfigPath();
    windowless.LoadSettings();
    auto line = std::make_unique<CCLLine>();
    CCLObject& object = *line;
    windowless.GetObjectList()->push_back(std::move(line));
    windowless.SetDrawColor(RGB(9, 9, 9));
    windowless.SetSelectColor(RGB(9, 9, 9));
    windowless.SetLineWidth(7);
    windowless.SetLabelMode(2);
    windowless.ToggleLabelBox();
    windowless.SetLabelBoxColor(RGB(9, 9, 9));
    windowless.CycleUnit();
    EXPECT_NE(windowless.drawColour, RGB(9, 9, 9));
    EXPECT_NE(object.selectedColour, RGB(9, 9, 9));
    EXPECT_NE(windowless.lineWidth, 7);
    EXPECT_NE(object.labelMode, 2);
    EXPECT_EQ(windowless.labelBoxShown, 1);
    EXPECT_EQ(windowless.GetDisplayedUnit(), u"\u03bcm");
    EXPECT_FALSE(fs::exists(ConfigPath()));
}

TEST_F(ControllerStyleTest, UnitSwitchConvertsTheCalibrationForEveryObject) {
    controller->GetModel().calibrationScale = 2.0f;
    controller->GetModel().calibrationUnit = u"\u03bcm";
    controller->CycleUnit();
    EXPECT_EQ(controller->GetDisplayedUnit(), u"mm");
    EXPECT_FLOAT_EQ(controller->scale, 0.002f);
    EXPECT_EQ(controller->unitText, u"mm");
    EXPECT_EQ(controller->printUnitText, u"mm");
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_FLOAT_EQ(Object(i).scale, 0.002f);
        EXPECT_EQ(Object(i).unitText, u"mm");
    }
    for (int step = 0; step < 4; ++step) {
        controller->CycleUnit();
    }
    EXPECT_EQ(controller->GetDisplayedUnit(), u"uin");
    controller->CycleUnit();
    EXPECT_EQ(controller->GetDisplayedUnit(), u"\u03bcm");
    EXPECT_FLOAT_EQ(Object(1).scale, 2.0f);
    EXPECT_TRUE(controller->kinds.empty()) << "the unit is not a history step";
}

// Changes the picture as asked and records each call; the picture's first
// byte tells which filter ran.
class StandInFilters final : public IImageFilterCommands {
public:
    bool succeed = true;
    std::vector<std::string> calls;

    bool Blur(CPicture& p) override { return Run("Blur", p, 1); }
    bool Sharpen(CPicture& p) override { return Run("Sharpen", p, 2); }
    bool Emboss(CPicture& p) override { return Run("Emboss", p, 3); }
    bool Mirror(CPicture& p) override { return Run("Mirror", p, 4); }
    bool Negative(CPicture& p) override { return Run("Negative", p, 5); }
    bool EdgeDetect(CPicture& p) override { return Run("EdgeDetect", p, 6); }
    bool Rotate(CPicture& p) override {
        // A quarter turn: the picture's sides swap.
        CPicture turned;
        if (!succeed || !p.RotateRight(turned)) {
            return Run("Rotate", p, 7);
        }
        p = std::move(turned);
        return Run("Rotate", p, 7);
    }
    bool HueSaturation(CPicture& p) override { return Run("HueSaturation", p, 8); }
    bool AdjustRGB(CPicture& p) override { return Run("AdjustRGB", p, 9); }

private:
    bool Run(const char* name, CPicture& p, std::uint8_t mark) {
        calls.emplace_back(name);
        if (succeed) {
            p.Pixels()[0] = mark;
        }
        return succeed;
    }
};

TEST_F(ControllerStyleTest, EachPictureOperationThatChangesThePictureIsAStepOfItsKind) {
    struct Case {
        const char* name;
        void (CImageController::*wrapper)();
        int kind;
        std::uint8_t mark;
    };
    const Case cases[] = {
        {"Blur", &CImageController::Blur, kHistoryBlur, 1},
        {"Sharpen", &CImageController::Sharpen, kHistorySharpen, 2},
        {"Emboss", &CImageController::Emboss, kHistoryEmboss, 3},
        {"Mirror", &CImageController::Mirror, kHistoryMirror, 4},
        {"Negative", &CImageController::Negative, kHistoryNegative, 5},
        {"EdgeDetect", &CImageController::EdgeDetect, kHistoryEdges, 6},
        {"Rotate", &CImageController::Rotate, kHistoryRotate, 7},
        {"HueSaturation", &CImageController::HueSaturation, kHistoryAdjust, 8},
        {"AdjustRGB", &CImageController::AdjustRGB, kHistoryAdjustRgb, 9},
    };
    StandInFilters filters;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        (controller.get()->*c.wrapper)();
        EXPECT_TRUE(controller->kinds.empty()) << "no filter target: nothing runs";
    }
    controller->SetFilterCommands(&filters);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        controller->kinds.clear();
        filters.calls.clear();
        filters.succeed = false;
        (controller.get()->*c.wrapper)();
        EXPECT_EQ(filters.calls, std::vector<std::string>{c.name});
        EXPECT_TRUE(controller->kinds.empty()) << "a failed filter is no step";

        filters.succeed = true;
        (controller.get()->*c.wrapper)();
        EXPECT_EQ(controller->kinds, std::vector<int>{c.kind});
        ASSERT_NE(controller->GetPicture(), nullptr);
        EXPECT_EQ(controller->GetPicture()->Pixels()[0], c.mark);
    }
    // The rotation turned the picture, and the view shows it turned.
    int width = 0;
    int height = 0;
    controller->GetImageSize(width, height);
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 60);
    controller->GetZoomedSize(width, height);
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 60);
    // Back to the step before the rotation: its picture and size.
    for (int step = 0; step < 3; ++step) {
        controller->Undo();
    }
    controller->GetImageSize(width, height);
    EXPECT_EQ(width, 60);
    EXPECT_EQ(height, 40);
    EXPECT_EQ(controller->GetPicture()->Pixels()[0], 6);
}

TEST_F(ControllerStyleTest, PictureOperationsNeedAPicture) {
    StandInFilters filters;
    CImageController windowless;
    windowless.SetFilterCommands(&filters);
    windowless.Blur();
    windowless.Rotate();
    EXPECT_TRUE(filters.calls.empty());
}

class RecordingBar final : public IWorkspaceBar {
public:
    void AddMeasurement(const CCLObject& object) override { rows.insert(rows.begin(), object.number); }
    void SetMeasurements(const ObjectList& objects) override {
        ++refills;
        rows.clear();
        for (const auto& o : objects) {
            AddMeasurement(*o);
        }
    }
    std::vector<std::int32_t> rows;  // object numbers, first row first
    int refills = 0;
};

TEST_F(ControllerStyleTest, TheDataBarHearsOfDeletionsAndIsRefilled) {
    RecordingBar bar;
    controller->GetObjectList()->at(0)->number = 1;
    controller->GetObjectList()->at(1)->number = 2;
    controller->NotifyObjectAdded(Object(0));
    EXPECT_TRUE(bar.rows.empty()) << "no bar set";
    controller->SetWorkspaceBar(&bar);
    controller->NotifyObjectAdded(Object(0));
    controller->NotifyObjectAdded(Object(1));
    EXPECT_EQ(bar.rows, (std::vector<std::int32_t>{2, 1}));

    SelectFirst();
    controller->DeleteSelection();
    EXPECT_EQ(bar.refills, 1);
    EXPECT_EQ(bar.rows, std::vector<std::int32_t>{1}) << "the line left is renumbered 1";
}

}  // namespace
