// The view's video commands: open and close video, recording and snapshots.
#include "mikra_view.h"
#include "resource.h"

void RegisterVideoCommands(CMikraView& view) {
    view.OnCommand(ID_VIDEO_OPEN, [&view] { view.OpenVideo(); });
    view.OnCommand(ID_VIDEO_CLOSE, [&view] { view.CloseVideo(); });
    view.OnCommand(ID_VIDEO_RECORD, [&view] { view.StartRecording(); });
    view.OnCommand(ID_VIDEO_RECORD_STOP, [&view] { view.StopRecording(); });
    view.OnCommand(ID_VIDEO_SNAPSHOT, [&view] { view.TakeSnapshot(); });
    view.OnCommand(ID_VIDEO_TIMED_CAPTURE, [&view] { view.ToggleTimedSnapshot(); });
    view.OnCommand(ID_VIDEO_FIXED_SNAPSHOT, [&view] { view.TakeFixedSnapshot(); });
    view.OnCommand(ID_VIDEO_FULL_SCREEN, [&view] { view.ShowFullScreenVideo(); });
}
