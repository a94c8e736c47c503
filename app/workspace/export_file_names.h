#pragma once
// The files the Office exports write: the workbook chosen by the export
// options and the time-stamped names in the export folder. Platform-free.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "picture_paths.h"

// The application's export options (Config.ini [Option]).
struct OfficeExportOptions {
    bool excelPicture = false;      // "ExportExcelPic"
    bool excelOne = false;          // "ExportExcelOne"
    bool excelOneDefault = false;   // "ExportExcelOneDefault"
    std::wstring excelOneFile;      // "ExportExcelOneFile"
    bool wordPictureAutoSize = false;  // "ExportWordPicAutoSize"
};

using ExportFileExists = std::function<bool(const std::filesystem::path&)>;

// "%4d%02d%02d%02d%02d%02d%04d" of the stamp.
std::wstring TimeStampedName(const LocalTime& stamp);

// The workbook of an export: the user's workbook, or "ExcelDefault" in
// `folder`, when the options fix one; else a time-stamped name in `folder`
// that no file has (a second export within the same millisecond gets
// "_1", "_2", ... after the stamp). ".xlsx" for a spreadsheet program of
// `version` 12 or later, else ".xls".
std::filesystem::path ExcelExportTarget(const OfficeExportOptions& options, const std::filesystem::path& folder,
                                        std::wstring_view version, const LocalTime& stamp, const ExportFileExists& exists);

// "<stem>.doc" in `folder`, or "<stem>_1.doc", ... when taken.
std::filesystem::path FreeDocumentName(const std::filesystem::path& folder, const std::wstring& stem,
                                       const ExportFileExists& exists);

// The file extension (with its dot) of a picture kind (1 BMP, 2 JPEG, 3 TIFF,
// 4 PNG); BMP for any other kind, which the picture writer cannot name.
std::string PictureKindExtension(int kind);
