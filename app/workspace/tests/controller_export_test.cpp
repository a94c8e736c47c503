// The picture with its objects drawn in, as saves and exports write it, and
// the spreadsheet version the exports ask for, under Wine. The rendered
// files stay in "rendered_files" beside the test for ImageMagick to read.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "controller_fixture.h"
#include "excel_stand_in_registration.h"
#include "line_figures.h"
#include "module_folder.h"
#include "office_version.h"

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

namespace {

// The Office exports as the controller hands them on: what it was given,
// and the picture file as it was during the call.
class RecordingOfficeExports final : public IOfficeExports {
public:
    OfficeExportOptions Options() override { return options; }
    fs::path ExportFolder() override { return folder; }
    void ExportExcel(const ObjectList& objects, const CounterStyleList&, const fs::path& target,
                     const fs::path& picture) override {
        Record(objects, target, picture);
    }
    void ExportWord(const ObjectList& objects, const fs::path& target, const fs::path& picture, float pictureScale,
                    int templateNumber, bool useTemplate) override {
        Record(objects, target, picture);
        scale = pictureScale;
        templateUsed = useTemplate ? templateNumber : -1;
    }
    void ShowExcelSettings() override {}
    void ShowWordTemplate() override {}

    OfficeExportOptions options;
    fs::path folder;
    std::vector<fs::path> targets;
    std::vector<fs::path> pictures;
    std::vector<std::uint32_t> pictureWidths;
    std::size_t objectCount = 0;
    float scale = 0;
    int templateUsed = -1;

private:
    void Record(const ObjectList& objects, const fs::path& target, const fs::path& picture) {
        objectCount = objects.size();
        targets.push_back(target);
        pictures.push_back(picture);
        pictureWidths.push_back(picture.empty() ? 0u : static_cast<std::uint32_t>(CPicture(picture, kPictureAuto).GetWidth()));
    }
};

class OfficeExportTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        exports.folder = dir / L"exports";
        fs::create_directories(exports.folder);
    }
    RecordingOfficeExports exports;
};

}  // namespace

TEST_F(OfficeExportTest, ThePictureGoesThroughAFileOfOurOwnNeverBesideTheUsers) {
    struct Case {
        const wchar_t* name;
        int kind;
        const wchar_t* sibling;  // the user's file where a sibling name would go
        const char* extension;
    } cases[] = {{L"a.bmp", kPictureBmp, L"a_T.bmp", ".bmp"},
                 {L"b.jpg", kPictureJpeg, L"b_T.jpg", ".jpg"},
                 {L"c.tiff", kPictureTiff, L"c_T.bmp", ".bmp"}};
    for (const Case& c : cases) {
        CPicture source(24, 16, 24, kPictureBmp);
        ASSERT_TRUE(source.Save(dir / c.name, c.kind)) << c.name;
        std::ofstream(dir / c.sibling) << "the user's own file";
        auto controller = Open(dir / c.name);
        // As the view opens a picture: its kind from its name, its history folder.
        controller->SetPictureKind(c.kind);
        controller->GetHistoryStore().CreateFolder(7);
        controller->SetOfficeExports(&exports);
        exports.options.excelPicture = true;
        controller->SetZoom(2.0f);
        controller->ExportExcel();
        ASSERT_EQ(exports.pictures.size(), 1u) << c.name;
        const fs::path picture = exports.pictures.back();
        EXPECT_EQ(picture.parent_path(), controller->GetHistoryStore().DocumentFolder()) << c.name;
        EXPECT_EQ(picture.extension().string(), c.extension) << c.name;
        EXPECT_EQ(exports.pictureWidths.back(), 48u) << c.name << ": drawn at the zoom";
        EXPECT_FALSE(fs::exists(picture)) << c.name << ": removed after the export";
        std::ifstream sibling(dir / c.sibling);
        std::string kept;
        std::getline(sibling, kept);
        EXPECT_EQ(kept, "the user's own file") << c.name;
        exports.pictures.clear();
        exports.pictureWidths.clear();
    }
}

TEST_F(OfficeExportTest, WorkbookAndDocumentNamesFollowTheOptions) {
    auto controller = Open(WritePicture(L"named.bmp", 8, 8, 0x112233));
    controller->SetOfficeExports(&exports);
    const std::wstring extension = UsesXlsx(controller->GetExcelVersion()) ? L".xlsx" : L".xls";
    controller->ExportExcel();
    EXPECT_TRUE(exports.pictures.back().empty()) << "no picture without the option";
    EXPECT_EQ(exports.targets.back().parent_path(), exports.folder);
    EXPECT_EQ(exports.targets.back().extension().wstring(), extension);
    EXPECT_EQ(exports.targets.back().stem().wstring().size(), 18u) << "time stamp with milliseconds";

    exports.options.excelOne = true;
    controller->ExportExcel();
    EXPECT_EQ(exports.targets.back(), exports.folder / (L"ExcelDefault" + extension));
    exports.options.excelOneFile = (dir / L"mine.xls").wstring();
    controller->ExportExcel();
    EXPECT_EQ(exports.targets.back(), dir / L"mine.xls");

    struct Case {
        bool autoSize;
        float scale;
        std::uint32_t width;
    } cases[] = {{false, 100.0f, 16u}, {true, -100.0f, 8u}};
    controller->SetZoom(2.0f);
    controller->SetWordTemplate(1, true);
    for (const Case& c : cases) {
        exports.options.wordPictureAutoSize = c.autoSize;
        controller->ExportWord();
        EXPECT_EQ(exports.scale, c.scale);
        EXPECT_EQ(exports.pictureWidths.back(), c.width);
        EXPECT_EQ(exports.templateUsed, 1);
        EXPECT_EQ(exports.targets.back().extension().wstring(), L".doc");
        EXPECT_EQ(exports.targets.back().parent_path(), exports.folder);
        EXPECT_FALSE(fs::exists(exports.pictures.back()));
    }
}

TEST_F(OfficeExportTest, NothingWithoutAPicture) {
    CImageController empty(dir / L"missing.bmp", window.hwnd());
    empty.SetOfficeExports(&exports);
    empty.ExportExcel();
    empty.ExportWord();
    EXPECT_TRUE(exports.targets.empty());
}
