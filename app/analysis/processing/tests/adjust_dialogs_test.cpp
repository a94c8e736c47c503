// The two colour adjustment dialogs driven by control id: slider ranges and
// texts, the preview frame's pixels read back from a DIB, and what OK and
// Cancel do to the picture.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "control_testing.h"
#include "filter_commands.h"
#include "image_adjust_dlg.h"
#include "modal_script.h"
#include "processing_resource.h"
#include "processing_testing.h"
#include "resource_module.h"
#include "rgb_adjust_dlg.h"

namespace {

using namespace processing_testing;
using testing_support::ModalScript;

constexpr std::uint32_t kColour = 0x406080;

// The colour the preview frame shows in its middle (0x00RRGGBB).
std::uint32_t FrameMiddle(HWND dialog) {
    HWND frame = GetDlgItem(dialog, IDC_ADJUST_FRAME);
    RECT client{};
    GetClientRect(frame, &client);
    const controls_testing::Snapshot shot(frame, false);
    const COLORREF c = shot.At(client.right / 2, client.bottom / 2);
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (static_cast<std::uint32_t>(GetGValue(c)) << 8) |
           GetBValue(c);
}

class AdjustDialogsTest : public testing::Test {
protected:
    void SetUp() override { UseEnglishResources(); }

    // Runs `command` on a uniform picture with the dialog driven by `steps`.
    bool Run(bool (CImageFilterCommands::*command)(CPicture&), std::function<void(HWND)> steps) {
        ModalScript script({[&](HWND dialog) { steps(dialog); }});
        const bool changed = (commands.*command)(picture);
        EXPECT_TRUE(script.Finished());
        return changed;
    }

    CImageFilterCommands commands;
    CPicture picture = Uniform(320, 240, kColour);
};

struct SliderCase {
    int id;
    int textId;
    int min;
    int max;
};

// Every slider at 0 within its range, its text "0".
void ExpectOpeningSliders(HWND dialog, std::span<const SliderCase> sliders) {
    for (const SliderCase& s : sliders) {
        SCOPED_TRACE(s.id);
        EXPECT_EQ(SendDlgItemMessageW(dialog, s.id, TBM_GETRANGEMIN, 0, 0), s.min);
        EXPECT_EQ(SendDlgItemMessageW(dialog, s.id, TBM_GETRANGEMAX, 0, 0), s.max);
        EXPECT_EQ(SendDlgItemMessageW(dialog, s.id, TBM_GETPOS, 0, 0), 0);
        EXPECT_EQ(ModalScript::ItemText(dialog, s.textId), L"0");
    }
}

TEST_F(AdjustDialogsTest, ImageParametersOpenAtZeroWithTheirRangesAndThePreviewOn) {
    const SliderCase sliders[] = {
        {IDC_ADJUST_BRIGHTNESS, IDC_ADJUST_BRIGHTNESS_TEXT, -255, 255},
        {IDC_ADJUST_CONTRAST, IDC_ADJUST_CONTRAST_TEXT, -100, 100},
        {IDC_ADJUST_SATURATION, IDC_ADJUST_SATURATION_TEXT, -255, 255},
        {IDC_ADJUST_HUE, IDC_ADJUST_HUE_TEXT, -128, 128},
    };
    std::wstring caption;
    std::uint32_t shown = 0;
    EXPECT_FALSE(Run(&CImageFilterCommands::HueSaturation, [&](HWND dialog) {
        caption = ModalScript::Text(dialog);
        ExpectOpeningSliders(dialog, sliders);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_ADJUST_PREVIEW), BST_CHECKED);
        shown = FrameMiddle(dialog);
        ModalScript::Press(dialog, IDCANCEL);
    }));
    EXPECT_EQ(caption, L"Image Adjustment");
    EXPECT_EQ(shown, kColour) << "the preview shows the picture";
}

TEST_F(AdjustDialogsTest, BrightnessShowsInThePreviewAndOkChangesThePictureAsLightDoes) {
    CPicture expected = picture;
    expected.Light(100, 20);
    std::uint32_t previewed = 0;
    EXPECT_TRUE(Run(&CImageFilterCommands::HueSaturation, [&](HWND dialog) {
        MoveSlider(dialog, IDC_ADJUST_BRIGHTNESS, 100);
        MoveSlider(dialog, IDC_ADJUST_CONTRAST, 20);
        EXPECT_EQ(ModalScript::ItemText(dialog, IDC_ADJUST_BRIGHTNESS_TEXT), L"100");
        EXPECT_EQ(ModalScript::ItemText(dialog, IDC_ADJUST_CONTRAST_TEXT), L"20");
        previewed = FrameMiddle(dialog);
        ModalScript::Press(dialog, IDOK);
    }));
    EXPECT_EQ(previewed, expected.GetPixelColor(0, 0));
    EXPECT_EQ(Bytes(picture), Bytes(expected));
}

TEST_F(AdjustDialogsTest, HueAndSaturationColorizeACopyOfThePicture) {
    CPicture expected = picture;
    expected.Colorize(CPicture(picture), 64, -100, 0);
    EXPECT_TRUE(Run(&CImageFilterCommands::HueSaturation, [&](HWND dialog) {
        MoveSlider(dialog, IDC_ADJUST_HUE, 64);
        MoveSlider(dialog, IDC_ADJUST_SATURATION, -100);
        ModalScript::Press(dialog, IDOK);
    }));
    EXPECT_NE(expected.GetPixelColor(0, 0), kColour);
    EXPECT_EQ(Bytes(picture), Bytes(expected));
}

TEST_F(AdjustDialogsTest, OkWithEverySliderAtZeroLeavesThePictureAndStillCounts) {
    const auto before = Bytes(picture);
    EXPECT_TRUE(Run(&CImageFilterCommands::HueSaturation, [](HWND dialog) { ModalScript::Press(dialog, IDOK); }));
    EXPECT_EQ(Bytes(picture), before);
    EXPECT_TRUE(Run(&CImageFilterCommands::AdjustRGB, [](HWND dialog) { ModalScript::Press(dialog, IDOK); }));
    EXPECT_EQ(Bytes(picture), before);
}

TEST_F(AdjustDialogsTest, WithThePreviewOffSlidersChangeOnlyTheirTexts) {
    struct Case {
        const char* name;
        bool (CImageFilterCommands::*command)(CPicture&);
        int check;
        int slider;
        int text;
    };
    const Case cases[] = {
        {"image", &CImageFilterCommands::HueSaturation, IDC_ADJUST_PREVIEW, IDC_ADJUST_BRIGHTNESS,
         IDC_ADJUST_BRIGHTNESS_TEXT},
        {"RGB", &CImageFilterCommands::AdjustRGB, IDC_RGB_PREVIEW, IDC_RGB_GREEN, IDC_RGB_GREEN_TEXT},
    };
    const auto before = Bytes(picture);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::uint32_t previewOff = 0;
        std::uint32_t previewOn = 0;
        std::wstring text;
        EXPECT_FALSE(Run(c.command, [&](HWND dialog) {
            Check(dialog, c.check, false);
            MoveSlider(dialog, c.slider, -90);
            text = ModalScript::ItemText(dialog, c.text);
            previewOff = FrameMiddle(dialog);
            // Switched on again, the next move shows.
            Check(dialog, c.check, true);
            MoveSlider(dialog, c.slider, -91);
            previewOn = FrameMiddle(dialog);
            ModalScript::Press(dialog, IDCANCEL);
        }));
        EXPECT_EQ(text, L"-90");
        EXPECT_EQ(previewOff, kColour);
        EXPECT_NE(previewOn, kColour);
        EXPECT_EQ(Bytes(picture), before) << "Cancel leaves the picture";
    }
}

TEST_F(AdjustDialogsTest, RgbShiftsOpenAtZeroAndOkShiftsThePicture) {
    const SliderCase sliders[] = {
        {IDC_RGB_RED, IDC_RGB_RED_TEXT, -128, 128},
        {IDC_RGB_GREEN, IDC_RGB_GREEN_TEXT, -128, 128},
        {IDC_RGB_BLUE, IDC_RGB_BLUE_TEXT, -128, 128},
    };
    CPicture expected = picture;
    expected.ShiftRGB(30, -20, 128);
    std::wstring caption;
    std::uint32_t previewed = 0;
    EXPECT_TRUE(Run(&CImageFilterCommands::AdjustRGB, [&](HWND dialog) {
        caption = ModalScript::Text(dialog);
        ExpectOpeningSliders(dialog, sliders);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RGB_PREVIEW), BST_CHECKED);
        MoveSlider(dialog, IDC_RGB_RED, 30);
        MoveSlider(dialog, IDC_RGB_GREEN, -20);
        MoveSlider(dialog, IDC_RGB_BLUE, 128);
        EXPECT_EQ(ModalScript::ItemText(dialog, IDC_RGB_BLUE_TEXT), L"128");
        previewed = FrameMiddle(dialog);
        ModalScript::Press(dialog, IDOK);
    }));
    EXPECT_EQ(caption, L"RGB Adjustment");
    EXPECT_EQ(previewed, expected.GetPixelColor(0, 0));
    EXPECT_EQ(Bytes(picture), Bytes(expected));
}

}  // namespace

namespace {

// Both language libraries hold the three dialogs under their captions.
TEST(ProcessingDialogResources, EachLanguageNamesTheDialogs) {
    struct Case {
        const wchar_t* library;
        const wchar_t* rotate;
        const wchar_t* adjust;
        const wchar_t* rgb;
    };
    const Case cases[] = {
        {L"Lan_0.dll", L"Rotate", L"Image Adjustment", L"RGB Adjustment"},
        {L"Lan_1.dll", L"\u65cb\u8f6c", L"\u56fe\u50cf\u53c2\u6570\u8c03\u8282", L"RGB \u8c03\u8282"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.library)));
        const HMODULE module = LoadLibraryExW(c.library, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
        SetResourceModule(module);
        std::vector<std::wstring> captions;
        ModalScript script({[&](HWND dialog) {
                                captions.push_back(ModalScript::Text(dialog));
                                ModalScript::Press(dialog, IDCANCEL);
                            },
                            [&](HWND dialog) {
                                captions.push_back(ModalScript::Text(dialog));
                                ModalScript::Press(dialog, IDCANCEL);
                            },
                            [&](HWND dialog) {
                                captions.push_back(ModalScript::Text(dialog));
                                ModalScript::Press(dialog, IDCANCEL);
                            }});
        CImageFilterCommands commands;
        CPicture picture = Uniform(40, 30, kColour);
        EXPECT_FALSE(commands.Rotate(picture));
        EXPECT_FALSE(commands.HueSaturation(picture));
        EXPECT_FALSE(commands.AdjustRGB(picture));
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(captions, (std::vector<std::wstring>{c.rotate, c.adjust, c.rgb}));
        UseEnglishResources();
        FreeLibrary(module);
    }
}

}  // namespace
