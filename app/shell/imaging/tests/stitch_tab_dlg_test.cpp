// The stitching dialog under Wine: the grid's shape rules through the
// lists, pictures cut from one scene stitched into it again with the
// effective area as the selection and the saved part, a second stitch
// replacing the first, and featureless pictures that keep the result.
#include <gtest/gtest.h>

#include <windows.h>

#include "imaging_resource.h"
#include "imaging_test_support.h"
#include "modal_script.h"
#include "pump_until.h"
#include "resource_module.h"
#include "stitch_tab_dlg.h"

namespace {

using testing_support::ModalScript;
using testing_support::PumpUntil;

class StitchTabDlgTest : public imaging_testing::ImagingFixture {
protected:
    void SetUp() override {
        ImagingFixture::SetUp();
        dlg = std::make_unique<CStitchTabDlg>(dialogs, dialogs);
        ASSERT_TRUE(dlg->Create(nullptr));
        ShowWindow(dlg->GetSafeHwnd(), SW_SHOW);
        page = dlg->GetInputPage().GetSafeHwnd();
    }
    void TearDown() override {
        dlg.reset();
        ImagingFixture::TearDown();
    }
    void Press(int id) {
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
    }
    void Choose(int list, int value) {
        SendDlgItemMessageW(page, list, CB_SETCURSEL, static_cast<WPARAM>(value - 1), 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(page, list)));
    }
    int Chosen(int list) const { return static_cast<int>(SendDlgItemMessageW(page, list, CB_GETCURSEL, 0, 0)) + 1; }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(page, id)) != FALSE; }

    // Cuts a row (or column) of pictures from the scene at the given corners,
    // loads them into the grid and stitches; true once the result page shows
    // a new picture.
    bool Stitch(const BgrImage& scene, const std::vector<POINT>& corners, int width, int height, const wchar_t* prefix) {
        std::vector<std::wstring> paths;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const std::wstring name = std::wstring(prefix) + std::to_wstring(i) + L".bmp";
            paths.push_back(Write(bgr_testing::Cut(scene, corners[i].x, corners[i].y, width, height), name.c_str()));
        }
        dialogs.opens.push_back(paths);
        Press(IDC_STITCH_LOAD);
        if (!Enabled(IDC_STITCH_START)) {
            return false;
        }
        const CPicture* before = dlg->GetResultPage().GetPicture();
        const std::vector<std::uint8_t> beforeRows = before ? TopDownRows(*before) : std::vector<std::uint8_t>{};
        Press(IDC_STITCH_START);
        return PumpUntil(
            [&] {
                const CPicture* now = dlg->GetResultPage().GetPicture();
                return now != nullptr && IsWindowVisible(dlg->GetResultPage().GetSafeHwnd()) &&
                       (before == nullptr || TopDownRows(*now) != beforeRows);
            },
            20000);
    }
    // The scene's part from (x, y), width x height, as top-down rows.
    static std::vector<std::uint8_t> SceneRows(const BgrImage& scene, int x, int y, int width, int height) {
        return bgr_testing::Cut(scene, x, y, width, height).pixels;
    }

    std::unique_ptr<CStitchTabDlg> dlg;
    HWND page = nullptr;
};

TEST_F(StitchTabDlgTest, ShapeRulesKeepOneRowOrOneColumnOfAtLeastTwo) {
    EXPECT_EQ(Chosen(IDC_STITCH_ROWS), 1);
    EXPECT_EQ(Chosen(IDC_STITCH_COLUMNS), 2);
    EXPECT_FALSE(Enabled(IDC_STITCH_START));
    EXPECT_FALSE(Enabled(IDC_STITCH_CLEAR));
    EXPECT_FALSE(Enabled(IDC_STITCH_CLEAR_ALL));
    const struct {
        int list;
        int value;
        int rows;
        int columns;
    } steps[] = {
        {IDC_STITCH_ROWS, 3, 3, 1},    // 3 rows while 2 columns are set
        {IDC_STITCH_COLUMNS, 4, 1, 4}, // columns win the next choice
        {IDC_STITCH_COLUMNS, 1, 1, 2}, // 1 x 1 by the columns list
        {IDC_STITCH_ROWS, 1, 1, 2},    // rows 1 with 2 columns stays
        {IDC_STITCH_COLUMNS, 1, 1, 2},
        {IDC_STITCH_ROWS, 2, 2, 1},
        {IDC_STITCH_COLUMNS, 1, 2, 1},
        {IDC_STITCH_ROWS, 1, 2, 1},    // 1 x 1 by the rows list
        {IDC_STITCH_ROWS, 20, 20, 1},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::to_string(step.list) + " := " + std::to_string(step.value));
        Choose(step.list, step.value);
        EXPECT_EQ(Chosen(IDC_STITCH_ROWS), step.rows);
        EXPECT_EQ(Chosen(IDC_STITCH_COLUMNS), step.columns);
        int rows = 0;
        int columns = 0;
        dlg->GetInputPage().GetPane().GetGrid().GetCells(rows, columns);
        EXPECT_EQ(rows, step.rows);
        EXPECT_EQ(columns, step.columns);
        EXPECT_TRUE(Enabled(IDC_STITCH_LOAD));
        EXPECT_FALSE(Enabled(IDC_STITCH_START));
    }
}

TEST_F(StitchTabDlgTest, StitchSelectsTheEffectiveAreaAndSavesTheSelection) {
    const BgrImage scene = bgr_testing::TexturedScene(520, 300, 12);
    // Corners (20, 40), (150, 43), (281, 37) of 200 x 180 pictures: the
    // stitched picture starts at (20, 37) of the scene, and the band all
    // three share is the scene's rows 43 to 217.
    Choose(IDC_STITCH_COLUMNS, 3);
    ASSERT_TRUE(Stitch(scene, {{20, 40}, {150, 43}, {281, 37}}, 200, 180, L"a"));
    const CPicture& result = *dlg->GetResultPage().GetPicture();
    EXPECT_EQ(result.GetWidth(), 281 + 200 - 20);
    EXPECT_EQ(result.GetHeight(), 43 + 180 - 37);
    const RECT selection = dlg->GetResultPage().GetView().GetSelection();
    const RECT expected{0, 43 - 37, 281 + 200 - 20, 37 + 180 - 37};
    EXPECT_EQ(selection.left, expected.left);
    EXPECT_EQ(selection.top, expected.top);
    EXPECT_EQ(selection.right, expected.right);
    EXPECT_EQ(selection.bottom, expected.bottom);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg->GetResultPage().GetSafeHwnd(), IDC_STITCH_SAVE)));
    EXPECT_EQ(SendDlgItemMessageW(dlg->GetSafeHwnd(), IDC_STITCH_TABS, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_FALSE(IsWindowVisible(page));

    HWND resultPage = dlg->GetResultPage().GetSafeHwnd();
    auto save = [&](const wchar_t* name) {
        dialogs.saves.push_back(PathOf(name));
        SendMessageW(resultPage, WM_COMMAND, MAKEWPARAM(IDC_STITCH_SAVE, BN_CLICKED), 0);
    };
    save(L"area.bmp");
    CPicture saved;
    ASSERT_TRUE(saved.Load(folder / L"area.bmp", kPictureBmp));
    EXPECT_EQ(saved.GetWidth(), expected.right - expected.left);
    EXPECT_EQ(saved.GetHeight(), expected.bottom - expected.top);
    EXPECT_TRUE(TopDownRows(saved) == SceneRows(scene, 20, 43, expected.right, expected.bottom - expected.top));

    // A selection the user moved is what is saved, in the type of its name.
    dlg->GetResultPage().GetView().SetSelection(10, 12, 110, 72);
    save(L"part.bmp");
    ASSERT_TRUE(saved.Load(folder / L"part.bmp", kPictureBmp));
    EXPECT_TRUE(TopDownRows(saved) == SceneRows(scene, 20 + 10, 37 + 12, 100, 60));
    save(L"part.tiff");
    EXPECT_EQ(TypeOfFile(PathOf(L"part.tiff")), kPictureTiff);
    save(L"part.gif");
    EXPECT_EQ(TypeOfFile(PathOf(L"part.gif")), kPictureJpeg);
}

TEST_F(StitchTabDlgTest, ASecondStitchReplacesPictureAndSelection) {
    const BgrImage scene = bgr_testing::TexturedScene(500, 500, 13);
    ASSERT_TRUE(Stitch(scene, {{10, 10}, {150, 12}}, 200, 160, L"a"));
    EXPECT_EQ(dlg->GetResultPage().GetPicture()->GetWidth(), 340);

    dlg->ShowPage(0);
    Choose(IDC_STITCH_ROWS, 2);
    ASSERT_TRUE(Stitch(scene, {{30, 20}, {26, 160}}, 180, 200, L"b"));
    const CPicture& result = *dlg->GetResultPage().GetPicture();
    EXPECT_EQ(result.GetWidth(), 184);
    EXPECT_EQ(result.GetHeight(), 340);
    const RECT selection = dlg->GetResultPage().GetView().GetSelection();
    EXPECT_EQ(selection.left, 4);
    EXPECT_EQ(selection.top, 0);
    EXPECT_EQ(selection.right, 180);
    EXPECT_EQ(selection.bottom, 340);
}

TEST_F(StitchTabDlgTest, NoStitchedPictureKeepsTheResultAndTellsTheUser) {
    const BgrImage scene = bgr_testing::TexturedScene(400, 240, 14);
    ASSERT_TRUE(Stitch(scene, {{0, 20}, {160, 25}}, 200, 180, L"a"));
    const std::vector<std::uint8_t> kept = TopDownRows(*dlg->GetResultPage().GetPicture());
    const RECT keptSelection = dlg->GetResultPage().GetView().GetSelection();

    dlg->ShowPage(0);
    Press(IDC_STITCH_CLEAR_ALL);
    const BgrImage flat = bgr_testing::FlatScene(300, 200, 90, 110, 130);
    dialogs.opens.push_back({Write(flat, L"flat0.bmp"), Write(flat, L"flat1.bmp")});
    Press(IDC_STITCH_LOAD);
    ASSERT_TRUE(Enabled(IDC_STITCH_START));
    // The busy dialog has closed when the press returns; the message comes
    // with the result timer.
    Press(IDC_STITCH_START);
    std::wstring text;
    ModalScript script({[&](HWND box) {
        text = ModalScript::MessageText(box);
        ModalScript::Press(box, IDOK);
    }});
    ASSERT_TRUE(PumpUntil([&] { return script.Finished(); }, 20000));
    EXPECT_EQ(text, LoadResourceString(IDS_STITCH_NO_RESULT));
    EXPECT_FALSE(text.empty());
    EXPECT_TRUE(TopDownRows(*dlg->GetResultPage().GetPicture()) == kept);
    const RECT selection = dlg->GetResultPage().GetView().GetSelection();
    EXPECT_EQ(selection.right, keptSelection.right);
    EXPECT_EQ(selection.bottom, keptSelection.bottom);
}

}  // namespace
