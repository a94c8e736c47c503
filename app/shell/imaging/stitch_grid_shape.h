#pragma once
// The stitching grid's shape rules: always one row of at least two cells or
// one column of at least two cells, the user's last choice winning.
struct StitchGridShape {
    int rows = 1;
    int columns = 2;
    friend bool operator==(const StitchGridShape&, const StitchGridShape&) = default;
};

// The shape after the user chose `rows` (rows list) or `columns` (columns
// list), the other list showing the other value.
StitchGridShape AfterRowsChosen(int rows, int columns);
StitchGridShape AfterColumnsChosen(int rows, int columns);
