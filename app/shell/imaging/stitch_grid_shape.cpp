#include "stitch_grid_shape.h"

StitchGridShape AfterRowsChosen(int rows, int columns) {
    if (columns == 1 && rows == 1) {
        rows = 2;
    }
    if (rows > 1 && columns > 1) {
        columns = 1;
    }
    return {rows, columns};
}

StitchGridShape AfterColumnsChosen(int rows, int columns) {
    if (columns == 1 && rows == 1) {
        columns = 2;
    }
    if (rows > 1 && columns > 1) {
        rows = 1;
    }
    return {rows, columns};
}
