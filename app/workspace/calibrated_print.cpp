#include "calibrated_print.h"

#include "dc.h"
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

void CCalibratedPrint::Print(HDC printer, HWND screen, const CPicture& picture, ObjectList& objects) const {
    if (printer == nullptr || screen == nullptr || !picture.IsValid()) {
        return;
    }
    CDC page(printer);
    const DeviceMetrics metrics{page.GetDeviceCaps(HORZRES), page.GetDeviceCaps(HORZSIZE)};
    const auto zoom = PrintSizeZoom(picture.GetWidth(), unitText, scale, magnification, metrics);
    if (!zoom) {
        return;
    }
    const auto size = PrintedSize(picture.GetWidth(), picture.GetHeight(), *zoom);
    if (!size) {
        return;
    }
    PrintDress::Resolution dpi{page.GetDeviceCaps(LOGPIXELSX), page.GetDeviceCaps(LOGPIXELSY), 0, 0};
    {
        CClientDC display(screen);
        dpi.screenX = display.GetDeviceCaps(LOGPIXELSX);
        dpi.screenY = display.GetDeviceCaps(LOGPIXELSY);
    }
    DrawPictureWithObjects(page, &picture, *size, *zoom, objects, [&](CCLObject& object, CDC& dc, float objectZoom) {
        const PrintDress dressed(object, dpi, scale, unitText);
        object.Draw(&dc, objectZoom, 0, 0);
    });
}
