#pragma once
// The status bar along the frame's bottom edge: one pane per indicator, the
// first pane takes the room the others leave.
#include <span>
#include <string>
#include <vector>

#include "window.h"

class CStatusBar : public CWindow {
public:
    // Indicator 0 is the message pane; other indicators show their string.
    bool Create(HWND parent, std::span<const UINT> indicators, UINT id);
    int GetPaneCount() const { return static_cast<int>(m_widths.size()); }
    void SetPaneWidth(int index, int width);
    void SetPaneText(int index, const std::wstring& text);
    std::wstring GetPaneText(int index) const;
    // Places the bar at the bottom of the rectangle and takes its height off.
    void Reposition(RECT& client);

private:
    void ApplyWidths();
    std::vector<int> m_widths;
};
