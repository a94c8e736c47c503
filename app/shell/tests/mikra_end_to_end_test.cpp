// Mikra.exe worked as a user works it, from another process: a BMP opened
// through the File menu's real open dialog, zoomed, a line and a circle drawn
// by mouse messages, the circle undone and redone, the drawing saved as a
// kqmk document through the real save dialog; then a second run opens the
// document and saves it again, and both documents hold the same objects
// with the same results.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "drawing_file.h"
#include "live_video_checks.h"
#include "mikra_program_test.h"
#include "picture_session.h"
#include "resource.h"

namespace {

namespace fs = std::filesystem;
using live_video::BrowserPictures;

constexpr int kTagLine = 2;
constexpr int kTagCircle = 7;

bool HasBytes(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error) && fs::file_size(path, error) > 0;
}

class MikraEndToEndTest : public MikraProgramTest {
protected:
    void SetUp() override {
        UseFreshProgram(L"vz_mikra_end_to_end");
        fs::create_directories(folder_ / L"work");
        picture_ = folder_ / L"work" / L"sample.bmp";
        picture_session::WriteBmp(picture_, 200, 150, [](int, int) { return RGB(10, 200, 30); });
    }

    // Starts the program, opens a file through 37010's dialog and waits
    // until the browser lists it; the view, or null.
    HWND StartAndOpen(const fs::path& path) {
        if (!mikra_.Start()) return nullptr;
        frame_ = mikra_.WaitForMainFrame();
        if (!frame_) return nullptr;
        Command(ID_FILE_LOAD_PICTURES);
        HWND dialog = mikra_.WaitForDialog();
        if (!dialog) return nullptr;
        ChooseFile(dialog, path.wstring());
        if (!WaitFor([&] { return BrowserPictures(frame_) == 1; }, 20000)) return nullptr;
        return FindView(frame_);
    }
    // Saves the current picture with its objects as a document through
    // 37012's dialog.
    bool SaveAs(const fs::path& path) {
        Command(ID_FILE_SAVE_PICTURE_AS);
        HWND dialog = mikra_.WaitForDialog();
        if (!dialog) return false;
        ChooseFile(dialog, path.wstring());
        return WaitFor([&] { return HasBytes(path); }, 20000);
    }
    bool Exit() {
        PostMessageW(frame_, WM_CLOSE, 0, 0);
        if (HWND question = mikra_.WaitForDialog()) {
            PostMessageW(GetDlgItem(question, IDOK), BM_CLICK, 0, 0);
        }
        return mikra_.WaitForExit(kExitTimeoutMs);
    }

    void Command(int id) { PostMessageW(frame_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void Mouse(HWND view, UINT message, WPARAM keys, POINT at) {
        PostMessageW(view, message, keys, MAKELPARAM(at.x, at.y));
    }
    // The tools take a point per click, the mouse moving between them.
    void ClickThenClick(HWND view, POINT from, POINT to) {
        Mouse(view, WM_MOUSEMOVE, 0, from);
        Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, from);
        Mouse(view, WM_LBUTTONUP, 0, from);
        Mouse(view, WM_MOUSEMOVE, 0, {(from.x + to.x) / 2, (from.y + to.y) / 2});
        Mouse(view, WM_MOUSEMOVE, 0, to);
        Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, to);
        Mouse(view, WM_LBUTTONUP, 0, to);
    }

    fs::path picture_;
    HWND frame_ = nullptr;
};

DrawingDocument Read(const fs::path& path) {
    DrawingDocument document;
    EXPECT_EQ(ReadDrawingFile(path, document), DocumentStatus::ok) << path;
    return document;
}

TEST_F(MikraEndToEndTest, ABitmapOpenedMeasuredSavedAndReopenedKeepsItsObjects) {
    HWND view = StartAndOpen(picture_);
    ASSERT_NE(view, nullptr) << "the picture was not opened from the File menu";
    Command(ID_PICTURE_ZOOM_IN);
    RECT client{};
    GetClientRect(view, &client);
    const POINT centre{client.right / 2, client.bottom / 2};

    Command(ID_TOOL_LINE);
    ClickThenClick(view, {centre.x - 60, centre.y - 30}, {centre.x + 60, centre.y + 30});
    Command(ID_TOOL_CIRCLE);
    ClickThenClick(view, centre, {centre.x + 33, centre.y});
    // The circle goes and comes back.
    Command(ID_EDIT_UNDO_STEP);
    Command(ID_EDIT_REDO_STEP);

    const fs::path drawn = folder_ / L"work" / L"drawn.kqmk";
    ASSERT_TRUE(SaveAs(drawn)) << "no document saved";
    ASSERT_TRUE(Exit()) << "Mikra did not end";

    const DrawingDocument first = Read(drawn);
    ASSERT_EQ(first.objects.size(), 2u);
    EXPECT_EQ(first.objects[0]->type, kTagLine);
    EXPECT_EQ(first.objects[1]->type, kTagCircle);
    // At zoom 1.1 the line spans 120 x 60 view pixels: about 122 picture pixels.
    EXPECT_NEAR(first.objects[0]->results[CCLObject::kLength], 134.16f / 1.1f, 2.0f);
    EXPECT_GT(first.objects[1]->results[CCLObject::kArea], 0.0f);
    EXPECT_EQ(first.picture.GetWidth(), 200);
    EXPECT_EQ(first.picture.GetHeight(), 150);

    // A second run opens the document and saves it again: the same objects.
    frame_ = nullptr;
    view = StartAndOpen(drawn);
    ASSERT_NE(view, nullptr) << "the document was not opened from the File menu";
    const fs::path again = folder_ / L"work" / L"again.kqmk";
    ASSERT_TRUE(SaveAs(again)) << "the reopened document was not saved";
    ASSERT_TRUE(Exit()) << "Mikra did not end";

    const DrawingDocument second = Read(again);
    ASSERT_EQ(second.objects.size(), first.objects.size());
    for (std::size_t i = 0; i < first.objects.size(); ++i) {
        EXPECT_EQ(second.objects[i]->type, first.objects[i]->type) << i;
        for (std::size_t r = 0; r < first.objects[i]->results.size(); ++r) {
            EXPECT_FLOAT_EQ(second.objects[i]->results[r], first.objects[i]->results[r]) << i << " result " << r;
        }
    }
}

}  // namespace
