#include <gtest/gtest.h>

#include "unique_temp_dir.h"

#include <filesystem>

#include "history_actions.h"
#include "history_lines.h"
#include "history_store.h"
#include "img_count.h"
#include "test_objects.h"

namespace {

namespace fs = std::filesystem;

CPicture Filled(std::uint8_t value) {
    CPicture p(4, 2, 24, kPictureJpeg);
    for (std::size_t i = 0; i < p.GetSize(); ++i) p.Pixels()[i] = static_cast<std::uint8_t>(value + i);
    return p;
}

bool SamePixels(const CPicture& a, const CPicture& b) {
    return a.GetWidth() == b.GetWidth() && a.GetHeight() == b.GetHeight() && a.GetBpp() == b.GetBpp() &&
           std::equal(a.Pixels().begin(), a.Pixels().end(), b.Pixels().begin(), b.Pixels().end());
}

std::unique_ptr<HistoryStep> Step(std::int32_t action) {
    auto step = std::make_unique<HistoryStep>();
    step->action = action;
    return step;
}

class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        temp = testing_support::UniqueTempPath(
            "vz_history_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(temp);
        fs::create_directories(temp);
        store = std::make_unique<CHistoryStore>(temp);
        store->SetObjectFactory(&MakeTestTaggedObject);
        store->CreateFolder(7);
    }
    void TearDown() override {
        store.reset();
        fs::remove_all(temp);
    }

    // Adds an object of `tag` and records `action`.
    void Push(std::int32_t action, std::int32_t tag = 0) {
        if (tag != 0) {
            auto o = std::make_unique<TestTaggedObject>(tag);
            o->extra = static_cast<std::int32_t>(objects.size());
            objects.push_back(std::move(o));
        }
        store->PushStep(Step(action), objects, styles, &picture, kqmk::kKindJpeg);
    }

    // Restores `target` the way the controller does: into empty lists.
    bool Restore(std::int32_t target) {
        ObjectList restored;
        CounterStyleList restoredStyles;
        if (!store->RestoreStep(&picture, restored, restoredStyles, target)) {
            return false;
        }
        objects = std::move(restored);
        styles = std::move(restoredStyles);
        return true;
    }

    std::vector<std::int32_t> Indices(const std::vector<const HistoryStep*>& list) const {
        std::vector<std::int32_t> out;
        for (const HistoryStep* s : list) out.push_back(s->index);
        return out;
    }

    fs::path temp;
    std::unique_ptr<CHistoryStore> store;
    ObjectList objects;
    CounterStyleList styles = {{0, 1, 14, 0, 15}};
    CPicture picture = Filled(10);
};

TEST_F(HistoryTest, FoldersFollowTheControllerNumberAndStep) {
    EXPECT_EQ(store->GetBaseFolder(), temp / "Mikra_TempFiles");
    Push(kHistoryLoad);
    Push(kHistoryCreate, kTagLine);
    const fs::path step1 = temp / "Mikra_TempFiles" / "7" / "1";
    EXPECT_TRUE(fs::exists(temp / "Mikra_TempFiles" / "7" / "0" / "~TImg"));
    EXPECT_TRUE(fs::exists(temp / "Mikra_TempFiles" / "7" / "0" / "~TEntityList"));
    EXPECT_TRUE(fs::exists(step1 / "~TEntityList"));
    EXPECT_FALSE(fs::exists(step1 / "~TImg"));
    EXPECT_EQ(store->Steps()[0]->description, u"加载");
    EXPECT_EQ(store->Steps()[1]->description, u"创建");

    store->Clear();
    EXPECT_FALSE(fs::exists(temp / "Mikra_TempFiles" / "7"));
    EXPECT_TRUE(fs::exists(temp / "Mikra_TempFiles"));
}

TEST_F(HistoryTest, UndoRedoAndTruncation) {
    Push(kHistoryLoad);
    Push(kHistoryCreate, kTagLine);
    Push(kHistoryCreate, kTagCircle);
    Push(kHistoryCreate, kTagText);
    EXPECT_EQ(store->Last(), 3);
    EXPECT_EQ(Indices(store->UndoList()), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_TRUE(store->RedoList().empty());

    ASSERT_TRUE(Restore(1));
    EXPECT_EQ(store->Current(), 1);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]->type, kTagLine);
    EXPECT_EQ(Indices(store->UndoList()), (std::vector<std::int32_t>{1}));
    EXPECT_EQ(Indices(store->RedoList()), (std::vector<std::int32_t>{2, 3}));

    ASSERT_TRUE(Restore(3));  // redo all
    EXPECT_EQ(objects.size(), 3u);
    EXPECT_EQ(store->TypeCounters().Get(kTagText), 1);

    ASSERT_TRUE(Restore(1));
    Push(kHistoryDelete);  // a new change drops steps 2 and 3
    EXPECT_EQ(store->Last(), 2);
    EXPECT_EQ(store->Current(), 2);
    EXPECT_EQ(store->Steps().size(), 3u);
    EXPECT_EQ(store->Steps()[2]->action, kHistoryDelete);
    EXPECT_FALSE(fs::exists(store->StepFolder(3)));
    EXPECT_TRUE(store->RedoList().empty());
    EXPECT_FALSE(Restore(3));
    EXPECT_EQ(store->Current(), 2);
}

TEST_F(HistoryTest, PicturesComeBackOnlyWhenAStepCrossedChangedThem) {
    const CPicture first = Filled(10);
    Push(kHistoryLoad);
    picture = Filled(50);
    const CPicture blurred = picture;
    Push(kHistoryBlur);
    picture = Filled(90);  // an unsaved change the next step does not record
    Push(kHistoryCreate, kTagLine);

    // Undo across a step without a picture: the picture stays.
    ASSERT_TRUE(Restore(1));
    EXPECT_TRUE(SamePixels(picture, Filled(90)));
    // Below the first picture change: the loaded picture.
    ASSERT_TRUE(Restore(0));
    EXPECT_TRUE(SamePixels(picture, first));
    // Redo across the blur: the blurred picture, exactly (the JPEG kind of
    // the picture does not make the step lossy).
    ASSERT_TRUE(Restore(2));
    EXPECT_TRUE(SamePixels(picture, blurred));
    // Restoring the current step again re-reads objects, not the picture.
    picture = Filled(200);
    ASSERT_TRUE(Restore(2));
    EXPECT_TRUE(SamePixels(picture, Filled(200)));
    EXPECT_EQ(objects.size(), 1u);
}

TEST_F(HistoryTest, PictureOfAnyOriginIsKept) {
    picture = Filled(33);
    store->PushStep(Step(kHistoryLoad), objects, styles, &picture, kqmk::kKindOther);
    EXPECT_EQ(store->Steps()[0]->hasPicture, 1);
    CPicture loaded;
    ASSERT_TRUE(store->LoadCurrentPicture(loaded));
    EXPECT_TRUE(SamePixels(loaded, Filled(33)));

    // Without a picture nothing is saved and the step says so.
    store->PushStep(Step(kHistoryLoad), objects, styles, nullptr, kqmk::kKindOther);
    EXPECT_EQ(store->Steps().size(), 1u);
    EXPECT_EQ(store->Steps()[0]->hasPicture, 0);
    EXPECT_FALSE(store->LoadCurrentPicture(loaded));
}

TEST_F(HistoryTest, CountingStateFollowsTheStep) {
    CIMGCount counter;
    ASSERT_TRUE(counter.Initialize(picture.Pixels(), picture.GetWidth(), picture.GetHeight()));
    counter.setMarkColor(0x0000FF);
    counter.EdgeImage()[0] = 255;
    store->SetCounter(&counter);
    Push(kHistoryLoad);

    counter.setSelRect(CountPoint{1, 0}, 2, 2);
    counter.setMarkColor(0x00FF00);
    counter.EdgeImage()[0] = 0;
    counter.EdgeImage()[5] = 255;
    Push(kHistoryAutoCount);
    EXPECT_EQ(store->Steps()[1]->hasCountingState, 1);

    ASSERT_TRUE(Restore(0));
    CountPoint corner;
    int w = 0, h = 0;
    EXPECT_FALSE(counter.getSelRect(corner, w, h));
    EXPECT_EQ(counter.getMarkColor(), 0x0000FFu);
    EXPECT_EQ(counter.EdgeImage()[0], 255);
    EXPECT_EQ(counter.EdgeImage()[5], 0);

    ASSERT_TRUE(Restore(1));
    ASSERT_TRUE(counter.getSelRect(corner, w, h));
    EXPECT_EQ(std::vector<int>({corner.x, corner.y, w, h}), (std::vector<int>{1, 0, 2, 2}));
    EXPECT_EQ(counter.getMarkColor(), 0x00FF00u);
    EXPECT_EQ(counter.EdgeImage()[5], 255);
}

TEST_F(HistoryTest, PictureChangeResetsTheCounterSource) {
    CIMGCount counter;
    ASSERT_TRUE(counter.Initialize(picture.Pixels(), picture.GetWidth(), picture.GetHeight()));
    ASSERT_TRUE(counter.creatGrayImg(3));
    store->SetCounter(&counter);
    Push(kHistoryLoad);
    const std::vector<std::uint8_t> greyBefore(counter.GetGreyImage().begin(), counter.GetGreyImage().end());
    picture = Filled(120);
    Push(kHistoryNegative);
    const std::vector<std::uint8_t> greyAfter(counter.GetGreyImage().begin(), counter.GetGreyImage().end());
    EXPECT_NE(greyAfter, greyBefore);
    ASSERT_TRUE(Restore(0));
    EXPECT_EQ(std::vector<std::uint8_t>(counter.GetGreyImage().begin(), counter.GetGreyImage().end()), greyBefore);
}

TEST_F(HistoryTest, UnreadableStepChangesNothing) {
    Push(kHistoryLoad);
    Push(kHistoryCreate, kTagLine);
    Push(kHistoryCreate, kTagCircle);
    fs::remove(store->StepFolder(1) / "~TEntityList");
    ObjectList kept;
    kept.push_back(std::make_unique<TestTaggedObject>(kTagEllipse));
    CounterStyleList keptStyles;
    EXPECT_FALSE(store->RestoreStep(&picture, kept, keptStyles, 1));
    EXPECT_EQ(kept.size(), 1u);
    EXPECT_EQ(store->Current(), 2);

    // A damaged list is refused the same way.
    std::FILE* f = std::fopen((store->StepFolder(0) / "~TEntityList").string().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputc(5, f);
    std::fclose(f);
    EXPECT_FALSE(store->RestoreStep(&picture, kept, keptStyles, 0));
    EXPECT_EQ(store->Current(), 2);
}

TEST_F(HistoryTest, LoadStepStartsAfresh) {
    Push(kHistoryLoad);
    Push(kHistoryCreate, kTagLine);
    Push(kHistoryCreate, kTagLine);
    Push(kHistoryLoad);
    EXPECT_EQ(store->Steps().size(), 1u);
    EXPECT_EQ(store->Last(), 0);
    EXPECT_FALSE(fs::exists(store->StepFolder(1)));
    EXPECT_TRUE(fs::exists(store->StepFolder(0) / "~TEntityList"));
    EXPECT_TRUE(store->UndoList().empty());
}

TEST_F(HistoryTest, ListLinesAndTheStepsTheyRestore) {
    Push(kHistoryLoad);
    EXPECT_TRUE(HistoryLines(*store, true).empty());
    Push(kHistoryCreate, kTagLine);
    Push(kHistoryModify);
    Push(kHistoryRotate);
    ASSERT_TRUE(Restore(2));
    EXPECT_EQ(HistoryLines(*store, true), (std::vector<std::u16string>{u"2 修改", u"1 创建"}));
    EXPECT_EQ(HistoryLines(*store, false), (std::vector<std::u16string>{u"3 旋转"}));
    // Undo: the first line gives the state before the newest step.
    EXPECT_EQ(HistoryTarget(*store, true, 0), 1);
    EXPECT_EQ(HistoryTarget(*store, true, 1), 0);
    EXPECT_EQ(HistoryTarget(*store, false, 0), 3);
    EXPECT_EQ(HistoryTarget(*store, true, 2), std::nullopt);
    EXPECT_EQ(HistoryTarget(*store, false, -1), std::nullopt);
}

}  // namespace
