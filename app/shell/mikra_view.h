#pragma once
// The view: the window in the splitter's lower right pane where pictures and
// live video are shown. It takes the drawing documents it is asked to open
// (a second start, the command line) and keeps the last one's path.
#include <string>

#include "view_window.h"

class CMikraView : public CViewWindow {
public:
    // The path of the last drawing document the view was asked to open, also
    // shown as the view window's text.
    const std::wstring& GetRequestedDocument() const { return m_requestedDocument; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCopyData(const COPYDATASTRUCT* record);
    std::wstring m_requestedDocument;
};
