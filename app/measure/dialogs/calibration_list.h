#pragma once
// The report list of stored calibrations that the selection and print
// dialogs show: columns " ", name, picture size, value and unit; one row
// per stored section in section order, each row keeping its section number,
// so a gap in the sections never shifts the calibration a row stands for.
#include <windows.h>

#include <optional>
#include <string>

// Creates the list (bordered report view, single selection, grid lines,
// full-row selection, no check boxes) with its columns as child `id` of the
// dialog; null when it cannot be made.
HWND CreateCalibrationList(HWND dialog, int id, const RECT& place);
// Empties the list and lists the calibrations of scale.ini at `path`.
void FillCalibrationList(HWND list, const std::wstring& path);
// The section of the selected row; none when no row is selected.
std::optional<int> SelectedCalibrationSection(HWND list);
