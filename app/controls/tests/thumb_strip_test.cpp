// The thumbnail grid under Wine: real cells in a real window, files decoded
// from a temporary folder, drags made of mouse messages posted to the cells
// (also with the window left of and above the primary screen), cells painted
// into a DIB and read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>

#include "control_testing.h"
#include "picture.h"
#include "picture_file_dialogs.h"
#include "thumb_strip.h"
#include "unique_temp_dir.h"

namespace {

using namespace controls_testing;
namespace fs = std::filesystem;

constexpr COLORREF kCellBackground = RGB(221, 221, 221);
constexpr COLORREF kGreen = RGB(0, 200, 0);

// Answers the grid's dialogs from queues the test fills.
class ScriptedDialogs final : public IPictureFileDialogs {
public:
    std::vector<std::wstring> ChoosePictures(HWND) override {
        ++manyCalls;
        return many;
    }
    std::wstring ChoosePicture(HWND) override {
        if (one.empty()) {
            return {};
        }
        std::wstring next = one.front();
        one.pop_front();
        return next;
    }
    std::vector<std::wstring> many;
    std::deque<std::wstring> one;
    int manyCalls = 0;
};

class ThumbStripTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::UniqueTempPath("thumb_strip_test");
        fs::remove_all(folder);
        fs::create_directories(folder);
        a = Write(L"a.bmp", 200, 100, RGB(200, 30, 30), kPictureBmp);
        b = Write(L"b.jpg", 80, 160, RGB(30, 30, 200), kPictureJpeg);
        c = Write(L"c.bmp", 50, 50, RGB(30, 160, 30), kPictureBmp);
        d = Write(L"d.tiff", 120, 90, RGB(120, 120, 30), kPictureTiff);
        tif = Write(L"e.tif", 120, 90, RGB(120, 120, 30), kPictureTiff);
        broken = (folder / L"broken.jpg").wstring();
        std::ofstream(fs::path(broken), std::ios::binary) << "not a picture at all";
        empty = (folder / L"empty.bmp").wstring();
        std::ofstream(fs::path(empty), std::ios::binary).flush();
    }
    void TearDown() override {
        strip.reset();
        host.reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    std::wstring Write(const wchar_t* name, int width, int height, COLORREF colour, int type) {
        CPicture picture(width, height, 24, type);
        auto pixels = picture.Pixels();
        for (std::size_t i = 0; i + 2 < pixels.size(); i += 3) {
            pixels[i] = GetBValue(colour);
            pixels[i + 1] = GetGValue(colour);
            pixels[i + 2] = GetRValue(colour);
        }
        const fs::path path = folder / name;
        EXPECT_TRUE(picture.Save(path, type)) << picture.GetLastError();
        return path.wstring();
    }
    // A grid in a pane of a top-level window at (x, y) on the screen.
    void MakeGrid(int rows, int columns, int x = 30, int y = 30) {
        UseEnglishResources();
        host = std::make_unique<HostWindow>(x, y, 1300, 1000);
        pane = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1300, 1000, host->hwnd, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
        strip = std::make_unique<CThumbStrip>(dialogs);
        ASSERT_TRUE(strip->Create(pane, 5, 5, WS_VISIBLE));
        strip->SetGrid(rows, columns);
        postedMouse.clear();
    }
    std::wstring PathAt(int row, int column) const {
        int rows = 0;
        int columns = 0;
        return strip->GetCells(rows, columns)[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }
    HWND Cell(int row, int column) const { return strip->GetItem(row, column)->GetSafeHwnd(); }
    RECT CellPlace(int row, int column) const {
        RECT r{};
        GetWindowRect(Cell(row, column), &r);
        MapWindowPoints(nullptr, strip->GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // Drags cell (row, column) by mouse messages to a point of cell (toRow, toColumn).
    void DragCell(int row, int column, int toRow, int toColumn) {
        const HWND from = Cell(row, column);
        RECT target{};
        GetWindowRect(Cell(toRow, toColumn), &target);
        POINT end{(target.left + target.right) / 2, (target.top + target.bottom) / 2};
        ScreenToClient(from, &end);
        Down(from, 50, 50);
        Move(from, 55, 52);
        Move(from, end.x, end.y);
        Up(from, end.x, end.y);
        Pump();
    }

    fs::path folder;
    std::wstring a, b, c, d, tif, broken, empty;
    ScriptedDialogs dialogs;
    std::unique_ptr<HostWindow> host;
    HWND pane = nullptr;
    std::unique_ptr<CThumbStrip> strip;
};

TEST_F(ThumbStripTest, SizesFollowTheZoomInFourSteps) {
    MakeGrid(2, 3);
    const struct {
        int zoom;
        int width;
        int height;
    } steps[] = {{1, 300, 240}, {2, 600, 480}, {3, 900, 720}, {4, 1200, 960}};
    for (const auto& s : steps) {
        if (s.zoom > 1) {
            ASSERT_TRUE(strip->ZoomIn());
        }
        EXPECT_EQ(strip->GetStripSize().cx, s.width);
        EXPECT_EQ(strip->GetStripSize().cy, s.height);
        RECT window{};
        GetWindowRect(strip->GetSafeHwnd(), &window);
        EXPECT_EQ(window.right - window.left, s.width);
        const RECT last = CellPlace(1, 2);
        EXPECT_EQ(last.left, 2 * 100 * s.zoom) << s.zoom;
        EXPECT_EQ(last.top, 120 * s.zoom) << s.zoom;
        EXPECT_EQ(last.right - last.left, 100 * s.zoom) << s.zoom;
        EXPECT_EQ(last.bottom - last.top, 120 * s.zoom) << s.zoom;
    }
    EXPECT_FALSE(strip->ZoomIn());
    EXPECT_EQ(strip->GetZoom(), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(strip->ZoomOut());
    }
    EXPECT_FALSE(strip->ZoomOut());
    EXPECT_EQ(strip->GetStripSize().cx, 300);
    // Resizing the grid or a cell by hand is undone.
    SetWindowPos(strip->GetSafeHwnd(), nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(Cell(0, 0), nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
    RECT window{};
    GetWindowRect(strip->GetSafeHwnd(), &window);
    EXPECT_EQ(window.right - window.left, 300);
    EXPECT_EQ(CellPlace(0, 0).right, 100);
}

TEST_F(ThumbStripTest, AddFileRefusesDuplicatesTifsAndUnreadableFiles) {
    MakeGrid(2, 2);
    EXPECT_TRUE(strip->IsEmpty());
    EXPECT_FALSE(strip->AddFile(broken));
    EXPECT_FALSE(strip->AddFile(empty));
    EXPECT_FALSE(strip->AddFile(tif));
    EXPECT_FALSE(strip->AddFile((folder / L"missing.jpg").wstring()));
    // Unreadable files leave their cell free: the next file takes it.
    EXPECT_TRUE(strip->IsEmpty());
    EXPECT_TRUE(strip->AddFile(a));
    EXPECT_EQ(PathAt(0, 0), a);
    std::wstring upper = a;
    for (wchar_t& ch : upper) {
        ch = static_cast<wchar_t>(towupper(ch));
    }
    EXPECT_FALSE(strip->AddFile(upper));
    EXPECT_TRUE(strip->AddFile(b));
    EXPECT_TRUE(strip->AddFile(c));
    EXPECT_TRUE(strip->AddFile(d));
    EXPECT_TRUE(strip->IsFull());
    EXPECT_EQ(PathAt(1, 1), d);
    EXPECT_FALSE(strip->AddFile(Write(L"f.bmp", 10, 10, RGB(1, 2, 3), kPictureBmp)));
}

TEST_F(ThumbStripTest, AddFilesPlacesReadableFilesInDialogOrder) {
    MakeGrid(1, 1);
    dialogs.many = {a};
    EXPECT_EQ(strip->AddFiles(), 0);
    EXPECT_EQ(dialogs.manyCalls, 0);

    MakeGrid(2, 3);
    ASSERT_TRUE(strip->AddFile(a));
    dialogs.many = {c,
                    broken,
                    a,
                    b,
                    tif,
                    c,
                    d,
                    Write(L"g.bmp", 30, 20, RGB(9, 9, 9), kPictureBmp),
                    Write(L"h.bmp", 30, 20, RGB(9, 9, 9), kPictureBmp)};
    EXPECT_EQ(strip->AddFiles(), 5);
    EXPECT_EQ(PathAt(0, 1), c);
    EXPECT_EQ(PathAt(0, 2), b);
    EXPECT_EQ(PathAt(1, 0), d);
    EXPECT_EQ(PathAt(1, 1), (folder / L"g.bmp").wstring());
    EXPECT_EQ(PathAt(1, 2), (folder / L"h.bmp").wstring());
    EXPECT_EQ(strip->AddFiles(), 0);
}

TEST_F(ThumbStripTest, CellsPaintFrameThumbnailAndDropHighlight) {
    MakeGrid(1, 2);
    ASSERT_TRUE(strip->AddFile(a));
    ASSERT_FALSE(strip->AddFile(broken));
    const RECT image = strip->GetItem(0, 0)->GetImageRect();
    // 200 x 100 fitted into 80 x 100 at zoom 1: 80 x 40, centred.
    EXPECT_EQ(image.right - image.left, 80);
    EXPECT_EQ(image.bottom - image.top, 40);
    EXPECT_EQ(image.left, 10);
    {
        Snapshot shot(Cell(0, 0));
        EXPECT_EQ(shot.At((image.left + image.right) / 2, (image.top + image.bottom) / 2), RGB(200, 30, 30));
        EXPECT_EQ(shot.At(1, 60), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(shot.At(98, 60), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(shot.At(5, 5), kCellBackground);
    }
    {
        // The cell that could not take its file stays a blank framed cell.
        Snapshot shot(Cell(0, 1));
        EXPECT_EQ(shot.At(50, 50), kCellBackground);
        EXPECT_EQ(shot.At(1, 60), GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    strip->GetItem(0, 1)->SetDropHighlight(CThumbnailItem::kDropWholeCell);
    Snapshot shot(Cell(0, 1));
    EXPECT_EQ(shot.At(0, 60), kGreen);
    EXPECT_EQ(shot.At(99, 60), kGreen);
    EXPECT_EQ(shot.At(50, 1), kGreen);

    ASSERT_TRUE(strip->ZoomIn());
    const RECT zoomed = strip->GetItem(0, 0)->GetImageRect();
    EXPECT_EQ(zoomed.right - zoomed.left, 180);
    Snapshot big(Cell(0, 0));
    EXPECT_EQ(big.At((zoomed.left + zoomed.right) / 2, (zoomed.top + zoomed.bottom) / 2), RGB(200, 30, 30));
}

TEST_F(ThumbStripTest, ANarrowPictureIsFittedFromItsOwnSizeNotItsThumbnails) {
    // 80 x 328 in a 100 x 120 cell: 24 x 100 leaves less than 18 pixels for
    // the caption, so it shrinks by min(24 / 80, 82 / 328) = 0.25 to 20 x 82.
    const std::wstring narrow = Write(L"narrow.bmp", 80, 328, RGB(200, 30, 30), kPictureBmp);
    MakeGrid(1, 1);
    ASSERT_TRUE(strip->AddFile(narrow));
    const RECT image = strip->GetItem(0, 0)->GetImageRect();
    EXPECT_EQ(image.left, 40);
    EXPECT_EQ(image.top, 19);
    EXPECT_EQ(image.right - image.left, 20);
    EXPECT_EQ(image.bottom - image.top, 82);
    Snapshot shot(Cell(0, 0));
    // The picture's last column, then its frame.
    for (const int y : {19, 60, 100}) {
        EXPECT_EQ(shot.At(40, y), RGB(200, 30, 30)) << y;
        EXPECT_EQ(shot.At(59, y), RGB(200, 30, 30)) << y;
        EXPECT_EQ(shot.At(60, y), GetSysColor(COLOR_BTNHIGHLIGHT)) << y;
    }
}

class ThumbDragTest : public ThumbStripTest, public ::testing::WithParamInterface<POINT> {};

TEST_P(ThumbDragTest, DraggingACellMovesOrSwapsItsPicture) {
    MakeGrid(1, 3, GetParam().x, GetParam().y);
    RECT screen{};
    GetWindowRect(Cell(0, 2), &screen);
    ASSERT_EQ(screen.right < 0, GetParam().x < 0);
    ASSERT_EQ(screen.bottom < 0, GetParam().y < 0);
    ASSERT_TRUE(strip->AddFile(a));
    ASSERT_TRUE(strip->AddFile(b));

    // Onto the empty cell: the picture moves there, its old cell is left empty.
    const HWND from = Cell(0, 0);
    Down(from, 50, 50);
    Move(from, 60, 55);
    const HWND ghost = strip->GetItem(0, 0)->GetGhostWindow();
    ASSERT_NE(ghost, nullptr);
    EXPECT_TRUE(IsWindowVisible(ghost));
    EXPECT_EQ(GetFocus(), from);
    EXPECT_EQ(GetCapture(), from);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(ghost, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    RECT ghostPlace{};
    GetWindowRect(ghost, &ghostPlace);
    POINT cursor{60, 55};
    ClientToScreen(from, &cursor);
    EXPECT_EQ(ghostPlace.left, cursor.x - 50);
    EXPECT_EQ(ghostPlace.top, cursor.y - 50);
    POINT over{250, 60};  // over cell (0, 2), in the dragged cell's coordinates
    Move(from, over.x, over.y);
    Pump();
    EXPECT_EQ(strip->GetItem(0, 2)->GetDropHighlight(), CThumbnailItem::kDropWholeCell);
    EXPECT_EQ(strip->GetItem(0, 1)->GetDropHighlight(), -1);
    Up(from, over.x, over.y);
    Pump();
    EXPECT_EQ(strip->GetItem(0, 2)->GetGhostWindow(), nullptr);
    EXPECT_FALSE(IsWindow(ghost));
    EXPECT_EQ(PathAt(0, 0), L"");
    EXPECT_EQ(PathAt(0, 2), a);
    EXPECT_EQ(strip->GetItem(0, 2)->GetPath(), a);
    EXPECT_EQ(CellPlace(0, 2).left, 200);
    EXPECT_EQ(strip->GetSelectedColumn(), 2);
    EXPECT_EQ(strip->GetItem(0, 2)->GetDropHighlight(), -1);

    // Onto a full cell: the two swap.
    DragCell(0, 1, 0, 2);
    EXPECT_EQ(PathAt(0, 1), a);
    EXPECT_EQ(PathAt(0, 2), b);
    EXPECT_EQ(strip->GetItem(0, 1)->GetPath(), a);
    EXPECT_EQ(CellPlace(0, 1).left, 100);
    EXPECT_EQ(CellPlace(0, 2).left, 200);
    // Onto itself: nothing changes.
    DragCell(0, 1, 0, 1);
    EXPECT_EQ(PathAt(0, 1), a);
    // An empty cell does not drag.
    DragCell(0, 0, 0, 1);
    EXPECT_EQ(PathAt(0, 0), L"");
    EXPECT_EQ(PathAt(0, 1), a);
}

// On the primary screen, and left of and above it (negative coordinates).
INSTANTIATE_TEST_SUITE_P(Screens, ThumbDragTest, ::testing::Values(POINT{30, 30}, POINT{-1500, -1200}));

TEST_F(ThumbStripTest, ClickSelectsAndRemoveItemClearsTheSelectedCell) {
    MakeGrid(2, 2);
    EXPECT_FALSE(strip->RemoveItem());
    ASSERT_TRUE(strip->AddFile(a));
    ASSERT_TRUE(strip->AddFile(b));
    Down(Cell(0, 1), 40, 40);
    Up(Cell(0, 1), 40, 40);
    Pump();
    EXPECT_EQ(strip->GetSelectedRow(), 0);
    EXPECT_EQ(strip->GetSelectedColumn(), 1);
    EXPECT_TRUE(strip->RemoveItem());
    EXPECT_EQ(PathAt(0, 1), L"");
    EXPECT_FALSE(strip->GetItem(0, 1)->HasPicture());
    EXPECT_FALSE(strip->RemoveCell(2, 0));
    EXPECT_FALSE(strip->RemoveCell(0, -1));
    EXPECT_FALSE(strip->IsEmpty());
    strip->RemoveAllItems();
    EXPECT_TRUE(strip->IsEmpty());
    EXPECT_FALSE(strip->GetItem(0, 0)->HasPicture());
}

TEST_F(ThumbStripTest, DoubleClickReplacesAPictureOnlyWithAReadableNewFile) {
    MakeGrid(1, 2);
    ASSERT_TRUE(strip->AddFile(a));
    ASSERT_TRUE(strip->AddFile(b));
    const HWND cell = Cell(0, 0);
    // Unreadable: the old picture and path stay.
    dialogs.one = {broken};
    Post(cell, WM_LBUTTONDBLCLK, 40, 40, MK_LBUTTON);
    EXPECT_EQ(PathAt(0, 0), a);
    EXPECT_EQ(strip->GetItem(0, 0)->GetPath(), a);
    EXPECT_TRUE(strip->GetItem(0, 0)->HasPicture());
    // Held by another cell: refused.
    dialogs.one = {b};
    Post(cell, WM_LBUTTONDBLCLK, 40, 40, MK_LBUTTON);
    EXPECT_EQ(PathAt(0, 0), a);
    // A new file replaces the picture and the cell's path.
    dialogs.one = {c};
    Post(cell, WM_LBUTTONDBLCLK, 40, 40, MK_LBUTTON);
    EXPECT_EQ(PathAt(0, 0), c);
    EXPECT_EQ(strip->GetItem(0, 0)->GetPath(), c);
    Snapshot shot(cell);
    const RECT image = strip->GetItem(0, 0)->GetImageRect();
    EXPECT_EQ(shot.At((image.left + image.right) / 2, (image.top + image.bottom) / 2), RGB(30, 160, 30));
    // A cell that is accepted again after a refusal takes the next file.
    dialogs.one = {d};
    Post(cell, WM_LBUTTONDBLCLK, 40, 40, MK_LBUTTON);
    EXPECT_EQ(PathAt(0, 0), d);
}

TEST_F(ThumbStripTest, LongCaptionsAreShortenedToFitTheCell) {
    MakeGrid(1, 1);
    const std::wstring longName =
        Write(L"a very long file name for a thumbnail cell of the grid.bmp", 40, 40, RGB(5, 5, 5), kPictureBmp);
    ASSERT_TRUE(strip->AddFile(longName));
    { Snapshot shot(Cell(0, 0)); }
    EXPECT_TRUE(strip->GetItem(0, 0)->IsCaptionTruncated());
    ASSERT_NE(strip->GetItem(0, 0)->GetCaptionWindow(), nullptr);
    EXPECT_EQ(GetParent(strip->GetItem(0, 0)->GetCaptionWindow()), host->hwnd);
    EXPECT_FALSE(IsWindowVisible(strip->GetItem(0, 0)->GetCaptionWindow()));
    strip->RemoveAllItems();
    ASSERT_TRUE(strip->AddFile(c));
    { Snapshot shot(Cell(0, 0)); }
    EXPECT_FALSE(strip->GetItem(0, 0)->IsCaptionTruncated());
}

}  // namespace

namespace {

TEST_F(ThumbStripTest, ATruncatedCaptionShowsAsATipWhileThePointerRests) {
    // Off the screens' pointer, so that no real pointer message reaches the cell.
    MakeGrid(1, 1, -1500, -1200);
    ASSERT_TRUE(strip->AddFile(
        Write(L"a very long file name for a thumbnail cell of the grid.bmp", 40, 40, RGB(5, 5, 5), kPictureBmp)));
    CThumbnailItem* item = strip->GetItem(0, 0);
    { Snapshot shot(Cell(0, 0)); }
    ASSERT_TRUE(item->IsCaptionTruncated());
    const HWND tip = item->GetCaptionWindow();
    const RECT image = item->GetImageRect();
    Move(Cell(0, 0), (image.left + image.right) / 2, (image.top + image.bottom) / 2, false);
    SendMessageW(Cell(0, 0), WM_TIMER, 1, 0);  // samples the pointer
    SendMessageW(Cell(0, 0), WM_TIMER, 0, 0);  // it rested: the tip shows
    ASSERT_TRUE(IsWindowVisible(tip));

    // 10 right of and 20 below the pointer, moved left or above at the host's edges.
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(host->hwnd, &cursor);
    RECT place{};
    GetWindowRect(tip, &place);
    MapWindowPoints(nullptr, host->hwnd, reinterpret_cast<POINT*>(&place), 2);
    RECT client{};
    GetClientRect(host->hwnd, &client);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    int x = cursor.x + 10;
    int y = cursor.y + 20;
    if (x + width > client.right) {
        x = cursor.x + 10 - width;
    }
    if (y + height > client.bottom) {
        y = cursor.y - height;
        x -= 10;
    }
    EXPECT_EQ(place.left, x);
    EXPECT_EQ(place.top, y);

    // Leaving the picture hides it; so does a press.
    Move(Cell(0, 0), 1, 1, false);
    EXPECT_FALSE(IsWindowVisible(tip));
    SendMessageW(Cell(0, 0), WM_TIMER, 0, 0);
    ASSERT_TRUE(IsWindowVisible(tip));
    Down(Cell(0, 0), 40, 40);
    Up(Cell(0, 0), 40, 40);
    EXPECT_FALSE(IsWindowVisible(tip));
}

}  // namespace
