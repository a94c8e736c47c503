// Deleting the files behind a picture, and what the picture information
// tells of the file.
#include <system_error>

#include "image_controller.h"
#include "picture_info.h"

namespace {

// False when the file is missing or could not be deleted.
bool DeleteExistingFile(const std::filesystem::path& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    return std::filesystem::remove(path, error) && !error;
}

}  // namespace

// Each file is tried even when an earlier one failed, but success is
// reported only when all of them went: a failed picture delete must not be
// hidden by a document delete that worked.
int CImageController::DeletePictureFiles() {
    if (owner_ == nullptr) {
        return 0;
    }
    bool allDeleted = DeleteExistingFile(picturePath_);
    if (model_.isDocument != 0) {
        allDeleted = DeleteExistingFile(model_.documentPath) && allDeleted;
    }
    return allDeleted ? 1 : 0;
}

void CImageController::ShowImageInfo() {
    if (owner_ == nullptr || !picture_ || host_ == nullptr) {
        return;
    }
    constexpr int kResolutionLabel = 45002;
    constexpr int kFileSizeLabel = 47061;
    host_->ShowImageInfo(ImageInfoText(picturePath_, picture_->GetWidth(), picture_->GetHeight(),
                                       FileSizeKB(picturePath_), host_->Text(kResolutionLabel),
                                       host_->Text(kFileSizeLabel)));
}
