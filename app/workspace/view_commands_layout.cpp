// The view's zoom, stretch, capture-format and folder commands
// (mikra_view_layout.cpp).
#include "mikra_view.h"
#include "resource.h"

void RegisterLayoutCommands(CMikraView& view) {
    view.OnCommand(ID_PICTURE_ZOOM_IN, [&view] { view.Zoom(CMikraView::ZoomCommand::in); });
    view.OnCommand(ID_PICTURE_ZOOM_OUT, [&view] { view.Zoom(CMikraView::ZoomCommand::out); });
    view.OnCommand(ID_PICTURE_FIT, [&view] { view.Zoom(CMikraView::ZoomCommand::fit); });
    view.OnCommand(ID_PICTURE_ACTUAL_SIZE, [&view] { view.Zoom(CMikraView::ZoomCommand::actualSize); });
    view.OnCommand(ID_VIDEO_STRETCH, [&view] { view.ToggleStretch(); });
    view.OnCommand(ID_VIDEO_RESOLUTION, [&view] { view.ChooseCaptureFormat(); });
    view.OnCommand(ID_PICTURE_FOLDER, [&view] { view.ChooseFolder(ViewFolder::pictures); });
    view.OnCommand(ID_VIDEO_FOLDER, [&view] { view.ChooseFolder(ViewFolder::videos); });
    view.OnCommand(ID_EXPORT_FOLDER, [&view] { view.ChooseFolder(ViewFolder::exports); });
    view.OnCommand(ID_SELECT_CALIBRATION, [&view] { view.ChooseCalibration(); });
}
