#include "live_controller.h"

#include "dc.h"
#include "line_figures.h"
#include "rendered_picture.h"

CLiveController::CLiveController() { SetSequenceNumber(-1); }

void CLiveController::ClearAll() {
    GetSelection().clear();
    GetObjectList()->clear();
}

void CLiveController::SetOverlayWindow(HWND overlay) {
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

void CLiveController::Render(int) {
    int width = 0;
    int height = 0;
    GetZoomedSize(width, height);
    if (!HasWindow() || overlay_ == nullptr || width <= 0 || height <= 0) {
        return;
    }
    CClientDC window(overlay_);
    CMemoryDC back(&window, width, height);
    if (!back.IsValid()) {
        return;
    }
    back.FillSolidRect(RECT{0, 0, width, height}, kColourKey);
    const float zoom = GetZoom();
    DrawPictureWithObjects(back, nullptr, ZoomedSize{width, height}, zoom, *GetObjectList(), StylePainter());
    if (GetInteraction().calibrationShown != 0) {
        CCL_Scale& line = GetCalibrationLine();
        line.scale = scale;
        line.unitText = unitText;
        line.Draw(&back, zoom, 0, 0);
    }
    ::BitBlt(window.GetSafeHdc(), 0, 0, width, height, back.GetSafeHdc(), 0, 0, SRCCOPY);
}
