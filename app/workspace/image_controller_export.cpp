// What the exports take from the controller: the spreadsheet program's
// version and the data bar's measurements, and the Office exports of the
// picture as drawn with its measurements.
#include <system_error>

#include "excel_version.h"
#include "image_controller.h"
#include "unique_temp_file.h"

std::wstring CImageController::GetExcelVersion() { return InstalledExcelVersion(); }

void CImageController::NotifyObjectAdded(const CCLObject& object) {
    if (workspaceBar_ != nullptr) {
        workspaceBar_->AddMeasurement(object);
    }
}

void CImageController::RefreshWorkspaceBar() {
    if (workspaceBar_ != nullptr) {
        workspaceBar_->SetMeasurements(objects_);
    }
}

std::filesystem::path CImageController::ExportScratchFolder() {
    std::error_code ec;
    const std::filesystem::path own = history_.DocumentFolder();
    if (std::filesystem::is_directory(own, ec)) return own;
    std::filesystem::create_directories(history_.GetBaseFolder(), ec);
    return history_.GetBaseFolder();
}

LocalTime CImageController::LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

namespace {

bool Exists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

// The picture is never written beside the user's own file: a name there
// could be one of the user's files, overwritten and then deleted.
void CImageController::ExportExcel() {
    if (officeExports_ == nullptr || owner_ == nullptr || !picture_) return;
    const OfficeExportOptions options = officeExports_->Options();
    std::unique_ptr<CUniqueTempFile> picture;
    std::filesystem::path picturePath;
    if (options.excelPicture) {
        // The spreadsheet program takes BMP and JPEG: a TIFF goes as BMP.
        const int kind = GetPictureKind() == 3 || GetPictureKind() == 0 ? 1 : GetPictureKind();
        picture = std::make_unique<CUniqueTempFile>(ExportScratchFolder(), "export", PictureKindExtension(kind));
        if (!picture->Path().empty() && SaveRenderedImage(picture->Path(), kind, GetZoom()) == 1) {
            picturePath = picture->Path();
        }
    }
    const std::filesystem::path target =
        ExcelExportTarget(options, officeExports_->ExportFolder(), GetExcelVersion(), LocalNow(), Exists);
    officeExports_->ExportExcel(objects_, counterStyles_.Records(), target, picturePath);
}

void CImageController::ExportWord() {
    if (officeExports_ == nullptr || owner_ == nullptr || !picture_) return;
    const OfficeExportOptions options = officeExports_->Options();
    const int kind = GetPictureKind() == 0 ? 1 : GetPictureKind();
    CUniqueTempFile picture(ExportScratchFolder(), "export", PictureKindExtension(kind));
    const float zoom = options.wordPictureAutoSize ? 1.0f : GetZoom();
    const float scale = options.wordPictureAutoSize ? -100.0f : 100.0f;
    std::filesystem::path picturePath;
    if (!picture.Path().empty() && SaveRenderedImage(picture.Path(), kind, zoom) == 1) picturePath = picture.Path();
    const std::filesystem::path target =
        FreeDocumentName(officeExports_->ExportFolder(), TimeStampedName(LocalNow()), Exists);
    officeExports_->ExportWord(objects_, target, picturePath, scale, wordTemplateNumber_, useWordTemplate_);
}
