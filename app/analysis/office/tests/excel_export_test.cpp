// The spreadsheet export against the stand-in server registered as
// "Excel.Application" in the test prefix: the workbooks it leaves (read back
// here and, from bin/office_exports, by a Python reader afterwards) and the
// calls it made.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "automation.h"
#include "office_export.h"
#include "office_stand_in_registration.h"
#include "recording_export_host.h"
#include "test_bitmap.h"
#include "workbook_model.h"
#include "zip_package.h"

namespace fs = std::filesystem;

namespace {

fs::path ExportsFolder() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return fs::path(exe).parent_path() / L"office_exports" / L"excel";
}

std::unique_ptr<CCLObject> Object(int type, int number, float length, float area, float angle = 0) {
    auto object = std::make_unique<CCLObject>();
    object->type = type;
    object->number = number;
    object->decimals = 2;
    object->scale = 0.5f;
    object->unitText = u"mm";
    object->results[CCLObject::kLength] = length;
    object->results[CCLObject::kArea] = area;
    object->results[CCLObject::kAngle] = angle;
    object->results[CCLObject::kDistance] = 7.0f;
    return object;
}

class ExcelExportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::error_code ignored;
        fs::remove_all(ExportsFolder(), ignored);
        fs::create_directories(ExportsFolder());
    }

    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        program_ = fs::temp_directory_path() / L"program";
        fs::create_directories(program_);
        places_ = {program_, program_ / L"Config.ini"};
        fs::remove(places_.configFile);
        // A blank template of the kind the stand-in reads.
        ASSERT_TRUE(SaveWorkbook(program_ / L"Template0.xls", BlankWorkbook()));
        objects_.push_back(Object(2, 3, 10.0f, 0.0f));
        objects_.push_back(Object(13, 1, 0.0f, 0.0f));  // text: no row
        objects_.push_back(Object(3, 1, 0.0f, 0.0f, 45.0f));
        objects_.push_back(Object(5, 2, 0.0f, 0.0f));
        objects_.push_back(Object(6, 4, 8.0f, 100.0f));
    }
    void TearDown() override { CoUninitialize(); }

    void Export(const fs::path& target, const fs::path& picture = {}) {
        COfficeExport engine(host_, places_);
        engine.SetObjectList(&objects_);
        engine.SetCounterList(&counters_);
        engine.ExportExcel(target.wstring(), picture.wstring());
    }

    static Workbook Read(const fs::path& path) {
        std::optional<Workbook> workbook = LoadWorkbook(path);
        EXPECT_TRUE(workbook.has_value()) << path;
        return workbook ? *workbook : Workbook{};
    }
    static std::wstring Cell(Workbook& workbook, const wchar_t* sheet, int row, int column) {
        Sheet* found = workbook.Find(sheet);
        if (!found) return L"<no sheet>";
        const auto cell = found->cells.find({row, column});
        return cell == found->cells.end() ? L"<empty>" : cell->second;
    }
    static fs::path Log(const wchar_t* name) { return fs::temp_directory_path() / name; }

    fs::path program_;
    OfficeExportPlaces places_;
    RecordingHost host_;
    COfficeExport::ObjectList objects_;
    CounterStyleList counters_;
};

const std::wstring kType = L"类型";

}  // namespace

TEST_F(ExcelExportTest, PictureRowComesFirstAndASecondExportAppendsBelow) {
    OfficeStandIn excel(L"Excel.Application", kSpreadsheetStandInClsidText, Log(L"picture.log"));
    ASSERT_TRUE(excel.Registered());
    const fs::path picture = program_ / L"shot.bmp";
    WriteBmp(picture, 4, 2);
    const fs::path target = ExportsFolder() / L"picture.xlsx";
    Export(target, picture);
    EXPECT_TRUE(host_.messages.empty());
    ASSERT_EQ(host_.written, std::vector<fs::path>{target});
    EXPECT_TRUE(host_.opened.front());

    Workbook first = Read(target);
    Sheet& sheet = *first.Find(L"Sheet1");
    ASSERT_EQ(sheet.merges.size(), 1u);
    EXPECT_EQ(sheet.merges[0].firstRow, 1);
    EXPECT_EQ(sheet.merges[0].lastColumn, 9);
    EXPECT_DOUBLE_EQ(sheet.RowHeight(1), 397.0);
    ASSERT_EQ(sheet.pictures.size(), 1u);
    EXPECT_DOUBLE_EQ(sheet.pictures[0].top, 0.0);
    EXPECT_DOUBLE_EQ(sheet.pictures[0].width, 9 * Sheet::kColumnWidth);
    EXPECT_DOUBLE_EQ(sheet.pictures[0].height, 397.0);
    EXPECT_EQ(sheet.pictures[0].bytes, ReadWholeFile(picture));
    EXPECT_EQ(Cell(first, L"Sheet1", 2, 1), kType);
    EXPECT_EQ(Cell(first, L"Sheet1", 3, 1), L"直线_3");
    EXPECT_EQ(Cell(first, L"Sheet1", 3, 2), L"5.00");
    EXPECT_EQ(Cell(first, L"Sheet1", 3, 9), L"mm");
    EXPECT_EQ(Cell(first, L"Sheet1", 4, 1), L"角_1");
    EXPECT_EQ(Cell(first, L"Sheet1", 4, 8), L"45.00");
    EXPECT_EQ(Cell(first, L"Sheet1", 4, 9), L"°");
    EXPECT_EQ(Cell(first, L"Sheet1", 5, 1), L"平行线_2");
    EXPECT_EQ(Cell(first, L"Sheet1", 5, 2), L"3.50");
    EXPECT_EQ(Cell(first, L"Sheet1", 6, 1), L"矩形_4");
    EXPECT_EQ(Cell(first, L"Sheet1", 6, 7), L"25.00");
    EXPECT_EQ(Cell(first, L"Sheet1", 7, 1), L"<empty>");
    EXPECT_TRUE(excel.Logged("Shapes.AddPicture('" + Utf8(picture.wstring()) + "',0,1,0,0,432,397)"));
    EXPECT_TRUE(excel.Logged("Worksheet.SaveAs('" + Utf8(target.wstring()) + "',51,-,-,-,-,-,-,-,-)"));

    Export(target, picture);
    Workbook second = Read(target);
    Sheet& again = *second.Find(L"Sheet1");
    ASSERT_EQ(again.pictures.size(), 2u);
    EXPECT_DOUBLE_EQ(again.RowHeight(7), 397.0);
    EXPECT_EQ(Cell(second, L"Sheet1", 8, 1), kType);
    EXPECT_EQ(Cell(second, L"Sheet1", 9, 1), L"直线_3");
    EXPECT_EQ(Cell(second, L"Sheet1", 3, 1), L"直线_3");
    EXPECT_TRUE(excel.AllEndedAfterQuit());
}

TEST_F(ExcelExportTest, ATemplateTitleBlockGetsTheHeaderOnceAndOldWorkbooksTheirFormat) {
    OfficeStandIn excel(L"Excel.Application", kSpreadsheetStandInClsidText, Log(L"template.log"));
    ASSERT_TRUE(excel.Registered());
    Workbook titled = BlankWorkbook();
    for (int row = 1; row <= 14; ++row) titled.Find(L"Sheet1")->cells[{row, 1}] = L"title " + std::to_wstring(row);
    ASSERT_TRUE(SaveWorkbook(program_ / L"Template1.xls", titled));
    WritePrivateProfileStringW(L"Option", L"LAN", L"1", places_.configFile.c_str());
    WritePrivateProfileStringW(L"ExcelTemplate1", L"Position", L"14", places_.configFile.c_str());
    const fs::path target = ExportsFolder() / L"titled.xls";
    Export(target);
    Workbook first = Read(target);
    EXPECT_EQ(Cell(first, L"Sheet1", 14, 1), L"title 14");
    EXPECT_EQ(Cell(first, L"Sheet1", 15, 1), kType);
    EXPECT_EQ(Cell(first, L"Sheet1", 16, 1), L"直线_3");
    EXPECT_EQ(Cell(first, L"Sheet1", 19, 1), L"矩形_4");
    EXPECT_TRUE(excel.Logged("Worksheet.SaveAs('" + Utf8(target.wstring()) + "',56,-,-,-,-,-,-,-,-)"));

    Export(target);
    Workbook second = Read(target);
    EXPECT_EQ(Cell(second, L"Sheet1", 20, 1), L"直线_3");
    EXPECT_EQ(Cell(second, L"Sheet1", 23, 1), L"矩形_4");
    EXPECT_EQ(Cell(second, L"Sheet1", 24, 1), L"<empty>");
    EXPECT_TRUE(excel.AllEndedAfterQuit());
}

TEST_F(ExcelExportTest, ANewWorkbookFromATemplateWithoutTitleRowsStartsWithTheHeaderOnce) {
    // The delivered templates' Sheet1 holds nothing, and without a
    // "Position" in Config.ini the template has no title rows.
    OfficeStandIn excel(L"Excel.Application", kSpreadsheetStandInClsidText, Log(L"untitled.log"));
    ASSERT_TRUE(excel.Registered());
    const fs::path target = ExportsFolder() / L"untitled.xlsx";
    Export(target);
    EXPECT_TRUE(host_.messages.empty());
    Workbook first = Read(target);
    const std::vector<std::wstring> headings = {kType, L"长度", L"宽度", L"高度", L"周长",
                                                L"半径", L"面积", L"角度", L"单位"};
    for (int column = 1; column <= 9; ++column) {
        EXPECT_EQ(Cell(first, L"Sheet1", 1, column), headings[static_cast<std::size_t>(column - 1)]) << column;
    }
    EXPECT_EQ(Cell(first, L"Sheet1", 2, 1), L"直线_3");
    EXPECT_EQ(Cell(first, L"Sheet1", 5, 1), L"矩形_4");
    EXPECT_EQ(Cell(first, L"Sheet1", 6, 1), L"<empty>");

    // Appended: no second header.
    Export(target);
    Workbook second = Read(target);
    EXPECT_EQ(Cell(second, L"Sheet1", 1, 1), kType);
    EXPECT_EQ(Cell(second, L"Sheet1", 6, 1), L"直线_3");
    EXPECT_EQ(Cell(second, L"Sheet1", 9, 1), L"矩形_4");
    EXPECT_EQ(Cell(second, L"Sheet1", 10, 1), L"<empty>");
    EXPECT_TRUE(excel.AllEndedAfterQuit());
}

TEST_F(ExcelExportTest, CountersFromRowThreeOfTheSecondSheetWithoutEmptyOnes) {
    OfficeStandIn excel(L"Excel.Application", kSpreadsheetStandInClsidText, Log(L"counters.log"));
    ASSERT_TRUE(excel.Registered());
    objects_.clear();
    counters_ = {{0, 1, 14, 0x0000FF}, {3, 4, 15, 0x00FF00}, {2, 3, 16, 0xFF0000}, {5, 6, 17, 0x123456}};
    const fs::path target = ExportsFolder() / L"counters.xlsx";
    Export(target);
    Workbook workbook = Read(target);
    const std::vector<std::vector<std::wstring>> rows = {{L"菱形计数器", L"◆", L"<empty>", L"3"},
                                                         {L"矩形计数器", L"■", L"<empty>", L"2"}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (int column = 1; column <= 4; ++column) {
            EXPECT_EQ(Cell(workbook, L"Sheet2", 3 + static_cast<int>(i), column), rows[i][column - 1]) << i;
        }
    }
    EXPECT_EQ(Cell(workbook, L"Sheet2", 5, 1), L"<empty>");
    const Sheet& sheet = *workbook.Find(L"Sheet2");
    EXPECT_EQ(sheet.fontColours.at({3, 4}), 0x00FF00u);
    EXPECT_EQ(sheet.fontColours.at({4, 1}), 0xFF0000u);
    EXPECT_TRUE(excel.Logged("Font.Color put('65280')"));
    // An empty template's header comes first, and no object follows it.
    EXPECT_EQ(Cell(workbook, L"Sheet1", 1, 1), kType);
    EXPECT_EQ(Cell(workbook, L"Sheet1", 2, 1), L"<empty>");
}

TEST_F(ExcelExportTest, AOneRowTargetKeepsWhatItsFirstCellHolds) {
    OfficeStandIn excel(L"Excel.Application", kSpreadsheetStandInClsidText, Log(L"onerow.log"));
    ASSERT_TRUE(excel.Registered());
    struct Case {
        const wchar_t* name;
        int column;  // of the one cell the target holds in row 1
        const wchar_t* a1After;
    } cases[] = {{L"title_in_a1.xlsx", 1, L"heading"}, {L"title_in_b1.xlsx", 2, L" "}};
    for (const Case& c : cases) {
        Workbook one = BlankWorkbook();
        one.Find(L"Sheet1")->cells[{1, c.column}] = L"heading";
        const fs::path target = ExportsFolder() / c.name;
        ASSERT_TRUE(SaveWorkbook(target, one));
        Export(target);
        Workbook after = Read(target);
        EXPECT_EQ(Cell(after, L"Sheet1", 1, 1), c.a1After) << c.name;
        EXPECT_EQ(Cell(after, L"Sheet1", 1, c.column), L"heading") << c.name;
        EXPECT_EQ(Cell(after, L"Sheet1", 2, 1), L"直线_3") << c.name;
    }
}

TEST_F(ExcelExportTest, WithoutAProgramOrItsServerTheUserIsToldAndNothingWritten) {
    const fs::path target = ExportsFolder() / L"never.xlsx";
    Export(target);
    EXPECT_EQ(host_.messages, std::vector<int>{47040});
    {
        OfficeStandIn missing(L"Excel.Application", kSpreadsheetStandInClsidText, Log(L"missing.log"),
                              OfficeStandIn::Server::missing);
        ASSERT_TRUE(missing.Registered());
        Export(target);
    }
    EXPECT_EQ(host_.messages, (std::vector<int>{47040, 47041}));
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(host_.written.empty());
    // Nothing attached: nothing asked at all.
    COfficeExport idle(host_, places_);
    idle.ExportExcel(target.wstring(), L"");
    EXPECT_EQ(host_.messages.size(), 2u);
}

TEST_F(ExcelExportTest, AFailedCallClosesUnsavedQuitsAndLeavesTheTargetAsItWas) {
    const fs::path picture = program_ / L"shot.bmp";
    WriteBmp(picture, 4, 2);
    const char* members[] = {"Workbooks.Add", "Range.RowHeight", "Shapes.AddPicture", "Range.Item", "Font.Color",
                             "Worksheet.SaveAs"};
    counters_ = {{2, 3, 14, 0x0000FF}};
    for (const char* member : members) {
        OfficeStandIn excel(L"Excel.Application", kSpreadsheetStandInClsidText, Log(L"failing.log"));
        ASSERT_TRUE(excel.Registered());
        const fs::path target = ExportsFolder() / L"kept.xlsx";
        Workbook kept = BlankWorkbook();
        kept.Find(L"Sheet1")->cells[{1, 1}] = L"kept";
        ASSERT_TRUE(SaveWorkbook(target, kept));
        const std::string before = ReadWholeFile(target);
        excel.FailMember(std::wstring(member, member + strlen(member)));
        host_.messages.clear();
        Export(target, picture);
        EXPECT_EQ(host_.messages, std::vector<int>{47141}) << member;
        EXPECT_TRUE(host_.written.empty()) << member;
        EXPECT_EQ(ReadWholeFile(target), before) << member;
        EXPECT_TRUE(excel.Logged("Application.Quit()")) << member;
        if (std::string(member) != "Workbooks.Add") {
            EXPECT_TRUE(excel.Logged("Workbook.Close(false)")) << member;
        }
        EXPECT_TRUE(excel.AllEndedAfterQuit()) << member;
    }
}

namespace {

// A workbook the test's own spreadsheet program holds open as `target`,
// with an edit made after its last save.
class OpenWorkbookElsewhere {
public:
    explicit OpenWorkbookElsewhere(const fs::path& target) {
        CLSID clsid{};
        if (FAILED(CLSIDFromProgID(L"Excel.Application", &clsid))) return;
        IDispatch* raw = nullptr;
        if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, reinterpret_cast<void**>(&raw))))
            return;
        application_.reset(raw);
        ComPtr<IDispatch> workbooks = automation::GetObject(*application_, 0x23C);
        ComPtr<IDispatch> workbook = automation::GetObject(*workbooks, 0xB5);
        ComPtr<IDispatch> sheets = automation::GetObject(*workbook, 0x1EE);
        ComPtr<IDispatch> sheet = automation::GetObject(*sheets, 0xAA, {CVariant(L"Sheet1")});
        ComPtr<IDispatch> cells = automation::GetObject(*sheet, 0xEE);
        automation::Put(*cells, 0xAA, CVariant(L"saved before"), {CVariant(1), CVariant(1)});
        automation::Call(*sheet, 0x785, {CVariant(target.wstring())});
        automation::Put(*cells, 0xAA, CVariant(L"unsaved edit"), {CVariant(1), CVariant(2)});
        ready_ = true;
    }
    ~OpenWorkbookElsewhere() {
        if (application_) automation::Call(*application_, 0x12E);
    }
    bool ready() const { return ready_; }

private:
    ComPtr<IDispatch> application_;
    bool ready_ = false;
};

}  // namespace

TEST_F(ExcelExportTest, AnOpenTargetIsClosedThroughAutomationAndNoProcessIsEnded) {
    OfficeStandIn excel(L"Excel.Application", kSpreadsheetStandInClsidText, Log(L"open.log"));
    ASSERT_TRUE(excel.Registered());
    const fs::path target = ExportsFolder() / L"open.xlsx";
    OpenWorkbookElsewhere open(target);
    ASSERT_TRUE(open.ready());
    // A window titled like the workbook, in this very process: ending the
    // process that owns it would end the test.
    HWND titled = CreateWindowExW(0, L"STATIC", L"open.xlsx", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND prefixed = CreateWindowExW(0, L"STATIC", L"Microsoft Excel - open.xlsx", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, nullptr, nullptr);
    ASSERT_TRUE(titled && prefixed);
    Export(target);
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_TRUE(excel.Logged("Workbook.Close(true)"));
    Workbook after = Read(target);
    EXPECT_EQ(Cell(after, L"Sheet1", 1, 1), L"saved before");
    EXPECT_EQ(Cell(after, L"Sheet1", 1, 2), L"unsaved edit");
    EXPECT_EQ(Cell(after, L"Sheet1", 2, 1), L"直线_3");
    EXPECT_TRUE(IsWindow(titled));
    DestroyWindow(titled);
    DestroyWindow(prefixed);
}

TEST_F(ExcelExportTest, AnOpenTargetThatWillNotCloseIsLeftAloneAndTheUserTold) {
    OfficeStandIn excel(L"Excel.Application", kSpreadsheetStandInClsidText, Log(L"stuck.log"));
    ASSERT_TRUE(excel.Registered());
    const fs::path target = ExportsFolder() / L"stuck.xlsx";
    {
        OpenWorkbookElsewhere open(target);
        ASSERT_TRUE(open.ready());
        const std::string before = ReadWholeFile(target);
        excel.FailMember(L"Workbook.Close");
        Export(target);
        EXPECT_EQ(host_.messages, std::vector<int>{47140});
        EXPECT_EQ(ReadWholeFile(target), before);
        EXPECT_TRUE(host_.written.empty());
        excel.FailMember(L"");
    }
    EXPECT_TRUE(excel.AllEndedAfterQuit());
}
