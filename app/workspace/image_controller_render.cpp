// The picture with its objects drawn in at one zoom, from the top-left
// corner, through the one render helper (rendered_picture.h).
#include "image_controller.h"
#include "print_size_zoom.h"
#include "rendered_picture.h"

ObjectPainter CImageController::StylePainter() {
    return [this](CCLObject& object, CDC& dc, float zoom) {
        model_.ApplyScale(object);
        object.Draw(&dc, zoom, 0, 0);
    };
}

int CImageController::SaveRenderedImage(const std::filesystem::path& path, int imageType, float zoom) {
    if (owner_ == nullptr || !picture_ || !picture_->IsValid()) {
        return 0;
    }
    ClearSelection();
    // A zoom that leaves no pixel, or more than a picture may hold, writes
    // nothing rather than a broken file.
    const auto size = PrintedSize(picture_->GetWidth(), picture_->GetHeight(), zoom);
    if (!size) {
        return 0;
    }
    const auto rendered = RenderPicture(*size, [&](CDC& dc) {
        return DrawPictureWithObjects(dc, picture_.get(), *size, zoom, objects_, StylePainter());
    });
    return rendered && rendered->Save(path, imageType) ? 1 : 0;
}

int CImageController::RenderToImage(const std::filesystem::path& path, int format) {
    if (path.empty()) {
        return 0;
    }
    const CPicture image(path, format);
    if (!image.IsValid()) {
        return 0;
    }
    // The file is drawn at its own size, so the objects are drawn at zoom 1
    // whatever the view's zoom is.
    const ZoomedSize size{image.GetWidth(), image.GetHeight()};
    const auto rendered = RenderPicture(
        size, [&](CDC& dc) { return DrawPictureWithObjects(dc, &image, size, 1.0f, objects_, StylePainter()); });
    return rendered && rendered->Save(path, format) ? 1 : 0;
}

void CImageController::PrintCalibrated(HDC printer) {
    if (picture_) {
        printing_.Print(printer, owner_, *picture_, objects_);
    }
}
