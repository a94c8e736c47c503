// The picture browser inside the real browser bar: thumbnails read back from
// the image list, the folder's order, adding, removing and selecting, the
// selection message to the view, double clicks and the right-button menu.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "browser_bar.h"
#include "browser_resource.h"
#include "resource.h"
#include "browser_test_support.h"
#include "language_library.h"
#include "modal_script.h"
#include "thread_windows.h"
#include "thumbnail.h"

namespace fs = std::filesystem;
using testing_support::ModalScript;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xE01010;
constexpr std::uint32_t kBlue = 0x1020D0;

class PictureBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(language_.Loaded());
        folder_ = fs::temp_directory_path() / L"pictures";
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 480, 640, nullptr, nullptr, nullptr,
                                  nullptr);
        ASSERT_NE(parent_, nullptr);
        ASSERT_TRUE(view_.Create(parent_));
        host_.view = view_.GetSafeHwnd();
        ASSERT_TRUE(bar_.Create(L"Composite", parent_, 2454));
        MoveWindow(bar_.GetSafeHwnd(), 0, 0, 480, 640, TRUE);
        ShowWindow(bar_.GetSafeHwnd(), SW_SHOW);
        browser().SetHost(&host_);
    }
    void TearDown() override {
        bar_.DestroyWindow();
        DestroyWindow(parent_);
    }

    CPictureBrowser& browser() { return bar_.GetPictureBrowser(); }
    std::wstring Path(const wchar_t* name) const { return (folder_ / name).wstring(); }
    std::wstring Picture(const wchar_t* name, int w, int h, std::uint32_t rgb) {
        EXPECT_TRUE(WritePicture(folder_ / name, w, h, rgb, 1)) << name;
        return Path(name);
    }
    bool WaitForThumbnails() {
        return PumpUntil([this] { return browser().GetPendingThumbnails() == 0; });
    }
    // Pixel (x, y) of the cell the list draws for the item now, from the
    // image list it draws from.
    std::uint32_t CellPixel(int item, int x, int y) {
        HWND list = browser().GetSafeHwnd();
        LVITEMW lv{};
        lv.mask = LVIF_IMAGE;
        lv.iItem = item;
        EXPECT_TRUE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv))) << item;
        const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
        return ImagePixel(images, lv.iImage, x, y);
    }
    // The same once the user has scrolled to the item and its thumbnail is
    // drawn.
    std::uint32_t Pixel(int item, int x, int y) {
        SendMessageW(browser().GetSafeHwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
        EXPECT_TRUE(WaitForThumbnails()) << item;
        return CellPixel(item, x, y);
    }
    std::vector<std::wstring> Captions() {
        std::vector<std::wstring> captions;
        for (int k = 0; k < browser().GetItemCount(); ++k) captions.push_back(browser().GetItemCaption(k));
        return captions;
    }
    // A cell is blank when white inside and framed in the grey-text colour.
    void ExpectBlankFramedCell(int item) {
        const std::uint32_t grey = Rgb(GetSysColor(COLOR_GRAYTEXT));
        for (auto [x, y] : {std::pair{0, 0}, std::pair{139, 70}, std::pair{70, 139}, std::pair{0, 100}}) {
            EXPECT_EQ(CellPixel(item, x, y), grey) << item << " at " << x << "," << y;
        }
        for (auto [x, y] : {std::pair{70, 70}, std::pair{1, 1}, std::pair{138, 138}, std::pair{20, 100}}) {
            EXPECT_EQ(CellPixel(item, x, y), kWhite) << item << " at " << x << "," << y;
        }
    }

    LanguageLibrary language_{1};
    fs::path folder_;
    HWND parent_ = nullptr;
    RecordingView view_;
    RecordingHost host_;
    CBrowserBar bar_{(fs::temp_directory_path() / L"pictures").wstring() + L"\\",
                     (fs::temp_directory_path() / L"files").wstring() + L"\\", [] { return std::wstring(L"11.0"); }};
};

}  // namespace

TEST_F(PictureBrowserTest, WideTallAndUndecodablePicturesGetFramedCells) {
    const std::wstring wide = Picture(L"wide.bmp", 300, 100, kRed);
    const std::wstring tall = Picture(L"tall.bmp", 100, 300, kBlue);
    const std::wstring broken = Path(L"broken.jpg");
    std::ofstream(fs::path(broken), std::ios::binary) << "not a picture at all";

    ASSERT_TRUE(browser().AddPicture(wide, 0));
    ASSERT_TRUE(browser().AddPicture(tall, 1));
    ASSERT_TRUE(browser().AddPicture(broken, 2));
    ASSERT_EQ(browser().GetItemCount(), 3);
    ASSERT_TRUE(WaitForThumbnails());

    const std::uint32_t grey = Rgb(GetSysColor(COLOR_GRAYTEXT));
    // Wide: the full width, 140 / 3 high, centred vertically.
    EXPECT_EQ(Pixel(0, 70, 70), kRed);
    EXPECT_EQ(Pixel(0, 1, 50), kRed);
    EXPECT_EQ(Pixel(0, 70, 30), kWhite);
    EXPECT_EQ(Pixel(0, 70, 110), kWhite);
    EXPECT_EQ(Pixel(0, 0, 70), grey);
    // Tall: the full height, centred horizontally.
    EXPECT_EQ(Pixel(1, 70, 70), kBlue);
    EXPECT_EQ(Pixel(1, 70, 1), kBlue);
    EXPECT_EQ(Pixel(1, 30, 70), kWhite);
    EXPECT_EQ(Pixel(1, 110, 70), kWhite);
    EXPECT_EQ(Pixel(1, 70, 0), grey);
    // Undecodable: the item stays, a blank framed cell.
    ExpectBlankFramedCell(2);
    EXPECT_EQ(browser().GetPaths(), (std::vector<std::wstring>{wide, tall, broken}));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"wide.bmp", L"tall.bmp", L"broken.jpg"}));
}

TEST_F(PictureBrowserTest, AddShowsABlankCellAtOnceAndRefusesMissingAndListedFiles) {
    const std::wstring red = Picture(L"red.bmp", 64, 64, kRed);
    ASSERT_TRUE(browser().AddPicture(red, 0, L"Caption"));
    ExpectBlankFramedCell(0);  // before the thumbnail is decoded
    ASSERT_TRUE(WaitForThumbnails());
    EXPECT_EQ(Pixel(0, 70, 70), kRed);
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Caption"}));

    EXPECT_FALSE(browser().AddPicture(red, 0));
    EXPECT_FALSE(browser().AddPicture(Path(L"missing.bmp"), 0));
    EXPECT_FALSE(browser().AddPicture(folder_.wstring(), 0));
    EXPECT_EQ(browser().GetItemCount(), 1);
    EXPECT_EQ(browser().GetPaths(), (std::vector<std::wstring>{red}));
}

TEST_F(PictureBrowserTest, InsertingMovesCaptionsAndImagesAndRemovingMovesThemBack) {
    const std::wstring a = Picture(L"a.bmp", 40, 40, kRed);
    const std::wstring b = Picture(L"b.bmp", 40, 40, kBlue);
    const std::wstring c = Picture(L"c.bmp", 40, 40, 0x10A010);
    ASSERT_TRUE(browser().AddPicture(a, 0));
    ASSERT_TRUE(browser().AddPicture(b, 0));
    ASSERT_TRUE(browser().AddPicture(c, 99));  // past the end: appended
    ASSERT_TRUE(WaitForThumbnails());
    EXPECT_EQ(browser().GetPaths(), (std::vector<std::wstring>{b, a, c}));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"b.bmp", L"a.bmp", L"c.bmp"}));
    EXPECT_EQ(Pixel(0, 70, 70), kBlue);
    EXPECT_EQ(Pixel(1, 70, 70), kRed);
    EXPECT_EQ(Pixel(2, 70, 70), 0x10A010u);

    browser().SelectPicture(2);
    browser().RemovePicture(a);
    EXPECT_EQ(browser().GetPaths(), (std::vector<std::wstring>{b, c}));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"b.bmp", L"c.bmp"}));
    EXPECT_EQ(Pixel(0, 70, 70), kBlue);
    EXPECT_EQ(Pixel(1, 70, 70), 0x10A010u);
    // The current index past the new end becomes the last item.
    EXPECT_EQ(browser().GetCurrentIndex(), 1);
    EXPECT_EQ(browser().GetCurrentPath(), c);

    browser().RemovePicture(Path(L"never-added.bmp"));
    EXPECT_EQ(browser().GetItemCount(), 2);
    browser().RemovePicture(b);
    browser().RemovePicture(c);
    EXPECT_EQ(browser().GetItemCount(), 0);
    EXPECT_EQ(browser().GetCurrentIndex(), -1);
    EXPECT_TRUE(browser().GetCurrentPath().empty());
}

TEST_F(PictureBrowserTest, AThumbnailGoesToTheItemThatAskedForItNeverToItsOldPosition) {
    const std::wstring red = Picture(L"red.bmp", 800, 600, kRed);
    const std::wstring blue = Picture(L"blue.bmp", 40, 40, kBlue);
    ASSERT_TRUE(browser().AddPicture(red, 0));
    // Before the red thumbnail arrives its item is gone and another took
    // position 0; then red comes back at position 1.
    browser().RemovePicture(red);
    ASSERT_TRUE(browser().AddPicture(blue, 0));
    ASSERT_TRUE(browser().AddPicture(red, 1));
    ASSERT_TRUE(WaitForThumbnails());
    EXPECT_EQ(Pixel(0, 70, 70), kBlue);
    EXPECT_EQ(Pixel(1, 70, 70), kRed);
}

TEST_F(PictureBrowserTest, SelectingTellsTheViewAndClampsToTheLastItem) {
    const std::wstring a = Picture(L"a.bmp", 8, 8, kRed);
    const std::wstring b = Picture(L"b.bmp", 8, 8, kBlue);
    browser().SelectPicture(0);  // nothing listed
    EXPECT_EQ(browser().GetCurrentIndex(), -1);
    EXPECT_EQ(view_.selections, 0);

    ASSERT_TRUE(browser().AddPicture(a, 0));
    ASSERT_TRUE(browser().AddPicture(b, 1));
    browser().SelectPicture(7);
    EXPECT_EQ(browser().GetCurrentIndex(), 1);
    EXPECT_EQ(browser().GetCurrentPath(), b);
    EXPECT_EQ(view_.selections, 1);
    browser().SelectPicture(-1);
    EXPECT_EQ(browser().GetCurrentIndex(), -1);
    EXPECT_TRUE(browser().GetCurrentPath().empty());
    EXPECT_EQ(view_.selections, 1);

    browser().SetItemPath(0, Path(L"renamed.bmp"));
    EXPECT_EQ(browser().GetPaths()[0], Path(L"renamed.bmp"));
    EXPECT_EQ(browser().GetContextPath(), Path(L"renamed.bmp"));
    browser().SetItemPath(5, Path(L"elsewhere.bmp"));
    EXPECT_EQ(browser().GetPaths(), (std::vector<std::wstring>{Path(L"renamed.bmp"), b}));
    EXPECT_EQ(browser().GetContextPath(), Path(L"elsewhere.bmp"));
    ASSERT_TRUE(WaitForThumbnails());
}

TEST_F(PictureBrowserTest, OnlyAnEmbeddedBrowserFollowsTheListsSelection) {
    ASSERT_TRUE(browser().AddPicture(Picture(L"a.bmp", 8, 8, kRed), 0));
    ASSERT_TRUE(browser().AddPicture(Picture(L"b.bmp", 8, 8, kBlue), 1));
    const auto selectItem = [this](int item) {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        SendMessageW(browser().GetSafeHwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(&state));
    };
    selectItem(1);
    EXPECT_EQ(browser().GetCurrentIndex(), -1);
    EXPECT_EQ(view_.selections, 0);
    browser().SetEmbedded();
    selectItem(0);
    EXPECT_EQ(browser().GetCurrentIndex(), 0);
    EXPECT_EQ(view_.selections, 1);
    ASSERT_TRUE(WaitForThumbnails());
}

TEST_F(PictureBrowserTest, EveryDoubleClickSelectsItsItem) {
    ASSERT_TRUE(browser().AddPicture(Picture(L"a.bmp", 8, 8, kRed), 0));
    ASSERT_TRUE(browser().AddPicture(Picture(L"b.bmp", 8, 8, kBlue), 1));
    ASSERT_TRUE(WaitForThumbnails());
    HWND list = browser().GetSafeHwnd();
    for (int item : {1, 1, 0, 0}) {
        RECT rect{};
        rect.left = LVIR_ICON;
        ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)));
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        browser().SelectPicture(-1);
        SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(list, WM_LBUTTONUP, 0, at);
        EXPECT_EQ(browser().GetCurrentIndex(), item);
    }
    EXPECT_EQ(view_.selections, 4);
}

namespace {

// Chooses the item'th entry of the popup menu by keys once the menu shows.
class MenuChoice {
public:
    explicit MenuChoice(int item) : downs_(item + 1) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 30, &MenuChoice::Tick);
    }
    ~MenuChoice() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool Chosen() const { return chosen_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MenuChoice* self = current_;
        HWND menu = testing_support::FindThreadPopupMenu();
        if (!self || self->chosen_ || !menu || !IsWindowVisible(menu)) return;
        self->chosen_ = true;
        HWND focus = GetFocus() ? GetFocus() : menu;
        for (int i = 0; i < self->downs_; ++i) PostMessageW(focus, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
    }
    static inline MenuChoice* current_ = nullptr;
    int downs_;
    bool chosen_ = false;
    UINT_PTR timer_ = 0;
};

}  // namespace

class PictureBrowserMenuTest : public PictureBrowserTest {
protected:
    // Right-clicks item 1 with the menu choosing `entry`.
    void RightClickSecondItem(int entry) {
        HWND list = browser().GetSafeHwnd();
        SendMessageW(list, LVM_SETSELECTIONMARK, 0, 1);
        RECT rect{};
        rect.left = LVIR_ICON;
        SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect));
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        MenuChoice choice(entry);
        PostMessageW(list, WM_RBUTTONUP, 0, at);
        SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
        PumpUntil([&] { return choice.Chosen() && !testing_support::FindThreadPopupMenu(); });
        EXPECT_TRUE(choice.Chosen());
    }
    void AddTwo() {
        a_ = Picture(L"a.bmp", 8, 8, kRed);
        b_ = Picture(L"b.bmp", 8, 8, kBlue);
        ASSERT_TRUE(browser().AddPicture(a_, 0));
        ASSERT_TRUE(browser().AddPicture(b_, 1));
        ASSERT_TRUE(WaitForThumbnails());
    }
    std::wstring a_, b_;
};

TEST_F(PictureBrowserMenuTest, SaveAsAndRenameGoToTheView) {
    AddTwo();
    RightClickSecondItem(0);
    RightClickSecondItem(2);
    EXPECT_EQ(host_.calls, (std::vector<std::wstring>{L"SaveImageAs", L"RenameCurrentPicture"}));
    EXPECT_EQ(browser().GetContextIndex(), 1);
    EXPECT_EQ(browser().GetContextPath(), b_);
}

TEST_F(PictureBrowserMenuTest, DeleteAsksFirstAndOnOkRemovesTheItemAndHasTheViewDeleteTheFile) {
    AddTwo();
    const struct {
        int button;
        bool removed;
    } cases[] = {{IDCANCEL, false}, {IDOK, true}};
    for (const auto& c : cases) {
        std::wstring message;
        ModalScript script({[&](HWND box) {
            message = ModalScript::ItemText(box, IDC_PROMPT_TEXT);
            ModalScript::Press(box, c.button);
        }});
        RightClickSecondItem(1);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(message, L"\u786e\u5b9a\u8981\u5220\u9664\u5f53\u524d\u7684\u56fe\u7247\u6587\u4ef6\u5417\uff1f");
        if (c.removed) {
            EXPECT_EQ(browser().GetPaths(), (std::vector<std::wstring>{a_}));
            EXPECT_EQ(host_.calls, (std::vector<std::wstring>{L"RemovePicture " + b_ + L" delete"}));
            EXPECT_EQ(browser().GetContextIndex(), -1);
            EXPECT_TRUE(browser().GetContextPath().empty());
        } else {
            EXPECT_EQ(browser().GetPaths(), (std::vector<std::wstring>{a_, b_}));
            EXPECT_TRUE(host_.calls.empty());
        }
    }
}

TEST_F(PictureBrowserTest, ReloadListsPicturesAndDrawingsNewestFirstAndEmptiesTheList) {
    ASSERT_TRUE(browser().AddPicture(Picture(L"shown.bmp", 8, 8, kRed), 0));
    const struct {
        const wchar_t* name;
        int minutes;  // last write, minutes after a fixed time
    } files[] = {{L"b.jpg", 30}, {L"c.KQMK", 50}, {L"d.tiff", 10}, {L"e.png", 60},
                 {L"f.txt", 70}, {L"g.Bmp", 40},  {L"h.tif", 20},  {L"shown.bmp", 0}};
    for (const auto& f : files) {
        const fs::path path = folder_ / f.name;
        if (!fs::exists(path)) std::ofstream(path) << "x";
        HANDLE file =
            CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const ULONGLONG time = 133000000000000000ULL + static_cast<ULONGLONG>(f.minutes) * 60 * 10000000;
        FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
        CloseHandle(file);
    }
    fs::create_directories(folder_ / L"folder.jpg");

    browser().Reload();
    EXPECT_EQ(browser().GetPaths(), (std::vector<std::wstring>{Path(L"c.KQMK"), Path(L"g.Bmp"), Path(L"b.jpg"),
                                                               Path(L"h.tif"), Path(L"d.tiff"), Path(L"shown.bmp")}));
    EXPECT_EQ(browser().GetItemCount(), 0);
    EXPECT_EQ(ImageList_GetImageCount(browser().GetImageList()), 0);
    bar_.ClearPaths();
    EXPECT_TRUE(browser().GetPaths().empty());
    ASSERT_TRUE(WaitForThumbnails());
}

TEST_F(PictureBrowserTest, AddingAHundredPicturesKeepsTheWindowResponsive) {
    const std::wstring first = Picture(L"p000.bmp", 1600, 1200, kRed);
    std::vector<std::wstring> paths{first};
    for (int i = 1; i < 100; ++i) {
        wchar_t name[16];
        swprintf(name, 16, L"p%03d.bmp", i);
        ASSERT_TRUE(CopyFileW(first.c_str(), Path(name).c_str(), FALSE));
        paths.push_back(Path(name));
    }
    using Clock = std::chrono::steady_clock;
    Clock::duration firstAdd{}, longestAdd{}, longestMessage{};
    std::vector<Clock::duration> adds;
    for (int i = 0; i < 100; ++i) {
        const auto start = Clock::now();
        ASSERT_TRUE(browser().AddPicture(paths[static_cast<std::size_t>(i)], i));
        const Clock::duration took = Clock::now() - start;
        adds.push_back(took);
        if (i == 0) {
            firstAdd = took;
        } else {
            longestAdd = std::max(longestAdd, took);
        }
    }
    const ULONGLONG end = GetTickCount64() + 60000;
    MSG msg;
    while (browser().GetPendingThumbnails() > 0 && GetTickCount64() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const auto start = Clock::now();
            DispatchMessageW(&msg);
            longestMessage = std::max(longestMessage, Clock::now() - start);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    ASSERT_EQ(browser().GetPendingThumbnails(), 0);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(Pixel(i, 70, 70), kRed) << i;
    }
    // A measurement, not a limit: the longest the window's thread was busy.
    const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::sort(adds.begin(), adds.end());
    // For comparison: what one decode would have held the window's thread.
    const auto decodeStart = Clock::now();
    EXPECT_TRUE(vz::picture::LoadThumbnail(fs::path(first), 1, &vz::picture::BrowserThumbnailSize).Loaded());
    const Clock::duration decode = Clock::now() - decodeStart;
    std::printf(
        "100 pictures of 1600x1200: first AddPicture %.2f ms, median %.2f ms, longest later %.2f ms, "
        "longest message %.2f ms; one thumbnail decode %.2f ms\n",
        ms(firstAdd), ms(adds[adds.size() / 2]), ms(longestAdd), ms(longestMessage), ms(decode));
    RecordProperty("longest_add_us",
                   static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(longestAdd).count()));
}

namespace {

// A distinct colour for each of a thousand pictures.
std::uint32_t Shade(int i) {
    return (static_cast<std::uint32_t>(i % 10) * 25 + 10) << 16 | (static_cast<std::uint32_t>(i / 10 % 10) * 25 + 10) << 8 |
           (static_cast<std::uint32_t>(i / 100) * 25 + 10);
}

// Pixel (x, y) of what the window shows, read back from its own drawing.
std::uint32_t ScreenPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return Rgb(colour);
}

}  // namespace

TEST_F(PictureBrowserTest, AThousandPicturesInsertedAtTheTopAreListedInOrderAndDrawn) {
    // As a folder reload fills the browser: the oldest first, each on top.
    std::vector<std::wstring> paths;
    for (int i = 0; i < 1000; ++i) {
        wchar_t name[16];
        swprintf(name, 16, L"n%03d.bmp", i);
        paths.push_back(Picture(name, 4, 4, Shade(i)));
    }
    browser().Reload();
    ASSERT_EQ(browser().GetPaths().size(), 1000u);
    bar_.ClearPaths();
    for (int i = 999; i >= 0; --i) {
        ASSERT_TRUE(browser().AddPicture(paths[static_cast<std::size_t>(i)], 0)) << i;
    }
    EXPECT_EQ(browser().GetPaths(), paths);
    ASSERT_EQ(browser().GetItemCount(), 1000);
    for (int i : {0, 1, 500, 998, 999}) {
        wchar_t name[16];
        swprintf(name, 16, L"n%03d.bmp", i);
        EXPECT_EQ(browser().GetItemCaption(i), name);
    }
    ASSERT_TRUE(PumpUntil([this] { return browser().GetPendingThumbnails() == 0; }, 60000));

    // On screen: the first items in their order, each with its own picture.
    HWND list = browser().GetSafeHwnd();
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    RECT client{};
    GetClientRect(list, &client);
    int seen = 0;
    for (int i = 0; i < 6; ++i) {
        RECT icon{};
        icon.left = LVIR_ICON;
        ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&icon)));
        const POINT centre{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
        if (!PtInRect(&client, centre)) continue;
        EXPECT_EQ(ScreenPixel(list, centre.x, centre.y), Shade(i)) << i;
        ++seen;
    }
    EXPECT_GE(seen, 2);
    // In the image list: image k is item k's thumbnail.
    for (int i : {0, 1, 2, 333, 500, 998, 999}) {
        EXPECT_EQ(Pixel(i, 70, 70), Shade(i)) << i;
    }
}

TEST_F(PictureBrowserTest, ScrollingBringsTheThumbnailsOfTheItemsComingIntoViewAndKeepsOnlyAFew) {
    constexpr int kCount = 240;
    std::vector<std::wstring> paths;
    for (int i = 0; i < kCount; ++i) {
        wchar_t name[16];
        swprintf(name, 16, L"s%03d.bmp", i);
        paths.push_back(Picture(name, 16, 12, Shade(i)));
    }
    for (int i = kCount - 1; i >= 0; --i) {
        ASSERT_TRUE(browser().AddPicture(paths[static_cast<std::size_t>(i)], 0)) << i;
    }
    browser().SetEmbedded();
    HWND list = browser().GetSafeHwnd();
    const auto images = [list] {
        return ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)));
    };
    // Every item in view shows its own picture once the list is drawn.
    const auto expectViewDrawn = [&](const char* where) {
        EXPECT_TRUE(WaitForThumbnails()) << where;
        UpdateWindow(list);
        const auto shown = ItemsInView(list);
        EXPECT_GE(shown.size(), 2u) << where;
        for (const auto& [item, centre] : shown) {
            EXPECT_EQ(ScreenPixel(list, centre.x, centre.y), Shade(item)) << where << ": item " << item;
            EXPECT_EQ(browser().GetItemCaption(item), fs::path(paths[static_cast<std::size_t>(item)]).filename().wstring());
        }
        EXPECT_LT(images(), kCount / 2) << where;
        return shown;
    };
    expectViewDrawn("at the top");

    // Page by page to the end, as the scroll bar does: more pages than the
    // thumbnails kept, so the first ones give way on the way down.
    for (int page = 0; page < 80 && !ItemsInView(list).empty() && ItemsInView(list).back().first < kCount - 1; ++page) {
        SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
        ASSERT_TRUE(WaitForThumbnails()) << page;
    }
    const auto atEnd = expectViewDrawn("at the end");
    EXPECT_EQ(atEnd.back().first, kCount - 1);

    // A click on an item in view selects that picture and tells the view.
    const auto [chosen, centre] = atEnd.front();
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
    EXPECT_EQ(browser().GetCurrentIndex(), chosen);
    EXPECT_EQ(browser().GetCurrentPath(), paths[static_cast<std::size_t>(chosen)]);
    EXPECT_EQ(view_.selections, 1);

    // Back at the top the first pictures are made again.
    for (int page = 0; page < 80 && !ItemsInView(list).empty() && ItemsInView(list).front().first > 0; ++page) {
        SendMessageW(list, WM_VSCROLL, SB_PAGEUP, 0);
        ASSERT_TRUE(WaitForThumbnails()) << page;
    }
    const auto atTop = expectViewDrawn("back at the top");
    EXPECT_EQ(atTop.front().first, 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), chosen);
    EXPECT_EQ(browser().GetPaths(), paths);
}

TEST_F(PictureBrowserTest, TypingACaptionsFirstLetterMovesToThatItem) {
    for (const wchar_t* name : {L"apple.bmp", L"berry.bmp", L"cherry.bmp", L"banana.bmp"}) {
        ASSERT_TRUE(browser().AddPicture(Picture(name, 8, 8, kRed), browser().GetItemCount()));
    }
    ASSERT_TRUE(WaitForThumbnails());
    HWND list = browser().GetSafeHwnd();
    SetForegroundWindow(parent_);
    SetActiveWindow(parent_);
    SetFocus(list);
    ASSERT_EQ(GetFocus(), list);
    // The list searches its captions, which the browser holds.
    SendMessageW(list, WM_CHAR, L'c', 1);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 2);
}

TEST_F(PictureBrowserTest, TheListsSelectionStaysAtItsIndexWhenPicturesComeAndGo) {
    browser().SetEmbedded();
    const std::wstring a = Picture(L"a.bmp", 8, 8, kRed);
    const std::wstring b = Picture(L"b.bmp", 8, 8, kBlue);
    const std::wstring c = Picture(L"c.bmp", 8, 8, 0x10A010);
    ASSERT_TRUE(browser().AddPicture(a, 0));
    ASSERT_TRUE(browser().AddPicture(b, 1));
    HWND list = browser().GetSafeHwnd();
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    SendMessageW(list, LVM_SETSELECTIONMARK, 0, 1);
    ASSERT_EQ(view_.selections, 1);
    ASSERT_EQ(browser().GetCurrentIndex(), 1);
    const auto expectListAt = [list](int index) {
        EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), index);
        EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), index);
        EXPECT_EQ(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0), index);
    };

    // Inserting before it: the list keeps index 1, and the view is not told.
    ASSERT_TRUE(browser().AddPicture(c, 0));
    EXPECT_EQ(browser().GetPaths(), (std::vector<std::wstring>{c, a, b}));
    expectListAt(1);
    EXPECT_EQ(browser().GetCurrentIndex(), 1);
    EXPECT_EQ(view_.selections, 1);

    // Removing before it: index 1 still, told once by the removal itself.
    browser().RemovePicture(c);
    EXPECT_EQ(browser().GetPaths(), (std::vector<std::wstring>{a, b}));
    expectListAt(1);
    EXPECT_EQ(browser().GetCurrentIndex(), 1);
    EXPECT_EQ(view_.selections, 2);
    ASSERT_TRUE(WaitForThumbnails());
}

TEST_F(PictureBrowserTest, ClosingWhileThumbnailsAreOnTheirWayIsSafe) {
    const std::wstring first = Picture(L"big.bmp", 1600, 1200, kRed);
    auto bar = std::make_unique<CBrowserBar>(folder_.wstring() + L"\\", folder_.wstring() + L"\\",
                                             [] { return std::wstring(L"11.0"); });
    ASSERT_TRUE(bar->Create(L"Second", parent_, 2455));
    for (int i = 0; i < 20; ++i) {
        wchar_t name[16];
        swprintf(name, 16, L"big%02d.bmp", i);
        ASSERT_TRUE(CopyFileW(first.c_str(), Path(name).c_str(), FALSE));
        ASSERT_TRUE(bar->GetPictureBrowser().AddPicture(Path(name), 0));
        // Asked for its image, as drawing the item asks: its thumbnail is
        // on its way.
        LVITEMW lv{};
        lv.mask = LVIF_IMAGE;
        lv.iItem = 0;
        SendMessageW(bar->GetPictureBrowser().GetSafeHwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv));
    }
    ASSERT_GT(bar->GetPictureBrowser().GetPendingThumbnails(), 0);
    // The window first, the object after it, with decodes still running.
    bar->DestroyWindow();
    PumpUntil([] { return false; }, 100);
    bar.reset();
    // The messages the loader and the list posted find no window.
    PumpUntil([] { return false; }, 200);
    // The fixture's own browser still works.
    ASSERT_TRUE(browser().AddPicture(first, 0));
    ASSERT_TRUE(WaitForThumbnails());
    EXPECT_EQ(Pixel(0, 70, 70), kRed);
}
