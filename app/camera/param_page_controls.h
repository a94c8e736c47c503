#pragma once
// Small control helpers the video-parameter pages of every camera family
// share: reading a typed number, enabling or showing groups of controls,
// filling and reading combos and check boxes.
#include <windows.h>

#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

// The number in an edit, none when its text is not one number.
std::optional<double> EditNumber(HWND page, int id);
void EnableControls(HWND page, std::initializer_list<int> ids, bool on);
void ShowControls(HWND page, std::initializer_list<int> ids, bool on);
// Adds the items to an empty combo and selects `selected`.
void FillCombo(HWND page, int id, std::span<const std::wstring_view> items, int selected);
int ComboSelection(HWND page, int id);
void SelectCombo(HWND page, int id, int index);
bool IsBoxChecked(HWND page, int id);
void CheckBox(HWND page, int id, int on);
