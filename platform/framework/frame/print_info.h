#pragma once
// One print job as the view sees it: how it was asked for, the printer it
// goes to, its page range and the page being printed.
#include <windows.h>

#include "unique_handle.h"

using UniquePrinterDC = UniqueHandle<HDC, &DeleteDC>;

struct CPrintInfo {
    // Printed at once on the chosen (or default) printer, without the
    // print dialog.
    bool direct = false;
    int minPage = 1;
    int maxPage = 0xFFFF;
    int currentPage = 1;
    // The page's printable area in device pixels, set before each page.
    RECT drawArea{0, 0, 0, 0};
    // The printer the job goes to; set by DoPreparePrinting.
    UniquePrinterDC printer;
};
