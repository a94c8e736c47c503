// What the saves and the exports take from the controller: the picture with
// its objects drawn in, and the spreadsheet program's version.
#include <cstdint>

#include "dc.h"
#include "excel_version.h"
#include "image_controller.h"
#include "picture_gdi.h"

namespace {

// The pixels of a 32-bit DIB section as a 24-bit picture.
CPicture PictureOf(const CMemoryDC& bitmap) {
    const int width = bitmap.GetWidth();
    const int height = bitmap.GetHeight();
    CPicture picture(width, height, 24, kPictureBmp);
    for (int y = 0; y < height; ++y) {
        // Picture rows count from the bottom.
        std::uint8_t* row = picture.GetBits(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = bitmap.GetPixelRGB(x, y);
            row[3 * x] = static_cast<std::uint8_t>(rgb & 0xFF);
            row[3 * x + 1] = static_cast<std::uint8_t>((rgb >> 8) & 0xFF);
            row[3 * x + 2] = static_cast<std::uint8_t>((rgb >> 16) & 0xFF);
        }
    }
    return picture;
}

}  // namespace

int CImageController::SaveRenderedImage(const std::filesystem::path& path, int imageType, float zoom) {
    if (owner_ == nullptr || !picture_ || !picture_->IsValid()) {
        return 0;
    }
    ClearSelection();
    const double width = static_cast<double>(picture_->GetWidth()) * zoom;
    const double height = static_cast<double>(picture_->GetHeight()) * zoom;
    // A zoom that leaves no pixel, or more than a picture may hold, writes
    // nothing rather than a broken file.
    if (!(width >= 1.0 && height >= 1.0 && width <= CPicture::kMaxSide && height <= CPicture::kMaxSide) ||
        !CPicture::IsSizeAllowed(static_cast<std::int64_t>(width), static_cast<std::int64_t>(height))) {
        return 0;
    }
    CMemoryDC bitmap(nullptr, static_cast<int>(width), static_cast<int>(height), CMemoryDC::Kind::dibSection);
    if (!bitmap.IsValid() ||
        !picture_gdi::Draw(*picture_, bitmap.GetSafeHdc(), 0, 0, bitmap.GetWidth(), bitmap.GetHeight())) {
        return 0;
    }
    DrawObjectList(bitmap, zoom, 0, 0);
    ::GdiFlush();
    return PictureOf(bitmap).Save(path, imageType) ? 1 : 0;
}

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
