// The picture operations of the picture menu: the filter target changes the
// picture, the controller repaints it and records the step.
#include "history_actions.h"
#include "image_controller.h"

bool CImageController::RunFilter(bool (IImageFilterCommands::*filter)(CPicture&), int action) {
    if (owner_ == nullptr || !picture_ || filters_ == nullptr) {
        return false;
    }
    const int oldWidth = picture_->GetWidth();
    const int oldHeight = picture_->GetHeight();
    if (!(filters_->*filter)(*picture_)) {
        return false;
    }
    // A rotation changes the picture's size: the buffers follow it.
    if (picture_->GetWidth() != oldWidth || picture_->GetHeight() != oldHeight) {
        RebuildBuffers();
    }
    Render(1);
    PushHistory(action);
    return true;
}

void CImageController::Blur() { RunFilter(&IImageFilterCommands::Blur, kHistoryBlur); }
void CImageController::Sharpen() { RunFilter(&IImageFilterCommands::Sharpen, kHistorySharpen); }
void CImageController::Emboss() { RunFilter(&IImageFilterCommands::Emboss, kHistoryEmboss); }
void CImageController::Mirror() { RunFilter(&IImageFilterCommands::Mirror, kHistoryMirror); }
void CImageController::Negative() { RunFilter(&IImageFilterCommands::Negative, kHistoryNegative); }
void CImageController::EdgeDetect() { RunFilter(&IImageFilterCommands::EdgeDetect, kHistoryEdges); }
void CImageController::Rotate() { RunFilter(&IImageFilterCommands::Rotate, kHistoryRotate); }
void CImageController::HueSaturation() { RunFilter(&IImageFilterCommands::HueSaturation, kHistoryAdjust); }
void CImageController::AdjustRGB() { RunFilter(&IImageFilterCommands::AdjustRGB, kHistoryAdjustRgb); }
