// Cutting and dropping draw on a 32-bit DIB section, so no pixel loses
// colour whatever the display's depth, and pixels outside the piece never
// change.
#include "floating_piece.h"

#include <algorithm>

#include "history_actions.h"
#include "image_popup_wnd.h"
#include "picture_gdi.h"
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

CFloatingPiece::CFloatingPiece(IFloatingPieceHost& host) : host_(host) {}

CFloatingPiece::~CFloatingPiece() = default;

int CFloatingPiece::CutRegion() {
    const CPicture* picture = host_.PiecePicture();
    if (host_.PieceWindow() == nullptr || picture == nullptr || !picture->IsValid()) {
        return 0;
    }
    const RECT region = Normalised(regionRect_);
    const auto box = ClipToPicture(WindowToPicture(region.left, region.top, region.right - region.left,
                                                   region.bottom - region.top, host_.PiecePlacement()),
                                   picture->GetWidth(), picture->GetHeight());
    if (!box) {
        return 0;
    }
    auto piece = std::make_unique<CPicture>();
    if (!picture->Crop(box->left, box->top, box->left + box->width, box->top + box->height, *piece)) {
        return 0;
    }
    if (!host_.RepaintPiecePicture([&](CDC& dc) {
            dc.FillSolidRect(RECT{box->left, box->top, box->left + box->width, box->top + box->height}, kWhite);
        })) {
        return 0;
    }
    piece_ = std::move(piece);
    box_ = *box;
    return 1;
}

int CFloatingPiece::CreateFloating(const RECT& rect) {
    HWND owner = host_.PieceWindow();
    if (owner == nullptr || !piece_) {
        return 0;
    }
    const RECT region = Normalised(regionRect_);
    RECT where = region;
    sourceRect_ = region;
    if (rect.left != rect.right || rect.top != rect.bottom) {
        where = rect;
        sourceRect_ = RECT{0, 0, 0, 0};
    }
    window_.reset();
    window_ = std::make_unique<CImagePopupWnd>(piece_.get(), where, owner);
    floating_ = 1;
    return 1;
}

void CFloatingPiece::CutToFloating() {
    WaitCursor wait;
    if (CutRegion() != 0) {
        CreateFloating(RECT{0, 0, 0, 0});
    }
}

int CFloatingPiece::DropFloating(int paintBack) {
    if (host_.PieceWindow() == nullptr || !window_) {
        return 0;
    }
    WaitCursor wait;
    if (const CPicture* picture = host_.PiecePicture(); picture != nullptr && picture->IsValid()) {
        // An unmoved piece goes back exactly where it came from, whatever
        // the rounding of its window at this zoom.
        const RECT rect = window_->RectInParent();
        const PictureBox box = window_->IsChanged() ? WindowToPicture(rect.left, rect.top, rect.right - rect.left,
                                                                     rect.bottom - rect.top, host_.PiecePlacement())
                                                   : box_;
        host_.RepaintPiecePicture([&](CDC& dc) {
            if (paintBack == 1 && piece_ && box.width > 0 && box.height > 0) {
                picture_gdi::Draw(*piece_, dc.GetSafeHdc(), box.left, box.top, box.width, box.height);
            }
        });
    }
    const bool moved = window_->IsChanged();
    window_.reset();
    piece_.reset();
    floating_ = 0;
    host_.PieceShowPicture();
    if (paintBack == 0) {
        host_.PieceRecordStep(kHistoryCut);
    } else if (paintBack == 1 && moved) {
        host_.PieceRecordStep(kHistoryPaste);
    }
    return 1;
}

int CFloatingPiece::CopyFloatingToClipboard() {
    HWND owner = host_.PieceWindow();
    if (owner == nullptr || !window_ || !piece_) {
        return 0;
    }
    const RECT shown = window_->RectInParent();
    picture_gdi::UniqueBitmap bitmap = ClipboardBitmap(*piece_, std::max<LONG>(shown.right - shown.left, 1),
                                                       std::max<LONG>(shown.bottom - shown.top, 1));
    if (!bitmap) {
        return 0;
    }
    const ClipboardScope clipboard(owner);
    if (!clipboard.IsOpen() || !::EmptyClipboard()) {
        return 0;
    }
    if (::SetClipboardData(CF_BITMAP, bitmap.get()) == nullptr) {
        return 0;  // the bitmap was not taken and is freed here
    }
    bitmap.release();  // the clipboard owns it now
    return 1;
}

int CFloatingPiece::CopyFloating() {
    WaitCursor wait;
    return CopyFloatingToClipboard();
}

int CFloatingPiece::CutFloating() {
    WaitCursor wait;
    const int copied = CopyFloatingToClipboard();
    DropFloating(0);
    return copied;
}

int CFloatingPiece::Paste() {
    HWND owner = host_.PieceWindow();
    if (owner == nullptr) {
        return 0;
    }
    auto pasted = std::make_unique<CPicture>();
    {
        const ClipboardScope clipboard(owner);
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
    if (window_) {
        DropFloating(0);
    }
    piece_ = std::move(pasted);
    // The piece starts at the top-left of what is shown, at its own size on
    // the picture.
    const WindowPlacement place = host_.PiecePlacement();
    const int left = place.centreX;
    const int top = place.centreY;
    const int width = std::max(1, static_cast<int>(piece_->GetWidth() * place.zoom));
    const int height = std::max(1, static_cast<int>(piece_->GetHeight() * place.zoom));
    const PictureBox shown = WindowToPicture(left, top, width, height, place);
    box_ = PictureBox{shown.left, shown.top, piece_->GetWidth(), piece_->GetHeight()};
    return CreateFloating(RECT{left, top, left + width, top + height});
}

void CFloatingPiece::LiftWholePicture() {
    const CPicture* picture = host_.PiecePicture();
    if (host_.PieceWindow() == nullptr || picture == nullptr || !picture->IsValid() || !host_.PieceCtrlHeld()) {
        return;
    }
    if (window_) {
        DropFloating(1);
    }
    piece_ = std::make_unique<CPicture>(*picture);
    box_ = PictureBox{0, 0, picture->GetWidth(), picture->GetHeight()};
    host_.RepaintPiecePicture([&](CDC& dc) {
        dc.FillSolidRect(RECT{0, 0, picture->GetWidth(), picture->GetHeight()}, kWhite);
    });
    const WindowPlacement place = host_.PiecePlacement();
    const ZoomedSize shown = host_.PieceShownSize();
    const int left = place.centreX - place.scrollX;
    const int top = place.centreY - place.scrollY;
    regionRect_ = RECT{left, top, left + shown.width, top + shown.height};
    host_.PieceShowPicture();
    CreateFloating(RECT{0, 0, 0, 0});
}
