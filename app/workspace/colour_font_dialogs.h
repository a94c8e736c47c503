#pragma once
// The colour and font dialogs the view's style commands ask, behind one
// small interface so that the view's tests can answer them. The view holds
// it without owning it, so no virtual destructor. Windows only.
#include <windows.h>

#include <optional>

class IColourFontDialogs {
public:
    // The colour chosen in the colour dialog opened on `initial`; nullopt
    // when the user cancelled.
    virtual std::optional<COLORREF> ChooseColour(HWND owner, COLORREF initial) = 0;
    // The font chosen among the screen fonts in the font dialog opened on a
    // copy of `initial`; nullopt when the user cancelled.
    virtual std::optional<LOGFONTW> ChooseFont(HWND owner, const LOGFONTW& initial) = 0;

protected:
    ~IColourFontDialogs() = default;
};

// The system's common colour and font dialogs.
class CColourFontDialogs final : public IColourFontDialogs {
public:
    std::optional<COLORREF> ChooseColour(HWND owner, COLORREF initial) override;
    std::optional<LOGFONTW> ChooseFont(HWND owner, const LOGFONTW& initial) override;

private:
    // The dialog's sixteen custom colours, kept for the life of the view.
    COLORREF m_customColours[16] = {};
};
