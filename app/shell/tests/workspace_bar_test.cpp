// The data bar in the real main frame: its headings, tab and rows for a
// controller's measurement objects, read back from the list control in
// both languages.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "frame_with_camera_double.h"
#include "language_library.h"
#include "main_frame.h"
#include "mikra_app.h"
#include "mikra_doc.h"
#include "mikra_view.h"
#include "object_factory.h"
#include "picture_files.h"

namespace {

struct Language {
    int number;
    std::vector<std::wstring> headings;
    std::wstring tab;
    std::wstring line;
    std::wstring rectangle;
    std::wstring parallel;
};

class WorkspaceBarTest : public testing::TestWithParam<Language> {
protected:
    void SetUp() override {
        ASSERT_TRUE(language_.Loaded());
        ASSERT_TRUE(LoadFrameWithCameraDouble(frame_, document_));
        ShowWithoutActivating(frame_);
        view_ = dynamic_cast<CMikraView*>(frame_.GetActiveView());
        ASSERT_NE(view_, nullptr);
        view_->OnInitialUpdate();
        list_ = frame_.GetDataBar().GetList();
        ASSERT_NE(list_, nullptr);
    }
    void TearDown() override { frame_.DestroyWindow(); }

    std::wstring Cell(int row, int column) const {
        wchar_t buffer[128] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = 128;
        SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    int Rows() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
    CCLObject& Add(CImageController& controller, int tag, int number, int decimals) {
        auto object = CreateObjectForTag(tag);
        object->number = number;
        object->decimals = decimals;
        object->scale = 2.0f;
        object->results[CCLObject::kLength] = 10.25f;
        object->results[CCLObject::kDistance] = 3.0f;
        object->results[CCLObject::kWidth] = 4.0f;
        object->results[CCLObject::kArea] = 1.5f;
        object->results[CCLObject::kAngle] = 45.0f;
        CCLObject& added = *object;
        controller.GetObjectList()->push_back(std::move(object));
        return added;
    }
    std::vector<const CCLObject*> Objects(CImageController& controller) {
        std::vector<const CCLObject*> objects;
        for (const auto& o : *controller.GetObjectList()) objects.push_back(o.get());
        return objects;
    }

    LanguageLibrary language_{GetParam().number};
    CMikraApp app_;
    CMikraDoc document_;
    CMainFrame frame_;
    CMikraView* view_ = nullptr;
    HWND list_ = nullptr;
    PictureFiles files_{L"vizcam_workspace_bar"};
};

TEST_P(WorkspaceBarTest, HeadingsAndTabAreTheLanguages) {
    const std::vector<std::wstring>& headings = GetParam().headings;
    HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
    ASSERT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(headings.size()));
    const int widths[] = {1, 100, 80, 80, 80, 80, 80, 80, 80};
    for (std::size_t i = 0; i < headings.size(); ++i) {
        wchar_t buffer[64] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = buffer;
        column.cchTextMax = 64;
        SendMessageW(list_, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        EXPECT_EQ(std::wstring(buffer), headings[i]) << i;
        EXPECT_EQ(column.cx, widths[i]) << i;
    }
    const DWORD styles = static_cast<DWORD>(SendMessageW(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(styles & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES),
              static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
    wchar_t tab[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = tab;
    item.cchTextMax = 64;
    SendMessageW(frame_.GetDataBar().GetTabs().GetSafeHwnd(), TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(tab), GetParam().tab);
}

TEST_P(WorkspaceBarTest, RowsListTheControllersMeasurementsLastFirst) {
    const std::wstring path = files_.Bmp(L"measured.bmp", 40, 30, 0x336699);
    view_->OpenPicture(path);
    view_->ShowPicture(path);
    CImageController& controller = *view_->GetCurrentController();
    Add(controller, kTagText, 1, 2);
    Add(controller, kTagLine, 3, 2);
    Add(controller, kTagCountCircle, 1, 2);
    Add(controller, kTagRectangle, 1, 0);
    Add(controller, kTagParallel, 2, 2);
    Add(controller, kTagScaleBar, 1, 2);

    frame_.GetDataBar().SetMeasurements(Objects(controller));
    ASSERT_EQ(Rows(), 3);
    const Language& l = GetParam();
    const std::vector<std::vector<std::wstring>> expected = {
        {L"", l.parallel + L"_2", L"6.00", L"8.00", L"0.00", L"0.00", L"0.00", L"6.00", L"45.00"},
        {L"", l.rectangle + L"_1", L"20", L"8", L"0", L"0", L"0", L"6", L"45"},
        {L"", l.line + L"_3", L"20.50", L"8.00", L"0.00", L"0.00", L"0.00", L"6.00", L"45.00"},
    };
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 9; ++column) {
            EXPECT_EQ(Cell(row, column), expected[row][column]) << row << "," << column;
        }
    }

    // A refill replaces the rows; null objects and non-measurements add none.
    controller.GetObjectList()->erase(controller.GetObjectList()->begin() + 3, controller.GetObjectList()->end());
    std::vector<const CCLObject*> objects = Objects(controller);
    objects.push_back(nullptr);
    frame_.GetDataBar().SetMeasurements(objects);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 1), l.line + L"_3");
    frame_.GetDataBar().AddMeasurement(controller.GetObjectList()->front().get());
    EXPECT_EQ(Rows(), 1);
    frame_.GetDataBar().SetMeasurements(std::vector<const CCLObject*>{});
    EXPECT_EQ(Rows(), 0);
}

TEST_P(WorkspaceBarTest, TheBarFollowsTheCurrentPicture) {
    const std::wstring first = files_.Bmp(L"first.bmp", 40, 30, 0x336699);
    const std::wstring second = files_.Bmp(L"second.bmp", 40, 30, 0x996633);
    view_->OpenPicture(first);
    view_->OpenPicture(second);
    view_->ShowPicture(first);
    CImageController& firstController = *view_->GetCurrentController();
    Add(firstController, kTagLine, 1, 2);
    Add(firstController, kTagRectangle, 1, 0);
    firstController.RefreshWorkspaceBar();
    ASSERT_EQ(Rows(), 2);

    // Another picture lists its own objects: none.
    view_->ShowPicture(second);
    CImageController& secondController = *view_->GetCurrentController();
    ASSERT_NE(&secondController, &firstController);
    EXPECT_EQ(Rows(), 0);
    // A controller that is not current writes nothing to the bar.
    firstController.NotifyObjectAdded(*firstController.GetObjectList()->front());
    EXPECT_EQ(Rows(), 0);
    secondController.NotifyObjectAdded(Add(secondController, kTagLine, 7, 0));
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 1), GetParam().line + L"_7");

    // Back to the first picture: its two objects, the last first.
    view_->ShowPicture(first);
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 1), GetParam().rectangle + L"_1");
    EXPECT_EQ(Cell(1, 1), GetParam().line + L"_1");
    // Removing the current picture leaves an empty picture: no rows.
    view_->RemovePicture(first, false);
    EXPECT_EQ(Rows(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, WorkspaceBarTest,
                         testing::Values(Language{0,
                                                  {L" ", L"Type", L"Length", L"Width", L"Height", L"Perimeter",
                                                   L"Radius", L"Area", L"Angle"},
                                                  L"Measurement results",
                                                  L"Line",
                                                  L"Rectangle",
                                                  L"Parallel lines"},
                                         Language{1,
                                                  {L" ", L"类型", L"长度", L"宽度", L"高度", L"周长", L"半径", L"面积",
                                                   L"角度"},
                                                  L"图像测量结果",
                                                  L"直线",
                                                  L"矩形",
                                                  L"平行线"}));

}  // namespace
