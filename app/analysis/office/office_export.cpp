#include "office_export.h"

#include <windows.h>
#include <objbase.h>

#include <optional>

#include "automation.h"
#include "module_folder.h"
#include "office_resource.h"
#include "office_rows.h"
#include "text_object.h"

namespace {

namespace dispid {
// Application
constexpr DISPID kWorkbooks = 0x23C;
constexpr DISPID kAlertBeforeOverwriting = 0x3A2;
constexpr DISPID kDisplayAlerts = 0x157;
constexpr DISPID kQuit = 0x12E;
// Workbooks, Workbook
constexpr DISPID kAdd = 0xB5;
constexpr DISPID kClose = 0x115;
constexpr DISPID kWorksheets = 0x1EE;
constexpr DISPID kSaved = 0x12A;
// Worksheets, Worksheet
constexpr DISPID kItem = 0xAA;
constexpr DISPID kCells = 0xEE;
constexpr DISPID kUsedRange = 0x19C;
constexpr DISPID kRange = 0xC5;
constexpr DISPID kShapes = 0x561;
constexpr DISPID kSaveAs = 0x785;
// Range, Font, Shapes, Shape
constexpr DISPID kValue = 0x6;
constexpr DISPID kRow = 0x101;
constexpr DISPID kRows = 0x102;
constexpr DISPID kCount = 0x76;
constexpr DISPID kMergeCells = 0xD0;
constexpr DISPID kRowHeight = 0x110;
constexpr DISPID kHeight = 0x7B;
constexpr DISPID kWidth = 0x7A;
constexpr DISPID kTop = 0x7E;
constexpr DISPID kLeft = 0x7F;
constexpr DISPID kFont = 0x92;
constexpr DISPID kColor = 0x63;
constexpr DISPID kAddPicture = 0x6BB;
constexpr DISPID kLockAspectRatio = 0x6A4;
}  // namespace dispid

// The picture row's height in points: the merged cells the picture fills.
constexpr double kPictureRowHeight = 397.0;
constexpr int kCounterFirstRow = 3;

std::wstring FullPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(buffer)), buffer, nullptr);
    return length > 0 && length < std::size(buffer) ? std::wstring(buffer, length) : path;
}

// The workbook the spreadsheet program has open as `path`, found in the
// running-object table by its file moniker.
ComPtr<IDispatch> RunningWorkbook(const std::wstring& path) {
    IRunningObjectTable* rawTable = nullptr;
    if (FAILED(GetRunningObjectTable(0, &rawTable)) || rawTable == nullptr) return nullptr;
    ComPtr<IRunningObjectTable> table(rawTable);
    IMoniker* rawMoniker = nullptr;
    if (FAILED(CreateFileMoniker(path.c_str(), &rawMoniker)) || rawMoniker == nullptr) return nullptr;
    ComPtr<IMoniker> moniker(rawMoniker);
    IUnknown* running = nullptr;
    if (table->GetObject(moniker.get(), &running) != S_OK || running == nullptr) return nullptr;
    ComPtr<IUnknown> object(running);
    IDispatch* workbook = nullptr;
    if (FAILED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&workbook)))) return nullptr;
    return ComPtr<IDispatch>(workbook);
}

// True when no program holds `path` open: a workbook open in the spreadsheet
// program is closed through automation, saving it (never by ending a
// process, which loses whatever else that program has open).
bool ReleaseOpenTarget(const std::wstring& path) {
    if (ComPtr<IDispatch> open = RunningWorkbook(path)) {
        try {
            automation::Call(*open, dispid::kClose, {CVariant(true)});
        } catch (const AutomationError&) {
            return false;
        }
        if (RunningWorkbook(path)) return false;
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() != ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return true;
}

std::wstring CellName(const wchar_t* column, int row) { return column + std::to_wstring(row); }

void WriteRow(IDispatch& cells, int row, const std::array<std::wstring, 9>& texts) {
    for (std::size_t column = 0; column < texts.size(); ++column) {
        automation::Put(cells, dispid::kItem, CVariant(texts[column]),
                        {CVariant(row), CVariant(static_cast<int>(column) + 1)});
    }
}

// True when the used range is a single blank cell: the spreadsheet reports
// that for a sheet that holds nothing at all.
bool SheetIsEmpty(IDispatch& used) {
    if (automation::Get(used, dispid::kCount).Long() != 1) return false;
    ComPtr<IDispatch> corner = automation::GetObject(used, dispid::kItem, {CVariant(1), CVariant(1)});
    return automation::Get(*corner, dispid::kValue).IsBlank();
}

}  // namespace

OfficeExportPlaces OfficeExportPlaces::Program() {
    const std::filesystem::path folder = GetModuleFolder();
    return {folder, folder / L"Config.ini"};
}

COfficeExport::COfficeExport(IOfficeExportHost& host, OfficeExportPlaces places)
    : host_(host), places_(std::move(places)) {}

COfficeExport::~COfficeExport() = default;

std::wstring COfficeExport::FormatValue(int decimals, float value) { return FormatOfficeValue(decimals, value); }

int COfficeExport::ReadConfigInt(const std::wstring& section, const wchar_t* key, int fallback) const {
    return static_cast<int>(GetPrivateProfileIntW(section.c_str(), key, fallback, places_.configFile.c_str()));
}

void COfficeExport::ExportExcel(std::wstring target, std::wstring picture) {
    if (objects_ == nullptr && counters_ == nullptr) return;

    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(L"Excel.Application", &clsid))) {
        host_.ShowMessage(IDS_EXCEL_NOT_INSTALLED);
        return;
    }
    IDispatch* rawApplication = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&rawApplication))) ||
        rawApplication == nullptr) {
        host_.ShowMessage(IDS_EXCEL_SERVICE_FAILED);
        return;
    }
    ComPtr<IDispatch> application(rawApplication);
    const OfficeTextSource texts = [this](int id) { return host_.Text(id); };

    target = FullPath(target);
    const int language = ReadConfigInt(L"Option", L"LAN", 0);
    const bool existed = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    ComPtr<IDispatch> workbook;
    // Ends the spreadsheet program without saving what it holds; the target
    // is written only by the SaveAs at the very end, so it is untouched.
    const auto abandon = [&](int message) {
        if (workbook) {
            try {
                automation::Call(*workbook, dispid::kClose, {CVariant(false)});
            } catch (const AutomationError&) {
            }
            workbook.reset();
        }
        try {
            automation::Call(*application, dispid::kQuit);
        } catch (const AutomationError&) {
        }
        application.reset();
        host_.ShowMessage(message);
    };
    if (existed && !ReleaseOpenTarget(target)) {
        abandon(IDS_OFFICE_TARGET_OPEN);
        return;
    }
    const std::wstring base =
        existed ? target : (places_.programFolder / (L"Template" + std::to_wstring(language) + L".xls")).wstring();

    try {
        ComPtr<IDispatch> workbooks = automation::GetObject(*application, dispid::kWorkbooks);
        workbook = automation::GetObject(*workbooks, dispid::kAdd, {CVariant(base)});
        ComPtr<IDispatch> sheets = automation::GetObject(*workbook, dispid::kWorksheets);
        ComPtr<IDispatch> sheet = automation::GetObject(*sheets, dispid::kItem, {CVariant(L"Sheet1")});
        ComPtr<IDispatch> cells = automation::GetObject(*sheet, dispid::kCells);
        ComPtr<IDispatch> used = automation::GetObject(*sheet, dispid::kUsedRange);
        ComPtr<IDispatch> usedRows = automation::GetObject(*used, dispid::kRows);
        const int usedCount = static_cast<int>(automation::Get(*usedRows, dispid::kCount).Long());
        // The used range begins at its first used row, which is not row 1
        // when the sheet's top rows are empty (a workbook first written from
        // a blank template): counting its rows from row 1 would land on its
        // last row and overwrite it.
        const int usedFirst = static_cast<int>(automation::Get(*used, dispid::kRow).Long());
        if (usedCount == 1 && existed) {
            // A one-row workbook may hold its one row in A1: keep it.
            ComPtr<IDispatch> first = automation::GetObject(*cells, dispid::kItem, {CVariant(1), CVariant(1)});
            if (automation::Get(*first, dispid::kValue).IsBlank()) {
                automation::Put(*cells, dispid::kItem, CVariant(L" "), {CVariant(1), CVariant(1)});
            }
        }
        int row = usedFirst + usedCount;
        if (!existed && SheetIsEmpty(*used)) {
            // A template whose Sheet1 holds nothing (no title rows, Position
            // 0): the used range is the one blank cell A1, yet no row is
            // taken, so the workbook starts at row 1 and the header rule
            // puts the header there.
            row = 1;
        }
        const std::array<std::wstring, 9> headings = OfficeHeadings(texts);

        if (!picture.empty()) {
            ComPtr<IDispatch> band = automation::GetObject(
                *sheet, dispid::kRange, {CVariant(CellName(L"A", row)), CVariant(CellName(L"I", row))});
            automation::Put(*band, dispid::kMergeCells, CVariant(true));
            automation::Put(*band, dispid::kRowHeight, CVariant(kPictureRowHeight));
            const double height = automation::Get(*band, dispid::kHeight).Double();
            const double width = automation::Get(*band, dispid::kWidth).Double();
            const double top = automation::Get(*band, dispid::kTop).Double();
            const double left = automation::Get(*band, dispid::kLeft).Double();
            ComPtr<IDispatch> shapes = automation::GetObject(*sheet, dispid::kShapes);
            ComPtr<IDispatch> shape = automation::GetObject(
                *shapes, dispid::kAddPicture,
                {CVariant(picture), CVariant(0), CVariant(1), CVariant(left), CVariant(top), CVariant(width),
                 CVariant(height)});
            automation::Put(*shape, dispid::kLockAspectRatio, CVariant(0));
            WriteRow(*cells, row + 1, headings);
            row += 2;
        }

        positionRow_ = ReadConfigInt(L"ExcelTemplate" + std::to_wstring(language), L"Position", 0);
        if (row == positionRow_ + 1) {
            WriteRow(*cells, row, headings);
            ++row;
        }

        if (objects_ != nullptr) {
            for (const std::unique_ptr<CCLObject>& object : *objects_) {
                if (!object) continue;
                if (const auto cellsOfRow = OfficeRowFor(*object, texts)) {
                    WriteRow(*cells, row, *cellsOfRow);
                    ++row;
                }
            }
        }

        if (counters_ != nullptr) {
            ComPtr<IDispatch> counterSheet = automation::GetObject(*sheets, dispid::kItem, {CVariant(L"Sheet2")});
            ComPtr<IDispatch> counterCells = automation::GetObject(*counterSheet, dispid::kCells);
            int counterRow = kCounterFirstRow;
            for (const CounterStyle& counter : *counters_) {
                const std::optional<CounterRow> line = CounterRowFor(counter, texts);
                if (!line) continue;
                ComPtr<IDispatch> band =
                    automation::GetObject(*counterSheet, dispid::kRange,
                                          {CVariant(CellName(L"A", counterRow)), CVariant(CellName(L"D", counterRow))});
                ComPtr<IDispatch> font = automation::GetObject(*band, dispid::kFont);
                automation::Put(*font, dispid::kColor, CVariant(line->colour));
                automation::Put(*band, dispid::kItem, CVariant(line->name), {CVariant(1), CVariant(1)});
                automation::Put(*band, dispid::kItem, CVariant(line->symbol), {CVariant(1), CVariant(2)});
                automation::Put(*band, dispid::kItem, CVariant(line->count), {CVariant(1), CVariant(4)});
                ++counterRow;
            }
        }

        sheet = automation::GetObject(*sheets, dispid::kItem, {CVariant(L"Sheet1")});
        automation::Put(*workbook, dispid::kSaved, CVariant(true));
        automation::Put(*application, dispid::kAlertBeforeOverwriting, CVariant(false));
        automation::Put(*application, dispid::kDisplayAlerts, CVariant(false));
        const CVariant omitted = CVariant::Omitted();
        automation::Call(*sheet, dispid::kSaveAs,
                         {CVariant(target), CVariant(WorkbookFormatFor(target)), omitted, omitted, omitted, omitted,
                          omitted, omitted, omitted, omitted});
        sheet.reset();
        cells.reset();
        workbook.reset();
        // Saved: what fails from here on closes no more than the program.
        try {
            automation::Call(*workbooks, dispid::kClose);
        } catch (const AutomationError&) {
        }
        workbooks.reset();
    } catch (const AutomationError&) {
        abandon(IDS_OFFICE_EXPORT_FAILED);
        return;
    }
    try {
        automation::Call(*application, dispid::kQuit);
    } catch (const AutomationError&) {
    }
    application.reset();
    host_.ExportWritten(target, true);
}
