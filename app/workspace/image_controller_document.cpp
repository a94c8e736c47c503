// Saving and opening drawing documents.
#include "image_controller.h"

DocumentStatus CImageController::SaveDrawingFile(const std::filesystem::path& path) {
    ClearSelection();
    const DocumentStatus status = model_.SaveDocument(path);
    Render(1);
    return status;
}

DocumentStatus CImageController::LoadDrawingFile(const std::filesystem::path& path) {
    const DocumentStatus status = model_.LoadDocument(path);
    if (status != DocumentStatus::ok) {
        return status;
    }
    loadPending_ = 0;
    if (!counter_) {
        CreateCounter();
    }
    PushFirstStep();
    picturePath_ = history_.StepFolder(0) / CHistoryStore::kPictureFile;
    return DocumentStatus::ok;
}
