// The view's image fusion and stitching commands: they open their dialogs
// on pictures only, never while the video runs.
#include "mikra_view.h"
#include "resource.h"

void RegisterImagingCommands(CMikraView& view) {
    view.OnCommand(ID_TOOLS_FUSION, [&view] {
        if (view.m_imagingDialogs != nullptr && !view.IsVideoActive()) {
            view.m_imagingDialogs->RunFusion();
        }
    });
    view.OnCommand(ID_TOOLS_STITCHING, [&view] {
        if (view.m_imagingDialogs != nullptr && !view.IsVideoActive()) {
            view.m_imagingDialogs->RunStitching();
        }
    });
}
