// The picture commands on real pictures, the rotation dialog driven by
// control id, and the commands run by an image controller: a cancelled
// dialog is no history step.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "controller_fixture.h"
#include "filter_commands.h"
#include "history_actions.h"
#include "modal_script.h"
#include "processing_resource.h"
#include "processing_testing.h"
#include "recording_controller.h"

namespace {

using namespace processing_testing;
using controller_testing::RecordingController;
using testing_support::ModalScript;

class FilterCommandsTest : public testing::Test {
protected:
    void SetUp() override { UseEnglishResources(); }
    CImageFilterCommands commands;
};

TEST_F(FilterCommandsTest, BlurKeepsAUniformPictureAndWeighsTheCentreEightOfSixteen) {
    CPicture uniform = Uniform(9, 7, 0x1E64C8);
    const auto before = Bytes(uniform);
    ASSERT_TRUE(commands.Blur(uniform));
    EXPECT_EQ(Bytes(uniform), before);

    // One bright pixel on black: 160 x 8 / 16 stays in the middle, 160 / 16
    // goes to each neighbour.
    CPicture dot = Uniform(5, 5, 0);
    Put(dot, 2, 2, 0xA0A0A0);
    ASSERT_TRUE(commands.Blur(dot));
    EXPECT_EQ(dot.GetPixelColor(2, 2), 0x505050u);
    EXPECT_EQ(dot.GetPixelColor(1, 1), 0x0A0A0Au);
    EXPECT_EQ(dot.GetPixelColor(3, 2), 0x0A0A0Au);
    EXPECT_EQ(dot.GetPixelColor(0, 0), 0u);
}

TEST_F(FilterCommandsTest, EdgesOfAPalettePictureAreBlackOnWhite) {
    CPicture picture(24, 16, 8, kPictureBmp);
    std::vector<PaletteEntry> palette(256);
    palette[0] = {255, 255, 255, 0};  // white
    palette[1] = {0, 0, 0, 0};        // black
    picture.SetPalette(palette);
    for (int row = 0; row < 16; ++row) {
        for (int x = 0; x < 24; ++x) picture.GetBits(row)[x] = x < 12 ? 1 : 0;
    }
    ASSERT_TRUE(commands.EdgeDetect(picture));
    int black = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 24; ++x) {
            const std::uint32_t colour = picture.GetPixelColor(x, y);
            ASSERT_TRUE(colour == 0 || colour == 0xFFFFFF) << x << "," << y;
            black += colour == 0 ? 1 : 0;
        }
    }
    // The step between columns 11 and 12, inner rows only.
    EXPECT_GT(black, 0);
    EXPECT_EQ(picture.GetPixelColor(11, 0), 0xFFFFFFu);
    EXPECT_EQ(picture.GetPixelColor(2, 8), 0xFFFFFFu);

    CPicture empty;
    EXPECT_FALSE(commands.EdgeDetect(empty));
}

TEST_F(FilterCommandsTest, RotationDialogOffersThreeAnglesWithTheAngleEditHidden) {
    std::wstring caption;
    std::vector<std::wstring> entries;
    LRESULT selected = -1;
    bool editShown = true;
    bool spinShown = true;
    int low = 0;
    int high = 0;
    HWND buddy = nullptr;
    ModalScript script({[&](HWND dialog) {
        caption = ModalScript::Text(dialog);
        HWND list = GetDlgItem(dialog, IDC_ROTATE_ANGLES);
        for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t text[16] = {};
            SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            entries.emplace_back(text);
        }
        selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
        editShown = IsWindowVisible(GetDlgItem(dialog, IDC_ROTATE_ANGLE)) != FALSE;
        spinShown = IsWindowVisible(GetDlgItem(dialog, IDC_ROTATE_ANGLE_SPIN)) != FALSE;
        SendDlgItemMessageW(dialog, IDC_ROTATE_ANGLE_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                            reinterpret_cast<LPARAM>(&high));
        buddy = reinterpret_cast<HWND>(SendDlgItemMessageW(dialog, IDC_ROTATE_ANGLE_SPIN, UDM_GETBUDDY, 0, 0));
        EXPECT_EQ(buddy, GetDlgItem(dialog, IDC_ROTATE_ANGLE));
        ModalScript::Press(dialog, IDCANCEL);
    }});
    CPicture picture = MarkedCorners(8, 6);
    const auto before = Bytes(picture);
    EXPECT_FALSE(commands.Rotate(picture));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(caption, L"Rotate");
    EXPECT_EQ(entries, (std::vector<std::wstring>{L"90", L"180", L"270"}));
    EXPECT_EQ(selected, 0);
    EXPECT_FALSE(editShown);
    EXPECT_FALSE(spinShown);
    EXPECT_EQ(low, -360);
    EXPECT_EQ(high, 360);
    EXPECT_EQ(Bytes(picture), before) << "Cancel leaves the picture";
    EXPECT_EQ(picture.GetWidth(), 8);
}

TEST_F(FilterCommandsTest, EachAngleTurnsThePictureItsWay) {
    struct Case {
        int index;  // -1: the preselected entry
        int width;
        int height;
        // Top-down corners after the turn: top-left, top-right, bottom-left, bottom-right.
        std::uint32_t corners[4];
    };
    const Case cases[] = {
        // A quarter turn clockwise: the bottom-left corner comes to the top-left.
        {-1, 480, 640, {kBottomLeft, kTopLeft, kBottomRight, kTopRight}},
        {1, 640, 480, {kBottomRight, kBottomLeft, kTopRight, kTopLeft}},
        // "270": counter-clockwise, the top-right corner comes to the top-left.
        {2, 480, 640, {kTopRight, kBottomRight, kTopLeft, kBottomLeft}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        ModalScript script({[&](HWND dialog) {
            if (c.index >= 0) Choose(dialog, IDC_ROTATE_ANGLES, c.index);
            ModalScript::Press(dialog, IDOK);
        }});
        CPicture picture = MarkedCorners(640, 480);
        ASSERT_TRUE(commands.Rotate(picture));
        ASSERT_TRUE(script.Finished());
        ASSERT_EQ(picture.GetWidth(), c.width);
        ASSERT_EQ(picture.GetHeight(), c.height);
        EXPECT_EQ(picture.GetPixelColor(0, 0), c.corners[0]);
        EXPECT_EQ(picture.GetPixelColor(c.width - 1, 0), c.corners[1]);
        EXPECT_EQ(picture.GetPixelColor(0, c.height - 1), c.corners[2]);
        EXPECT_EQ(picture.GetPixelColor(c.width - 1, c.height - 1), c.corners[3]);
    }
}

// The controller runs the commands on its picture: OK is one step of the
// command's kind, Cancel none, and the picture stays as it was.
class ControllerCommandsTest : public controller_testing::ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        UseEnglishResources();
        controller = std::make_unique<RecordingController>(WritePicture(L"p.bmp", 640, 480, 0x336699), window.hwnd());
        controller->OpenPicture();
        controller->kinds.clear();
        controller->SetFilterCommands(&commands);
    }
    void TearDown() override {
        controller.reset();
        ControllerFixture::TearDown();
    }
    std::vector<std::uint8_t> PictureBytes() { return Bytes(*controller->GetPicture()); }

    CImageFilterCommands commands;
    std::unique_ptr<RecordingController> controller;
};

TEST_F(ControllerCommandsTest, EveryCancelledDialogLeavesThePictureAndNoStep) {
    struct Case {
        const char* name;
        void (CImageController::*command)();
        int kind;
        int changedSlider;
    };
    const Case cases[] = {
        {"Rotate", &CImageController::Rotate, kHistoryRotate, 0},
        {"HueSaturation", &CImageController::HueSaturation, kHistoryAdjust, IDC_ADJUST_BRIGHTNESS},
        {"AdjustRGB", &CImageController::AdjustRGB, kHistoryAdjustRgb, IDC_RGB_RED},
    };
    const auto before = PictureBytes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModalScript cancel({[&](HWND dialog) {
            if (c.changedSlider != 0) {
                MoveSlider(dialog, c.changedSlider, 60);
            } else {
                Choose(dialog, IDC_ROTATE_ANGLES, 2);
            }
            ModalScript::Press(dialog, IDCANCEL);
        }});
        (controller.get()->*c.command)();
        ASSERT_TRUE(cancel.Finished());
        EXPECT_TRUE(controller->kinds.empty());
        EXPECT_EQ(PictureBytes(), before);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        controller->kinds.clear();
        ModalScript ok({[&](HWND dialog) { ModalScript::Press(dialog, IDOK); }});
        (controller.get()->*c.command)();
        ASSERT_TRUE(ok.Finished());
        EXPECT_EQ(controller->kinds, std::vector<int>{c.kind});
    }
}

TEST_F(ControllerCommandsTest, Rotating270TurnsTheControllersPictureUpright) {
    ModalScript script({[&](HWND dialog) {
        Choose(dialog, IDC_ROTATE_ANGLES, 2);
        ModalScript::Press(dialog, IDOK);
    }});
    controller->Rotate();
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(controller->GetPicture()->GetWidth(), 480);
    EXPECT_EQ(controller->GetPicture()->GetHeight(), 640);
    EXPECT_EQ(controller->kinds, std::vector<int>{kHistoryRotate});
}

}  // namespace
