#pragma once
// Which files the picture browser and the export file list take, judged by
// the name alone (compared without case).
#include <string_view>

// The picture library's format code by extension: "bmp" 1, "jpg"/"jpeg" 2,
// "tif"/"tiff" 3, anything else 0.
int IsImageFileName(std::wstring_view name);

// A file the picture browser lists: a drawing (".kqmk") or a picture with a
// format code.
bool IsBrowserFileName(std::wstring_view name);

// The export file list's document types; each has its own icon.
enum class DocumentType { none = 0, word = 1, workbook = 2, workbookXlsx = 3 };

// ".doc" is always a document; a workbook is listed in the form the
// installed spreadsheet version writes (see UsesXlsx).
DocumentType GetDocumentType(std::wstring_view name, std::wstring_view excelVersion);
