// The Word roads and the count report against the stand-in server
// registered as "Word.Application" in the test prefix: the documents it
// leaves (read back by a Python reader afterwards, from bin/office_exports)
// and the calls it made.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "count_report_writer.h"
#include "office_export.h"
#include "office_stand_in_registration.h"
#include "recording_export_host.h"
#include "workbook_model.h"
#include "zip_package.h"
#include "test_bitmap.h"

namespace fs = std::filesystem;

namespace {

fs::path ExportsFolder() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return fs::path(exe).parent_path() / L"office_exports" / L"word";
}

std::unique_ptr<CCLObject> Object(int type, int number, float length) {
    auto object = std::make_unique<CCLObject>();
    object->type = type;
    object->number = number;
    object->decimals = 2;
    object->unitText = u"mm";
    object->results[CCLObject::kLength] = length;
    return object;
}

class WordExportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::error_code ignored;
        fs::remove_all(ExportsFolder(), ignored);
        fs::create_directories(ExportsFolder());
    }
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        program_ = fs::temp_directory_path() / L"word_program";
        fs::create_directories(program_);
        places_ = {program_, program_ / L"Config.ini"};
        fs::remove(places_.configFile);
    }
    void TearDown() override { CoUninitialize(); }

    static fs::path Log(const wchar_t* name) { return fs::temp_directory_path() / name; }
    static bool Contains(const std::vector<std::string>& calls, const std::string& call) {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }

    fs::path program_;
    OfficeExportPlaces places_;
    RecordingHost host_;
};

}  // namespace

TEST_F(WordExportTest, TheMeasurementRoadWritesThePictureThenTheTable) {
    OfficeStandIn word(L"Word.Application", kWordStandInClsidText, Log(L"word.log"));
    ASSERT_TRUE(word.Registered());
    COfficeExport::ObjectList objects;
    objects.push_back(Object(2, 1, 10.0f));
    objects.push_back(Object(13, 1, 0.0f));  // a text annotation: no row
    objects.push_back(Object(6, 2, 4.0f));
    const fs::path picture = program_ / L"shot.bmp";
    WriteBmp(picture, 40, 20);
    struct Case {
        const wchar_t* name;
        const wchar_t* picture;
        float scale;
        const char* scaleCall;
    } cases[] = {{L"measured.doc", picture.c_str(), 100.0f, "InlineShape.ScaleHeight put(100)"},
                 {L"measured_autosize.doc", picture.c_str(), -100.0f, nullptr},
                 {L"measured_nopicture.doc", L"", 100.0f, nullptr}};
    for (const Case& c : cases) {
        host_ = RecordingHost{};
        COfficeExport engine(host_, places_);
        engine.SetObjectList(&objects);
        engine.SetPictureScale(c.scale);
        engine.SetTemplate(1, false);
        const fs::path target = ExportsFolder() / c.name;
        fs::remove(target);
        engine.ExportWord(target.wstring(), c.picture);
        EXPECT_TRUE(host_.messages.empty()) << c.name;
        EXPECT_EQ(host_.written, std::vector<fs::path>{target}) << c.name;
        EXPECT_TRUE(fs::exists(target)) << c.name;
        const std::vector<std::string> calls = word.Calls();
        EXPECT_TRUE(Contains(calls, "Documents.Add('',false,0,-)")) << c.name;
        EXPECT_TRUE(Contains(calls, "Tables.Add(object,2,9,1,0)")) << c.name;
        EXPECT_TRUE(Contains(calls, "Document.SaveAs('" + Utf8(target.wstring()) +
                                        "',0,false,'',true,'',false,false,false,false,false)"))
            << c.name;
        const bool scaled = Contains(calls, "InlineShape.ScaleHeight put(100)");
        EXPECT_EQ(scaled, c.scaleCall != nullptr) << c.name;
        EXPECT_FALSE(Contains(calls, "Application.Quit()")) << c.name;
        fs::remove(Log(L"word.log"));
    }
}

TEST_F(WordExportTest, TheTemplateRoadMovesDownThePositionLines) {
    OfficeStandIn word(L"Word.Application", kWordStandInClsidText, Log(L"template.log"));
    ASSERT_TRUE(word.Registered());
    std::ofstream(program_ / L"Template1.dot") << "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Title\\par Subtitle\\par\\par}";
    WritePrivateProfileStringW(L"WordTemplate1", L"Position", L"2", places_.configFile.c_str());
    COfficeExport::ObjectList objects;
    objects.push_back(Object(2, 1, 10.0f));
    COfficeExport engine(host_, places_);
    engine.SetObjectList(&objects);
    engine.SetTemplate(1, true);
    const fs::path target = ExportsFolder() / L"templated.doc";
    engine.ExportWord(target.wstring(), L"");
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_TRUE(word.Logged("Documents.Add('" + Utf8((program_ / L"Template1.dot").wstring()) + "',false,0,-)"));
    EXPECT_TRUE(word.Logged("Selection.MoveDown(5,2)"));
    EXPECT_EQ(engine.PositionRow(), 2);
}

TEST_F(WordExportTest, FivePicturesMakeThreeLinesAtTheirSize) {
    OfficeStandIn word(L"Word.Application", kWordStandInClsidText, Log(L"pictures.log"));
    ASSERT_TRUE(word.Registered());
    std::ofstream(program_ / L"Template0.dot") << "{\\rtf1\\ansi\\par}";
    std::vector<std::wstring> paths;
    for (int i = 0; i < 5; ++i) {
        paths.push_back((program_ / (L"p" + std::to_wstring(i) + L".bmp")).wstring());
        WriteBmp(paths.back(), 10 + i, 8);
    }
    COfficeExport engine(host_, places_);
    engine.SetPictureSize(8, 7);
    engine.SetPicturePaths(paths);
    const fs::path target = ExportsFolder() / L"pictures.doc";
    engine.ExportPicturesToWord(target.wstring());
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_EQ(host_.written, std::vector<fs::path>{target});
    const std::vector<std::string> calls = word.Calls();
    EXPECT_TRUE(Contains(calls, "Documents.Add('" + Utf8((program_ / L"Template0.dot").wstring()) + "',true,0,-)"));
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "InlineShape.Width put(226.8)"), 5);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Selection.TypeParagraph()"), 4);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Selection.TypeText('     ')"), 3);
}

TEST_F(WordExportTest, WithoutTheWordProcessorTheUserIsTold) {
    COfficeExport::ObjectList objects;
    COfficeExport engine(host_, places_);
    engine.SetObjectList(&objects);
    engine.ExportWord((ExportsFolder() / L"never.doc").wstring(), L"");
    engine.ExportPicturesToWord((ExportsFolder() / L"never.doc").wstring());
    CWordCountReport report(host_);
    EXPECT_FALSE(report.WriteCountReport(ExportsFolder() / L"never.doc", {}, CountReport{}));
    EXPECT_EQ(host_.messages, (std::vector<int>{47046, 47046}));
    EXPECT_FALSE(fs::exists(ExportsFolder() / L"never.doc"));
}

TEST_F(WordExportTest, AFailedCallIsReportedAndNothingSaved) {
    OfficeStandIn word(L"Word.Application", kWordStandInClsidText, Log(L"failing.log"));
    ASSERT_TRUE(word.Registered());
    word.FailMember(L"Tables.Add");
    COfficeExport::ObjectList objects;
    objects.push_back(Object(2, 1, 10.0f));
    COfficeExport engine(host_, places_);
    engine.SetObjectList(&objects);
    const fs::path target = ExportsFolder() / L"failed.doc";
    fs::remove(target);
    engine.ExportWord(target.wstring(), L"");
    EXPECT_EQ(host_.messages, std::vector<int>{47141});
    EXPECT_TRUE(host_.written.empty());
    EXPECT_FALSE(fs::exists(target));
}

// A count report of two summary rows and one target, with a picture.
CountReport SampleCountReport() {
    CountReport report;
    report.summary = {{L"目标总数:", L"2"}, {L"图像总面积:", L"768.00 μm * μm"}};
    std::array<std::wstring, 12> headings;
    for (int i = 0; i < 12; ++i) headings[static_cast<std::size_t>(i)] = L"h" + std::to_wstring(i);
    std::array<std::wstring, 12> row;
    for (int i = 0; i < 12; ++i) row[static_cast<std::size_t>(i)] = std::to_wstring(i * 10);
    report.results = {headings, row};
    return report;
}

TEST_F(WordExportTest, TheCountReportHasThePictureAndBothTablesInOrder) {
    OfficeStandIn word(L"Word.Application", kWordStandInClsidText, Log(L"report.log"));
    ASSERT_TRUE(word.Registered());
    const fs::path picture = program_ / L"outlined.bmp";
    WriteBmp(picture, 64, 48);
    CWordCountReport writer(host_);
    const fs::path target = ExportsFolder() / L"count_report.doc";
    EXPECT_TRUE(writer.WriteCountReport(target, picture, SampleCountReport()));
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_EQ(host_.written, std::vector<fs::path>{target});
    EXPECT_TRUE(word.Logged("Table.Style put('网格型')"));
}

TEST_F(WordExportTest, AWordProcessorThatDoesNotKnowTheGridStyleStillGetsTheWholeReport) {
    OfficeStandIn word(L"Word.Application", kWordStandInClsidText, Log(L"unknown_style.log"));
    ASSERT_TRUE(word.Registered());
    word.RefuseStyle(L"网格型");
    const fs::path picture = program_ / L"outlined.bmp";
    WriteBmp(picture, 64, 48);
    CWordCountReport writer(host_);
    const fs::path target = ExportsFolder() / L"count_report_unknown_style.doc";
    fs::remove(target);
    EXPECT_TRUE(writer.WriteCountReport(target, picture, SampleCountReport()));
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_EQ(host_.written, std::vector<fs::path>{target});
    EXPECT_TRUE(fs::exists(target));
    // Both tables were asked for the style and kept their own.
    int refused = 0;
    for (const std::string& call : word.Calls()) refused += call == "  error: no style of that name" ? 1 : 0;
    EXPECT_EQ(refused, 2);
}

TEST_F(WordExportTest, TheDeliveredTemplatesOpenInTheWordProcessor) {
    OfficeStandIn word(L"Word.Application", kWordStandInClsidText, Log(L"delivered.log"));
    ASSERT_TRUE(word.Registered());
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const fs::path picture = program_ / L"one.bmp";
    WriteBmp(picture, 8, 8);
    for (int number : {0, 1}) {
        const std::wstring name = L"Template" + std::to_wstring(number) + L".dot";
        fs::copy_file(fs::path(exe).parent_path() / name, program_ / name, fs::copy_options::overwrite_existing);
        host_ = RecordingHost{};
        COfficeExport engine(host_, places_);
        engine.SetTemplate(number, true);
        engine.SetPictureSize(8, 7);
        engine.SetPicturePaths({picture.wstring(), picture.wstring()});
        const fs::path target = ExportsFolder() / (L"delivered" + std::to_wstring(number) + L".doc");
        engine.ExportPicturesToWord(target.wstring());
        EXPECT_TRUE(host_.messages.empty()) << number;
        EXPECT_EQ(host_.written, std::vector<fs::path>{target}) << number;
    }
}
