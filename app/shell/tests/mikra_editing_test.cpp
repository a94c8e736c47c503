// Editing in the real main frame and view, driven by posted mouse and key
// messages and frame commands as the user gives them: the floating piece is
// painted into the picture by whatever ends it, the clipboard keys of region
// selection, the calibration chosen in the toolbar kept for the unit switch,
// the data bar after undo, redo and edits, and counting modes ended by
// cancel, the selection tool and showing a picture again.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "calibration_store.h"
#include "clipboard_contents.h"
#include "frame_with_camera_double.h"
#include "history_actions.h"
#include "ini_profile.h"
#include "language_library.h"
#include "line_figures.h"
#include "main_frame.h"
#include "mikra_app.h"
#include "mikra_doc.h"
#include "measure_resource.h"
#include "mikra_view.h"
#include "modal_script.h"
#include "picture_files.h"
#include "resource.h"

namespace {

constexpr int kPieceId = 26130;  // the floating picture window
constexpr std::uint32_t kGrey = 0x808080;
constexpr COLORREF kRed = RGB(255, 0, 0);
// Picture pixels read as 0xRRGGBB.
constexpr std::uint32_t kPictureRed = 0xFF0000;

// Public: the tables of cases below act on it through lambdas.
class MikraEditingTest : public testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(chinese_.Loaded());
        view_ = LoadShownFrameView(frame_, document_);
        ASSERT_NE(view_, nullptr);
        first_ = files_.Bmp(L"first.bmp", 120, 90, 0x808080);
        second_ = files_.Bmp(L"second.bmp", 60, 40, 0x0000FF);
        view_->OpenPicture(first_);
        view_->OpenPicture(second_);
        Show(first_);
    }
    void TearDown() override {
        frame_.DestroyWindow();
        PutText();
    }

    HWND View() const { return view_->GetSafeHwnd(); }
    CImageController& Current() { return *view_->GetCurrentController(); }
    void Show(const std::wstring& path) {
        view_->ShowPicture(path);
        ASSERT_TRUE(Current().HasWindow());
    }
    void Command(UINT id) { SendMessageW(frame_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // As the program's message loop: the view pre-translates first.
    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!view_->PreTranslateMessage(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    void Post(HWND to, UINT message, WPARAM flags, int x, int y) {
        PostMessageW(to, message, flags, MAKELPARAM(x, y));
        Pump();
    }
    void Click(HWND to, int x, int y) {
        Post(to, WM_MOUSEMOVE, 0, x, y);
        Post(to, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
        Post(to, WM_LBUTTONUP, 0, x, y);
    }
    void Drag(HWND to, POINT from, POINT to_) {
        Post(to, WM_MOUSEMOVE, 0, from.x, from.y);
        Post(to, WM_LBUTTONDOWN, MK_LBUTTON, from.x, from.y);
        Post(to, WM_MOUSEMOVE, MK_LBUTTON, (from.x + to_.x) / 2, (from.y + to_.y) / 2);
        Post(to, WM_MOUSEMOVE, MK_LBUTTON, to_.x, to_.y);
        Post(to, WM_LBUTTONUP, 0, to_.x, to_.y);
    }
    void Key(UINT key, bool ctrl = false) {
        BYTE saved[256] = {};
        GetKeyboardState(saved);
        BYTE state[256] = {};
        std::copy(std::begin(saved), std::end(saved), std::begin(state));
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(state);
        PostMessageW(View(), WM_KEYDOWN, key, 1);
        Pump();
        PostMessageW(View(), WM_KEYUP, key, 0xC0000001);
        Pump();
        SetKeyboardState(saved);
    }
    // A line drawn by the tool from one picture point to another.
    void DrawLine(int tool, POINT from, POINT to) {
        Command(tool);
        const POINT a = InWindow(from.x, from.y);
        const POINT b = InWindow(to.x, to.y);
        Click(View(), a.x, a.y);
        Post(View(), WM_MOUSEMOVE, 0, b.x, b.y);
        Click(View(), b.x, b.y);
    }
    // A picture pixel in the view's window coordinates.
    POINT InWindow(int x, int y) { return {x + Current().GetCentringX(), y + Current().GetCentringY()}; }
    std::uint32_t PictureAt(int x, int y) { return Current().GetPicture()->GetPixelColor(x, y) & 0xFFFFFF; }
    HWND Piece() const { return GetDlgItem(View(), kPieceId); }
    RECT PieceRect() const {
        RECT r{};
        GetWindowRect(Piece(), &r);
        MapWindowPoints(nullptr, View(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    // The clipboard holding only a red bitmap of this size, or only text.
    void PutBitmap(int width, int height) {
        ASSERT_TRUE(clipboard_testing::PutBitmap(View(), width, height, kRed));
    }
    void PutText() { clipboard_testing::PutText(); }
    SIZE ClipboardBitmapSize() { return clipboard_testing::BitmapSize(); }
    // The undo list's top line, as the frame shows it.
    std::wstring LastUndoLine() {
        HWND list = GetDlgItem(frame_.GetSafeHwnd(), IDC_UNDO_LIST);
        if (SendMessageW(list, LB_GETCOUNT, 0, 0) <= 0) {
            return L"";
        }
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, 0, 0)), L'\0');
        SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
        return text;
    }
    std::size_t Steps() { return Current().GetHistoryStore().UndoList().size(); }

    // A red 40 x 30 piece pasted at the picture's corner and dragged by the
    // user 30 right and 20 down in its own window.
    void PasteAndMovePiece() {
        PutBitmap(40, 30);
        Command(ID_EDIT_PASTE_PICTURE);
        ASSERT_NE(Piece(), nullptr) << "no floating picture window";
        const RECT start = PieceRect();
        Drag(Piece(), {20, 15}, {50, 35});
        const RECT moved = PieceRect();
        ASSERT_EQ(moved.left - start.left, 30);
        ASSERT_EQ(moved.top - start.top, 20);
        ASSERT_EQ(PictureAt(35, 25), kGrey) << "painted in before it was dropped";
    }
    void ExpectPieceAt(int x, int y, const char* what) {
        EXPECT_EQ(PictureAt(x, y), kPictureRed) << what;
        EXPECT_EQ(PictureAt(x + 39, y + 29), kPictureRed) << what;
        EXPECT_EQ(PictureAt(x + 40, y + 30), kGrey) << what;
        EXPECT_EQ(PictureAt(x - 1, y), kGrey) << what;
    }

    LanguageLibrary chinese_{1};
    CMikraApp app_;
    CMikraDoc document_;
    CMainFrame frame_;
    CMikraView* view_ = nullptr;
    PictureFiles files_{L"vizcam_editing"};
    std::wstring first_;
    std::wstring second_;
};

TEST_F(MikraEditingTest, EveryWayOfEndingAMovedPieceAPaintsItIntoThePicture) {
    struct Case {
        const char* what;
        std::function<void(MikraEditingTest&)> end;
    };
    const Case cases[] = {
        {"choosing a tool", [](MikraEditingTest& t) { t.Command(ID_TOOL_LINE); }},
        {"the selection tool", [](MikraEditingTest& t) { t.Command(ID_TOOL_SELECT); }},
        {"cancel", [](MikraEditingTest& t) { t.Command(ID_CANCEL_DRAWING); }},
        {"a click beside it",
         [](MikraEditingTest& t) {
             const POINT p = t.InWindow(110, 80);
             t.Click(t.View(), p.x, p.y);
         }},
        {"Esc", [](MikraEditingTest& t) { t.Key(VK_ESCAPE); }},
        {"showing another picture",
         [](MikraEditingTest& t) {
             t.Show(t.second_);
             EXPECT_EQ(t.Piece(), nullptr) << "the piece's window stayed over the next picture";
             t.Show(t.first_);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Command(ID_CANCEL_DRAWING);
        Show(first_);
        const std::size_t steps = Steps();
        ASSERT_NO_FATAL_FAILURE(PasteAndMovePiece());
        const int left = PieceRect().left - Current().GetCentringX();
        const int top = PieceRect().top - Current().GetCentringY();
        c.end(*this);
        EXPECT_EQ(Piece(), nullptr);
        ExpectPieceAt(left, top, c.what);
        EXPECT_EQ(Steps(), steps + 1);
        EXPECT_EQ(LastUndoLine(), std::to_wstring(steps + 1) + L" 图片粘贴");
        // Undone, the picture is as before the paste.
        Command(ID_EDIT_UNDO_STEP);
        EXPECT_EQ(PictureAt(left, top), kGrey);
    }
}

TEST_F(MikraEditingTest, TheClipboardKeysAndTheBandWorkInRegionSelection) {
    PutBitmap(20, 10);
    Key('V', true);
    EXPECT_EQ(Piece(), nullptr) << "Ctrl+V pastes only in region selection";
    Command(ID_EDIT_PASTE_PICTURE);
    ASSERT_NE(Piece(), nullptr);
    EXPECT_EQ(GetDlgCtrlID(Piece()), kPieceId);

    PutText();
    Key('C', true);
    EXPECT_EQ(ClipboardBitmapSize().cx, 20) << "Ctrl+C copies the piece";
    EXPECT_NE(Piece(), nullptr);

    PutText();
    const std::size_t steps = Steps();
    Key('X', true);
    EXPECT_EQ(ClipboardBitmapSize().cy, 10) << "Ctrl+X cuts the piece";
    EXPECT_EQ(Piece(), nullptr);
    EXPECT_EQ(Steps(), steps + 1) << "one cut step, the key handled once";
    EXPECT_EQ(LastUndoLine(), std::to_wstring(steps + 1) + L" 图片剪切");

    Key('V', true);
    ASSERT_NE(Piece(), nullptr) << "Ctrl+V pastes again";
    EXPECT_EQ(Steps(), steps + 1);

    // A band dragged on the picture puts the piece down (unmoved, where it
    // was pasted) and lifts the band's part of the picture.
    Drag(View(), InWindow(40, 30), InWindow(80, 60));
    ASSERT_NE(Piece(), nullptr);
    EXPECT_EQ(PieceRect().right - PieceRect().left, 40);
    EXPECT_EQ(PieceRect().bottom - PieceRect().top, 30);
    EXPECT_EQ(PictureAt(50, 40), 0xFFFFFFu) << "the lifted part leaves white";
    EXPECT_EQ(PictureAt(0, 0), kPictureRed) << "the pasted piece was painted in";

    // Ctrl+A lifts the whole picture, painting the band's piece back first.
    Key('A', true);
    ASSERT_NE(Piece(), nullptr);
    EXPECT_EQ(PieceRect().right - PieceRect().left, 120);
    EXPECT_EQ(PieceRect().bottom - PieceRect().top, 90);
    EXPECT_EQ(PictureAt(50, 40), 0xFFFFFFu);
    EXPECT_EQ(PictureAt(0, 0), 0xFFFFFFu);
    Command(ID_CANCEL_DRAWING);
    EXPECT_EQ(Piece(), nullptr);
    EXPECT_EQ(PictureAt(50, 40), kGrey) << "the lifted picture went back";
    EXPECT_EQ(PictureAt(0, 0), kPictureRed);
    EXPECT_EQ(Current().IsRegionSelect(), 0);
}

class MikraEditingCalibrationTest : public MikraEditingTest {
protected:
    void SetUp() override {
        std::filesystem::remove(scale_);
        {
            IniProfile file(scale_.wstring());
            CalibrationStore store(file);
            store.Save(u"A", 0.25f, u"mm", 120, 90);
            store.Save(u"B", 0.5f, u"mm", 120, 90);
        }
        ASSERT_NO_FATAL_FAILURE(MikraEditingTest::SetUp());
        view_->SetScaleIniPath(scale_.wstring());
        frame_.GetScaleCombo().m_strScalePath = scale_.wstring();
        frame_.RefillCalibrations();
        ASSERT_EQ(frame_.GetScaleCombo().GetCount(), 3);
    }
    void Choose(int item) {
        CScaleCombo& combo = frame_.GetScaleCombo();
        combo.SetCurSel(item);
        SendMessageW(GetParent(combo.GetSafeHwnd()), WM_COMMAND, MAKEWPARAM(IDC_SCALE_COMBO, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo.GetSafeHwnd()));
    }

    std::filesystem::path scale_ = files_.Folder() / L"scale.ini";
};

TEST_F(MikraEditingCalibrationTest, TheChosenCalibrationIsTheOneTheUnitSwitchConvertsAndShownAgain) {
    DrawLine(ID_TOOL_LINE, {10, 10}, {110, 10});
    ASSERT_EQ(Current().GetObjectList()->size(), 1u);
    const CCLObject& line = *Current().GetObjectList()->front();
    ASSERT_FLOAT_EQ(line.results[CCLObject::kLength], 100.0f);

    Choose(2);  // "B", 0.5 mm a pixel
    Command(ID_UNIT_SWITCH);
    const std::u16string unit = Current().GetDisplayedUnit();
    // Millimetres in each unit the switch steps through.
    const struct {
        const char16_t* unit;
        double perMillimetre;
    } units[] = {{u"μm", 1000.0}, {u"mm", 1.0}, {u"cm", 0.1}, {u"inch", 1.0 / 25.4}};
    double expected = 0.0;
    for (const auto& u : units) {
        if (unit == u.unit) {
            expected = 0.5 * u.perMillimetre;
        }
    }
    ASSERT_NE(expected, 0.0) << "the switch stepped to an unexpected unit";
    Current().Render(0);
    EXPECT_EQ(line.unitText, unit);
    EXPECT_NEAR(line.scale * line.results[CCLObject::kLength], 100.0 * expected, 100.0 * expected * 1e-5)
        << "the line measured with the calibration chosen before";

    // The picture shown again selects its own entry.
    Choose(1);
    Show(second_);
    Choose(0);
    Show(first_);
    EXPECT_EQ(frame_.GetScaleCombo().GetCurSel(), 1);
    Show(second_);
    EXPECT_EQ(frame_.GetScaleCombo().GetCurSel(), 0);
}

TEST_F(MikraEditingCalibrationTest, ACalibrationDrawnOnThePictureIsListedAndSelected) {
    DrawLine(ID_TOOL_CALIBRATION_LINE, {10, 20}, {110, 20});
    testing_support::ModalScript calibrate({[](HWND d) {
        testing_support::ModalScript::SetText(d, IDC_CALIB_NAME, L"C");
        testing_support::ModalScript::SetText(d, IDC_CALIB_LENGTH, L"50");
        testing_support::ModalScript::Press(d, IDOK);
    }});
    Key(VK_SPACE);
    ASSERT_TRUE(calibrate.Finished()) << "Space opened no calibration dialog";
    CScaleCombo& combo = frame_.GetScaleCombo();
    ASSERT_EQ(combo.GetCount(), 4) << "the new calibration is not listed";
    EXPECT_EQ(combo.GetCurSel(), 3);
    EXPECT_EQ(combo.GetItemText(3), L"C");
}

TEST_F(MikraEditingTest, TheDataBarListsWhatThePictureHoldsAfterUndoRedoADragAndANudge) {
    HWND list = frame_.GetDataBar().GetList();
    ASSERT_NE(list, nullptr);
    const auto rows = [list] { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); };
    const auto length = [list] {
        wchar_t buffer[64] = {};
        LVITEMW item{};
        item.iSubItem = 2;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
        return std::wstring(buffer);
    };
    DrawLine(ID_TOOL_LINE, {10, 10}, {60, 10});
    DrawLine(ID_TOOL_LINE, {10, 40}, {90, 40});
    ASSERT_EQ(rows(), 2);
    Command(ID_EDIT_UNDO_STEP);
    EXPECT_EQ(rows(), 1) << "undo";
    Command(ID_EDIT_REDO_STEP);
    EXPECT_EQ(rows(), 2) << "redo";

    // The second line's end handle dragged 10 pixels further: its row, the
    // top one, shows the new length.
    const std::wstring before = length();
    Command(ID_TOOL_SELECT);
    const POINT handle = InWindow(90, 40);
    Drag(View(), handle, {handle.x + 10, handle.y});
    const auto& second = *Current().GetObjectList()->back();
    ASSERT_FLOAT_EQ(second.results[CCLObject::kLength], 90.0f);
    const std::wstring dragged = length();
    EXPECT_NE(dragged, before) << "a handle drag";
    // A nudge of the handle by the D key.
    Key('D');
    ASSERT_FLOAT_EQ(second.results[CCLObject::kLength], 91.0f);
    EXPECT_NE(length(), dragged) << "a nudge";
}

TEST_F(MikraEditingTest, ObjectsMeasuredOnLiveVideoGetTheirRows) {
    HWND list = frame_.GetDataBar().GetList();
    auto* camera = dynamic_cast<FakeCamera*>(view_->GetCamera());
    ASSERT_NE(camera, nullptr);
    camera->videoWindowSize = {320, 240};
    camera->videoPos = {40, 30};
    Command(ID_VIDEO_OPEN);
    ASSERT_TRUE(camera->videoOpen);
    Command(ID_LIVE_MEASURE);
    Command(ID_TOOL_LINE);
    Click(View(), 100, 100);
    Post(View(), WM_MOUSEMOVE, 0, 200, 100);
    Click(View(), 200, 100);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
    Command(ID_LIVE_MEASURE);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0) << "the picture's objects again";
    Command(ID_VIDEO_CLOSE);
}

TEST_F(MikraEditingTest, CountingPenAndEraserEndWithCancelTheSelectionToolAndShowingThePicture) {
    ASSERT_NE(Current().GetCounter(), nullptr);
    struct Case {
        const char* what;
        UINT mode;
        std::function<void(MikraEditingTest&)> end;
    };
    const Case cases[] = {
        {"pen, cancel", ID_COUNT_PEN_LARGE, [](MikraEditingTest& t) { t.Command(ID_CANCEL_DRAWING); }},
        {"eraser, cancel", ID_COUNT_ERASER_LARGE, [](MikraEditingTest& t) { t.Command(ID_CANCEL_DRAWING); }},
        {"pen, selection tool", ID_COUNT_PEN_LARGE, [](MikraEditingTest& t) { t.Command(ID_TOOL_SELECT); }},
        {"eraser, selection tool", ID_COUNT_ERASER_LARGE, [](MikraEditingTest& t) { t.Command(ID_TOOL_SELECT); }},
        {"pen, picture shown again", ID_COUNT_PEN_LARGE, [](MikraEditingTest& t) { t.Show(t.first_); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Command(c.mode);
        ASSERT_NE(Current().GetCountEditState().mode, kCountEditNone);
        c.end(*this);
        const std::size_t steps = Steps();
        const POINT at = InWindow(60, 45);
        Click(View(), at.x, at.y);
        EXPECT_EQ(Steps(), steps) << "the click edited cell pixels";
        EXPECT_EQ(PictureAt(60, 45), kGrey);
    }
}

}  // namespace
