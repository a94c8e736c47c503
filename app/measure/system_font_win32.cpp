#include <windows.h>

#include "log_font_win32.h"

LogFont SystemLogFont() {
    LOGFONTW lf{};
    ::GetObjectW(::GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
    return FromLogFontW(lf);
}
