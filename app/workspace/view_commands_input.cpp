// Live measuring, the drawing cursor style and the region commands.
#include "mikra_view.h"
#include "resource.h"

void RegisterInputCommands(CMikraView& view) {
    view.OnCommand(ID_LIVE_MEASURE, [&view] { view.ToggleLiveMeasuring(); });
    view.OnCommand(ID_POINTER_ARROW, [&view] { view.m_cursorStyle = 0; });
    view.OnCommand(ID_POINTER_CROSS, [&view] { view.m_cursorStyle = 1; });
    view.OnCommand(ID_REGION_WHITE_BALANCE, [&view] { view.StartRegionMode(CMikraView::RegionMode::whiteBalance); });
    view.OnCommand(ID_REGION_AUTO_EXPOSURE, [&view] { view.StartRegionMode(CMikraView::RegionMode::exposure); });
}
