#include "file_kinds.h"

#include "office_version.h"

namespace {

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool EndsWithNoCase(std::wstring_view name, std::wstring_view ending) {
    if (name.size() < ending.size()) return false;
    const std::wstring_view tail = name.substr(name.size() - ending.size());
    for (std::size_t i = 0; i < ending.size(); ++i) {
        if (Lower(tail[i]) != ending[i]) return false;
    }
    return true;
}

}  // namespace

int IsImageFileName(std::wstring_view name) {
    if (EndsWithNoCase(name, L"bmp")) return 1;
    if (EndsWithNoCase(name, L"jpg") || EndsWithNoCase(name, L"jpeg")) return 2;
    if (EndsWithNoCase(name, L"tif") || EndsWithNoCase(name, L"tiff")) return 3;
    return 0;
}

bool IsBrowserFileName(std::wstring_view name) { return EndsWithNoCase(name, L"kqmk") || IsImageFileName(name) != 0; }

DocumentType GetDocumentType(std::wstring_view name, std::wstring_view excelVersion) {
    if (EndsWithNoCase(name, L"doc")) return DocumentType::word;
    const bool xlsx = UsesXlsx(excelVersion);
    if (!xlsx && EndsWithNoCase(name, L"xls")) return DocumentType::workbook;
    if (xlsx && EndsWithNoCase(name, L"xlsx")) return DocumentType::workbookXlsx;
    return DocumentType::none;
}
