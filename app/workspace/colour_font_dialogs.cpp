#include "colour_font_dialogs.h"

#include <commdlg.h>

std::optional<COLORREF> CColourFontDialogs::ChooseColour(HWND owner, COLORREF initial) {
    CHOOSECOLORW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.rgbResult = initial;
    choice.lpCustColors = m_customColours;
    choice.Flags = CC_RGBINIT;
    if (!::ChooseColorW(&choice)) {
        return std::nullopt;
    }
    return choice.rgbResult;
}

std::optional<LOGFONTW> CColourFontDialogs::ChooseFont(HWND owner, const LOGFONTW& initial) {
    LOGFONTW font = initial;
    CHOOSEFONTW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.lpLogFont = &font;
    choice.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!::ChooseFontW(&choice)) {
        return std::nullopt;
    }
    return font;
}
