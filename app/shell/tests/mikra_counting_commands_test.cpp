// The counting commands sent to the real main frame as WM_COMMAND: the view
// opens the manual count, count results and counting region dialogs the
// shell supplies, over the frame, on the shown picture's engine; a confirmed
// dialog leaves one history step, a cancelled one none.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "counting_resource.h"
#include "frame_with_camera_double.h"
#include "history_actions.h"
#include "language_library.h"
#include "main_frame.h"
#include "mikra_app.h"
#include "mikra_doc.h"
#include "mikra_view.h"
#include "modal_script.h"
#include "picture_files.h"
#include "resource.h"

namespace {

using testing_support::ModalScript;

class MikraCountingCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(chinese_.Loaded());
        ASSERT_TRUE(LoadFrameWithCameraDouble(frame_, document_));
        ShowWithoutActivating(frame_);
        view_ = dynamic_cast<CMikraView*>(frame_.GetActiveView());
        ASSERT_NE(view_, nullptr);
        // 120 x 90, light grey with one dark 30 x 30 cell.
        CPicture picture(120, 90, 24, kPictureBmp);
        for (int y = 0; y < 90; ++y) {
            std::uint8_t* row = picture.GetBits(y);
            for (int x = 0; x < 120; ++x) {
                const bool cell = x >= 45 && x < 75 && y >= 30 && y < 60;
                row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = cell ? 40 : 210;
            }
        }
        const std::filesystem::path file = pictures_.Folder() / L"cells.bmp";
        ASSERT_TRUE(picture.Save(file, kPictureBmp));
        view_->OpenPicture(file.wstring());
        view_->ShowPicture(file.wstring());
        controller_ = view_->GetCurrentController();
        ASSERT_NE(controller_, nullptr);
        ASSERT_NE(controller_->GetCounter(), nullptr);
    }
    void TearDown() override { frame_.DestroyWindow(); }

    void Command(UINT id) { SendMessageW(frame_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::size_t Steps() const { return controller_->GetHistoryStore().UndoList().size(); }
    std::int32_t LastAction() const { return controller_->GetHistoryStore().UndoList().back()->action; }
    std::vector<std::uint8_t> EdgeImage() const {
        const auto mask = controller_->GetCounter()->EdgeImage();
        return {mask.begin(), mask.end()};
    }
    std::vector<std::uint8_t> Pixels() const {
        const auto pixels = controller_->GetPicture()->Pixels();
        return {pixels.begin(), pixels.end()};
    }
    // Files the controller's history folder holds besides its steps.
    std::vector<std::filesystem::path> EdgeFiles() const {
        std::vector<std::filesystem::path> found;
        std::error_code ec;
        for (const auto& entry :
             std::filesystem::directory_iterator(controller_->GetHistoryStore().DocumentFolder(), ec)) {
            if (entry.path().filename().wstring().starts_with(L"~tEdge")) {
                found.push_back(entry.path());
            }
        }
        return found;
    }
    // Runs the manual count with the upper threshold at `upper` (100 makes
    // the dark cell a target) and presses `button`.
    void ManualCount(int button, std::wstring* caption = nullptr, HWND* owner = nullptr, int upper = 100) {
        ModalScript script({[&](HWND d) {
            if (caption) *caption = ModalScript::Text(d);
            if (owner) *owner = GetWindow(d, GW_OWNER);
            HWND slider = GetDlgItem(d, IDC_MANUAL_UPPER_SLIDER);
            SendMessageW(slider, TBM_SETPOS, TRUE, upper);
            SendMessageW(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, upper), reinterpret_cast<LPARAM>(slider));
            ModalScript::Press(d, button);
        }});
        Command(ID_COUNT_MANUAL);
        EXPECT_TRUE(script.Finished());
    }

    LanguageLibrary chinese_{1};
    CMikraApp app_;
    CMikraDoc document_;
    PictureFiles pictures_{L"vizcam_mikra_counting"};
    CMainFrame frame_;
    CMikraView* view_ = nullptr;
    CImageController* controller_ = nullptr;
};

TEST_F(MikraCountingCommandsTest, ManualCountCancelLeavesNoStepAndOkOne) {
    const std::vector<std::uint8_t> before = Pixels();
    const std::size_t steps = Steps();
    std::wstring caption;
    HWND owner = nullptr;
    ManualCount(IDCANCEL, &caption, &owner);
    EXPECT_EQ(caption, L" \u624b\u52a8\u8ba1\u6570");
    EXPECT_EQ(owner, frame_.GetSafeHwnd());
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(Pixels(), before);
    EXPECT_TRUE(EdgeFiles().empty());

    ManualCount(IDOK);
    ASSERT_EQ(Steps(), steps + 1);
    EXPECT_EQ(LastAction(), kHistoryManualCount);
    EXPECT_NE(Pixels(), before);  // the cell's outline
    EXPECT_TRUE(EdgeFiles().empty());

    // A cancelled second count, whose window took in the light background
    // too, puts the counted picture and edge image back byte for byte.
    const std::vector<std::uint8_t> counted = Pixels();
    const std::vector<std::uint8_t> mask = EdgeImage();
    ManualCount(IDCANCEL, nullptr, nullptr, 250);
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_EQ(Pixels(), counted);
    EXPECT_EQ(EdgeImage(), mask);
    EXPECT_TRUE(EdgeFiles().empty());
}

TEST_F(MikraCountingCommandsTest, CountResultsShowTheCountedCellOverTheFrame) {
    ManualCount(IDOK);
    const std::size_t steps = Steps();
    std::wstring caption, count;
    HWND owner = nullptr;
    int rows = -1;
    bool shown = false;
    // The busy dialog may come first while the engine measures; each step
    // acts on the results dialog only.
    const ModalScript::Step step = [&](HWND d) {
        if (shown || GetDlgItem(d, IDC_RESULT_TABLE) == nullptr) {
            return;
        }
        shown = true;
        caption = ModalScript::Text(d);
        owner = GetWindow(d, GW_OWNER);
        rows = static_cast<int>(SendDlgItemMessageW(d, IDC_RESULT_TABLE, LVM_GETITEMCOUNT, 0, 0));
        wchar_t text[32] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 32;
        SendDlgItemMessageW(d, IDC_RESULT_SUMMARY, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
        count = text;
        ModalScript::Press(d, IDCANCEL);
    };
    ModalScript script(std::vector<ModalScript::Step>(400, step));
    Command(ID_COUNT_RESULTS);
    ASSERT_TRUE(shown);
    EXPECT_EQ(caption, L"\u8ba1\u6570\u7ed3\u679c");
    EXPECT_EQ(owner, frame_.GetSafeHwnd());
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(count, L"1");
    EXPECT_EQ(Steps(), steps);
}

TEST_F(MikraCountingCommandsTest, CountRegionCancelKeepsTheWholePictureAndOkSetsTheRegion) {
    CIMGCount& engine = *controller_->GetCounter();
    const std::size_t steps = Steps();
    HWND owner = nullptr;
    {
        ModalScript script({[&](HWND d) {
            owner = GetWindow(d, GW_OWNER);
            SendDlgItemMessageW(d, IDC_REGION_RECT, BM_CLICK, 0, 0);
            ModalScript::Press(d, IDCANCEL);
        }});
        Command(ID_COUNT_REGION_SETTINGS);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(owner, frame_.GetSafeHwnd());
    CountPoint corner;
    int width = 0;
    int height = 0;
    EXPECT_FALSE(engine.getSelRect(corner, width, height));
    EXPECT_EQ(Steps(), steps);

    {
        ModalScript script({[&](HWND d) {
            SendDlgItemMessageW(d, IDC_REGION_RECT, BM_CLICK, 0, 0);
            SetDlgItemTextW(d, IDC_REGION_X, L"10");
            SetDlgItemTextW(d, IDC_REGION_Y, L"20");
            SetDlgItemTextW(d, IDC_REGION_W, L"30");
            SetDlgItemTextW(d, IDC_REGION_H, L"40");
            ModalScript::Press(d, IDOK);
        }});
        Command(ID_COUNT_REGION_SETTINGS);
        EXPECT_TRUE(script.Finished());
    }
    ASSERT_TRUE(engine.getSelRect(corner, width, height));
    // y counted from the bottom: 90 - 40 - 20.
    EXPECT_EQ(corner.x, 10);
    EXPECT_EQ(corner.y, 30);
    EXPECT_EQ(width, 30);
    EXPECT_EQ(height, 40);
    ASSERT_EQ(Steps(), steps + 1);
    EXPECT_EQ(LastAction(), kHistoryCountRegion);
}

}  // namespace
