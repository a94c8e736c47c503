#include "export_file_names.h"

#include <cwchar>

#include "office_version.h"

std::wstring TimeStampedName(const LocalTime& stamp) {
    wchar_t text[64];
    std::swprintf(text, std::size(text), L"%4d%02d%02d%02d%02d%02d%04d", stamp.year, stamp.month, stamp.day,
                  stamp.hour, stamp.minute, stamp.second, stamp.milliseconds);
    return text;
}

namespace {

std::filesystem::path FreeName(const std::filesystem::path& folder, const std::wstring& stem,
                               const std::wstring& extension, const ExportFileExists& exists) {
    std::filesystem::path candidate = folder / (stem + extension);
    for (int n = 1; exists && exists(candidate); ++n) {
        candidate = folder / (stem + L"_" + std::to_wstring(n) + extension);
    }
    return candidate;
}

}  // namespace

std::filesystem::path ExcelExportTarget(const OfficeExportOptions& options, const std::filesystem::path& folder,
                                        std::wstring_view version, const LocalTime& stamp, const ExportFileExists& exists) {
    const std::wstring extension = UsesXlsx(version) ? L".xlsx" : L".xls";
    if (options.excelOne) {
        if (!options.excelOneDefault && !options.excelOneFile.empty()) return options.excelOneFile;
        return folder / (L"ExcelDefault" + extension);
    }
    return FreeName(folder, TimeStampedName(stamp), extension, exists);
}

std::filesystem::path FreeDocumentName(const std::filesystem::path& folder, const std::wstring& stem,
                                       const ExportFileExists& exists) {
    return FreeName(folder, stem, L".doc", exists);
}

std::string PictureKindExtension(int kind) {
    switch (kind) {
    case 2: return ".jpg";
    case 3: return ".tiff";
    case 4: return ".png";
    default: return ".bmp";
    }
}
