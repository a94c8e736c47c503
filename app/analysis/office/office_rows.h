#pragma once
// What the Office exports write, apart from the program that writes it: the
// rows of the measurement table and of the counter summary, the texts they
// are made of and the file formats and names of the exports. Platform-free.
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cl_object.h"
#include "counter_style.h"

// The language library's text of a string id (the program's Chinese text
// when the library has none).
using OfficeTextSource = std::function<std::wstring(int stringId)>;

// The texts the program falls back on for the ids the exports use.
std::wstring OfficeFallbackText(int stringId);

// The nine column headings: type, length, width, height, perimeter,
// radius, area, angle, unit.
std::array<std::wstring, 9> OfficeHeadings(const OfficeTextSource& texts);

// The nine cells of an object's row: "<name>_<number>", the seven values
// (a parallel's distance as its length, areas by the scale squared, angles
// unscaled), the unit ("°" for the two angle kinds). None for objects that
// are not measurements (text, counters, scale bar, arrow).
std::optional<std::array<std::wstring, 9>> OfficeRowFor(const CCLObject& object, const OfficeTextSource& texts);

// A counter summary's row on the second sheet: name, marker symbol, count,
// and the font colour as decimal text. None for a count below 1 or another
// marker kind.
struct CounterRow {
    std::wstring name;
    std::wstring symbol;
    std::wstring count;
    std::wstring colour;
};
std::optional<CounterRow> CounterRowFor(const CounterStyle& counter, const OfficeTextSource& texts);

// The workbook format SaveAs is given for a target: 51 (Open XML workbook)
// for ".xlsx", 56 (the 97-2003 workbook) for anything else.
int WorkbookFormatFor(const std::filesystem::path& target);

// The text of a float with `decimals` decimals, as the object labels write it.
std::wstring FormatOfficeValue(int decimals, float value);
