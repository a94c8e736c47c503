#include "controller_fixture.h"
#include "ini_profile.h"

namespace {

using namespace controller_testing;

constexpr std::uint32_t kPictureColour = 0x404040;
constexpr std::uint32_t kRed = 0xFF0000;  // GColor 255, as 0x00RRGGBB

class CountingGridTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        // Calibration 1: grid 20 x 10 units at 2 units per pixel, red.
        IniProfile scale((dir / L"scale.ini").wstring());
        scale.Write(u"scl_1", u"GridW", u"20.000000");
        scale.Write(u"scl_1", u"GridH", u"10.000000");
        scale.Write(u"scl_1", u"Value", u"2.000000");
        scale.Write(u"scl_1", u"GColor", u"255");
        host.selectedCalibration = 1;
    }

    std::unique_ptr<CImageController> OpenWithGrid(int width, int height) {
        auto c = Open(WritePicture(L"grey.bmp", width, height, kPictureColour));
        c->SetHost(&host);
        c->LoadCalibration();
        c->ShowCountingGrid(1);
        return c;
    }

    RecordingHost host;
};

TEST_F(CountingGridTest, CellSizeComesFromTheChosenCalibration) {
    auto c = Open(WritePicture(L"grey.bmp", 40, 30, kPictureColour));
    c->LoadCalibration();  // no host: the defaults
    EXPECT_EQ(c->GetGridCellWidth(), 10.0f);
    EXPECT_EQ(c->GetGridCellHeight(), 10.0f);
    EXPECT_EQ(c->GetGridColour(), 0xFFFFFFu);

    RecordingHost nothingChosen;
    c->SetHost(&nothingChosen);
    c->LoadCalibration();
    EXPECT_EQ(c->GetGridCellWidth(), 10.0f);
    EXPECT_EQ(c->GetGridColour(), 0xFFFFFFu);

    c->SetHost(&host);
    c->LoadCalibration();
    EXPECT_EQ(c->GetGridCellWidth(), 10.0f);  // 20 units at 2 units per pixel
    EXPECT_EQ(c->GetGridCellHeight(), 5.0f);
    EXPECT_EQ(c->GetGridColour(), RGB(255, 0, 0));
}

TEST_F(CountingGridTest, LinesAtTheCellsClippedToThePicture) {
    auto c = OpenWithGrid(40, 30);  // centred at (80, 60); cells 10 x 5
    c->Render(1);
    ASSERT_NE(c->GetBackBuffer(), nullptr);
    for (const int y : {65, 70, 75, 80, 85}) {
        EXPECT_EQ(At(*c, 80, y), kRed) << y;
        EXPECT_EQ(At(*c, 119, y), kRed) << y;
        EXPECT_EQ(At(*c, 85, y + 1), kPictureColour) << y;
    }
    for (const int x : {90, 100, 110}) {
        EXPECT_EQ(At(*c, x, 60), kRed) << x;
        EXPECT_EQ(At(*c, x, 89), kRed) << x;
        EXPECT_EQ(At(*c, x + 1, 62), kPictureColour) << x;
    }
    // The lines on the picture's right and bottom edges fall on the margin,
    // which the grid never paints.
    EXPECT_EQ(At(*c, 120, 62), kMargin);
    EXPECT_EQ(At(*c, 85, 90), kMargin);
    EXPECT_EQ(At(*c, 79, 65), kMargin);
    EXPECT_EQ(At(*c, 85, 60), kPictureColour);  // no line at the top edge
}

TEST_F(CountingGridTest, LinesFollowZoomAndScroll) {
    auto c = OpenWithGrid(400, 300);
    c->SetZoom(2.0f);
    c->SetScrollPosition(35, 12);
    c->Render(1);
    // Columns every 20 window pixels from x = -35: 5, 25, 45, ...; rows every
    // 10 from y = -12: 8, 18, ...
    EXPECT_EQ(At(*c, 5, 100), kRed);
    EXPECT_EQ(At(*c, 25, 100), kRed);
    EXPECT_EQ(At(*c, 26, 101), kPictureColour);
    EXPECT_EQ(At(*c, 101, 8), kRed);
    EXPECT_EQ(At(*c, 101, 18), kRed);
    EXPECT_EQ(At(*c, 101, 13), kPictureColour);
}

TEST_F(CountingGridTest, HiddenGridDrawsNothing) {
    auto c = OpenWithGrid(40, 30);
    c->ShowCountingGrid(0);
    c->Render(1);
    EXPECT_EQ(At(*c, 80, 65), kPictureColour);
    EXPECT_EQ(At(*c, 90, 62), kPictureColour);
}

}  // namespace
