// Saving and opening drawing documents.
#include "image_controller.h"

DocumentStatus CImageController::SaveDrawingFile(const std::filesystem::path& path) {
    // No object is stored selected or half dragged.
    ClearSelection();
    for (const auto& object : objects_) {
        object->state = CCLObject::kIdle;
    }
    Render(1);
    if (!picture_) {
        picture_ = std::make_unique<CPicture>();
    }
    return WriteDrawingFile(path, picture_.get(), pictureKind_, objects_, counterStyles_.Records());
}

DocumentStatus CImageController::LoadDrawingFile(const std::filesystem::path& path) {
    DrawingDocument document;
    const DocumentStatus status = ReadDrawingFile(path, document, makeObject_);
    if (status != DocumentStatus::ok) {
        return status;
    }
    // Only a document that opened marks the controller as holding it: the
    // mark makes deleting the picture delete the document file too.
    isDocument_ = 1;
    documentPath_ = path;
    loadPending_ = 0;
    pictureKind_ = document.pictureKind;
    picture_ = std::make_unique<CPicture>(std::move(document.picture));
    for (auto& object : document.objects) {
        objects_.push_back(std::move(object));
    }
    MergeCounterStyles(counterStyles_.Records(), document.counterStyles);
    typeCounters_ = document.counters;
    if (!counter_) {
        CreateCounter();
    }
    PushFirstStep();
    picturePath_ = history_.StepFolder(0) / CHistoryStore::kPictureFile;
    return DocumentStatus::ok;
}
