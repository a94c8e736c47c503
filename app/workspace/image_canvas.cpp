#include "image_canvas.h"

#include <algorithm>

#include "counting_grid.h"
#include "picture_gdi.h"
#include "view_geometry.h"

namespace {

constexpr COLORREF kMarginColour = RGB(192, 192, 192);
constexpr COLORREF kPictureBackground = RGB(255, 255, 255);

}  // namespace

void CImageCanvas::SetScrollSizes(int width, int height) {
    if (scrollSink_ != nullptr) {
        scrollSink_->SetScrollSizes(width, height);
    }
}

RECT CImageCanvas::ClientRect() const {
    RECT rc{0, 0, 0, 0};
    if (window_ != nullptr) {
        ::GetClientRect(window_, &rc);
    }
    return rc;
}

void CImageCanvas::Free() {
    pictureBuffer_.reset();
    backBuffer_.reset();
}

void CImageCanvas::Rebuild(const CPicture* picture) {
    Free();
    if (window_ == nullptr || picture == nullptr) {
        place_.zoomedWidth = place_.zoomedHeight = 0;
        return;
    }
    const ZoomedSize zoomed = ZoomPictureSize(picture->GetWidth(), picture->GetHeight(), place_.zoom);
    place_.zoomedWidth = zoomed.width;
    place_.zoomedHeight = zoomed.height;
    CClientDC window(window_);
    if (picture->IsValid()) {
        pictureBuffer_ = std::make_unique<CMemoryDC>(&window, picture->GetWidth(), picture->GetHeight());
        pictureBuffer_->FillSolidRect(RECT{0, 0, picture->GetWidth(), picture->GetHeight()}, kPictureBackground);
        picture_gdi::Draw(*picture, pictureBuffer_->GetSafeHdc(), 0, 0, picture->GetWidth(), picture->GetHeight());
    }
    // Screen-sized, and never smaller than the window, so that scrolling and
    // resizing need no new bitmap.
    const RECT client = ClientRect();
    const int width = std::max<int>(::GetSystemMetrics(SM_CXSCREEN), client.right);
    const int height = std::max<int>(::GetSystemMetrics(SM_CYSCREEN), client.bottom);
    backBuffer_ = std::make_unique<CMemoryDC>(&window, width, height, CMemoryDC::Kind::dibSection);
    backBuffer_->FillSolidRect(RECT{0, 0, width, height}, kMarginColour);
}

void CImageCanvas::DrawPicture(const CPicture& picture, bool redrawPicture) {
    if (window_ == nullptr || !backBuffer_) {
        return;
    }
    const RECT client = ClientRect();
    const int clientWidth = client.right - client.left;
    const int clientHeight = client.bottom - client.top;
    if (redrawPicture) {
        const ZoomedSize zoomed = ZoomPictureSize(picture.GetWidth(), picture.GetHeight(), place_.zoom);
        place_.zoomedWidth = zoomed.width;
        place_.zoomedHeight = zoomed.height;
        place_.centreX = CentringOffset(clientWidth, place_.zoomedWidth);
        place_.centreY = CentringOffset(clientHeight, place_.zoomedHeight);
        if (pictureBuffer_) {
            picture_gdi::Draw(picture, pictureBuffer_->GetSafeHdc(), 0, 0, picture.GetWidth(), picture.GetHeight());
        }
    }
    if (NeedsScrolling(clientWidth, clientHeight, {place_.zoomedWidth, place_.zoomedHeight})) {
        SetScrollSizes(place_.zoomedWidth, place_.zoomedHeight);
    }
    const int visibleWidth = place_.centreX > 0 ? place_.zoomedWidth : clientWidth;
    const int visibleHeight = place_.centreY > 0 ? place_.zoomedHeight : clientHeight;

    CMemoryDC& back = *backBuffer_;
    back.SelectClipRgn(nullptr);
    back.FillSolidRect(RECT{0, 0, back.GetWidth(), back.GetHeight()}, kMarginColour);
    if (pictureBuffer_) {
        back.SetStretchBltMode(COLORONCOLOR);
        const SourceRect source =
            VisibleSource(place_.scrollX, place_.scrollY, visibleWidth, visibleHeight, place_.zoom);
        back.StretchBlt(place_.centreX, place_.centreY, visibleWidth, visibleHeight, *pictureBuffer_, source.x,
                        source.y, source.width, source.height, SRCCOPY);
    }
    // Objects, grid and rulers never paint on the margin.
    CRgn clip(place_.centreX, place_.centreY, place_.centreX + place_.zoomedWidth,
              place_.centreY + place_.zoomedHeight);
    back.SelectClipRgn(&clip);
}

void CImageCanvas::Present() {
    if (window_ == nullptr || !backBuffer_) {
        return;
    }
    const RECT client = ClientRect();
    CClientDC window(window_);
    window.BitBlt(0, 0, client.right - client.left, client.bottom - client.top, *backBuffer_, 0, 0, SRCCOPY);
}

void CImageCanvas::DrawGrid(const CPicture& picture, float& cellWidth, float& cellHeight, COLORREF colour) {
    if (!picture.IsValid() || !backBuffer_) {
        return;
    }
    cellWidth = GridCellSize(cellWidth);
    cellHeight = GridCellSize(cellHeight);

    GridPlacement grid;
    grid.pictureWidth = picture.GetWidth();
    grid.pictureHeight = picture.GetHeight();
    grid.zoom = place_.zoom;
    grid.zoomedWidth = place_.zoomedWidth;
    grid.zoomedHeight = place_.zoomedHeight;
    grid.centreX = place_.centreX;
    grid.centreY = place_.centreY;
    grid.scrollX = place_.scrollX;
    grid.scrollY = place_.scrollY;

    CPen pen(PS_SOLID, 1, colour);
    CSelectObject selectPen(*backBuffer_, pen.GetSafeHandle());
    for (const GridSegment& line : CountingGridLines(grid, cellWidth, cellHeight)) {
        backBuffer_->MoveTo(line.x1, line.y1);
        backBuffer_->LineTo(line.x2, line.y2);
    }
}

void CImageCanvas::DrawFocusRect(RECT zoomed) {
    if (window_ == nullptr || zoomed.right - zoomed.left <= 0 || zoomed.bottom - zoomed.top <= 0) {
        return;
    }
    const int dx = place_.centreX - place_.scrollX;
    const int dy = place_.centreY - place_.scrollY;
    CClientDC window(window_);
    window.DrawFocusRect(RECT{zoomed.left + dx, zoomed.top + dy, zoomed.right + dx, zoomed.bottom + dy});
}
