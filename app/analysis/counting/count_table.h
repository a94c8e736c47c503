#pragma once
// What the count results dialog shows, built from the engine's records:
// one row of twelve texts per target the filter keeps, numbered from 1 in
// vector order, the row-to-target map, the range of every measure over the
// rows, and the four summary values. Platform-free.
#include <array>
#include <span>
#include <string>
#include <vector>

#include "count_records.h"

struct CountTableSource {
    int pictureWidth = 0;
    int pictureHeight = 0;
    int regionWidth = 0;  // the region the engine reports: the whole picture without one
    int regionHeight = 0;
    double scale = 1.0;  // units per pixel
    int decimals = 2;
    std::wstring unit;
};

struct CountTable {
    std::vector<std::array<std::wstring, 12>> rows;
    std::vector<int> rowTargets;
    // Lower and upper of every measure over the rows; the first record's
    // values when no row is shown.
    _tagOBJFILTER range;
    // Picture, region and target areas with their unit, then the share of
    // the region the targets cover.
    std::array<std::wstring, 4> summary;
    double targetArea = 0;  // pixels, summed without rounding
};

CountTable BuildCountTable(std::span<const _tagOBJRESULT> records, const CountTableSource& source);

// Widens `range` so that it spans `record`'s measures too.
void WidenRange(_tagOBJFILTER& range, const _tagOBJRESULT& record);

// `value` in fixed-point notation with `decimals` places.
std::wstring FixedText(double value, int decimals);
