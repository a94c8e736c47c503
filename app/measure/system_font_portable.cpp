#include "log_font.h"

// Without a display the stock system font is described by its usual values.
LogFont SystemLogFont() {
    LogFont font;
    font.height = 16;
    font.width = 7;
    font.weight = 700;
    font.pitchAndFamily = 0x22;  // variable pitch, Swiss
    font.SetFaceName(u"System");
    return font;
}
