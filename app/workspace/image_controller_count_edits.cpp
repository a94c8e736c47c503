// The counting edits of the mouse and of the view's counting commands: the
// engine's operation each calls, the picture repainted and the history step
// that follows a change.
#include <algorithm>

#include "count_edit_point.h"
#include "history_actions.h"
#include "image_controller.h"

namespace {

class BusyCursor {
public:
    BusyCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~BusyCursor() { ::SetCursor(previous_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    HCURSOR previous_;
};

// The engine's 24-bit rows (padded to 4 bytes) over the picture's, row by
// row; false when the picture is not 24-bit or the source is too short.
bool CopySourceRows(std::span<const std::uint8_t> source, CPicture& picture) {
    const int width = picture.GetWidth();
    const int height = picture.GetHeight();
    const std::size_t stride = BgrStride(width);
    if (picture.GetBpp() != 24 || width <= 0 || source.size() / stride < static_cast<std::size_t>(height)) {
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<std::size_t>(y)), rowBytes,
                    picture.GetBits(y));
    }
    return true;
}

}  // namespace

void CImageController::SetCountEditMode(int mode, int penSize, int erase) {
    ui_.step = 0;
    ui_.moving = 0;
    ui_.nudging = 0;
    ui_.bandActive = 0;
    ui_.drawingMode = 0;
    ui_.selectMode = 0;
    ui_.tool = 0;
    countEdit_ = CountEditState{};
    countEdit_.mode = mode;
    countEdit_.penSize = penSize;
    countEdit_.erase = erase;
}

void CImageController::DetectEdges() {
    if (!CanEditCount() || !counter_->creatEdgeImg(0, 0, 1)) {
        return;
    }
    PaintCountMarks();
    PushHistory(kHistoryAutoCount);
    Render(1);
}

void CImageController::DetectEdgesAtPoint(int x, int y) {
    if (!CanEditCount()) {
        return;
    }
    const EnginePixel p = EnginePixelAt(x, y, zoom_, picture_->GetWidth(), picture_->GetHeight());
    if (counter_->creatEdgeImgByPoint(p.x, p.y) == 0) {
        return;
    }
    PaintCountMarks();
    PushHistory(kHistorySingleCount);
    Render(1);
}

void CImageController::SetCountColor(COLORREF colour) {
    markColour = static_cast<int>(colour);
    if (!CanEditCount()) {
        return;
    }
    counter_->setMarkColor(static_cast<std::uint32_t>(colour));
    PaintCountMarks();
    Render(1);
}

void CImageController::ShowOutline(int shown) {
    outlineShown = shown;
    if (!CanEditCount()) {
        return;
    }
    PaintCountMarks();
    Render(1);
}

void CImageController::FillHoles() {
    if (!CanEditCount()) {
        return;
    }
    BusyCursor busy;
    // Row by row: a copy of width x height x 3 bytes as one block would
    // shear every row after the first where rows are padded.
    if (!CopySourceRows(counter_->getSrcImgBits(), *picture_)) {
        return;
    }
    const int changed = counter_->FillOutLine(picture_->Pixels(), outlineShown != 0);
    if (changed != 0) {
        PushHistory(kHistoryFillHoles);
    }
    Render(1);
}

void CImageController::EditObjectPixels(int x, int y) {
    if (!CanEditCount()) {
        return;
    }
    const EnginePixel p = EnginePixelAt(x, y, zoom_, picture_->GetWidth(), picture_->GetHeight());
    if (counter_->ErasureOrCreatObjByPix(picture_->Pixels(), p.x, p.y, countEdit_.penSize, countEdit_.erase != 0) ==
        0) {
        return;
    }
    countEdit_.pixelsChanged = 1;
    Render(1);
}

void CImageController::EndPixelEdit() {
    if (!CanEditCount() || countEdit_.pixelsChanged == 0) {
        return;
    }
    counter_->RefCountsResultList();
    PushHistory(countEdit_.erase != 0 ? kHistoryCellEraser : kHistoryCellPen);
    countEdit_.pixelsChanged = 0;
}

void CImageController::EraseObjectAtPoint(int x, int y) {
    if (!CanEditCount()) {
        return;
    }
    const EnginePixel p = EnginePixelAt(x, y, zoom_, picture_->GetWidth(), picture_->GetHeight());
    if (counter_->erasureObjByPoint(picture_->Pixels(), p.x, p.y, outlineShown != 0) == 0) {
        return;
    }
    PushHistory(kHistoryDeleteCell);
    Render(1);
}

void CImageController::CutObjectsByLine(int x1, int y1, int x2, int y2) {
    if (!CanEditCount()) {
        return;
    }
    const int width = picture_->GetWidth();
    const int height = picture_->GetHeight();
    const EnginePixel from = EnginePixelAt(x1, y1, zoom_, width, height);
    const EnginePixel to = EnginePixelAt(x2, y2, zoom_, width, height);
    if (counter_->cutObjByLine(from.x, from.y, to.x, to.y, 2, 1) == 0) {
        return;
    }
    PaintCountMarks();
    PushHistory(kHistorySplitCells);
    Render(1);
}

void CImageController::InvertCutLine(TrackPoint to) {
    CClientDC window(owner_);
    const int dx = centreX_ - scrollX_;
    const int dy = centreY_ - scrollY_;
    CPen pen(PS_DASH, 2, static_cast<COLORREF>(drawColour));
    CSelectObject selectPen(window, pen.GetSafeHandle());
    const int oldMode = ::SetROP2(window.GetSafeHdc(), R2_NOT);
    window.MoveTo(ui_.press.x + dx, ui_.press.y + dy);
    window.LineTo(to.x + dx, to.y + dy);
    ::SetROP2(window.GetSafeHdc(), oldMode);
}

void CImageController::DrawCutLine() {
    if (owner_ == nullptr) {
        return;
    }
    if (countEdit_.cutLineShown != 0) {
        InvertCutLine(countEdit_.cutLineEnd);
    }
    InvertCutLine(ui_.current);
    countEdit_.cutLineEnd = ui_.current;
    countEdit_.cutLineShown = 1;
}

bool CImageController::PressCountEdit() {
    switch (countEdit_.mode) {
    case kCountEditGrow: DetectEdgesAtPoint(ui_.current.x, ui_.current.y); return true;
    case kCountEditEraser:
    case kCountEditPen:
        countEdit_.pixelDrag = 1;
        EditObjectPixels(ui_.current.x, ui_.current.y);
        return true;
    case kCountEditSplit:
        countEdit_.pixelDrag = 1;
        countEdit_.cutLineShown = 0;
        DrawCutLine();
        return true;
    case kCountEditDelete: EraseObjectAtPoint(ui_.current.x, ui_.current.y); return true;
    default: return false;
    }
}

void CImageController::MoveCountEdit() {
    if (countEdit_.pixelDrag == 0) {
        return;
    }
    if (countEdit_.mode == kCountEditEraser || countEdit_.mode == kCountEditPen) {
        EditObjectPixels(ui_.current.x, ui_.current.y);
    } else if (countEdit_.mode == kCountEditSplit) {
        DrawCutLine();
    }
}

void CImageController::ReleaseCountEdit() {
    // A release without its press (the press went to another window) edits
    // nothing.
    if (countEdit_.pixelDrag == 0) {
        return;
    }
    countEdit_.pixelDrag = 0;
    if (countEdit_.mode == kCountEditEraser || countEdit_.mode == kCountEditPen) {
        EndPixelEdit();
    } else if (countEdit_.mode == kCountEditSplit) {
        ui_.step = 0;
        if (countEdit_.cutLineShown != 0 && owner_ != nullptr) {
            InvertCutLine(countEdit_.cutLineEnd);
        }
        countEdit_.cutLineShown = 0;
        CutObjectsByLine(ui_.press.x, ui_.press.y, ui_.current.x, ui_.current.y);
    }
}
