// The controller's tool state machine: choosing a tool, building an object
// click by click on the tool's prototype, committing the finished copy,
// selecting, hovering, moving and nudging objects, the rubber band and the
// keyboard.
#include <algorithm>

#include "cl_arrow.h"
#include "cl_count.h"
#include "cl_scale_bar.h"
#include "cl_text.h"
#include "image_controller.h"
#include "line_figures.h"
#include "selection_editing.h"

namespace {

bool IsCounterOrArrow(const CCLObject& o) { return IsDragFixed(o); }

RECT Normalised(TrackPoint a, TrackPoint b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace

TrackPoint CImageController::ToTrackPoint(int x, int y) const {
    return {scrollX_ + std::clamp(x - centreX_, 0, std::max(zoomedWidth_, 0)),
            scrollY_ + std::clamp(y - centreY_, 0, std::max(zoomedHeight_, 0))};
}

void CImageController::SetTrackStart(int x, int y) {
    ui_.previous = ui_.current;
    ui_.current = ToTrackPoint(x, y);
}

void CImageController::SetTrackEnd(int x, int y) { ui_.press = ToTrackPoint(x, y); }

void CImageController::DrawObjectList(CDC& dc, float zoom, int offsetX, int offsetY) {
    for (const auto& object : objects_) {
        if (object->visible != 0) {
            model_.ApplyScale(*object);
            object->Draw(&dc, zoom, offsetX, offsetY);
        }
    }
}

void CImageController::DrawObjects(CDC& dc) {
    const int offsetX = scrollX_ - centreX_;
    const int offsetY = scrollY_ - centreY_;
    DrawObjectList(dc, zoom_, offsetX, offsetY);
    if (ui_.calibrationShown != 0) {
        CCL_Scale& line = prototypes_.CalibrationLine();
        line.scale = scale;
        line.unitText = unitText;
        line.Draw(&dc, zoom_, offsetX, offsetY);
    }
}

void CImageController::EndCountEditMode() {
    countEdit_.mode = kCountEditNone;
    countEdit_.pixelDrag = 0;
}

void CImageController::SetTool(int tool) {
    EndRegionSelect();
    ui_.step = 0;
    ui_.moving = 0;
    ui_.nudging = 0;
    ui_.bandActive = 0;
    ui_.selectMode = 0;
    ui_.cropMode = 0;
    EndCountEditMode();
    ui_.tool = tool;
    ui_.drawingMode = tool != 0 ? 1 : 0;
    if (tool != CCLArrow::kType) {
        CloseArrowPanel();  // the panel belongs to the arrow tool
    } else if (host_ != nullptr) {
        host_->ShowArrowPanel(GetArrowPrototype());
    }
    ClearSelection();
    Render(0);
}

void CImageController::SetSelectMode() {
    EndRegionSelect();
    EndCountEditMode();
    ui_.step = 0;
    ui_.moving = 0;
    ui_.nudging = 0;
    ui_.bandActive = 0;
    ui_.tool = 0;
    ui_.drawingMode = 0;
    ui_.selectMode = 1;
}

int CImageController::FinishEditing() {
    const int drawing = ui_.drawingMode;
    ui_.moving = 0;
    ui_.nudging = 0;
    ui_.bandActive = 0;
    if (drawing != 0) {
        ui_.step = 0;
    } else {
        if (ui_.regionSelect != 0) {
            DropFloatingPiece();
        }
        ui_.tool = 0;
    }
    return drawing;
}

void CImageController::CancelInteraction() {
    CloseArrowPanel();
    EndCountEditMode();
    EndRegionSelect();
    ui_.step = 0;
    ui_.moving = 0;
    ui_.nudging = 0;
    ui_.bandActive = 0;
    ui_.drawingMode = 0;
    ui_.selectMode = 0;
    ui_.cropMode = 0;
    ui_.tool = 0;
    Render(0);
}

bool CImageController::AskForText(std::u16string& text) const {
    if (host_ == nullptr) {
        return false;
    }
    // The question needs the mouse that the press captured.
    ::ReleaseCapture();
    auto answer = host_->AskAnnotationText({ui_.current.x + centreX_ - scrollX_, ui_.current.y + centreY_ - scrollY_});
    if (!answer) {
        return false;
    }
    text = std::move(*answer);
    return true;
}

CMemoryDC* CImageController::ToolBuffer() { return canvas_.BackBuffer(); }

TrackPoint CImageController::ToolOffset() const { return {scrollX_ - centreX_, scrollY_ - centreY_}; }

void CImageController::FinishToolFrame(CMemoryDC& back) {
    DrawObjects(back);
    if (gridShown_ != 0) {
        DrawCountingGrid(0);
    }
}

int CImageController::CreateToolObject(int tracking) {
    if (owner_ == nullptr || ToolBuffer() == nullptr) {
        return 0;
    }
    const int tool = ui_.tool;
    // Only the scale bar follows the mouse before its first click.
    if (tracking != 0 && ui_.step == 0 && tool != CCL_BiaoChi::kType) {
        return 0;
    }
    CCLObject* prototype = prototypes_.Get(tool);
    if (prototype == nullptr) {
        return 0;
    }
    if (ui_.step == 0) {
        prototypes_.ForEach([this](CCLObject& p) { model_.ApplyStyle(p); });
    }
    if (tool == CCLText::kType) {
        std::u16string text;
        if (tracking != 0 || !AskForText(text)) {
            return 0;
        }
        prototypes_.As<CCLText>(tool).text = std::move(text);
        tracking = 0;
    }
    if (tool == CCL_BiaoChi::kType) {
        auto& bar = prototypes_.As<CCL_BiaoChi>(tool);
        bar.value = scaleBar.value;
        bar.thickness = scaleBar.thickness;
        bar.barUnit = scaleBar.unitText;
        bar.background = scaleBar.background;
        bar.drawColour = scaleBar.colour;
    }
    Draw();
    CMemoryDC* back = ToolBuffer();
    if (back == nullptr) {
        return 0;
    }
    const TrackPoint offset = ToolOffset();
    const bool complete =
        prototype->Track(back, ui_.current.x, ui_.current.y, ui_.step, tracking != 0, zoom_, offset.x, offset.y);
    int finished = 0;
    if (complete && tool == CToolPrototypes::kCalibrationTool) {
        ClearSelection();
        selection_.push_back(prototype);
        ui_.tool = 0;
        ui_.calibrationShown = 1;
        ui_.drawingMode = 0;
        Render(0);
        return 0;
    }
    if (complete) {
        model_.NumberNew(*prototype);
        objects_.push_back(prototypes_.CopyOf(tool));
        PushHistory(1);
        NotifyObjectAdded(*objects_.back());
        finished = 1;
    }
    FinishToolFrame(*back);
    Present();
    return finished;
}

void CImageController::OnLButtonDown(UINT, int x, int y) {
    SetTrackStart(x, y);
    SetTrackEnd(x, y);
    if (owner_ != nullptr) {
        ::SetCapture(owner_);
    }
    if (ui_.drawingMode != 0) {
        CreateToolObject(0);
        return;
    }
    if (ui_.selectMode != 0 && HitTestObjects(1) != 0) {
        return;
    }
    if (PressCountEdit()) {
        return;
    }
    ui_.bandFrom = ui_.current;
    ui_.bandTo = ui_.current;
    ui_.bandActive = 1;
    DrawTrackRect();
}

void CImageController::OnMouseMove(UINT, int x, int y) {
    SetTrackStart(x, y);
    if (ui_.drawingMode != 0) {
        CreateToolObject(1);
    }
    if (ui_.bandActive != 0) {
        DrawTrackRect();
        ui_.bandTo = ui_.current;
        DrawTrackRect();
        if (ui_.selectMode != 0) {
            return;
        }
    }
    if (ui_.selectMode != 0) {
        if (ui_.moving == 0) {
            if (HitTestObjects(0) == 0) {
                Render(0);
            }
        } else {
            MoveSelection(0);
        }
    }
    MoveCountEdit();
}

void CImageController::OnLButtonUp(UINT, int x, int y) {
    SetTrackStart(x, y);
    if (!(ui_.drawingMode != 0 && ui_.step != 0)) {
        ::ReleaseCapture();
    }
    if (ui_.bandActive != 0) {
        DrawTrackRect();
        ui_.bandTo = ui_.current;
        ui_.bandActive = 0;
    }
    // A click beside the floating piece puts it down where it lies; the band
    // is erased first, as the drop paints the window again.
    DropFloatingPiece();
    if (!LiftBand() && ui_.selectMode != 0) {
        MoveSelection(1);
        ui_.moving = 0;
        const RECT r = Normalised(ui_.bandFrom, ui_.bandTo);
        if (r.right - r.left > 0 && r.bottom - r.top > 0) {
            SelectInRect(r.left, r.top, r.right, r.bottom);
        }
    } else if (ui_.cropMode != 0) {
        CropToBand();
    }
    ReleaseCountEdit();
    ui_.bandFrom = ui_.bandTo = TrackPoint{};
}

// A double click ends a curve or polygon on its last point. When its first
// press already ended the figure, it does not start another one.
void CImageController::OnLButtonDblClk(UINT, int, int) {
    if (ui_.step == 0) {
        return;
    }
    if ((ui_.drawingMode != 0 && ui_.tool == 11) || ui_.tool == 12) {
        CreateToolObject(0);
    }
}

int CImageController::HitTestObjects(int click) {
    ui_.step = 0;
    ui_.tool = 0;
    if (click != 0 || ui_.calibrationShown != 0) {
        ui_.moved = 0;
        for (std::size_t i = 0; i < selection_.size(); ++i) {
            CCLObject* o = selection_[i];
            const std::int32_t before = o->state;
            if (!o->HitTest(ui_.current.x, ui_.current.y, zoom_)) {
                continue;
            }
            if (ui_.replaceSelection != 0) {
                if (before == CCLObject::kSelectedWhole) {
                    o->state = CCLObject::kSelectedWhole;
                }
                if (!IsCounterOrArrow(*o)) {
                    ui_.hoveredPart = o->state;
                }
                if (click != 0) {
                    ui_.moving = 1;
                }
                return 1;
            }
            if (before != CCLObject::kIdle) {
                o->state = CCLObject::kIdle;
                o->activeHandle = 0;
                selection_.erase(selection_.begin() + static_cast<std::ptrdiff_t>(i));
                Render(0);
            }
            return 1;
        }
    }
    for (const auto& owned : objects_) {
        CCLObject* o = owned.get();
        const std::int32_t before = o->state;
        if (!IsCounterOrArrow(*o)) {
            ui_.hoveredPart = before;
        }
        if (!o->HitTest(ui_.current.x, ui_.current.y, zoom_)) {
            continue;
        }
        if (click == 0) {
            // Painted in the state the hover hit, then left as it was.
            Render(0);
            if (before != CCLObject::kSelectedWhole && !IsCounterOrArrow(*o)) {
                ui_.hoveredPart = o->state;
            }
            o->state = before;
            return 1;
        }
        if (ui_.replaceSelection != 0) {
            const std::int32_t part = o->state;
            const std::int32_t handle = o->activeHandle;
            ClearSelection();
            o->state = part;
            o->activeHandle = handle;
            selection_.push_back(o);
        } else {
            for (CCLObject* s : selection_) {
                s->state = CCLObject::kSelectedWhole;
            }
            if (std::find(selection_.begin(), selection_.end(), o) == selection_.end()) {
                selection_.push_back(o);
            }
            o->state = CCLObject::kSelectedWhole;
        }
        ui_.moving = 1;
        Render(0);
        return 1;
    }
    ui_.hoveredPart = 0;
    return 0;
}

int CImageController::SelectInRect(int x1, int y1, int x2, int y2) {
    if (!::SelectInRect(model_, ui_, PixelRect{x1, y1, x2, y2}, zoom_)) {
        return 0;
    }
    Render(0);
    return 1;
}

void CImageController::ClearSelection() {
    ui_.moving = 0;
    ui_.replaceSelection = 1;
    model_.DeselectAll();
    ui_.calibrationShown = 0;
    Render(0);
}

void CImageController::MoveSelection(int finish) {
    if (ui_.moving == 0) {
        return;
    }
    if (::MoveSelection(model_, ui_, finish != 0, zoom_)) {
        PushHistory(3);
        RefreshWorkspaceBar();
    }
    Render(0);
}

void CImageController::NudgeSelection(int left, int up, int right, int down, int finish, int labelOnly) {
    if (ui_.nudging == 0) {
        return;
    }
    if (::NudgeSelection(model_, ui_, {left, up}, {right, down}, finish != 0, labelOnly != 0, zoom_)) {
        PushHistory(3);
        RefreshWorkspaceBar();
    }
    Render(0);
}

void CImageController::DeleteSelection() {
    if (owner_ == nullptr) {
        return;
    }
    if (ui_.calibrationShown != 0) {
        ClearSelection();
        return;
    }
    if (selection_.empty()) {
        return;
    }
    model_.DeleteSelection();
    ui_.calibrationShown = 0;
    PushHistory(2);
    RefreshWorkspaceBar();
    Render(0);
}

void CImageController::RenumberType(int type) { model_.RenumberType(type); }

void CImageController::OnKeyDown(UINT key) {
    if (OnRegionKey(key)) {
        return;
    }
    const int labelOnly = selection_.size() < 2 ? 1 : 0;
    switch (key) {
    case VK_CONTROL:
        if (ui_.calibrationShown == 0) {
            ui_.replaceSelection = 0;
        }
        return;
    case VK_ESCAPE:
        DropFloatingPiece();
        if (!selection_.empty()) {
            ClearSelection();
        }
        ui_.step = 0;
        Render(0);
        return;
    case VK_LEFT:
        ui_.nudging = 1;
        NudgeSelection(1, 0, 0, 0, 0, labelOnly);
        return;
    case VK_UP:
        ui_.nudging = 1;
        NudgeSelection(0, 1, 0, 0, 0, labelOnly);
        return;
    case VK_RIGHT:
        ui_.nudging = 1;
        NudgeSelection(0, 0, 1, 0, 0, labelOnly);
        return;
    case VK_DOWN:
        ui_.nudging = 1;
        NudgeSelection(0, 0, 0, 1, 0, labelOnly);
        return;
    case 'A':
        ui_.nudging = 1;
        NudgeSelection(1, 0, 0, 0, 0, 0);
        return;
    case 'W':
        ui_.nudging = 1;
        NudgeSelection(0, 1, 0, 0, 0, 0);
        return;
    case 'D':
        ui_.nudging = 1;
        NudgeSelection(0, 0, 1, 0, 0, 0);
        return;
    case 'S':
        ui_.nudging = 1;
        NudgeSelection(0, 0, 0, 1, 0, 0);
        return;
    case VK_DELETE:
        DeleteSelection();
        Render(0);
        return;
    case VK_SPACE:
        if (ui_.calibrationShown != 0) {
            ConfirmCalibrationLine(prototypes_.CalibrationLine());
        }
        return;
    case 'E':
    case 'Q':
        if (selection_.size() == 1) {
            selection_.front()->CycleHandle(key == 'Q');
            Render(0);
        }
        return;
    default: return;
    }
}

void CImageController::OnKeyUp(UINT key) {
    switch (key) {
    case VK_CONTROL: ui_.replaceSelection = 1; return;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case 'A':
    case 'W':
    case 'D':
    case 'S':
        NudgeSelection(0, 0, 0, 0, 1, 0);
        ui_.nudging = 0;
        Render(0);
        return;
    default: return;
    }
}

void CImageController::DrawTrackRect() {
    if (owner_ == nullptr || ui_.bandActive == 0) {
        return;
    }
    canvas_.DrawFocusRect(Normalised(ui_.bandFrom, ui_.bandTo));
}
