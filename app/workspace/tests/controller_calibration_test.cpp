#include <cmath>

#include "controller_fixture.h"

namespace {

using namespace controller_testing;

class ShowAtPrintSizeTest : public ControllerFixture {
protected:
    // Screen pixels per inch of the test display, from its device caps.
    double ScreenPixelsPerInch() {
        HDC dc = ::GetDC(window.hwnd());
        const double ppi = ::GetDeviceCaps(dc, HORZRES) / (::GetDeviceCaps(dc, HORZSIZE) * 0.03937007874015748);
        ::ReleaseDC(window.hwnd(), dc);
        return ppi;
    }
};

TEST_F(ShowAtPrintSizeTest, ZoomShowsTheCalibratedWidthTimesTheMagnification) {
    auto c = Open(WritePicture(L"p.bmp", 100, 50, 0x808080));
    const double ppi = ScreenPixelsPerInch();
    ASSERT_GT(ppi, 0.0);
    // 100 pixels of 0.127 mm are half an inch, shown twice as large.
    c->ShowAtPrintSize(2, 0.127f, u"mm");
    EXPECT_NEAR(c->GetZoom(), ppi * 1.0 / 100.0, 1e-4);
    EXPECT_EQ(c->scale, 0.127f);
    EXPECT_EQ(c->unitText, u"mm");
    EXPECT_EQ(c->printMagnification, 2);
    EXPECT_EQ(c->printScale, 0.127f);
    EXPECT_EQ(c->printUnitText, u"mm");
    int zw = 0;
    int zh = 0;
    c->GetZoomedSize(zw, zh);
    EXPECT_EQ(zw, static_cast<int>(std::lround(100 * c->GetZoom())));
}

TEST_F(ShowAtPrintSizeTest, UnusableScaleKeepsTheViewButStoresThePrintSettings) {
    auto c = Open(WritePicture(L"p.bmp", 100, 50, 0x808080));
    c->SetZoom(2.0f);
    c->ShowAtPrintSize(3, 0.0f, u"cm");
    EXPECT_EQ(c->GetZoom(), 2.0f);
    EXPECT_EQ(c->scale, 1.0f);
    EXPECT_EQ(c->unitText, u"\u03bcm");
    EXPECT_EQ(c->printMagnification, 3);
    EXPECT_EQ(c->printScale, 0.0f);
    EXPECT_EQ(c->printUnitText, u"cm");
}

class ConfirmCalibrationTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        controller = Open(WritePicture(L"p.bmp", 64, 48, 0x808080));
        controller->SetHost(&host);
        controller->SetZoom(2.0f);
        // One measurement in the list and the calibration line selected.
        controller->GetObjectList()->push_back(std::make_unique<CCLObject>());
        line.results[CCLObject::kLength] = 400.0f;  // view pixels at zoom 2
        line.state = CCLObject::kSelectedWhole;
        controller->GetSelection().push_back(&line);
        controller->SetCalibrationLineShown(1);
    }
    void TearDown() override {
        controller.reset();
        ControllerFixture::TearDown();
    }

    RecordingHost host;
    std::unique_ptr<CImageController> controller;
    CCLObject line;
};

TEST_F(ConfirmCalibrationTest, OkAppliesStoresAndAnnouncesTheCalibration) {
    host.calibrations.push_back(CalibrationChoice{0.25f, u"\u03bcm"});
    EXPECT_EQ(controller->ConfirmCalibrationLine(line), 1);
    // Asked for the line's length in picture pixels, on a 64 x 48 picture.
    ASSERT_EQ(host.calibrationAsked.size(), 1u);
    EXPECT_EQ(host.calibrationAsked[0].pixelLength, 200.0f);
    EXPECT_EQ(host.calibrationAsked[0].pictureWidth, 64);
    EXPECT_EQ(host.calibrationAsked[0].pictureHeight, 48);

    EXPECT_EQ(controller->scale, 0.25f);
    EXPECT_EQ(controller->unitText, u"\u03bcm");
    EXPECT_EQ(controller->printScale, 0.25f);
    EXPECT_EQ(controller->GetCalibrationScale(), 0.25f);
    EXPECT_EQ(controller->GetCalibrationUnit(), u"\u03bcm");
    EXPECT_EQ(controller->GetObjectList()->front()->scale, 0.25f);
    EXPECT_TRUE(controller->GetSelection().empty());
    EXPECT_EQ(line.state, CCLObject::kIdle);
    EXPECT_EQ(host.notices, std::vector<RecordingHost::Notice>{RecordingHost::Notice::calibration});
    // The controller sends its window nothing: the host tells the frame.
    EXPECT_TRUE(window.received.empty());
}

TEST_F(ConfirmCalibrationTest, CancelChangesNothing) {
    host.calibrations.push_back(std::nullopt);
    EXPECT_EQ(controller->ConfirmCalibrationLine(line), 0);
    EXPECT_EQ(host.calibrationAsked.size(), 1u);
    EXPECT_EQ(controller->scale, 1.0f);
    EXPECT_EQ(controller->GetCalibrationScale(), 1.0f);
    EXPECT_EQ(controller->GetSelection().size(), 1u);
    EXPECT_TRUE(host.notices.empty());
}

}  // namespace
