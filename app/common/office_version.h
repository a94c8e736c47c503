#pragma once
// The one rule for which workbook extension an installed spreadsheet
// program reads and writes, shared by the exporter and the export file list
// so that a workbook written is a workbook listed.
#include <string_view>

// True when the automation version text ("11.0", "14.0", "16.0") has a major
// version of 12 or more, whose workbooks are ".xlsx"; false for older or
// unreadable versions (".xls").
bool UsesXlsx(std::wstring_view version);
