// The picture with its objects drawn in, as saves and exports write it, and
// the spreadsheet version the exports ask for, under Wine. The rendered
// files stay in "rendered_files" beside the test for ImageMagick to read.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "controller_fixture.h"
#include "excel_stand_in_registration.h"
#include "line_figures.h"
#include "module_folder.h"

namespace {

using namespace controller_testing;

constexpr std::uint32_t kBlue = 0x0000FF;
constexpr COLORREF kLineColour = RGB(0, 255, 0);

class RenderedImageTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        controller = Open(WritePicture(L"blue.bmp", 41, 31, kBlue));
        // A horizontal line at y 10 from x 4 to 36, without a label.
        auto line = std::make_unique<CCLLine>();
        line->points = {PointF{4.0f, 10.0f}, PointF{36.0f, 10.0f}};
        line->drawColour = kLineColour;
        line->labelMode = CCLObject::kLabelNothing;
        line->state = CCLObject::kSelectedWhole;
        controller->GetSelection().push_back(line.get());
        controller->GetObjectList()->push_back(std::move(line));
    }

    static fs::path OutputFolder() { return fs::path(GetModuleFolder()) / L"rendered_files"; }

    std::unique_ptr<CImageController> controller;
};

std::uint32_t Rgb(const CPicture& p, int x, int y) { return p.GetPixelColor(x, y); }

TEST_F(RenderedImageTest, PictureAndObjectsAtTheZoomInEveryType) {
    fs::create_directories(OutputFolder());
    struct Case {
        const wchar_t* name;
        int type;
        float zoom;
        int width;
        int height;
    };
    const Case cases[] = {
        {L"zoom2.bmp", kPictureBmp, 2.0f, 82, 62},  {L"zoom2.png", kPicturePng, 2.0f, 82, 62},
        {L"zoom1.tif", kPictureTiff, 1.0f, 41, 31}, {L"half.jpg", kPictureJpeg, 0.5f, 20, 15},
        {L"half.bmp", kPictureBmp, 0.5f, 20, 15},
    };
    for (const Case& c : cases) {
        const fs::path path = OutputFolder() / c.name;
        fs::remove(path);
        ASSERT_EQ(controller->SaveRenderedImage(path, c.type, c.zoom), 1) << path;
        EXPECT_TRUE(controller->GetSelection().empty()) << "saved deselected";
        CPicture written(path, kPictureAuto);
        ASSERT_EQ(written.GetWidth(), c.width) << path;
        ASSERT_EQ(written.GetHeight(), c.height) << path;
        EXPECT_EQ(written.GetBpp(), 24);
        if (c.type == kPictureBmp || c.type == kPicturePng || c.type == kPictureTiff) {
            const int lineY = static_cast<int>(10 * c.zoom);
            EXPECT_EQ(Rgb(written, c.width / 2, lineY), 0x00FF00u) << path << ": the line in its own colour";
            EXPECT_EQ(Rgb(written, c.width / 2, c.height - 2), kBlue) << path;
            EXPECT_EQ(Rgb(written, 1, lineY), kBlue) << path << ": left of the line";
        }
    }
}

TEST_F(RenderedImageTest, NothingIsWrittenWithoutPixelsOrPicture) {
    const fs::path path = dir / L"none.bmp";
    EXPECT_EQ(controller->SaveRenderedImage(path, kPictureBmp, 0.01f), 0);
    EXPECT_EQ(controller->SaveRenderedImage(path, kPictureBmp, 0.0f), 0);
    EXPECT_EQ(controller->SaveRenderedImage(path, kPictureBmp, 1e30f), 0);
    EXPECT_FALSE(fs::exists(path));
    // A folder that does not exist: the failure is reported.
    EXPECT_EQ(controller->SaveRenderedImage(dir / L"missing" / L"x.bmp", kPictureBmp, 1.0f), 0);
    CImageController windowless;
    EXPECT_EQ(windowless.SaveRenderedImage(path, kPictureBmp, 1.0f), 0);
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(RenderedImageTest, RenderIntoAFileDrawsObjectsAtTheFilesOwnSize) {
    controller->ClearSelection();  // drawn in its own colour
    for (const float zoom : {1.0f, 2.0f, 0.5f}) {
        controller->SetZoom(zoom);
        const fs::path path = WritePicture(L"target.bmp", 41, 31, 0xFFFF00);
        ASSERT_EQ(controller->RenderToImage(path, kPictureBmp), 1);
        CPicture written(path, kPictureAuto);
        ASSERT_EQ(written.GetWidth(), 41);
        ASSERT_EQ(written.GetBpp(), 24);
        EXPECT_EQ(Rgb(written, 20, 10), 0x00FF00u) << "the line on its own row at zoom " << zoom;
        EXPECT_EQ(Rgb(written, 20, 20), 0xFFFF00u) << "not at twice the row at zoom " << zoom;
        EXPECT_EQ(Rgb(written, 40, 10), 0xFFFF00u) << "ends where it ends at zoom " << zoom;
    }
    EXPECT_EQ(controller->RenderToImage(fs::path(), kPictureBmp), 0);
    EXPECT_EQ(controller->RenderToImage(dir / L"missing.bmp", kPictureBmp), 0);
    EXPECT_FALSE(fs::exists(dir / L"missing.bmp"));
}

TEST(ControllerExcelVersion, AsksTheSpreadsheetOnceAndHasItQuit) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        const fs::path record = fs::temp_directory_path() / L"controller_excel.txt";
        fs::remove(record);
        ExcelStandInRegistration excel(L"12.0", record);
        ASSERT_TRUE(excel.Registered());
        CImageController first;
        EXPECT_EQ(first.GetExcelVersion(), L"12.0");
        CImageController second;
        EXPECT_EQ(second.GetExcelVersion(), L"12.0");
        // Started once, asked, told to quit and released: nothing stays.
        EXPECT_EQ(excel.Calls(), (std::vector<std::string>{"Created", "Version", "Quit", "Released"}));
    }
    CoUninitialize();
}

}  // namespace
