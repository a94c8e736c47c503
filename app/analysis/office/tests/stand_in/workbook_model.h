#pragma once
// The spreadsheet stand-in's workbook: sheets of text cells with font
// colours, row heights, merged ranges and placed pictures, kept in a small
// Office Open XML workbook package that it writes and reads back.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct CellBox {
    int firstRow = 1;
    int firstColumn = 1;
    int lastRow = 1;
    int lastColumn = 1;
};

struct SheetPicture {
    std::string bytes;
    std::string extension;  // "bmp", "jpeg", "png"
    double left = 0, top = 0, width = 0, height = 0;  // points
};

struct Sheet {
    static constexpr double kColumnWidth = 48.0;  // points
    static constexpr double kRowHeight = 15.0;

    std::wstring name;
    std::map<std::pair<int, int>, std::wstring> cells;  // (row, column), 1-based
    std::map<std::pair<int, int>, std::uint32_t> fontColours;  // a Windows RGB value
    std::map<int, double> rowHeights;
    std::vector<CellBox> merges;
    std::vector<SheetPicture> pictures;

    // The rows that hold a value or a format: (1, 1) for an empty sheet.
    std::pair<int, int> UsedRows() const;
    // No value, format, merge or picture anywhere.
    bool IsEmpty() const;
    double RowHeight(int row) const;
    double RowTop(int row) const;
    static double ColumnLeft(int column) { return (column - 1) * kColumnWidth; }
};

struct Workbook {
    std::vector<Sheet> sheets;
    Sheet* Find(const std::wstring& name);
};

// Sheet1, Sheet2 and Sheet3, empty.
Workbook BlankWorkbook();
bool SaveWorkbook(const std::filesystem::path& path, const Workbook& workbook);
std::optional<Workbook> LoadWorkbook(const std::filesystem::path& path);

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& text);
