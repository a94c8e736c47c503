#include "live_controller.h"

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
