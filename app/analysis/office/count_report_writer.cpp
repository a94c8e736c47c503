#include "count_report_writer.h"

#include <windows.h>
#include <objbase.h>

#include <span>

#include "automation.h"
#include "office_resource.h"
#include "word_dispids.h"

namespace {

namespace dispid = word_dispid;

constexpr int kLineUnit = 5;
constexpr int kCellUnit = 12;
constexpr const wchar_t* kGridStyle = L"网格型";

// A table of `rows` at the selection, filled cell by cell.
template <std::size_t Columns>
void WriteTable(IDispatch& document, IDispatch& selection, std::span<const std::array<std::wstring, Columns>> rows) {
    ComPtr<IDispatch> tables = automation::GetObject(document, dispid::kTables);
    ComPtr<IDispatch> at = automation::GetObject(selection, dispid::kRange);
    ComPtr<IDispatch> table = automation::GetObject(
        *tables, dispid::kTablesAdd,
        {CVariant(at.get()), CVariant(static_cast<int>(rows.size())), CVariant(static_cast<int>(Columns))});
    // The grid style goes by another name in a word processor of another
    // language, which refuses this one: the table then keeps its own style
    // and the report is still written whole.
    try {
        automation::Put(*table, dispid::kStyle, CVariant(kGridStyle));
    } catch (const AutomationError&) {
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < Columns; ++c) {
            if (r + c > 0) automation::Call(selection, dispid::kMoveRight, {CVariant(kCellUnit), CVariant(1)});
            automation::Call(selection, dispid::kTypeText, {CVariant(rows[r][c])});
        }
    }
    // Below the table, with a paragraph of its own: a table added right
    // after another would join it.
    automation::Call(selection, dispid::kMoveDown, {CVariant(kLineUnit), CVariant(1)});
    automation::Call(selection, dispid::kTypeParagraph);
}

}  // namespace

bool CWordCountReport::WriteCountReport(const std::filesystem::path& document, const std::filesystem::path& picture,
                                        const CountReport& report) {
    CLSID clsid{};
    IDispatch* raw = nullptr;
    if (FAILED(CLSIDFromProgID(L"Word.Application", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&raw)))) {
        return false;
    }
    ComPtr<IDispatch> word(raw);
    try {
        automation::Put(*word, dispid::kVisible, CVariant(true));
        ComPtr<IDispatch> documents = automation::GetObject(*word, dispid::kDocuments);
        automation::Call(*documents, dispid::kAdd);
        ComPtr<IDispatch> active = automation::GetObject(*word, dispid::kActiveDocument);
        ComPtr<IDispatch> selection = automation::GetObject(*word, dispid::kSelection);
        if (!picture.empty()) {
            ComPtr<IDispatch> shapes = automation::GetObject(*selection, dispid::kInlineShapes);
            ComPtr<IDispatch> at = automation::GetObject(*selection, dispid::kRange);
            ComPtr<IDispatch> shape = automation::GetObject(
                *shapes, dispid::kAddPicture,
                {CVariant(picture.wstring()), CVariant(false), CVariant(true), CVariant(at.get())});
            automation::Put(*shape, dispid::kScaleHeight, CVariant(100.0));
            automation::Put(*shape, dispid::kScaleWidth, CVariant(100.0));
            automation::Call(*selection, dispid::kMoveRight, {CVariant(1), CVariant(1)});
            automation::Call(*selection, dispid::kTypeParagraph);
        }
        WriteTable<2>(*active, *selection, report.summary);
        WriteTable<12>(*active, *selection, report.results);
        automation::Call(*active, dispid::kSaveAs, {CVariant(document.wstring()), CVariant(0)});
    } catch (const AutomationError&) {
        host_.ShowMessage(IDS_OFFICE_EXPORT_FAILED);
        return true;
    }
    host_.ExportWritten(document, false);
    return true;
}
