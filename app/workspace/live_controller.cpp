#include "live_controller.h"

namespace {
// The counters a live measurement starts with: circle, square and diamond,
// each numbered from 1 at size 15.
constexpr int kDefaultCounterTypes[] = {14, 16, 15};
constexpr int kDefaultCounterSize = 15;
}  // namespace

CLiveController::CLiveController() { SetSequenceNumber(-1); }

void CLiveController::ClearAll() {
    GetSelection().clear();
    GetObjectList()->clear();
}

void CLiveController::SetOverlayWindow(HWND overlay) {
    overlay_ = overlay;
    for (const int type : kDefaultCounterTypes) {
        SetCounterStyle(static_cast<ColourRef>(counterColourKey), 1, kDefaultCounterSize, type);
    }
}

void CLiveController::SetFrameSize(int width, int height) {
    frameWidth_ = width;
    frameHeight_ = height;
    CanvasPlacement& place = GetCanvas().Placement();
    place.zoomedWidth = static_cast<int>(static_cast<float>(width) * GetZoom());
    place.zoomedHeight = static_cast<int>(static_cast<float>(height) * GetZoom());
}
