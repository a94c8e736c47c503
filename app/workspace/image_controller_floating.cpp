// The floating piece: a region cut out of the picture, a bitmap pasted from
// the clipboard or the whole picture lifted, moved in its own window and
// painted back when dropped. Cutting and dropping draw on a 32-bit DIB
// section, so no pixel loses colour whatever the display's depth, and
// pixels outside the piece never change.
#include <algorithm>

#include "floating_geometry.h"
#include "floating_piece_wnd.h"
#include "history_actions.h"
#include "image_controller.h"
#include "picture_gdi.h"
#include "rendered_picture.h"
#include "wait_cursor.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

RECT Normalised(const RECT& r) {
    return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

// A bitmap of width by height holding `piece` stretched on white, in the
// screen's format, which the clipboard hands on to other programs.
picture_gdi::UniqueBitmap ClipboardBitmap(const CPicture& piece, int width, int height) {
    HDC screen = ::GetDC(nullptr);
    picture_gdi::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    HDC memory = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    if (!bitmap || memory == nullptr) {
        if (memory != nullptr) {
            ::DeleteDC(memory);
        }
        return picture_gdi::UniqueBitmap();
    }
    HGDIOBJ old = ::SelectObject(memory, bitmap.get());
    CDC dc(memory);
    dc.FillSolidRect(RECT{0, 0, width, height}, kWhite);
    picture_gdi::Draw(piece, memory, 0, 0, width, height);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return bitmap;
}

class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope() {
        if (open_) {
            ::CloseClipboard();
        }
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

}  // namespace

WindowPlacement CImageController::GetWindowPlacement() const {
    return WindowPlacement{zoom_, centreX_, centreY_, scrollX_, scrollY_};
}

bool CImageController::RepaintPicture(const std::function<void(CDC& dc)>& paint) {
    const ZoomedSize size{picture_->GetWidth(), picture_->GetHeight()};
    const auto rendered = RenderPicture(size, [&](CDC& dc) {
        if (!DrawPictureWithObjects(dc, *picture_, size, 1.0f, nullptr)) {
            return false;
        }
        paint(dc);
        return true;
    });
    if (!rendered) {
        return false;
    }
    if (picture_->GetBpp() == 24) {
        // The same pixel buffer, which the counting engine also reads.
        std::copy(rendered->Pixels().begin(), rendered->Pixels().end(), picture_->Pixels().begin());
    } else {
        *picture_ = *rendered;
        CreateCounter();
    }
    return true;
}

int CImageController::CutRegion() {
    if (owner_ == nullptr || !picture_ || !picture_->IsValid()) {
        return 0;
    }
    const RECT region = Normalised(regionRect_);
    const auto box = ClipToPicture(WindowToPicture(region.left, region.top, region.right - region.left,
                                                   region.bottom - region.top, GetWindowPlacement()),
                                   picture_->GetWidth(), picture_->GetHeight());
    if (!box) {
        return 0;
    }
    auto piece = std::make_unique<CPicture>();
    if (!picture_->Crop(box->left, box->top, box->left + box->width, box->top + box->height, *piece)) {
        return 0;
    }
    if (!RepaintPicture([&](CDC& dc) {
            dc.FillSolidRect(RECT{box->left, box->top, box->left + box->width, box->top + box->height}, kWhite);
        })) {
        return 0;
    }
    floatingPicture_ = std::move(piece);
    floatingBox_ = *box;
    return 1;
}

int CImageController::CreateFloating(const RECT& rect) {
    if (owner_ == nullptr || !floatingPicture_) {
        return 0;
    }
    const RECT region = Normalised(regionRect_);
    RECT where = region;
    sourceRect_ = region;
    if (rect.left != rect.right || rect.top != rect.bottom) {
        where = rect;
        sourceRect_ = RECT{0, 0, 0, 0};
    }
    floatingWnd_.reset();
    floatingWnd_ = std::make_unique<CFloatingPieceWnd>(owner_, where, *floatingPicture_);
    floating_ = 1;
    return 1;
}

void CImageController::CutToFloating() {
    WaitCursor wait;
    if (CutRegion() != 0) {
        CreateFloating(RECT{0, 0, 0, 0});
    }
}

int CImageController::DropFloating(int paintBack) {
    if (owner_ == nullptr || !floatingWnd_) {
        return 0;
    }
    WaitCursor wait;
    if (picture_ && picture_->IsValid()) {
        // An unmoved piece goes back exactly where it came from, whatever
        // the rounding of its window at this zoom.
        const RECT rect = floatingWnd_->RectInParent();
        const PictureBox box = floatingWnd_->WasMoved() ? WindowToPicture(rect.left, rect.top, rect.right - rect.left,
                                                                          rect.bottom - rect.top, GetWindowPlacement())
                                                        : floatingBox_;
        RepaintPicture([&](CDC& dc) {
            if (paintBack == 1 && floatingPicture_ && box.width > 0 && box.height > 0) {
                picture_gdi::Draw(*floatingPicture_, dc.GetSafeHdc(), box.left, box.top, box.width, box.height);
            }
        });
    }
    const bool moved = floatingWnd_->WasMoved();
    floatingWnd_.reset();
    floatingPicture_.reset();
    floating_ = 0;
    Render(1);
    if (paintBack == 0) {
        PushHistory(kHistoryCut);
    } else if (paintBack == 1 && moved) {
        PushHistory(kHistoryPaste);
    }
    return 1;
}

int CImageController::CopyFloatingToClipboard() {
    if (owner_ == nullptr || !floatingWnd_ || !floatingPicture_) {
        return 0;
    }
    const RECT shown = floatingWnd_->RectInParent();
    picture_gdi::UniqueBitmap bitmap = ClipboardBitmap(*floatingPicture_, std::max<LONG>(shown.right - shown.left, 1),
                                                       std::max<LONG>(shown.bottom - shown.top, 1));
    if (!bitmap) {
        return 0;
    }
    const ClipboardScope clipboard(owner_);
    if (!clipboard.IsOpen() || !::EmptyClipboard()) {
        return 0;
    }
    if (::SetClipboardData(CF_BITMAP, bitmap.get()) == nullptr) {
        return 0;  // the bitmap was not taken and is freed here
    }
    bitmap.release();  // the clipboard owns it now
    return 1;
}

int CImageController::CopyFloating() {
    WaitCursor wait;
    return CopyFloatingToClipboard();
}

int CImageController::CutFloating() {
    WaitCursor wait;
    const int copied = CopyFloatingToClipboard();
    DropFloating(0);
    return copied;
}

int CImageController::Paste() {
    if (owner_ == nullptr) {
        return 0;
    }
    auto pasted = std::make_unique<CPicture>();
    {
        const ClipboardScope clipboard(owner_);
        if (!clipboard.IsOpen() || !::IsClipboardFormatAvailable(CF_BITMAP)) {
            return 0;
        }
        auto* bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
        BITMAP header{};
        if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof header, &header) == 0 ||
            !CPicture::IsSizeAllowed(header.bmWidth, std::abs(header.bmHeight)) ||
            !picture_gdi::CreateFromHBITMAP(*pasted, bitmap) || !pasted->IsValid()) {
            return 0;
        }
    }
    if (floatingWnd_) {
        DropFloating(0);
    }
    floatingPicture_ = std::move(pasted);
    // The piece starts at the top-left of what is shown, at its own size on
    // the picture.
    const int left = centreX_;
    const int top = centreY_;
    const int width = std::max(1, static_cast<int>(floatingPicture_->GetWidth() * zoom_));
    const int height = std::max(1, static_cast<int>(floatingPicture_->GetHeight() * zoom_));
    const PictureBox shown = WindowToPicture(left, top, width, height, GetWindowPlacement());
    floatingBox_ = PictureBox{shown.left, shown.top, floatingPicture_->GetWidth(), floatingPicture_->GetHeight()};
    return CreateFloating(RECT{left, top, left + width, top + height});
}

void CImageController::LiftWholePicture() {
    if (owner_ == nullptr || !picture_ || !picture_->IsValid() || ctrlHeld_ == 0) {
        return;
    }
    if (floatingWnd_) {
        DropFloating(1);
    }
    floatingPicture_ = std::make_unique<CPicture>(*picture_);
    floatingBox_ = PictureBox{0, 0, picture_->GetWidth(), picture_->GetHeight()};
    RepaintPicture([&](CDC& dc) { dc.FillSolidRect(RECT{0, 0, picture_->GetWidth(), picture_->GetHeight()}, kWhite); });
    regionRect_ = RECT{centreX_ - scrollX_, centreY_ - scrollY_, centreX_ - scrollX_ + zoomedWidth_,
                       centreY_ - scrollY_ + zoomedHeight_};
    Render(1);
    CreateFloating(RECT{0, 0, 0, 0});
}
