#pragma once
// A tab control that erases only its tab strip: the page area below the
// first tab is left to the page, so switching pages does not flicker.
#include <windows.h>

#include "window.h"

class CWorkTabCtrl : public CWindow {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
