// Cell-counting commands of the view: the counting grid over the picture and
// the counting dialogs of the current picture. Counting works on pictures
// only, never on the running video.
#include "mikra_view.h"
#include "resource.h"
#include "wait_progress_dlg.h"

namespace {

// The engine's progress as the busy dialog asks it.
class CountingProgress final : public IEngineProgress {
public:
    explicit CountingProgress(const CIMGCount& engine) : engine_(engine) {}
    int getResultStation() override { return engine_.getResultStation(); }
    int getCurrentNum() override { return engine_.getCurrentNum(); }
    int getObjCounts() override { return engine_.getObjCounts(); }
    int IsProgressing() override { return 0; }
    int getProgressStep() override { return 0; }

private:
    const CIMGCount& engine_;
};

}  // namespace

void CMikraView::SetCountingDialogs(ICountingDialogs* dialogs) {
    m_countingDialogs = dialogs;
    for (const std::unique_ptr<CImageController>& controller : m_controllers) {
        controller->SetCountingDialogs(dialogs);
    }
}

void CMikraView::ToggleCountingGrid() {
    if (IsVideoActive()) {
        return;
    }
    m_bGridShown = m_bGridShown ? 0 : 1;
    if (m_bGridShown) {
        m_current->LoadCalibration();
    }
    m_current->ShowCountingGrid(m_bGridShown);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CMikraView::ManualCount() {
    if (!IsVideoActive()) {
        m_current->ManualCount();
    }
}

void CMikraView::SetCountRegion() {
    if (!IsVideoActive()) {
        m_current->SetCountRegion();
    }
}

void CMikraView::ShowCountResults() {
    CIMGCount* engine = IsVideoActive() ? nullptr : m_current->GetCounter();
    if (engine == nullptr || !engine->creatAimImg()) {
        return;
    }
    if (engine->getResultStation() == 1) {
        CountingProgress progress(*engine);
        CWaitProgressDlg wait(m_hWnd);
        wait.SetEngine(&progress, CWaitProgressDlg::kCounting);
        wait.DoModal();
    }
    m_current->ShowCountResults();
}

void CMikraView::EditGridPlate() {
    if (m_gridPlateDialog == nullptr || (m_camera && m_camera->IsRecording())) {
        return;
    }
    if (!m_gridPlateDialog->EditGridPlate(m_controllerHost.SelectedCalibration())) {
        return;
    }
    // The grid shown takes the cell size and colour just written.
    CImageController* target = GetTargetController();
    if (target != nullptr && m_bGridShown) {
        target->LoadCalibration();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

namespace {

// The mouse's counting mode of each edit command: mode, pen size, erase flag.
struct CountEditCommand {
    UINT id;
    int mode;
    int penSize;
    int erase;
};
constexpr CountEditCommand kCountEditCommands[] = {
    {ID_COUNT_REGION_GROWING, kCountEditGrow, 3, 1}, {ID_COUNT_DELETE_CELL, kCountEditDelete, 3, 1},
    {ID_COUNT_ERASER_SMALL, kCountEditEraser, 0, 1}, {ID_COUNT_ERASER_MEDIUM, kCountEditEraser, 3, 1},
    {ID_COUNT_ERASER_LARGE, kCountEditEraser, 5, 1}, {ID_COUNT_PEN_SMALL, kCountEditPen, 0, 0},
    {ID_COUNT_PEN_MEDIUM, kCountEditPen, 3, 0},      {ID_COUNT_PEN_LARGE, kCountEditPen, 5, 0},
    {ID_COUNT_SPLIT_LINE, kCountEditSplit, 3, 1},
};

}  // namespace

void RegisterCountingCommands(CMikraView& view) {
    // Counting edits work on pictures only, never on the running video.
    const auto onPicture = [&view](auto&& run) {
        return [&view, run] {
            if (!view.IsVideoActive()) {
                run(*view.m_current);
            }
        };
    };
    for (const CountEditCommand& c : kCountEditCommands) {
        view.OnCommand(c.id, onPicture([c](CImageController& picture) {
                           const CountEditState& state = picture.GetCountEditState();
                           // The pen commands leave the size of the modes that keep it.
                           const bool sized = c.mode == kCountEditEraser || c.mode == kCountEditPen;
                           picture.SetCountEditMode(c.mode, sized ? c.penSize : state.penSize,
                                                    sized ? c.erase : state.erase);
                       }));
    }
    view.OnCommand(ID_COUNT_AUTOMATIC, onPicture([](CImageController& picture) { picture.DetectEdges(); }));
    view.OnCommand(ID_COUNT_FILL_HOLES, onPicture([](CImageController& picture) { picture.FillHoles(); }));
    view.OnCommand(ID_COUNT_SHOW_OUTLINE,
                   onPicture([](CImageController& picture) { picture.ShowOutline(picture.outlineShown != 0 ? 0 : 1); }));
    view.OnCommand(ID_COUNT_COLOR, onPicture([&view](CImageController& picture) {
                       if (const auto colour = view.m_colourFontDialogs->ChooseColour(
                               view.m_hWnd, static_cast<COLORREF>(picture.markColour))) {
                           picture.SetCountColor(*colour);
                       }
                   }));
    view.OnCommand(ID_COUNT_GRID, [&view] { view.ToggleCountingGrid(); });
    view.OnCommand(ID_COUNT_MANUAL, [&view] { view.ManualCount(); });
    view.OnCommand(ID_COUNT_RESULTS, [&view] { view.ShowCountResults(); });
    view.OnCommand(ID_COUNT_REGION_SETTINGS, [&view] { view.SetCountRegion(); });
    view.OnCommand(ID_COUNT_GRID_SETTINGS, [&view] { view.EditGridPlate(); });
}
