// The view's print commands through the framework's print job, on Wine's
// PostScript driver with a printer whose port is a file, read back through
// Ghostscript: the print dialog chooses the printer, printing directly does
// not ask, the page is the current picture at its calibrated size, print by
// calibration prints at the magnification chosen, and a job that fails is
// reported.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

#include "calibration_store.h"
#include "ini_profile.h"
#include "measure_resource.h"
#include "modal_script.h"
#include "picture_files.h"
#include "postscript_printer.h"
#include "printer_settings.h"
#include "resource.h"
#include "view_with_camera_double.h"

namespace {

namespace fs = std::filesystem;

// A view whose print jobs go to the printer the test makes.
class ViewOnTestPrinter : public CMikraView {
public:
    using CMikraView::CMikraView;
    bool OnPreparePrinting(CPrintInfo& info) override {
        info.printer = makePrinter();
        return true;
    }
    std::function<UniquePrinterDC()> makePrinter;
};
using testing_support::ModalScript;

constexpr const wchar_t* kViewPrinter = L"Vizcam View Printer";
constexpr std::uint32_t kBlue = 0x0000FF;

bool IsBlue(std::uint32_t rgb) { return (rgb & 0xFF) > 200 && ((rgb >> 8) & 0xFF) < 60 && (rgb >> 16) < 60; }

class ViewPrintTest : public ViewWithCameraDouble {
protected:
    void SetUp() override {
        output_ = files_.Folder() / L"page.ps";
        ASSERT_TRUE(print_testing::InstallPostScriptPrinter());
        ASSERT_TRUE(print_testing::AddPostScriptPrinter(kViewPrinter, output_.wstring()));
        ASSERT_TRUE(::SetDefaultPrinterW(kViewPrinter));
        if (!ownView_) {
            ASSERT_NO_FATAL_FAILURE(CreateView());
        }
    }
    // Set by a test that creates its own kind of view.
    bool ownView_ = false;

    // A 1000 by 500 picture shown, printed one inch wide.
    void ShowPicture() {
        const std::wstring file = files_.Bmp(L"blue.bmp", 1000, 500, kBlue);
        view_->OpenPicture(file);
        view_->ShowPicture(file);
        CImageController& controller = *view_->GetCurrentController();
        ASSERT_TRUE(controller.HasWindow());
        controller.printUnitText = u"mm";
        controller.printScale = 0.0254f;
        controller.printMagnification = 1;
    }

    int Caps(int index) const {
        const print_testing::UniqueDC printer(::CreateDCW(L"WINSPOOL", kViewPrinter, nullptr, nullptr));
        return ::GetDeviceCaps(printer.get(), index);
    }

    // The blue the printed page shows; empty when nothing was printed.
    RECT PrintedPicture() {
        if (!fs::exists(output_)) {
            return RECT{0, 0, 0, 0};
        }
        const auto page = print_testing::RenderPage(output_, Caps(LOGPIXELSX));
        return page ? print_testing::InkBox(*page, IsBlue) : RECT{0, 0, 0, 0};
    }

    PictureFiles files_{L"vizcam_view_print"};
    fs::path output_;
};

TEST_F(ViewPrintTest, PrintAsksForThePrinterAndPrintsThePictureAtItsCalibratedSize) {
    ASSERT_NO_FATAL_FAILURE(ShowPicture());
    std::wstring asked;
    ModalScript script({[&](HWND dialog) {
        asked = ModalScript::Text(dialog);
        ModalScript::Press(dialog, IDOK);
    }});
    ASSERT_TRUE(view_->RunCommand(ID_FILE_PRINT));
    ASSERT_TRUE(script.Finished()) << "the print dialog was not shown";
    const RECT picture = PrintedPicture();
    ASSERT_GT(picture.right, picture.left) << "nothing was printed";
    const double dotsPerInch = Caps(HORZRES) / (Caps(HORZSIZE) * 0.03937007874015748);
    EXPECT_EQ(picture.left, Caps(PHYSICALOFFSETX));
    EXPECT_EQ(picture.top, Caps(PHYSICALOFFSETY));
    EXPECT_NEAR(picture.right - picture.left, dotsPerInch, 1.0);
    EXPECT_NEAR(picture.bottom - picture.top, dotsPerInch / 2, 1.0);
}

TEST_F(ViewPrintTest, ACancelledDialogPrintsNothingAndReportsNothing) {
    ASSERT_NO_FATAL_FAILURE(ShowPicture());
    HWND reported = nullptr;
    ModalScript script({[](HWND dialog) { ModalScript::Press(dialog, IDCANCEL); },
                        [&](HWND dialog) {
                            reported = dialog;
                            ModalScript::Press(dialog, IDOK);
                        }});
    view_->RunCommand(ID_FILE_PRINT);
    EXPECT_EQ(reported, nullptr) << "a cancelled job was reported";
    EXPECT_FALSE(fs::exists(output_));
}

TEST_F(ViewPrintTest, PrintingDirectlyUsesTheChosenPrinterWithoutAsking) {
    ASSERT_NO_FATAL_FAILURE(ShowPicture());
    ASSERT_TRUE(GetPrinterSettings().SetOrientation(DMORIENT_LANDSCAPE));
    HWND asked = nullptr;
    ModalScript script({[&](HWND dialog) {
        asked = dialog;
        ModalScript::Press(dialog, IDCANCEL);
    }});
    ASSERT_TRUE(view_->RunCommand(ID_FILE_PRINT_DIRECT));
    EXPECT_EQ(asked, nullptr) << "printing directly asked for a printer";
    const RECT picture = PrintedPicture();
    EXPECT_GT(picture.right, picture.left) << "nothing was printed";
    EXPECT_EQ(GetPrinterSettings().GetOrientation(), DMORIENT_PORTRAIT) << "the next job starts in portrait";
}

TEST_F(ViewPrintTest, PrintByCalibrationPrintsAtTheChosenMagnificationOnOkAndOnlyShowsItOnPreview) {
    ASSERT_NO_FATAL_FAILURE(ShowPicture());
    const fs::path scale = files_.Folder() / L"scale.ini";
    {
        IniProfile file(scale.wstring());
        CalibrationStore(file).Save(u"10x", 0.0254f, u"mm", 1000, 500);
    }
    view_->SetScaleIniPath(scale.wstring());
    // 1000 pixels of 0.0254 mm are one inch; twice that on the page.
    const auto choose = [](int button) {
        return [button](HWND dialog) {
            ModalScript::SelectListRow(dialog, 0);
            ModalScript::SetText(dialog, IDC_PRINT_MAGNIFICATION, L"2");
            ModalScript::Press(dialog, button);
        };
    };
    CImageController& controller = *view_->GetCurrentController();
    controller.printMagnification = 1;
    {
        ModalScript preview({choose(IDC_PRINT_PREVIEW), [](HWND dialog) { ModalScript::Press(dialog, IDCANCEL); }});
        ASSERT_TRUE(view_->RunCommand(ID_PRINT_BY_CALIBRATION));
        EXPECT_FALSE(preview.Finished()) << "the preview asked for a printer";
        EXPECT_EQ(controller.printMagnification, 2);
        EXPECT_FALSE(fs::exists(output_)) << "the preview printed";
    }
    controller.printMagnification = 1;
    ModalScript ok({choose(IDOK), [](HWND dialog) { ModalScript::Press(dialog, IDOK); }});
    ASSERT_TRUE(view_->RunCommand(ID_PRINT_BY_CALIBRATION));
    ASSERT_TRUE(ok.Finished()) << "OK did not open the print dialog";
    EXPECT_EQ(controller.printMagnification, 2);
    const RECT picture = PrintedPicture();
    ASSERT_GT(picture.right, picture.left) << "nothing was printed";
    const double dotsPerInch = Caps(HORZRES) / (Caps(HORZSIZE) * 0.03937007874015748);
    EXPECT_NEAR(picture.right - picture.left, 2 * dotsPerInch, 2.0);
    EXPECT_NEAR(picture.bottom - picture.top, dotsPerInch, 2.0);
}

TEST_F(ViewPrintTest, NothingIsPrintedWithoutAPictureOrWhileVideoRuns) {
    HWND asked = nullptr;
    ModalScript script({[&](HWND dialog) {
        asked = dialog;
        ModalScript::Press(dialog, IDCANCEL);
    }});
    view_->RunCommand(ID_FILE_PRINT);
    EXPECT_EQ(asked, nullptr) << "asked to print without a picture";
    ASSERT_NO_FATAL_FAILURE(ShowPicture());
    view_->OpenVideo();
    ASSERT_TRUE(view_->IsVideoActive());
    view_->RunCommand(ID_FILE_PRINT);
    EXPECT_EQ(asked, nullptr) << "asked to print over the video";
    EXPECT_FALSE(fs::exists(output_));
}

class ViewPrintFailureTest : public ViewPrintTest {
protected:
    void SetUp() override {
        ownView_ = true;
        ViewPrintTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(CreateView<ViewOnTestPrinter>());
    }
    ViewOnTestPrinter& View() { return static_cast<ViewOnTestPrinter&>(*view_); }
};

TEST_F(ViewPrintFailureTest, AJobThatCannotPrintIsReportedNeverTakenForPrinted) {
    ASSERT_NO_FATAL_FAILURE(ShowPicture());
    constexpr const wchar_t* kUnwritable = L"Vizcam Unwritable Printer";
    const fs::path missing = files_.Folder() / L"missing" / L"page.ps";
    ASSERT_TRUE(print_testing::AddPostScriptPrinter(kUnwritable, missing.wstring()));
    struct Case {
        const char* what;
        std::function<UniquePrinterDC()> printer;
    };
    const Case cases[] = {
        {"no printer", [] { return UniquePrinterDC(); }},
        {"output that cannot be written",
         [] { return UniquePrinterDC(::CreateDCW(L"WINSPOOL", kUnwritable, nullptr, nullptr)); }},
    };
    for (const Case& c : cases) {
        View().makePrinter = c.printer;
        std::wstring reported;
        ModalScript script({[&](HWND box) {
            reported = ModalScript::MessageText(box);
            ModalScript::Press(box, IDOK);
        }});
        EXPECT_EQ(View().OnFilePrint(false), CViewWindow::PrintResult::failed) << c.what;
        EXPECT_EQ(reported, L"The picture could not be printed.") << c.what;
    }
    EXPECT_FALSE(fs::exists(missing));
}

}  // namespace
