#pragma once
// The version of the installed spreadsheet program, asked of its automation
// object ("Excel.Application"). The caller has initialised COM.
#include <optional>
#include <string>

// Creates the automation object, reads its `Version` and has it `Quit`, so
// no hidden instance stays behind; nothing when it cannot be created or
// gives no text.
std::optional<std::wstring> QueryExcelVersion();

// The process-wide version: "11.0" unless the first call's query answered.
// The query runs once per process, whether or not it succeeds.
std::wstring InstalledExcelVersion();
