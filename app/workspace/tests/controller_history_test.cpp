#include <gtest/gtest.h>

#include "history_actions.h"
#include "history_list_box.h"
#include "test_objects.h"
#include "recording_host.h"
#include "workspace_test_env.h"

namespace {

namespace fs = std::filesystem;

constexpr int kUndoId = 101;
constexpr int kRedoId = 102;

std::vector<std::wstring> Lines(const CHistoryListBox& box) {
    std::vector<std::wstring> lines;
    const auto n = static_cast<int>(::SendMessageW(box.GetSafeHwnd(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        std::wstring text(static_cast<std::size_t>(::SendMessageW(box.GetSafeHwnd(), LB_GETTEXTLEN, i, 0)), L'\0');
        ::SendMessageW(box.GetSafeHwnd(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        lines.push_back(text);
    }
    return lines;
}

class ControllerHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path picturePath = temp.path() / "picture.bmp";
        ASSERT_TRUE(SeededPicture(40, 30, 7).Save(picturePath, kPictureBmp));
        controller = std::make_unique<CImageController>(picturePath, parent.hwnd());
        controller->SetHost(&host);
        controller->SetObjectFactory(&MakeTestTaggedObject);
        controller->SetSequenceNumber(5);
        controller->SetPictureKind(kqmk::kKindBmp);
        controller->GetHistoryStore().CreateFolder(5);
        ASSERT_TRUE(undoBox.Create(parent.hwnd(), RECT{0, 0, 150, 200}, kUndoId));
        ASSERT_TRUE(redoBox.Create(parent.hwnd(), RECT{160, 0, 310, 200}, kRedoId));
        for (CHistoryListBox* box : {&undoBox, &redoBox}) {
            box->SetControllerSource([this] { return controller.get(); });
        }
        // As the view does: refill both lists whenever the history changes.
        host.onHistoryChanged = [this] {
            undoBox.Fill(controller->GetHistoryStore());
            redoBox.Fill(controller->GetHistoryStore());
        };
        parent.onCommand = [this](WPARAM w, LPARAM l) {
            return undoBox.OnParentCommand(w, l) || redoBox.OnParentCommand(w, l);
        };
    }

    void Add(std::int32_t tag) {
        auto o = std::make_unique<TestTaggedObject>(tag);
        o->number = static_cast<std::int32_t>(controller->GetObjectList()->size() + 1);
        controller->GetObjectList()->push_back(std::move(o));
        controller->PushHistory(kHistoryCreate);
    }

    // Chooses a line as the user does: the list box reports the selection
    // change to its parent.
    void Choose(CHistoryListBox& box, int id, int line) {
        ::SendMessageW(box.GetSafeHwnd(), LB_SETCURSEL, line, 0);
        ::SendMessageW(parent.hwnd(), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(box.GetSafeHwnd()));
    }

    fs::path Folder() const { return temp.path() / "Mikra_TempFiles" / "5"; }

    ScopedTempDirectory temp{L"vz_controller_history"};
    ParentWindow parent;
    controller_testing::RecordingHost host;
    CHistoryListBox undoBox{true};
    CHistoryListBox redoBox{false};
    std::unique_ptr<CImageController> controller;
};

TEST_F(ControllerHistoryTest, PushUndoRedoAndTruncationThroughTheLists) {
    controller->OpenPicture();
    EXPECT_TRUE(fs::exists(Folder() / "0" / "~TImg"));
    EXPECT_TRUE(fs::exists(Folder() / "0" / "~TCounts"));
    undoBox.Fill(controller->GetHistoryStore());
    EXPECT_TRUE(Lines(undoBox).empty());  // step 0 is never undone

    Add(kTagLine);
    Add(kTagCircle);
    (*controller->GetObjectList())[0]->number = 42;
    controller->PushHistory(kHistoryModify);
    EXPECT_EQ(host.HistoryNotices(), 3);
    EXPECT_EQ(Lines(undoBox), (std::vector<std::wstring>{L"3 修改", L"2 创建", L"1 创建"}));
    EXPECT_TRUE(Lines(redoBox).empty());

    // The first undo line gives the state before the newest step.
    Choose(undoBox, kUndoId, 0);
    EXPECT_EQ(controller->GetHistoryStore().Current(), 2);
    ASSERT_EQ(controller->GetObjectList()->size(), 2u);
    EXPECT_EQ((*controller->GetObjectList())[0]->number, 1);
    EXPECT_EQ(Lines(undoBox), (std::vector<std::wstring>{L"2 创建", L"1 创建"}));
    EXPECT_EQ(Lines(redoBox), (std::vector<std::wstring>{L"3 修改"}));

    controller->Undo();
    EXPECT_EQ(controller->GetObjectList()->size(), 1u);
    EXPECT_EQ(Lines(redoBox), (std::vector<std::wstring>{L"2 创建", L"3 修改"}));
    EXPECT_EQ(controller->GetTypeCounters().Get(kTagLine), 1);
    EXPECT_EQ(controller->GetTypeCounters().Get(kTagCircle), 0);

    // A redo line gives the state after its step.
    Choose(redoBox, kRedoId, 1);
    EXPECT_EQ(controller->GetHistoryStore().Current(), 3);
    ASSERT_EQ(controller->GetObjectList()->size(), 2u);
    EXPECT_EQ((*controller->GetObjectList())[0]->number, 42);
    EXPECT_EQ(controller->GetTypeCounters().Get(kTagCircle), 1);

    controller->Undo();
    controller->Undo();
    EXPECT_EQ(controller->GetHistoryStore().Current(), 1);
    controller->GetObjectList()->clear();
    controller->PushHistory(kHistoryDelete);
    EXPECT_FALSE(fs::exists(Folder() / "3"));
    EXPECT_TRUE(fs::exists(Folder() / "2" / "~TEntityList"));
    EXPECT_TRUE(Lines(redoBox).empty());
    EXPECT_EQ(Lines(undoBox), (std::vector<std::wstring>{L"2 删除", L"1 创建"}));
    controller->Redo();  // nothing to redo
    EXPECT_EQ(controller->GetHistoryStore().Current(), 2);

    controller.reset();
    EXPECT_FALSE(fs::exists(Folder()));
    EXPECT_TRUE(fs::exists(temp.path() / "Mikra_TempFiles"));
}

TEST_F(ControllerHistoryTest, SelectedObjectsComeBackSelected) {
    controller->OpenPicture();
    Add(kTagRectangle);
    (*controller->GetObjectList())[0]->state = CCLObject::kSelectedWhole;
    controller->PushHistory(kHistoryModify);
    controller->Undo();
    controller->Redo();
    ASSERT_EQ(controller->GetSelection().size(), 1u);
    EXPECT_EQ(controller->GetSelection()[0], (*controller->GetObjectList())[0].get());
}

TEST(ControllerHistoryPicture, AShownPictureComesBackExactlyWhateverItsKind) {
    ScopedTempDirectory temp(L"vz_controller_kinds");
    ParentWindow parent;
    struct Case {
        int kind;
        PictureType file;
        const char* name;
    };
    for (const Case c : {Case{kqmk::kKindJpeg, kPictureJpeg, "p.jpg"}, Case{kqmk::kKindOther, kPicturePng, "p.png"}}) {
        const fs::path path = temp.path() / c.name;
        ASSERT_TRUE(SeededPicture(24, 16, 90).Save(path, c.file));
        CImageController controller(path, parent.hwnd());
        controller.SetPictureKind(c.kind);
        controller.GetHistoryStore().CreateFolder(9);
        controller.OpenPicture();
        ASSERT_NE(controller.GetPicture(), nullptr);
        const CPicture shown = *controller.GetPicture();
        controller.PushHistory(kHistoryCreate);
        controller.ClosePicture();
        controller.OpenPicture();  // shown again: from the history
        ASSERT_NE(controller.GetPicture(), nullptr);
        EXPECT_TRUE(SamePixels(*controller.GetPicture(), shown)) << c.name;
    }
}

}  // namespace
