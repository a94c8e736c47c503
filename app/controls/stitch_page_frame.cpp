#include "stitch_page_frame.h"

namespace {

RECT FrameInPage(HWND page, HWND frame) {
    RECT r{};
    GetWindowRect(frame, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

void StretchPageFrame(HWND page, int frameId, HWND content) {
    HWND frame = GetDlgItem(page, frameId);
    if (!frame) {
        return;
    }
    RECT client{};
    GetClientRect(page, &client);
    const RECT r = FrameInPage(page, frame);
    MoveWindow(frame, r.left, r.top, client.right - r.left, client.bottom - r.top, TRUE);
    if (content) {
        MoveWindow(content, r.left, r.top + 1, client.right - r.left, client.bottom - r.top - 1, TRUE);
    }
}

void PaintPageFrame(HWND page, int frameId) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(page, &paint);
    const RECT frame = FrameInPage(page, GetDlgItem(page, frameId));
    const RECT line{frame.left, frame.top, frame.right, frame.top + 1};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    EndPaint(page, &paint);
}
