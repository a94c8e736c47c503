// The controller's cursor for its mode, the Ctrl-key filter of the view's
// pre-translation and the mouse point the status bar shows.
#include "control_cursors.h"
#include "image_controller.h"
#include "mode_cursor.h"
#include "resource_module.h"

int CImageController::SetModeCursor() {
    CursorModes modes;
    modes.cursorStyle = cursorStyle_;
    modes.selecting = ui_.selectMode != 0;
    modes.regionOrCrop = ui_.cropMode != 0 || ui_.regionSelect != 0;
    modes.hitState = ui_.hoveredPart;
    const auto loads = [](int id) {
        return ::FindResourceW(GetResourceModule(), MAKEINTRESOURCEW(id), RT_GROUP_CURSOR) != nullptr;
    };
    if (const std::optional<int> id = ModeCursorId(modes, loads)) {
        ::SetCursor(ControlCursor(*id));
    }
    return 1;
}

int CImageController::FilterKey(const MSG& message) {
    if (message.message != WM_KEYDOWN) {
        return 0;
    }
    if (::GetKeyState(VK_CONTROL) >= 0) {
        ctrlHeld_ = 0;
        return 0;
    }
    ctrlHeld_ = 1;
    OnKeyDown(static_cast<UINT>(message.wParam));
    return 1;
}

TrackPoint CImageController::GetPicturePoint() const {
    return {static_cast<int>(static_cast<float>(ui_.current.x) / zoom_),
            static_cast<int>(static_cast<float>(ui_.current.y) / zoom_)};
}
