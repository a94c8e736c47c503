#pragma once
// Printing a picture with its measurement objects at its calibrated physical
// size: the print settings (Config.ini's "Print") and the page drawn from
// them. The image controller owns one. Windows only.
#include <windows.h>

#include <string>

#include "kqmk_blocks.h"
#include "picture.h"

class CCalibratedPrint {
public:
    // The print unit, the length of one picture pixel in it, and the factor
    // the print is enlarged by.
    std::u16string unitText = u"μm";
    float scale = 1.0f;
    int magnification = 1;

    // Draws `picture` from the page's top-left corner at its calibrated size
    // times the magnification, with the visible objects over it and their
    // labels at the size they have on `screen`'s display. Nothing without
    // printer or screen window, or when the page, scale or magnification
    // gives no printable size. The objects keep their own style afterwards.
    void Print(HDC printer, HWND screen, const CPicture& picture, ObjectList& objects) const;
};
