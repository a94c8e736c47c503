// The spreadsheet stand-in's object model: Application, Workbooks,
// Workbook, Worksheets, Worksheet, Range, Font, Shapes and Shape, with the
// members the exports use, answering as the public object model describes.
#include <cwctype>
#include <filesystem>
#include <optional>
#include <memory>
#include <vector>

#include "stand_in_server.h"
#include "workbook_model.h"
#include "zip_package.h"

namespace {

struct OpenWorkbook {
    Workbook model;
    std::wstring path;  // empty until saved
    DWORD running = 0;
    bool open = true;
    ~OpenWorkbook() { RevokeRunningFile(running); }
};
using WorkbookRef = std::shared_ptr<OpenWorkbook>;

std::vector<WorkbookRef> g_workbooks;

std::wstring FullPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(buffer)), buffer, nullptr);
    return length > 0 && length < std::size(buffer) ? std::wstring(buffer, length) : path;
}

void CloseWorkbook(const WorkbookRef& workbook) {
    workbook->open = false;
    RevokeRunningFile(workbook->running);
    std::erase(g_workbooks, workbook);
}

bool SaveWorkbookAs(const WorkbookRef& workbook, IUnknown* self, const std::wstring& path) {
    if (!SaveWorkbook(path, workbook->model)) return false;
    const std::wstring full = FullPath(path);
    if (_wcsicmp(full.c_str(), workbook->path.c_str()) != 0 || workbook->running == 0) {
        RevokeRunningFile(workbook->running);
        workbook->path = full;
        workbook->running = RegisterRunningFile(self, full);
    }
    return true;
}

// A cell name such as "A12": (row, column).
bool ParseCell(const std::wstring& name, int& row, int& column) {
    column = 0;
    std::size_t i = 0;
    for (; i < name.size() && iswalpha(name[i]); ++i) column = column * 26 + (towupper(name[i]) - L'A' + 1);
    if (i == 0 || i == name.size()) return false;
    row = _wtoi(name.c_str() + i);
    return row > 0 && column > 0;
}

class FontObject final : public StandInObject {
public:
    FontObject(WorkbookRef workbook, std::size_t sheet, CellBox box)
        : StandInObject("Font", {{0x63, "Color"}}), workbook_(std::move(workbook)), sheet_(sheet), box_(box) {}

protected:
    HRESULT Call(DISPID, bool put, const Args& args, VARIANT*) override {
        if (!put || args.empty()) return DISP_E_MEMBERNOTFOUND;
        const auto colour = static_cast<std::uint32_t>(LongOf(args.back()));
        Sheet& sheet = workbook_->model.sheets[sheet_];
        for (int r = box_.firstRow; r <= box_.lastRow; ++r) {
            for (int c = box_.firstColumn; c <= box_.lastColumn; ++c) sheet.fontColours[{r, c}] = colour;
        }
        return S_OK;
    }

private:
    WorkbookRef workbook_;
    std::size_t sheet_;
    CellBox box_;
};

class RangeObject final : public StandInObject {
public:
    RangeObject(WorkbookRef workbook, std::size_t sheet, CellBox box, bool rows = false)
        : StandInObject("Range", {{0x6, "Value"},
                                  {0x101, "Row"},
                                  {0x102, "Rows"},
                                  {0x76, "Count"},
                                  {0xAA, "Item"},
                                  {0xD0, "MergeCells"},
                                  {0x110, "RowHeight"},
                                  {0x7B, "Height"},
                                  {0x7A, "Width"},
                                  {0x7E, "Top"},
                                  {0x7F, "Left"},
                                  {0x92, "Font"}}),
          workbook_(std::move(workbook)), sheet_(sheet), box_(box), rows_(rows) {}

protected:
    HRESULT Call(DISPID id, bool put, const Args& args, VARIANT* result) override {
        Sheet& sheet = workbook_->model.sheets[sheet_];
        switch (id) {
        case 0x6:
            if (put) {
                for (int r = box_.firstRow; r <= box_.lastRow; ++r) {
                    for (int c = box_.firstColumn; c <= box_.lastColumn; ++c) sheet.cells[{r, c}] = TextOf(args.back());
                }
                return S_OK;
            }
            if (const auto found = sheet.cells.find({box_.firstRow, box_.firstColumn}); found != sheet.cells.end()) {
                return ReturnText(found->second, result);
            }
            VariantInit(result);
            return S_OK;
        case 0x101:
            return ReturnLong(box_.firstRow, result);
        case 0x102:
            return ReturnObject(new RangeObject(workbook_, sheet_, box_, true), result);
        case 0x76:
            return ReturnLong(rows_ ? box_.lastRow - box_.firstRow + 1
                                    : (box_.lastRow - box_.firstRow + 1) * (box_.lastColumn - box_.firstColumn + 1),
                              result);
        case 0xAA: {
            if (args.size() < (put ? 3u : 2u)) return Fail(L"Item needs a row and a column");
            const int row = box_.firstRow + LongOf(args[0]) - 1;
            const int column = box_.firstColumn + LongOf(args[1]) - 1;
            if (row < 1 || column < 1) return Fail(L"no such cell");
            if (put) {
                sheet.cells[{row, column}] = TextOf(args[2]);
                return S_OK;
            }
            return ReturnObject(new RangeObject(workbook_, sheet_, {row, column, row, column}), result);
        }
        case 0xD0:
            if (!put) return DISP_E_MEMBERNOTFOUND;
            if (LongOf(args.back()) != 0 && (box_.lastRow > box_.firstRow || box_.lastColumn > box_.firstColumn)) {
                sheet.merges.push_back(box_);
            }
            return S_OK;
        case 0x110:
            if (!put) return ReturnDouble(sheet.RowHeight(box_.firstRow), result);
            for (int r = box_.firstRow; r <= box_.lastRow; ++r) sheet.rowHeights[r] = DoubleOf(args.back());
            return S_OK;
        case 0x7B: {
            double height = 0;
            for (int r = box_.firstRow; r <= box_.lastRow; ++r) height += sheet.RowHeight(r);
            return ReturnDouble(height, result);
        }
        case 0x7A:
            return ReturnDouble((box_.lastColumn - box_.firstColumn + 1) * Sheet::kColumnWidth, result);
        case 0x7E:
            return ReturnDouble(sheet.RowTop(box_.firstRow), result);
        case 0x7F:
            return ReturnDouble(Sheet::ColumnLeft(box_.firstColumn), result);
        case 0x92:
            return ReturnObject(new FontObject(workbook_, sheet_, box_), result);
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    WorkbookRef workbook_;
    std::size_t sheet_;
    CellBox box_;
    bool rows_;
};

class ShapeObject final : public StandInObject {
public:
    ShapeObject() : StandInObject("Shape", {{0x6A4, "LockAspectRatio"}}) {}

protected:
    HRESULT Call(DISPID, bool put, const Args&, VARIANT*) override { return put ? S_OK : DISP_E_MEMBERNOTFOUND; }
};

class ShapesObject final : public StandInObject {
public:
    ShapesObject(WorkbookRef workbook, std::size_t sheet)
        : StandInObject("Shapes", {{0x6BB, "AddPicture"}}), workbook_(std::move(workbook)), sheet_(sheet) {}

protected:
    HRESULT Call(DISPID, bool, const Args& args, VARIANT* result) override {
        if (args.size() < 7) return Fail(L"AddPicture needs seven arguments");
        SheetPicture picture;
        picture.bytes = ReadWholeFile(TextOf(args[0]));
        if (picture.bytes.size() < 2) return Fail(L"the picture file cannot be read");
        picture.extension = picture.bytes.compare(0, 2, "BM") == 0 ? "bmp" : "jpeg";
        picture.left = DoubleOf(args[3]);
        picture.top = DoubleOf(args[4]);
        picture.width = DoubleOf(args[5]);
        picture.height = DoubleOf(args[6]);
        workbook_->model.sheets[sheet_].pictures.push_back(std::move(picture));
        return ReturnObject(new ShapeObject, result);
    }

private:
    WorkbookRef workbook_;
    std::size_t sheet_;
};

class WorksheetObject final : public StandInObject {
public:
    WorksheetObject(WorkbookRef workbook, std::size_t sheet, IUnknown* book)
        : StandInObject("Worksheet", {{0xEE, "Cells"},
                                      {0x19C, "UsedRange"},
                                      {0xC5, "Range"},
                                      {0x561, "Shapes"},
                                      {0x785, "SaveAs"},
                                      {0x6E, "Name"}}),
          workbook_(std::move(workbook)), sheet_(sheet), book_(book) {
        book_->AddRef();
    }
    ~WorksheetObject() override { book_->Release(); }

protected:
    HRESULT Call(DISPID id, bool put, const Args& args, VARIANT* result) override {
        Sheet& sheet = workbook_->model.sheets[sheet_];
        switch (id) {
        case 0xEE:
            return ReturnObject(new RangeObject(workbook_, sheet_, {1, 1, 1048576, 16384}), result);
        case 0x19C: {
            // A sheet that holds nothing reports the one cell A1.
            if (sheet.IsEmpty()) return ReturnObject(new RangeObject(workbook_, sheet_, {1, 1, 1, 1}), result);
            const auto [first, last] = sheet.UsedRows();
            return ReturnObject(new RangeObject(workbook_, sheet_, {first, 1, last, 9}), result);
        }
        case 0xC5: {
            if (args.empty()) return Fail(L"Range needs a cell");
            CellBox box;
            if (!ParseCell(TextOf(args[0]), box.firstRow, box.firstColumn)) return Fail(L"bad cell name");
            box.lastRow = box.firstRow;
            box.lastColumn = box.firstColumn;
            if (args.size() > 1 && !IsOmitted(args[1]) && !ParseCell(TextOf(args[1]), box.lastRow, box.lastColumn)) {
                return Fail(L"bad cell name");
            }
            return ReturnObject(new RangeObject(workbook_, sheet_, box), result);
        }
        case 0x561:
            return ReturnObject(new ShapesObject(workbook_, sheet_), result);
        case 0x785:
            if (args.empty() || IsOmitted(args[0])) return Fail(L"SaveAs needs a file name");
            return SaveWorkbookAs(workbook_, book_, TextOf(args[0])) ? S_OK : Fail(L"the file cannot be written");
        case 0x6E:
            if (put) return DISP_E_MEMBERNOTFOUND;
            return ReturnText(sheet.name, result);
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    WorkbookRef workbook_;
    std::size_t sheet_;
    IUnknown* book_;
};

class WorksheetsObject final : public StandInObject {
public:
    WorksheetsObject(WorkbookRef workbook, IUnknown* book)
        : StandInObject("Worksheets", {{0xAA, "Item"}, {0x76, "Count"}}), workbook_(std::move(workbook)), book_(book) {
        book_->AddRef();
    }
    ~WorksheetsObject() override { book_->Release(); }

protected:
    HRESULT Call(DISPID id, bool, const Args& args, VARIANT* result) override {
        auto& sheets = workbook_->model.sheets;
        if (id == 0x76) return ReturnLong(static_cast<long>(sheets.size()), result);
        if (args.empty()) return Fail(L"Item needs a name or a number");
        if (V_VT(&args[0]) == VT_BSTR) {
            for (std::size_t i = 0; i < sheets.size(); ++i) {
                if (_wcsicmp(sheets[i].name.c_str(), TextOf(args[0]).c_str()) == 0) {
                    return ReturnObject(new WorksheetObject(workbook_, i, book_), result);
                }
            }
            return Fail(L"no such sheet");
        }
        const long index = LongOf(args[0]);
        if (index < 1 || static_cast<std::size_t>(index) > sheets.size()) return Fail(L"no such sheet");
        return ReturnObject(new WorksheetObject(workbook_, static_cast<std::size_t>(index - 1), book_), result);
    }

private:
    WorkbookRef workbook_;
    IUnknown* book_;
};

class WorkbookObject final : public StandInObject {
public:
    explicit WorkbookObject(WorkbookRef workbook)
        : StandInObject("Workbook", {{0x1EE, "Worksheets"}, {0x12A, "Saved"}, {0x115, "Close"}, {0x11C, "SaveAs"}}),
          workbook_(std::move(workbook)) {}

protected:
    HRESULT Call(DISPID id, bool put, const Args& args, VARIANT* result) override {
        switch (id) {
        case 0x1EE:
            return ReturnObject(new WorksheetsObject(workbook_, static_cast<IDispatch*>(this)), result);
        case 0x12A:
            return put ? S_OK : DISP_E_MEMBERNOTFOUND;
        case 0x11C:
            if (args.empty() || IsOmitted(args[0])) return Fail(L"SaveAs needs a file name");
            return SaveWorkbookAs(workbook_, static_cast<IDispatch*>(this), TextOf(args[0]))
                       ? S_OK
                       : Fail(L"the file cannot be written");
        case 0x115: {
            const bool save = !args.empty() && !IsOmitted(args[0]) && LongOf(args[0]) != 0;
            if (save) {
                if (workbook_->path.empty()) return Fail(L"the workbook has no file to be saved to");
                if (!SaveWorkbook(workbook_->path, workbook_->model)) return Fail(L"the file cannot be written");
            }
            CloseWorkbook(workbook_);
            return S_OK;
        }
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    WorkbookRef workbook_;
};

class WorkbooksObject final : public StandInObject {
public:
    WorkbooksObject() : StandInObject("Workbooks", {{0xB5, "Add"}, {0x115, "Close"}, {0x76, "Count"}}) {}

protected:
    HRESULT Call(DISPID id, bool, const Args& args, VARIANT* result) override {
        switch (id) {
        case 0xB5: {
            auto workbook = std::make_shared<OpenWorkbook>();
            if (args.empty() || IsOmitted(args[0])) {
                workbook->model = BlankWorkbook();
            } else {
                const std::wstring base = TextOf(args[0]);
                if (GetFileAttributesW(base.c_str()) == INVALID_FILE_ATTRIBUTES) return Fail(L"no such template");
                std::optional<Workbook> loaded = LoadWorkbook(base);
                if (!loaded) return Fail(L"the template cannot be read");
                workbook->model = std::move(*loaded);
            }
            g_workbooks.push_back(workbook);
            return ReturnObject(new WorkbookObject(workbook), result);
        }
        case 0x115:
            while (!g_workbooks.empty()) CloseWorkbook(g_workbooks.back());
            return S_OK;
        case 0x76:
            return ReturnLong(static_cast<long>(g_workbooks.size()), result);
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }
};

class ApplicationObject final : public StandInObject {
public:
    ApplicationObject()
        : StandInObject("Application", {{0x23C, "Workbooks"},
                                        {0x188, "Version"},
                                        {0x3A2, "AlertBeforeOverwriting"},
                                        {0x157, "DisplayAlerts"},
                                        {0x12E, "Quit"}}) {}

protected:
    HRESULT Call(DISPID id, bool put, const Args&, VARIANT* result) override {
        switch (id) {
        case 0x23C:
            return ReturnObject(new WorkbooksObject, result);
        case 0x188: {
            const std::wstring version = StandInSetting(L"Version");
            return ReturnText(version.empty() ? L"16.0" : version, result);
        }
        case 0x3A2:
        case 0x157:
            return put ? S_OK : DISP_E_MEMBERNOTFOUND;
        case 0x12E:
            // Unsaved workbooks go without a question: alerts are the
            // client's to switch off, and a hidden program asks nobody.
            while (!g_workbooks.empty()) CloseWorkbook(g_workbooks.back());
            QuitRequested();
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }
};

}  // namespace

StandInObject* CreateSpreadsheetApplication() { return new ApplicationObject; }
