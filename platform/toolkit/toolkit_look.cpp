#include "toolkit_look.h"

#include "unique_handle.h"

COLORREF GetFaceColor() { return GetSysColor(COLOR_BTNFACE); }

void FillFace(HDC dc, const RECT& rect) { FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE)); }

void DrawFlatFrame(HDC dc, const RECT& rect) { FrameRect(dc, &rect, GetSysColorBrush(COLOR_BTNSHADOW)); }

void DrawTitleStrip(HDC dc, const RECT& rect, const std::wstring& title) {
    FillRect(dc, &rect, GetSysColorBrush(COLOR_INACTIVECAPTION));
    RECT text = rect;
    text.left += 6;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_INACTIVECAPTIONTEXT));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

int TitleStripHeight() { return GetSystemMetrics(SM_CYSMCAPTION) + 2; }

void DrawBarFace(HDC dc, const RECT& client, const std::wstring& title) {
    FillFace(dc, client);
    DrawTitleStrip(dc, RECT{client.left, client.top, client.right, client.top + TitleStripHeight()}, title);
}

void DrawGripper(HDC dc, const RECT& rect, bool vertical) {
    FillFace(dc, rect);
    for (int line = 0; line < 2; ++line) {
        RECT edge = rect;
        if (vertical) {
            edge.left += 2;
            edge.right -= 2;
            edge.top += 2 + line * 3;
            edge.bottom = edge.top + 3;
        } else {
            edge.top += 2;
            edge.bottom -= 2;
            edge.left += 2 + line * 3;
            edge.right = edge.left + 3;
        }
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }
}
