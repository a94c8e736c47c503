// The live controller's drawing over the video: objects at the zoom on the
// colour key, which the overlay shows as transparent, and nothing beyond
// the zoomed frame.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "controller_fixture.h"
#include "line_figures.h"
#include "live_controller.h"

namespace {

using namespace controller_testing;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kUntouched = RGB(0, 0, 255);

class LiveRenderTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        Fill(kUntouched);
        live.SetOwnerWindow(window.hwnd());
        live.SetOverlayWindow(window.hwnd());
        live.SetZoom(2.0f);
        live.SetFrameSize(60, 40);
        auto line = std::make_unique<CCLLine>();
        line->points = {PointF{10.0f, 20.0f}, PointF{50.0f, 20.0f}};
        line->drawColour = kRed;
        line->labelMode = CCLObject::kLabelNothing;
        live.GetObjectList()->push_back(std::move(line));
    }

    void Fill(COLORREF colour) {
        HDC dc = ::GetDC(window.hwnd());
        const RECT all{0, 0, kClientWidth, kClientHeight};
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRect(dc, &all, brush);
        ::DeleteObject(brush);
        ::ReleaseDC(window.hwnd(), dc);
    }
    COLORREF Pixel(int x, int y) {
        HDC dc = ::GetDC(window.hwnd());
        const COLORREF pixel = ::GetPixel(dc, x, y);
        ::ReleaseDC(window.hwnd(), dc);
        return pixel;
    }

    CLiveController live;
};

TEST_F(LiveRenderTest, ObjectsAreDrawnAtTheZoomOnTheColourKey) {
    live.Render(1);
    struct Case {
        int x;
        int y;
        COLORREF expected;
        const char* what;
    };
    const Case cases[] = {
        {60, 40, kRed, "the line's middle at twice its picture position"},
        {60, 30, CLiveController::kColourKey, "above the line"},
        {5, 5, CLiveController::kColourKey, "the corner of the frame"},
        {119, 79, CLiveController::kColourKey, "the last pixel of the zoomed frame"},
        {121, 40, kUntouched, "beside the zoomed frame"},
        {60, 81, kUntouched, "below the zoomed frame"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Pixel(c.x, c.y), c.expected) << c.what;
    }
}

TEST_F(LiveRenderTest, NothingIsDrawnWithoutAnOverlayOrAFrame) {
    CLiveController idle;
    idle.SetOwnerWindow(window.hwnd());
    idle.SetFrameSize(60, 40);
    idle.Render(1);
    EXPECT_EQ(Pixel(5, 5), kUntouched) << "no overlay window";
    live.SetFrameSize(0, 0);
    live.Render(1);
    EXPECT_EQ(Pixel(5, 5), kUntouched) << "no frame";
}

}  // namespace

namespace {

// What the live exports hand on, and the picture as it was during the call.
class LiveExportRecorder final : public IOfficeExports {
public:
    OfficeExportOptions Options() override { return options; }
    std::filesystem::path ExportFolder() override { return folder; }
    void ExportExcel(const ObjectList&, const CounterStyleList&, const std::filesystem::path& target,
                     const std::filesystem::path& picture) override {
        targets.push_back(target);
        pictures.push_back(picture);
        pictureKinds.push_back(picture.empty() ? 0 : CPicture(picture, kPictureAuto).GetBpp());
    }
    void ExportWord(const ObjectList&, const std::filesystem::path& target, const std::filesystem::path& picture,
                    float scale, int, bool) override {
        targets.push_back(target);
        pictures.push_back(picture);
        pictureScale = scale;
    }
    void ShowExcelSettings() override {}
    void ShowWordTemplate() override {}

    OfficeExportOptions options;
    std::filesystem::path folder;
    std::vector<std::filesystem::path> targets, pictures;
    std::vector<int> pictureKinds;
    float pictureScale = 0;
};

}  // namespace

TEST_F(LiveRenderTest, ATiffSnapshotGoesToExcelAsABmpOfOurOwn) {
    LiveExportRecorder exports;
    exports.folder = dir;
    exports.options.excelPicture = true;
    live.SetOfficeExports(&exports);
    const std::filesystem::path snapshot = dir / L"shot.tiff";
    CPicture frame(60, 40, 24, kPictureBmp);
    ASSERT_TRUE(frame.Save(snapshot, kPictureTiff));
    // The user's own picture where a sibling BMP of the snapshot would go.
    const std::filesystem::path users = dir / L"shot.bmp";
    std::ofstream(users) << "the user's own file";
    live.SetSnapshotPath(snapshot);
    live.ExportExcel();
    ASSERT_EQ(exports.pictures.size(), 1u);
    EXPECT_EQ(exports.pictures[0].extension(), L".bmp");
    EXPECT_NE(exports.pictures[0], users);
    EXPECT_EQ(exports.pictureKinds[0], 24) << "a readable picture during the export";
    EXPECT_FALSE(std::filesystem::exists(exports.pictures[0])) << "removed afterwards";
    std::ifstream kept(users);
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "the user's own file");
    EXPECT_TRUE(live.GetSnapshotPath().empty());

    // Without a snapshot only the picture-free export goes.
    live.ExportExcel();
    EXPECT_EQ(exports.pictures.size(), 1u);
    exports.options.excelPicture = false;
    live.ExportExcel();
    ASSERT_EQ(exports.pictures.size(), 2u);
    EXPECT_TRUE(exports.pictures[1].empty());
}

TEST_F(LiveRenderTest, AWordExportNamesItsDocumentAfterTheSnapshotWithoutOverwriting) {
    LiveExportRecorder exports;
    exports.folder = dir;
    live.SetOfficeExports(&exports);
    const std::filesystem::path snapshot = dir / L"still.bmp";
    ASSERT_TRUE(CPicture(60, 40, 24, kPictureBmp).Save(snapshot, kPictureBmp));
    std::ofstream(dir / L"still.doc") << "an earlier report";
    live.SetSnapshotPath(snapshot);
    live.ExportWord();
    ASSERT_EQ(exports.targets.size(), 1u);
    EXPECT_EQ(exports.targets[0], dir / L"still_1.doc");
    EXPECT_EQ(exports.pictures[0], snapshot);
    EXPECT_EQ(exports.pictureScale, 100.0f);
    EXPECT_TRUE(live.GetSnapshotPath().empty());
}
