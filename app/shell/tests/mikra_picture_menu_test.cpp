// Mikra.exe worked from another process as a user works it: the right-click
// menu over a picture and over live video opened by a posted right-button
// release, each of its lines chosen by keyboard and its effect seen in the
// view's pixels, the dialog it opens or the bars it hides; and a picture
// cropped by a band dragged in crop mode, then the crop undone.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

#include "live_video_checks.h"
#include "mikra_program_test.h"
#include "picture_session.h"
#include "resource.h"

namespace {

namespace fs = std::filesystem;
using namespace picture_session;
using live_video::Capture;
using live_video::Screenshot;

constexpr COLORREF kLeftColour = RGB(10, 200, 30);
constexpr COLORREF kRightColour = RGB(200, 40, 40);
constexpr COLORREF kMargin = RGB(192, 192, 192);
constexpr int kPictureWidth = 200;
constexpr int kPictureHeight = 150;

// Where the picture is on the view: the columns and rows that are not the
// grey margin, through the middle of the view.
struct Extent {
    int left = -1;
    int right = -1;  // exclusive
    int top = -1;
    int bottom = -1;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

Extent PictureExtent(const Screenshot& shot) {
    Extent e;
    const int midY = shot.height / 2;
    const int midX = shot.width / 2;
    for (int x = 0; x < shot.width; ++x) {
        if (shot.At(x, midY) != kMargin) {
            if (e.left < 0) e.left = x;
            e.right = x + 1;
        }
    }
    for (int y = 0; y < shot.height; ++y) {
        if (shot.At(midX, y) != kMargin) {
            if (e.top < 0) e.top = y;
            e.bottom = y + 1;
        }
    }
    return e;
}

class MikraPictureMenuTest : public MikraProgramTest {
protected:
    void SetUp() override {
        UseFreshProgram(L"vz_mikra_picture_menu");
        fs::create_directories(folder_ / L"work");
        picture_ = folder_ / L"work" / L"sample.bmp";
        WriteBmp(picture_, kPictureWidth, kPictureHeight,
                 [](int x, int) { return x < kPictureWidth / 2 ? kLeftColour : kRightColour; });
    }

    // Starts the program and opens the picture; the view, or null.
    HWND StartAndOpen() {
        if (!mikra_.Start()) return nullptr;
        frame_ = mikra_.WaitForMainFrame();
        if (!frame_ || !OpenFromFileMenu(mikra_, frame_, picture_)) return nullptr;
        HWND view = FindView(frame_);
        // Shown once the view is painted.
        if (!view || !WaitFor([&] { return PictureExtent(Capture(view)).Width() == kPictureWidth; }, 20000)) {
            return nullptr;
        }
        return view;
    }

    void Command(int id) { PostMessageW(frame_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void Mouse(HWND view, UINT message, WPARAM keys, POINT at) {
        PostMessageW(view, message, keys, MAKELPARAM(at.x, at.y));
    }
    void Click(HWND view, POINT at) {
        Mouse(view, WM_MOUSEMOVE, 0, at);
        Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, at);
        Mouse(view, WM_LBUTTONUP, 0, at);
    }
    void Drag(HWND view, POINT from, POINT to) {
        Mouse(view, WM_MOUSEMOVE, 0, from);
        Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, from);
        Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, {(from.x + to.x) / 2, (from.y + to.y) / 2});
        Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, to);
        Mouse(view, WM_LBUTTONUP, 0, to);
    }
    // Opens the right-click menu at `at`; the menu window, or null.
    HWND RightClick(HWND view, POINT at) {
        Mouse(view, WM_RBUTTONUP, 0, at);
        return WaitForPopupMenu(mikra_.GetId());
    }
    bool PixelBecomes(HWND view, POINT at, const std::function<bool(COLORREF)>& wanted) {
        return WaitFor([&] { return wanted(Capture(view).At(at.x, at.y)); }, 10000);
    }

    fs::path picture_;
    HWND frame_ = nullptr;
};

// The frame's toolbar that carries the command, or null.
HWND ToolbarWith(HWND frame, int command) {
    struct Search {
        int command;
        HWND found = nullptr;
    } search{command};
    EnumChildWindows(
        frame,
        [](HWND hwnd, LPARAM lParam) {
            auto* s = reinterpret_cast<Search*>(lParam);
            wchar_t name[32] = {};
            GetClassNameW(hwnd, name, 32);
            if (std::wstring(name) == TOOLBARCLASSNAMEW &&
                SendMessageW(hwnd, TB_COMMANDTOINDEX, static_cast<WPARAM>(s->command), 0) >= 0) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// All texts of a dialog's controls, one after another.
std::wstring DialogTexts(HWND dialog) {
    std::wstring texts;
    EnumChildWindows(
        dialog,
        [](HWND hwnd, LPARAM lParam) {
            *reinterpret_cast<std::wstring*>(lParam) += WindowText(hwnd) + L"\n";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

TEST_F(MikraPictureMenuTest, EachLineOfTheRightClickMenuActs) {
    HWND view = StartAndOpen();
    ASSERT_NE(view, nullptr) << "the picture was not opened";
    const Extent picture = PictureExtent(Capture(view));
    const POINT centre{picture.left + picture.Width() / 2, picture.top + picture.Height() / 2};
    // A point on the line, away from its label and end handles, on the
    // picture's left half; and a point off the line.
    const POINT onLine{centre.x - 40, centre.y};
    const POINT offLine{centre.x, centre.y + 40};

    Command(ID_TOOL_LINE);
    Mouse(view, WM_MOUSEMOVE, 0, {centre.x - 60, centre.y});
    Click(view, {centre.x - 60, centre.y});
    Mouse(view, WM_MOUSEMOVE, 0, {centre.x, centre.y});
    Click(view, {centre.x + 60, centre.y});
    ASSERT_TRUE(PixelBecomes(view, onLine, [](COLORREF c) { return c != kLeftColour; })) << "no line drawn";
    const COLORREF lineColour = Capture(view).At(onLine.x, onLine.y);

    // While the line tool is chosen the menu starts with "Cancel Drawing".
    HWND menu = RightClick(view, offLine);
    ASSERT_NE(menu, nullptr) << "no menu while drawing";
    const int drawingHeight = WindowHeight(menu);
    ASSERT_TRUE(ChooseByKeyboard(menu, 1));

    // Drawing cancelled: the menu has one line fewer. Its first line now
    // chooses the selection tool.
    menu = RightClick(view, offLine);
    ASSERT_NE(menu, nullptr) << "no menu after cancelling";
    const int idleHeight = WindowHeight(menu);
    EXPECT_LT(idleHeight, drawingHeight);
    ASSERT_TRUE(ChooseByKeyboard(menu, 1));
    Click(view, onLine);
    ASSERT_TRUE(PixelBecomes(view, onLine, [&](COLORREF c) { return c != lineColour && c != kLeftColour; }))
        << "the line was not selected by a click after choosing the selection tool";

    // With a selection: "Deselect" second, "Delete" third.
    menu = RightClick(view, offLine);
    ASSERT_NE(menu, nullptr);
    EXPECT_GT(WindowHeight(menu), idleHeight);
    ASSERT_TRUE(ChooseByKeyboard(menu, 2));
    EXPECT_TRUE(PixelBecomes(view, onLine, [&](COLORREF c) { return c == lineColour; })) << "still selected";

    Click(view, onLine);
    ASSERT_TRUE(PixelBecomes(view, onLine, [&](COLORREF c) { return c != lineColour; }));
    menu = RightClick(view, offLine);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(ChooseByKeyboard(menu, 3));
    EXPECT_TRUE(PixelBecomes(view, onLine, [](COLORREF c) { return c == kLeftColour; })) << "the line was not deleted";

    // The last line, after the separator, describes the picture's file.
    menu = RightClick(view, offLine);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(ChooseByKeyboard(menu, 2));
    HWND information = mikra_.WaitForDialog();
    ASSERT_NE(information, nullptr) << "no file information";
    const std::wstring texts = DialogTexts(information);
    EXPECT_NE(texts.find(picture_.filename().wstring()), std::wstring::npos) << std::string(texts.begin(), texts.end());
    EXPECT_NE(texts.find(L"200*150"), std::wstring::npos);
    PostMessageW(GetDlgItem(information, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntilGone(information, 10000));
}

TEST_F(MikraPictureMenuTest, ABandDraggedInCropModeCropsThePictureAndUndoBringsItBack) {
    HWND view = StartAndOpen();
    ASSERT_NE(view, nullptr) << "the picture was not opened";
    const Extent whole = PictureExtent(Capture(view));

    // A band of 60 x 80 picture pixels inside the right half.
    Command(ID_PICTURE_CROP);
    Drag(view, {whole.left + 120, whole.top + 30}, {whole.left + 180, whole.top + 110});
    ASSERT_TRUE(WaitFor(
        [&] {
            const Extent e = PictureExtent(Capture(view));
            return e.Width() == 60 && e.Height() == 80;
        },
        10000))
        << "the picture was not cropped to the band";
    const Screenshot cropped = Capture(view);
    const Extent e = PictureExtent(cropped);
    for (int x = e.left; x < e.right; x += 7) {
        for (int y = e.top; y < e.bottom; y += 7) {
            ASSERT_EQ(cropped.At(x, y), kRightColour) << x << "," << y;
        }
    }

    // Crop mode ended with the crop, so another drag crops nothing, and the
    // crop is one undo step: one undo brings the whole picture back.
    Drag(view, {e.left + 5, e.top + 5}, {e.left + 30, e.top + 30});
    Command(ID_EDIT_UNDO_STEP);
    ASSERT_TRUE(WaitFor(
        [&] {
            const Extent back = PictureExtent(Capture(view));
            return back.Width() == kPictureWidth && back.Height() == kPictureHeight;
        },
        10000))
        << "undo did not bring the whole picture back";
    const Screenshot restored = Capture(view);
    const Extent back = PictureExtent(restored);
    EXPECT_EQ(restored.At(back.left + 10, back.top + 10), kLeftColour);
    EXPECT_EQ(restored.At(back.right - 10, back.top + 10), kRightColour);
}

TEST_F(MikraPictureMenuTest, OverLiveVideoTheMenuEndsLiveMeasuring) {
    // One simulated USB CMOS camera beside the program.
    fs::copy_file(fs::path(ProgramFolder()) / L"simcam" / L"KQCMOSu.dll", folder_ / L"KQCMOSu.dll");
    live_video::WriteText(folder_ / L"KQSimCam.ini", "[Cameras]\r\nCount=1\r\n[Camera1]\r\nType=10\r\n");
    ASSERT_TRUE(mikra_.Start());
    frame_ = mikra_.WaitForMainFrame();
    ASSERT_NE(frame_, nullptr);
    HWND view = FindView(frame_);
    ASSERT_NE(view, nullptr);
    HWND measureBar = ToolbarWith(frame_, ID_TOOL_LINE);
    ASSERT_NE(measureBar, nullptr);

    // Live measuring shows the measuring tools over the running video.
    Command(ID_VIDEO_OPEN);
    Command(ID_LIVE_MEASURE);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(measureBar) != FALSE; }, 20000)) << "not live measuring";

    // The live menu: "Select Objects", then "Live Measuring", which ends it.
    RECT client{};
    GetClientRect(view, &client);
    HWND menu = RightClick(view, {client.right / 2, client.bottom / 2});
    ASSERT_NE(menu, nullptr) << "no menu over live video";
    ASSERT_TRUE(ChooseByKeyboard(menu, 2));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(measureBar) == FALSE; }, 10000)) << "still live measuring";
    Command(ID_VIDEO_CLOSE);
}

}  // namespace
