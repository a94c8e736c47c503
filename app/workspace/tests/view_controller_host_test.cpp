// The view's answers to its image controllers: language texts, the text and
// calibration dialogs over the view's window, the frame's calibration choice
// and the notices sent to the view's window.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "annotations_resource.h"
#include "calibration_store.h"
#include "ini_profile.h"
#include "language_library.h"
#include "measure_resource.h"
#include "modal_script.h"
#include "private_messages.h"
#include "recording_view_frame.h"
#include "text_input_resource.h"
#include "unique_temp_dir.h"
#include "view_controller_host.h"
#include "window.h"

namespace {

using testing_support::ModalScript;

// A window that records the private messages it receives.
class NoticeWindow : public CWindow {
public:
    std::vector<UINT> received;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_HISTORY_CHANGED || message == WM_CALIBRATION_CHANGED) {
            received.push_back(message);
            return 0;
        }
        return CWindow::WindowProc(message, wParam, lParam);
    }
};

class ViewControllerHostTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CWindow::RegisterWindowClass(L"VizcamHostView", 0, nullptr));
        view_.CreateEx(0, L"VizcamHostView", L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 200}, nullptr, 0);
        host_.SetWindow(view_.GetSafeHwnd());
        host_.SetFrame(&frame_);
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        host_.SetScaleIniPath((dir_ / L"scale.ini").wstring());
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    NoticeWindow view_;
    RecordingViewFrame frame_;
    std::filesystem::path dir_ = testing_support::UniqueTempPath("view_controller_host");
    CViewControllerHost host_;
};

TEST_F(ViewControllerHostTest, TextsComeFromTheLoadedLanguage) {
    std::u16string english;
    std::u16string chinese;
    {
        LanguageLibrary library(0);
        ASSERT_TRUE(library.Loaded());
        english = host_.Text(IDS_COUNTER_CIRCLE);
    }
    {
        LanguageLibrary library(1);
        ASSERT_TRUE(library.Loaded());
        chinese = host_.Text(IDS_COUNTER_CIRCLE);
    }
    EXPECT_FALSE(english.empty());
    EXPECT_FALSE(chinese.empty());
    EXPECT_NE(english, chinese);
    EXPECT_EQ(host_.Text(1), u"");  // no such string
}

TEST_F(ViewControllerHostTest, AnnotationTextIsAskedOverTheView) {
    LanguageLibrary library(0);
    ModalScript typed({[](HWND d) {
        ModalScript::SetText(d, IDC_TEXT_INPUT_EDIT, L"\u7ec6\u80de 7");
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(host_.AskAnnotationText({10, 20}), u"\u7ec6\u80de 7");
    EXPECT_TRUE(typed.Finished());

    ModalScript cancelled({[](HWND d) {
        ModalScript::SetText(d, IDC_TEXT_INPUT_EDIT, L"typed");
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(host_.AskAnnotationText({10, 20}), std::nullopt);
    EXPECT_TRUE(cancelled.Finished());

    // Without a window there is nobody to ask.
    CViewControllerHost windowless;
    EXPECT_EQ(windowless.AskAnnotationText({0, 0}), std::nullopt);
}

TEST_F(ViewControllerHostTest, ConfirmedCalibrationIsStoredWithThePictureSize) {
    LanguageLibrary library(0);
    std::wstring pixelsShown;
    ModalScript script({[&](HWND d) {
        pixelsShown = ModalScript::ItemText(d, IDC_CALIB_PIXELS);
        ModalScript::SetText(d, IDC_CALIB_NAME, L"10x");
        ModalScript::SetText(d, IDC_CALIB_LENGTH, L"50");
        ModalScript::Press(d, IDOK);
    }});
    const auto chosen = host_.AskCalibration(200.0f, 64, 48);
    EXPECT_TRUE(script.Finished());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(pixelsShown, L"200");
    EXPECT_EQ(chosen->scale, 0.25f);
    EXPECT_EQ(chosen->unit, u"\u03bcm");

    IniProfile file((dir_ / L"scale.ini").wstring());
    const auto stored = CalibrationStore(file).Read(1);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->name, u"10x");
    EXPECT_EQ(stored->value, 0.25f);
    EXPECT_EQ(stored->resolution, u"64 * 48");
}

TEST_F(ViewControllerHostTest, CancelledCalibrationStoresNothing) {
    LanguageLibrary library(0);
    ModalScript script({[](HWND d) { ModalScript::Press(d, IDCANCEL); }});
    EXPECT_EQ(host_.AskCalibration(200.0f, 64, 48), std::nullopt);
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(std::filesystem::exists(dir_ / L"scale.ini"));
}

TEST_F(ViewControllerHostTest, FrameChoiceAndNoticesReachTheirPlaces) {
    frame_.calibrationSelection = 3;
    EXPECT_EQ(host_.SelectedCalibration(), 3);
    host_.HistoryChanged();
    host_.CalibrationChanged();
    EXPECT_EQ(view_.received, (std::vector<UINT>{WM_HISTORY_CHANGED, WM_CALIBRATION_CHANGED}));

    CViewControllerHost detached;
    EXPECT_EQ(detached.SelectedCalibration(), -1);
    detached.HistoryChanged();  // no window: nothing to tell, nothing breaks
}

}  // namespace
