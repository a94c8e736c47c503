// The picture with its objects drawn in at one zoom, from the top-left
// corner: the rendered saves, the render into a picture file and printing
// at the calibrated size all draw through DrawPictureWithObjects, so the
// objects land where the picture is whatever the zoom.
#include "image_controller.h"
#include "picture_gdi.h"
#include "print_size_zoom.h"
#include "rendered_picture.h"

namespace {

// An object dressed for the printer while it draws: the label font scaled
// from the screen's to the printer's resolution (the sign, which tells cell
// from character height, kept), the print scale and unit. Everything is put
// back afterwards, so the screen, saves and exports never see the print
// style.
class PrintDress {
public:
    struct Resolution {
        int printerX = 0;
        int printerY = 0;
        int screenX = 0;
        int screenY = 0;
    };

    PrintDress(CCLObject& object, const Resolution& dpi, float scale, const std::u16string& unit)
        : object_(object),
          font_(object.font),
          labelFont_(object.label.font),
          scale_(object.scale),
          unit_(object.unitText) {
        if (dpi.screenX > 0 && dpi.screenY > 0) {
            object.font.height = ::MulDiv(object.font.height, dpi.printerY, dpi.screenY);
            object.font.width = ::MulDiv(object.font.width, dpi.printerX, dpi.screenX);
        }
        object.label.font = object.font;
        object.scale = scale;
        object.unitText = unit;
        object.label.dirty = 1;
    }
    ~PrintDress() {
        object_.font = font_;
        object_.label.font = labelFont_;
        object_.scale = scale_;
        object_.unitText = unit_;
        object_.label.dirty = 1;
    }
    PrintDress(const PrintDress&) = delete;
    PrintDress& operator=(const PrintDress&) = delete;

private:
    CCLObject& object_;
    LogFont font_;
    LogFont labelFont_;
    float scale_;
    std::u16string unit_;
};

}  // namespace

bool CImageController::DrawPictureWithObjects(CDC& dc, const CPicture& picture, ZoomedSize size, float zoom,
                                              const ObjectPainter& paint) {
    if (!picture_gdi::Draw(picture, dc.GetSafeHdc(), 0, 0, size.width, size.height)) {
        return false;
    }
    if (paint) {
        for (const auto& object : objects_) {
            if (object->visible != 0) {
                paint(*object, dc, zoom);
            }
        }
    }
    return true;
}

CImageController::ObjectPainter CImageController::StylePainter() {
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
    const auto rendered = RenderPicture(
        *size, [&](CDC& dc) { return DrawPictureWithObjects(dc, *picture_, *size, zoom, StylePainter()); });
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
    const auto rendered =
        RenderPicture(size, [&](CDC& dc) { return DrawPictureWithObjects(dc, image, size, 1.0f, StylePainter()); });
    return rendered && rendered->Save(path, format) ? 1 : 0;
}

void CImageController::PrintCalibrated(HDC printer) {
    if (printer == nullptr || owner_ == nullptr || !picture_ || !picture_->IsValid()) {
        return;
    }
    CDC page(printer);
    const DeviceMetrics metrics{page.GetDeviceCaps(HORZRES), page.GetDeviceCaps(HORZSIZE)};
    const auto zoom = PrintSizeZoom(picture_->GetWidth(), printUnitText, printScale, printMagnification, metrics);
    if (!zoom) {
        return;
    }
    const auto size = PrintedSize(picture_->GetWidth(), picture_->GetHeight(), *zoom);
    if (!size) {
        return;
    }
    PrintDress::Resolution dpi{page.GetDeviceCaps(LOGPIXELSX), page.GetDeviceCaps(LOGPIXELSY), 0, 0};
    {
        CClientDC screen(owner_);
        dpi.screenX = screen.GetDeviceCaps(LOGPIXELSX);
        dpi.screenY = screen.GetDeviceCaps(LOGPIXELSY);
    }
    DrawPictureWithObjects(page, *picture_, *size, *zoom, [&](CCLObject& object, CDC& dc, float objectZoom) {
        const PrintDress dressed(object, dpi, printScale, printUnitText);
        object.Draw(&dc, objectZoom, 0, 0);
    });
}
