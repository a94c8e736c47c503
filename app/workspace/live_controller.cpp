#include "live_controller.h"

#include <algorithm>

#include "cl_scale_bar.h"
#include "counting_grid.h"
#include "dc.h"
#include "gdi_objects.h"
#include "history_actions.h"
#include "line_figures.h"
#include "rendered_picture.h"

CLiveController::CLiveController() {
    SetSequenceNumber(-1);
    GetHistoryStore().CreateFolder(-1);
    SetZoom(1.0f);
    GetModel().PushStep(kHistoryLoad);
}

void CLiveController::ClearAll() {
    GetHistoryStore().TruncateAfter(0);
    GetSelection().clear();
    GetObjectList()->clear();
    GetCounterStyles()->Records().clear();
    GetModel().TypeCounters() = ObjectTypeCounters{};
    CanvasPlacement& place = GetCanvas().Placement();
    place.centreX = place.centreY = 0;
    SetScrollPosition(0, 0);
}

void CLiveController::SetOverlayWindow(HWND overlay) {
    if (overlay != overlay_) {
        back_.reset();
        redraw_ = 1;
    }
    overlay_ = overlay;
    // Counters already numbered on the live video keep their numbering.
    GetCounterStyles()->RegisterDefaults(static_cast<ColourRef>(counterColourKey));
}

void CLiveController::SetFrameSize(int width, int height) {
    frameWidth_ = width;
    frameHeight_ = height;
    CanvasPlacement& place = GetCanvas().Placement();
    place.zoomedWidth = static_cast<int>(static_cast<float>(width) * GetZoom());
    place.zoomedHeight = static_cast<int>(static_cast<float>(height) * GetZoom());
}

void CLiveController::Draw() {
    int width = 0;
    int height = 0;
    GetZoomedSize(width, height);
    if (!HasWindow() || overlay_ == nullptr || width <= 0 || height <= 0) {
        return;
    }
    if (redraw_ != 0 || !back_ || back_->GetWidth() != width || back_->GetHeight() != height) {
        CClientDC window(overlay_);
        auto back = std::make_unique<CMemoryDC>(&window, width, height);
        back_ = back->IsValid() ? std::move(back) : nullptr;
        redraw_ = 0;
    }
    if (back_) {
        back_->FillSolidRect(RECT{0, 0, width, height}, kColourKey);
    }
}

void CLiveController::Present() {
    if (!HasWindow() || overlay_ == nullptr || !back_) {
        return;
    }
    CClientDC window(overlay_);
    ::BitBlt(window.GetSafeHdc(), 0, 0, back_->GetWidth(), back_->GetHeight(), back_->GetSafeHdc(), 0, 0, SRCCOPY);
}

void CLiveController::DrawLiveObjects(CDC& dc) {
    DrawObjectList(dc, GetZoom(), 0, 0);
    if (GetInteraction().calibrationShown != 0) {
        CCL_Scale& line = GetCalibrationLine();
        line.scale = scale;
        line.unitText = unitText;
        line.Draw(&dc, GetZoom(), 0, 0);
    }
}

void CLiveController::Render(int redrawPicture) {
    if (!HasWindow() || overlay_ == nullptr) {
        return;
    }
    if (redrawPicture != 0) {
        redraw_ = 1;
    }
    Draw();
    if (!back_) {
        return;
    }
    DrawLiveObjects(*back_);
    Present();
}

int CLiveController::CreateToolObject(int tracking) {
    const ToolInteraction& ui = GetInteraction();
    if (tracking != 0 && ui.step == 0 && ui.tool != CCL_BiaoChi::kType) {
        // Nothing follows the mouse yet; the frame is drawn again all the
        // same.
        Render(0);
        return 0;
    }
    return CImageController::CreateToolObject(tracking);
}

void CLiveController::FinishToolFrame(CMemoryDC& back) { DrawLiveObjects(back); }

void CLiveController::DrawTrackRect() {
    const ToolInteraction& ui = GetInteraction();
    if (overlay_ == nullptr || ui.bandActive == 0) {
        return;
    }
    const RECT band{std::min(ui.bandFrom.x, ui.bandTo.x), std::min(ui.bandFrom.y, ui.bandTo.y),
                    std::max(ui.bandFrom.x, ui.bandTo.x), std::max(ui.bandFrom.y, ui.bandTo.y)};
    if (band.right - band.left <= 0 || band.bottom - band.top <= 0) {
        return;
    }
    CClientDC window(overlay_);
    window.DrawFocusRect(band);
}

int CLiveController::RenderToImage(const std::filesystem::path& path, int format) {
    if (path.empty()) {
        return 0;
    }
    const CPicture image(path, format);
    if (!image.IsValid()) {
        return 0;
    }
    // The snapshot keeps its own size: the objects, in camera pixels, are
    // scaled from the frame to it rather than the picture to the video as
    // shown, so no pixel of the snapshot is lost.
    const ZoomedSize size{image.GetWidth(), image.GetHeight()};
    const float zoom = frameWidth_ > 0 ? static_cast<float>(size.width) / static_cast<float>(frameWidth_) : 1.0f;
    const auto rendered = RenderPicture(size, [&](CDC& dc) {
        return DrawPictureWithObjects(dc, &image, size, zoom, *GetObjectList(), StylePainter());
    });
    return rendered && rendered->Save(path, format) ? 1 : 0;
}

void CLiveController::DrawCountingGrid(int /*unused*/) {
    if (gridWindow_ == nullptr) {
        return;
    }
    RECT client{};
    ::GetClientRect(gridWindow_, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    CClientDC window(gridWindow_);
    CMemoryDC buffer(&window, width, height);
    if (!buffer.IsValid()) {
        return;
    }
    buffer.FillSolidRect(RECT{0, 0, width, height}, kColourKey);
    if (frameWidth_ > 0 && frameHeight_ > 0) {
        // The frame fills the window's width; its cells keep their shape.
        GridPlacement place;
        place.pictureWidth = frameWidth_;
        place.pictureHeight = frameHeight_;
        place.zoom = static_cast<float>(width) / static_cast<float>(frameWidth_);
        place.zoomedWidth = width;
        place.zoomedHeight = height;
        CPen pen(PS_SOLID, 1, GetGridColour());
        CSelectObject selectPen(buffer, pen.GetSafeHandle());
        for (const GridSegment& line : CountingGridLines(place, GetGridCellWidth(), GetGridCellHeight())) {
            // Only lines inside the window: one on its far edge is not.
            if (line.x1 >= width || line.y1 >= height) {
                continue;
            }
            buffer.MoveTo(line.x1, line.y1);
            buffer.LineTo(line.x2, line.y2);
        }
    }
    ::BitBlt(window.GetSafeHdc(), 0, 0, width, height, buffer.GetSafeHdc(), 0, 0, SRCCOPY);
}
