// The floating piece and the real clipboard under Wine. What Wine offers to
// X ("image/bmp") is read and written by xclip while the test keeps
// dispatching messages, so the clipboard's owner can answer.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <thread>

#include "controller_fixture.h"
#include "image_popup_wnd.h"
#include "history_actions.h"
#include "pump_until.h"
#include "unix_command.h"

namespace {

using namespace controller_testing;
using unix_testing::Quoted;
using unix_testing::RunShell;
using unix_testing::UnixPath;

constexpr std::uint32_t kWhite = 0xFFFFFF;

// A picture whose every pixel differs from its neighbours, so that a shift
// by one pixel shows.
CPicture Pattern(int width, int height) {
    CPicture p(width, height, 24, kPictureBmp);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = p.GetBits(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x * 7 + y);
            row[3 * x + 1] = static_cast<std::uint8_t>(y * 5 + 1);
            row[3 * x + 2] = static_cast<std::uint8_t>(x * 3 + y * 11);
        }
    }
    return p;
}

int Differences(const CPicture& a, const CPicture& b, RECT skip = RECT{0, 0, 0, 0}) {
    int count = 0;
    for (int y = 0; y < a.GetHeight(); ++y) {
        for (int x = 0; x < a.GetWidth(); ++x) {
            const bool skipped = x >= skip.left && x < skip.right && y >= skip.top && y < skip.bottom;
            if (!skipped && a.GetPixelColor(x, y) != b.GetPixelColor(x, y)) {
                ++count;
            }
        }
    }
    return count;
}

class FloatingPieceTest : public ControllerFixture {
protected:
    void OpenPattern(int width, int height) {
        original = Pattern(width, height);
        const fs::path path = dir / L"pattern.bmp";
        ASSERT_TRUE(original.Save(path, kPictureBmp));
        controller = std::make_unique<CImageController>(path, window.hwnd());
        controller->SetScaleIniPath((dir / L"scale.ini").wstring());
        controller->SetSequenceNumber(71);
        controller->GetHistoryStore().CreateFolder(71);
        controller->OpenPicture();
        ASSERT_NE(controller->GetPicture(), nullptr);
    }
    void Show(float zoom, int scrollX, int scrollY) {
        controller->SetZoom(zoom);
        controller->SetScrollPosition(scrollX, scrollY);
        controller->Render(1);
    }
    std::int32_t LastAction() {
        const auto steps = controller->GetHistoryStore().UndoList();
        return steps.empty() ? -1 : steps.back()->action;
    }
    std::size_t Steps() { return controller->GetHistoryStore().UndoList().size(); }

    void TearDown() override {
        controller.reset();
        ControllerFixture::TearDown();
    }

    CPicture original;
    std::unique_ptr<CImageController> controller;
};

TEST_F(FloatingPieceTest, CutLeavesWhiteAndAnUnmovedDropPutsBackExactlyItsPixels) {
    struct Case {
        const char* name;
        int width;
        int height;
        float zoom;
        int scrollX;
        int scrollY;
        RECT region;  // window pixels, dragged from any corner
        RECT box;     // the picture pixels it covers
    };
    const Case cases[] = {
        // 100 x 80 centred in 200 x 150 at (50, 35).
        {"centred", 100, 80, 1.0f, 0, 0, RECT{60, 45, 90, 65}, RECT{10, 10, 40, 30}},
        {"dragged backwards", 100, 80, 1.0f, 0, 0, RECT{90, 65, 60, 45}, RECT{10, 10, 40, 30}},
        // 150 x 120 at zoom 2 is 300 x 240, scrolled by (41, 31).
        {"zoom 2 scrolled", 150, 120, 2.0f, 41, 31, RECT{20, 10, 61, 50}, RECT{31, 21, 51, 41}},
        // 60 x 40 at zoom 2 is 120 x 80, centred at (40, 35).
        {"zoom 2 centred", 60, 40, 2.0f, 0, 0, RECT{51, 46, 81, 66}, RECT{6, 6, 21, 16}},
        // Reaching past the picture: clipped after rounding.
        {"past the edge", 100, 80, 1.0f, 0, 0, RECT{130, 95, 170, 140}, RECT{80, 60, 100, 80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPattern(c.width, c.height);
        Show(c.zoom, c.scrollX, c.scrollY);
        const std::size_t steps = Steps();
        controller->Floating().SetRegionRect(c.region);
        controller->Floating().CutToFloating();
        ASSERT_EQ(controller->Floating().IsFloating(), 1);
        const CPicture* piece = controller->Floating().GetFloatingPicture();
        ASSERT_NE(piece, nullptr);
        EXPECT_EQ(piece->GetWidth(), c.box.right - c.box.left);
        EXPECT_EQ(piece->GetHeight(), c.box.bottom - c.box.top);
        EXPECT_EQ(piece->GetPixelColor(0, 0), original.GetPixelColor(c.box.left, c.box.top));
        const CPicture& cut = *controller->GetPicture();
        EXPECT_EQ(cut.GetPixelColor(c.box.left, c.box.top), kWhite);
        EXPECT_EQ(cut.GetPixelColor(c.box.right - 1, c.box.bottom - 1), kWhite);
        EXPECT_EQ(Differences(cut, original, c.box), 0) << "pixels outside the region never change";

        ASSERT_EQ(controller->Floating().DropFloating(1), 1);
        EXPECT_EQ(controller->Floating().IsFloating(), 0);
        EXPECT_EQ(controller->Floating().GetFloatingWindow(), nullptr);
        EXPECT_EQ(Differences(*controller->GetPicture(), original), 0);
        EXPECT_EQ(Steps(), steps) << "an unmoved piece records nothing";
    }
}

TEST_F(FloatingPieceTest, ARegionOutsideThePictureCutsNothing) {
    OpenPattern(100, 80);
    Show(1.0f, 0, 0);
    controller->Floating().SetRegionRect(RECT{0, 0, 40, 30});  // the grey margin only
    EXPECT_EQ(controller->Floating().CutRegion(), 0);
    EXPECT_EQ(controller->Floating().GetFloatingPicture(), nullptr);
    EXPECT_EQ(Differences(*controller->GetPicture(), original), 0);
    EXPECT_EQ(controller->Floating().DropFloating(1), 0) << "nothing floats";
    CImageController windowless;
    EXPECT_EQ(windowless.Floating().CutRegion(), 0);
    EXPECT_EQ(windowless.Floating().Paste(), 0);
}

class ClipboardTest : public FloatingPieceTest {
protected:
    // Text on the clipboard, to see whether it stays.
    void PutText(const wchar_t* text) {
        ASSERT_TRUE(::OpenClipboard(window.hwnd()));
        ::EmptyClipboard();
        const std::size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
        std::memcpy(::GlobalLock(memory), text, bytes);
        ::GlobalUnlock(memory);
        ::SetClipboardData(CF_UNICODETEXT, memory);
        ::CloseClipboard();
    }
    std::wstring ClipboardText() {
        std::wstring text;
        if (::OpenClipboard(window.hwnd())) {
            if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT); data != nullptr) {
                text = static_cast<const wchar_t*>(::GlobalLock(data));
                ::GlobalUnlock(data);
            }
            ::CloseClipboard();
        }
        return text;
    }
};

TEST_F(ClipboardTest, CutPieceIsReadOutsideAndLeavesWhite) {
    OpenPattern(100, 80);
    Show(1.0f, 0, 0);
    controller->Floating().SetRegionRect(RECT{60, 45, 90, 65});  // picture (10, 10) to (40, 30)
    controller->Floating().CutToFloating();
    ASSERT_EQ(controller->Floating().CutFloating(), 1);
    EXPECT_EQ(controller->Floating().IsFloating(), 0);
    EXPECT_EQ(LastAction(), kHistoryCut);
    EXPECT_EQ(controller->GetPicture()->GetPixelColor(20, 20), kWhite) << "the cut stays white";

    const fs::path read = dir / L"read.bmp";
    const fs::path part = dir / L"read.part";
    const fs::path errors = dir / L"xclip.txt";
    ASSERT_TRUE(RunShell("xclip -selection clipboard -t image/bmp -o > " + Quoted(UnixPath(part)) + " 2> " +
                             Quoted(UnixPath(errors)) + "; mv " + Quoted(UnixPath(part)) + " " + Quoted(UnixPath(read)),
                         read));
    ASSERT_GT(fs::file_size(read), 0u) << std::ifstream(errors).rdbuf();
    CPicture outside(read, kPictureBmp);
    ASSERT_TRUE(outside.IsValid());
    ASSERT_EQ(outside.GetWidth(), 30);
    ASSERT_EQ(outside.GetHeight(), 20);
    for (const POINT p : {POINT{0, 0}, POINT{29, 0}, POINT{0, 19}, POINT{17, 11}}) {
        EXPECT_EQ(outside.GetPixelColor(p.x, p.y), original.GetPixelColor(10 + p.x, 10 + p.y)) << p.x << "," << p.y;
    }
}

TEST_F(ClipboardTest, PastedPieceIsRecordedOnlyWhenMoved) {
    const CPicture pasted = Pattern(24, 16);
    const fs::path bmp = dir / L"outside.bmp";
    ASSERT_TRUE(pasted.Save(bmp, kPictureBmp));
    const fs::path offered = dir / L"offered";
    PutText(L"before");
    ASSERT_TRUE(RunShell("xclip -selection clipboard -t image/bmp -i " + Quoted(UnixPath(bmp)) + " && touch " +
                             Quoted(UnixPath(offered)),
                         offered));
    ASSERT_TRUE(testing_support::PumpUntil([] { return ::IsClipboardFormatAvailable(CF_BITMAP) != FALSE; }, 20000))
        << "the outside bitmap never reached the clipboard";

    for (const bool move : {false, true}) {
        SCOPED_TRACE(move ? "moved" : "unmoved");
        OpenPattern(100, 80);
        Show(1.0f, 0, 0);
        const std::size_t steps = Steps();
        ASSERT_EQ(controller->Floating().Paste(), 1);
        ASSERT_EQ(controller->Floating().IsFloating(), 1);
        EXPECT_EQ(controller->Floating().GetSourceRect().right, 0);
        const CImagePopupWnd* floating = controller->Floating().GetFloatingWindow();
        ASSERT_NE(floating, nullptr);
        // Starts at the picture's top-left (centred at (50, 35)).
        EXPECT_EQ(floating->RectInParent().left, 50);
        EXPECT_EQ(floating->RectInParent().top, 35);
        if (move) {
            // The user drags it 30 right and 20 down.
            HWND piece = floating->GetSafeHwnd();
            ::SendMessageW(piece, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            ::SendMessageW(piece, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(32, 22));
            ::SendMessageW(piece, WM_LBUTTONUP, 0, MAKELPARAM(32, 22));
        }
        ASSERT_EQ(controller->Floating().DropFloating(1), 1);
        const int x = move ? 30 : 0;
        const int y = move ? 20 : 0;
        const CPicture& now = *controller->GetPicture();
        EXPECT_EQ(now.GetPixelColor(x, y), pasted.GetPixelColor(0, 0));
        EXPECT_EQ(now.GetPixelColor(x + 23, y + 15), pasted.GetPixelColor(23, 15));
        EXPECT_EQ(Differences(now, original, RECT{x, y, x + 24, y + 16}), 0);
        if (move) {
            EXPECT_EQ(Steps(), steps + 1);
            EXPECT_EQ(LastAction(), kHistoryPaste);
        } else {
            EXPECT_EQ(Steps(), steps);
        }
    }
    // Taking the clipboard back ends the outside program's offer.
    PutText(L"after");
}

TEST_F(ClipboardTest, CopyNeedsAPieceAndAFreeClipboard) {
    OpenPattern(100, 80);
    Show(1.0f, 0, 0);
    PutText(L"kept");
    EXPECT_EQ(controller->Floating().CopyFloatingToClipboard(), 0);
    EXPECT_EQ(ClipboardText(), L"kept") << "copy without a piece leaves the clipboard alone";

    controller->Floating().SetRegionRect(RECT{60, 45, 90, 65});
    controller->Floating().CutToFloating();
    // Another thread holds the clipboard open.
    HANDLE opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        if (::OpenClipboard(nullptr)) {
            ::SetEvent(opened);
            ::WaitForSingleObject(release, INFINITE);
            ::CloseClipboard();
        } else {
            ::SetEvent(opened);
        }
    });
    ::WaitForSingleObject(opened, INFINITE);
    EXPECT_EQ(controller->Floating().CopyFloatingToClipboard(), 0);
    EXPECT_EQ(controller->Floating().Paste(), 0);
    ::SetEvent(release);
    holder.join();
    ::CloseHandle(opened);
    ::CloseHandle(release);
    EXPECT_EQ(ClipboardText(), L"kept");
    EXPECT_EQ(controller->Floating().IsFloating(), 1) << "the piece still floats";

    ASSERT_EQ(controller->Floating().CopyFloating(), 1);
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_TRUE(ClipboardText().empty()) << "the clipboard was emptied first";
}

TEST_F(ClipboardTest, BitmapPastTheLimitsOfAPictureIsRefused) {
    OpenPattern(100, 80);
    Show(1.0f, 0, 0);
    ASSERT_TRUE(::OpenClipboard(window.hwnd()));
    ::EmptyClipboard();
    ASSERT_NE(::SetClipboardData(CF_BITMAP, ::CreateBitmap(CPicture::kMaxSide + 1, 1, 1, 1, nullptr)), nullptr);
    ::CloseClipboard();
    EXPECT_EQ(controller->Floating().Paste(), 0);
    EXPECT_EQ(controller->Floating().IsFloating(), 0);
    EXPECT_EQ(controller->Floating().GetFloatingPicture(), nullptr);
}

}  // namespace
