#include <gtest/gtest.h>

#include <filesystem>

#include "annotations_resource.h"
#include "cl_arrow.h"
#include "cl_count.h"
#include "cl_scale_bar.h"
#include "cl_text.h"
#include "circle_figures.h"
#include "drawing_model.h"
#include "history_actions.h"
#include "line_figures.h"
#include "unique_temp_dir.h"

namespace {

namespace fs = std::filesystem;

class DrawingModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
        model = std::make_unique<CDrawingModel>(dir);
        model->History().CreateFolder(3);
    }
    void TearDown() override {
        model.reset();
        fs::remove_all(dir);
    }

    // A line numbered as a drawn one is.
    CCLObject& AddLine() {
        auto line = std::make_unique<CCLLine>();
        line->number = model->TypeCounters().Next(line->type);
        model->Objects().push_back(std::move(line));
        return *model->Objects().back();
    }
    CCL_Count& AddCounter(ColourRef key) {
        model->counterColourKey = static_cast<std::int32_t>(key);
        auto counter = std::make_unique<CCL_CountCircle>();
        model->NumberCounter(*counter);
        model->Objects().push_back(std::move(counter));
        return static_cast<CCL_Count&>(*model->Objects().back());
    }
    void Select(CCLObject& o) {
        o.state = CCLObject::kSelectedWhole;
        model->Selection().push_back(&o);
    }

    fs::path dir = testing_support::UniqueTempPath("vz_drawing_model");
    std::unique_ptr<CDrawingModel> model;
};

TEST_F(DrawingModelTest, DeletingALineRenumbersTheRestAndTheNextContinues) {
    AddLine();
    CCLObject& second = AddLine();
    AddLine();
    Select(second);
    EXPECT_TRUE(model->DeleteSelection());
    ASSERT_EQ(model->Objects().size(), 2u);
    EXPECT_EQ(model->Objects()[0]->number, 1);
    EXPECT_EQ(model->Objects()[1]->number, 2);
    EXPECT_TRUE(model->Selection().empty());
    EXPECT_EQ(AddLine().number, 3);
    EXPECT_FALSE(model->DeleteSelection()) << "nothing selected";
}

TEST_F(DrawingModelTest, DeletingACounterClosesTheGapOfItsColourOnly) {
    constexpr ColourRef kA = 0x0000FF;
    constexpr ColourRef kB = 0x00FF00;
    AddCounter(kA);
    CCL_Count& a2 = AddCounter(kA);
    AddCounter(kA);
    AddCounter(kB);
    AddCounter(kB);
    Select(a2);
    model->DeleteSelection();
    std::vector<std::int32_t> numbers;
    for (const auto& o : model->Objects()) {
        numbers.push_back(o->number);
    }
    EXPECT_EQ(numbers, (std::vector<std::int32_t>{1, 2, 1, 2}));
    EXPECT_EQ(model->CounterStyles().Get(CCL_CountCircle::kType, kA).nextNumber, 3);
    EXPECT_EQ(AddCounter(0x123456).number, 1) << "a new colour starts at 1";
}

TEST_F(DrawingModelTest, RestoringAStepBringsBackObjectsSelectionAndNumbering) {
    model->PushStep(kHistoryLoad);
    AddLine();
    model->PushStep(kHistoryCreate);
    Select(AddLine());
    model->PushStep(kHistoryCreate);
    AddLine();
    model->PushStep(kHistoryCreate);

    ASSERT_TRUE(model->RestoreStep(2));
    ASSERT_EQ(model->Objects().size(), 2u);
    ASSERT_EQ(model->Selection().size(), 1u);
    EXPECT_EQ(model->Selection()[0], model->Objects()[1].get());
    EXPECT_EQ(model->TypeCounters().Get(CCLLine::kType), 2);
    EXPECT_EQ(AddLine().number, 3);

    EXPECT_FALSE(model->RestoreStep(9));
    EXPECT_EQ(model->Objects().size(), 3u) << "a missing step changes nothing";
}

TEST_F(DrawingModelTest, SetScaleAndUnitReachesEveryObject) {
    AddLine();
    AddCounter(0);
    model->SetScaleAndUnit(0.5f, u"mm");
    EXPECT_EQ(model->style.scale, 0.5f);
    EXPECT_EQ(model->style.unitText, u"mm");
    for (const auto& o : model->Objects()) {
        EXPECT_EQ(o->scale, 0.5f);
        EXPECT_EQ(o->unitText, u"mm");
    }
}

TEST_F(DrawingModelTest, SavedDocumentOpensWithTheSameObjectsAndNumbering) {
    model->PictureHolder() = std::make_unique<CPicture>(8, 6, 24, kPictureBmp);
    model->pictureKind = kqmk::kKindBmp;
    AddLine();
    Select(AddLine());
    AddCounter(0x0000FF);
    const fs::path path = dir / "d.kqmk";
    ASSERT_EQ(model->SaveDocument(path), DocumentStatus::ok);
    EXPECT_TRUE(model->Selection().empty()) << "no object is stored selected";

    CDrawingModel opened(dir);
    ASSERT_EQ(opened.LoadDocument(path), DocumentStatus::ok);
    EXPECT_EQ(opened.isDocument, 1);
    EXPECT_EQ(opened.documentPath, path);
    EXPECT_EQ(opened.pictureKind, kqmk::kKindBmp);
    EXPECT_EQ(opened.PictureWidth(), 8);
    ASSERT_EQ(opened.Objects().size(), 3u);
    for (const auto& o : opened.Objects()) {
        EXPECT_EQ(o->state, CCLObject::kIdle);
    }
    EXPECT_EQ(opened.TypeCounters().Get(CCLLine::kType), 2);
    EXPECT_EQ(opened.CounterStyles().Get(CCL_CountCircle::kType, 0x0000FF).nextNumber, 2);

    CDrawingModel untouched(dir);
    EXPECT_NE(untouched.LoadDocument(dir / "missing.kqmk"), DocumentStatus::ok);
    EXPECT_EQ(untouched.isDocument, 0);
    EXPECT_EQ(untouched.Picture(), nullptr);
}

TEST_F(DrawingModelTest, NewObjectsTakeTheWholeStyle) {
    DrawingStyle& style = model->style;
    style.scale = 0.25f;
    style.unitText = u"mm";
    style.decimals = 4;
    style.labelBoxShown = 0;
    style.drawColour = 0x112233;
    style.selectedColour = 0x445566;
    style.labelBoxColour = 0x778899;
    style.penStyle = 2;
    style.lineWidth = 3;
    style.labelFont.height = -19;
    style.labelFont.weight = 700;
    style.labelFont.SetFaceName(u"Label Face");
    style.labelMode = CCLObject::kLabelValuesOnly;

    CCLLine line;
    line.label.dirty = 0;
    model->ApplyStyle(line);
    EXPECT_EQ(line.scale, 0.25f);
    EXPECT_EQ(line.unitText, u"mm");
    EXPECT_EQ(line.decimals, 4);
    EXPECT_EQ(line.label.boxShown, 0);
    EXPECT_EQ(line.drawColour, 0x112233u);
    EXPECT_EQ(line.selectedColour, 0x445566u);
    EXPECT_EQ(line.label.boxColour, 0x778899u);
    EXPECT_EQ(line.penStyle, 2);
    EXPECT_EQ(line.lineWidth, 3);
    EXPECT_EQ(line.font, style.labelFont);
    EXPECT_EQ(line.label.font, style.labelFont);
    EXPECT_EQ(line.labelMode, CCLObject::kLabelValuesOnly);
    EXPECT_EQ(line.label.dirty, 1);
}

// Counter names and step descriptions are the language library's texts;
// without one they are the program's own.
TEST_F(DrawingModelTest, CounterNamesAndStepTextsComeFromTheLanguage) {
    const auto stepTexts = [&] {
        std::vector<std::u16string> texts;
        for (const HistoryStep* step : model->History().UndoList()) {
            texts.push_back(step->description);
        }
        return texts;
    };
    model->PushStep(kHistoryLoad);
    EXPECT_EQ(AddCounter(0).name, u"\u5706\u5f62\u8ba1\u6570\u5668");
    model->PushStep(kHistoryCreate);
    EXPECT_EQ(stepTexts(), std::vector<std::u16string>{u"\u521b\u5efa"});

    model->SetTextSource([](int id) -> std::u16string {
        switch (id) {
        case IDS_COUNTER_CIRCLE: return u"Round counter";
        case 45004: return u"Create";
        default: return {};
        }
    });
    EXPECT_EQ(AddCounter(0).name, u"Round counter");
    model->PushStep(kHistoryCreate);
    model->PushStep(kHistoryDelete);  // the language has no text: the program's own
    EXPECT_EQ(stepTexts(), (std::vector<std::u16string>{u"\u521b\u5efa", u"Create", u"\u5220\u9664"}));
}

// A model without objects and counter styles writes the three blocks with
// nothing in them: 28 bytes and the pixel bytes.
TEST_F(DrawingModelTest, EmptyDocumentIsTwentyEightBytesAndThePixels) {
    const fs::path empty = dir / "empty.kqmk";
    ASSERT_EQ(model->SaveDocument(empty), DocumentStatus::ok);
    EXPECT_EQ(fs::file_size(empty), 28u);

    model->PictureHolder() = std::make_unique<CPicture>(3, 2, 24, kPictureBmp);
    const fs::path withPicture = dir / "picture.kqmk";
    ASSERT_EQ(model->SaveDocument(withPicture), DocumentStatus::ok);
    EXPECT_EQ(fs::file_size(withPicture), 28u + 2u * 12u);  // rows padded to 4 bytes
}

// Figures, texts and arrows count per type, counters per colour, and scale
// bars are not numbered.
TEST_F(DrawingModelTest, FinishedObjectsAreNumberedByTheirKind) {
    CCLLine line1;
    CCLLine line2;
    CCLText text;
    CCLArrow arrow;
    CCL_CountRect counter;
    CCL_BiaoChi bar;
    const std::int32_t barNumber = bar.number;
    model->counterColourKey = 0x00FF00;
    for (CCLObject* o : std::initializer_list<CCLObject*>{&line1, &line2, &text, &arrow, &counter, &bar}) {
        model->NumberNew(*o);
    }
    EXPECT_EQ(line1.number, 1);
    EXPECT_EQ(line2.number, 2);
    EXPECT_EQ(text.number, 1);
    EXPECT_EQ(arrow.number, 1);
    EXPECT_EQ(counter.number, 1);
    EXPECT_EQ(counter.markerColour, 0x00FF00u);
    EXPECT_EQ(model->CounterStyles().Get(CCL_CountRect::kType, 0x00FF00).nextNumber, 2);
    EXPECT_EQ(bar.number, barNumber);
    EXPECT_EQ(model->TypeCounters().Get(CCLLine::kType), 2);
    EXPECT_EQ(model->TypeCounters().Get(CCL_CountRect::kType), 0);
}

// Objects of several kinds are numbered as drawn, some are deleted, and
// the numbers left and the next number of each kind are read.
TEST_F(DrawingModelTest, DeletionRenumbersFiguresInCreationOrderAndKeepsTextsAndArrows) {
    struct Case {
        const char* name;
        std::string kinds;  // L line, C circle, T text, A arrow, in creation order
        std::vector<std::size_t> deleted;
        bool reversedList;                      // the list holds the objects in the reverse of creation order
        std::vector<std::int32_t> numbersLeft;  // in list order
        std::int32_t nextLine, nextCircle, nextText, nextArrow;
    };
    const Case cases[] = {
        {"middle line", "LLL", {1}, false, {1, 2}, 3, 1, 1, 1},
        {"first and last line", "LLL", {0, 2}, false, {1}, 2, 1, 1, 1},
        {"every line", "LL", {0, 1}, false, {}, 1, 1, 1, 1},
        {"kinds renumber apart", "LCLCLC", {0, 3}, false, {1, 1, 2, 2}, 3, 3, 1, 1},
        {"texts and arrows keep numbers and counters", "TTATA", {0, 2}, false, {2, 3, 2}, 1, 1, 4, 3},
        {"a text among lines", "LTL", {1}, false, {1, 2}, 3, 1, 2, 1},
        {"creation order, not list order", "LLLL", {2}, true, {3, 2, 1}, 4, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        for (const char kind : c.kinds) {
            std::unique_ptr<CCLObject> object;
            switch (kind) {
            case 'L': object = std::make_unique<CCLLine>(); break;
            case 'C': object = std::make_unique<CCLCircle>(); break;
            case 'T': object = std::make_unique<CCLText>(); break;
            default: object = std::make_unique<CCLArrow>(); break;
            }
            model->NumberNew(*object);
            model->Objects().push_back(std::move(object));
        }
        std::vector<CCLObject*> created;
        for (const auto& o : model->Objects()) {
            created.push_back(o.get());
        }
        if (c.reversedList) {
            std::reverse(model->Objects().begin(), model->Objects().end());
        }
        for (const std::size_t index : c.deleted) {
            Select(*created[index]);
        }
        ASSERT_TRUE(model->DeleteSelection());
        std::vector<std::int32_t> numbers;
        for (const auto& o : model->Objects()) {
            numbers.push_back(o->number);
        }
        EXPECT_EQ(numbers, c.numbersLeft);
        CCLLine line;
        CCLCircle circle;
        CCLText text;
        CCLArrow arrow;
        for (CCLObject* o : std::initializer_list<CCLObject*>{&line, &circle, &text, &arrow}) {
            model->NumberNew(*o);
        }
        EXPECT_EQ(line.number, c.nextLine);
        EXPECT_EQ(circle.number, c.nextCircle);
        EXPECT_EQ(text.number, c.nextText);
        EXPECT_EQ(arrow.number, c.nextArrow);
        TearDown();
    }
}

// Counters of two colours and three kinds; one is deleted.
TEST_F(DrawingModelTest, DeletingACounterLowersOnlyLaterNumbersOfItsKindAndColour) {
    constexpr ColourRef kA = 0x0000FF;
    constexpr ColourRef kB = 0x00FF00;
    struct Marker {
        int type;
        ColourRef key;
    };
    struct Case {
        const char* name;
        std::vector<Marker> markers;
        std::size_t deleted;
        std::vector<std::int32_t> numbersLeft;
        std::int32_t nextOfDeletedStyle;
    };
    const Case cases[] = {
        {"middle of one style", {{14, kA}, {14, kA}, {14, kA}}, 1, {1, 2}, 3},
        {"last of one style", {{14, kA}, {14, kA}}, 1, {1}, 2},
        {"other colour keeps", {{14, kA}, {14, kB}, {14, kA}, {14, kB}}, 0, {1, 1, 2}, 2},
        {"other kind keeps", {{15, kA}, {16, kA}, {15, kA}, {16, kA}}, 1, {1, 2, 1}, 2},
        {"only one", {{16, kB}}, 0, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        for (const Marker& m : c.markers) {
            model->counterColourKey = static_cast<std::int32_t>(m.key);
            std::unique_ptr<CCL_Count> counter;
            switch (m.type) {
            case 14: counter = std::make_unique<CCL_CountCircle>(); break;
            case 15: counter = std::make_unique<CCL_CountDiamond>(); break;
            default: counter = std::make_unique<CCL_CountRect>(); break;
            }
            model->NumberCounter(*counter);
            model->Objects().push_back(std::move(counter));
        }
        Select(*model->Objects()[c.deleted]);
        ASSERT_TRUE(model->DeleteSelection());
        std::vector<std::int32_t> numbers;
        for (const auto& o : model->Objects()) {
            numbers.push_back(o->number);
        }
        EXPECT_EQ(numbers, c.numbersLeft);
        const Marker& gone = c.markers[c.deleted];
        EXPECT_EQ(model->CounterStyles().Get(gone.type, gone.key).nextNumber, c.nextOfDeletedStyle);
        EXPECT_EQ(model->CounterStyles().Get(gone.type, gone.key).size, 15);
        TearDown();
    }
}

TEST_F(DrawingModelTest, UnitCycleConvertsTheConfirmedCalibrationIntoEachUnit) {
    struct Step {
        std::u16string_view unit;
        double scale;  // 0.5 um per pixel in that unit
    };
    const Step steps[] = {
        {u"mm", 0.0005},      {u"cm", 0.00005},       {u"inch", 0.5 / 25400.0},
        {u"mil", 0.5 / 25.4}, {u"uin", 0.5 / 0.0254}, {u"\u03bcm", 0.5},
    };
    model->calibrationScale = 0.5f;
    model->calibrationUnit = u"\u03bcm";
    for (const Step& step : steps) {
        const float scale = model->CycleDisplayedUnit();
        EXPECT_EQ(model->displayedUnit, step.unit);
        EXPECT_NEAR(scale, step.scale, step.scale * 1e-6);
    }
    // A displayed unit outside the cycle starts it again; a calibration in
    // millimetres is converted from millimetres.
    model->displayedUnit = u"px";
    model->calibrationScale = 0.002f;
    model->calibrationUnit = u"mm";
    EXPECT_NEAR(model->CycleDisplayedUnit(), 2.0, 1e-6);
    EXPECT_EQ(model->displayedUnit, u"\u03bcm");
}

}  // namespace
