// Enabling and check marks of the view's commands: the facts are gathered
// from the camera, the view and its controllers on every update, and the
// view's command rules decide.
#include "command_enabling.h"
#include "mikra_view.h"
#include "resource.h"

namespace {

ControllerFacts FactsOf(CImageController& controller) {
    const ToolInteraction& ui = controller.GetInteraction();
    ControllerFacts facts;
    facts.hasPicture = controller.HasWindow();
    facts.undoAvailable = !controller.GetHistoryStore().UndoList().empty();
    facts.redoAvailable = !controller.GetHistoryStore().RedoList().empty();
    facts.tool = ui.tool;
    facts.selectMode = ui.selectMode != 0;
    facts.cropMode = ui.cropMode != 0;
    facts.labelBackground = controller.labelBoxShown != 0;
    facts.selectedArea = controller.Floating().IsFloating() != 0;
    return facts;
}

CommandFacts GatherFacts(const CMikraView& view) {
    CommandFacts facts;
    if (const CCameraDevice* camera = view.GetCamera()) {
        CameraFacts& c = facts.camera;
        c.videoOpen = camera->IsVideoOpen() != 0;
        c.recording = camera->IsRecording() != 0;
        c.kind = static_cast<CameraKind>(camera->GetCameraKind());
        c.deviceTypeFlag = camera->CheckDeviceType() != 0;
        c.monochrome = camera->IsMonochrome() != 0;
        c.recordDisabled = camera->IsRecordDisabled() != 0;
        c.timedCapture = camera->IsTimedCapture() != 0;
        c.crossLine = camera->GetCrossLineEnabled() != 0;
        c.stretched = camera->IsStretched() != 0;
        c.blackWhite = camera->GetBW() != 0;
        c.lightAverage = camera->GetLightAVG() != 0;
        c.clearView = camera->GetClearView() != 0;
        c.videoZoom = camera->GetVideoZoom() != 0;
        c.exposureUnit = camera->GetExposureUnit();
        c.exposureUnitSupported = camera->IsExposureUnitSupported() != 0;
    }
    facts.liveMeasure = view.IsLiveMeasuring() != 0;
    facts.picture = FactsOf(*view.GetCurrentController());
    facts.live = FactsOf(view.GetLiveController());
    facts.countingGrid = view.IsCountingGridShown() != 0;
    facts.countingOutlines = view.GetCurrentController()->outlineShown != 0;
    return facts;
}

// Opens the clipboard for the picture's window, as the paste command does.
bool ClipboardHasBitmap(HWND owner) {
    if (!::OpenClipboard(owner)) {
        return false;
    }
    const bool available = ::IsClipboardFormatAvailable(CF_BITMAP) != FALSE;
    ::CloseClipboard();
    return available;
}

}  // namespace

void RegisterCommandUpdates(CMikraView& view) {
    for (const UINT id : view.CommandIds()) {
        view.OnUpdateCommand(id, [&view, id](CCommandState& state) {
            // A command the rules do not name is enabled, as any handled one.
            state.Enable(true);
            CommandFacts facts = GatherFacts(view);
            // Only the paste command asks the clipboard, which other
            // programs share.
            facts.clipboardHasBitmap = id == ID_EDIT_PASTE_PICTURE && ClipboardHasBitmap(view.GetSafeHwnd());
            const CommandUpdate update = UpdateCommand(facts, id);
            if (update.enabled) {
                state.Enable(*update.enabled);
            }
            if (update.checked) {
                state.SetCheck(*update.checked);
            }
        });
    }
}
