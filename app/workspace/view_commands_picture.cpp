// The picture menu's operations, blur to RGB: each works on the current
// picture, never while video runs, after ending any interaction; the
// controller records the step when its picture changed. A rotation changes
// the picture's size, which the status bar and the view then show.
#include "mikra_view.h"
#include "resource.h"

void RegisterPictureCommands(CMikraView& view) {
    struct Command {
        UINT id;
        void (CImageController::*run)();
    };
    static constexpr Command kCommands[] = {
        {ID_PICTURE_BLUR, &CImageController::Blur},
        {ID_PICTURE_SHARPEN, &CImageController::Sharpen},
        {ID_PICTURE_EMBOSS, &CImageController::Emboss},
        {ID_PICTURE_MIRROR, &CImageController::Mirror},
        {ID_PICTURE_NEGATIVE, &CImageController::Negative},
        {ID_PICTURE_EDGES, &CImageController::EdgeDetect},
        {ID_PICTURE_ROTATE, &CImageController::Rotate},
        {ID_PICTURE_HUE_SATURATION, &CImageController::HueSaturation},
        {ID_PICTURE_ADJUST_RGB, &CImageController::AdjustRGB},
    };
    for (const Command& command : kCommands) {
        view.OnCommand(command.id, [&view, command] {
            if (view.IsVideoActive()) {
                return;
            }
            view.m_current->CancelInteraction();
            (view.m_current->*command.run)();
            if (command.id == ID_PICTURE_ROTATE) {
                view.ShowPictureSizeStatus();
                InvalidateRect(view.m_hWnd, nullptr, TRUE);
            }
        });
    }
}
