#include "image_controller.h"

#include <algorithm>

#include "cl_arrow.h"
#include "grey_to_rgb.h"
#include "picture_gdi.h"
#include "view_geometry.h"

namespace {

constexpr COLORREF kMarginColour = RGB(192, 192, 192);
constexpr COLORREF kPictureBackground = RGB(255, 255, 255);
constexpr float kZoomStep = 1.1f;
constexpr float kZoomStepBack = 0.9090909f;

}  // namespace

CImageController::CImageController() { SetUpTools(); }

CImageController::CImageController(const std::filesystem::path& path, HWND owner) : owner_(owner), picturePath_(path) {
    SetUpTools();
}

void CImageController::SetUpTools() {
    model_.SetTextSource([this](int stringId) { return host_ != nullptr ? host_->Text(stringId) : std::u16string(); });
    LoadStartupSettings();
    counterStyles_.RegisterDefaults(static_cast<ColourRef>(counterColourKey));
    prototypes_.As<CCLArrow>(CCLArrow::kType).SetArrowStyle(0, 25, 25);
}

CImageController::~CImageController() {
    if (owner_ != nullptr) {
        history_.Clear();
    }
    history_.SetCounter(nullptr);
    selection_.clear();
    objects_.clear();
    backBuffer_.reset();
    pictureBuffer_.reset();
}

float CImageController::ClampedZoom(float zoom) { return ClampZoom(zoom); }

RECT CImageController::ClientRect() const {
    RECT rc{0, 0, 0, 0};
    if (owner_ != nullptr) {
        ::GetClientRect(owner_, &rc);
    }
    return rc;
}

void CImageController::OpenPicture() {
    centreX_ = centreY_ = 0;
    scrollX_ = scrollY_ = 0;
    ui_.bandActive = 0;
    ui_.bandFrom = ui_.bandTo = TrackPoint{};
    ui_.tool = 0;
    ui_.step = 0;
    ui_.moving = 0;
    ui_.nudging = 0;
    zoom_ = 1.0f;
    LoadPicture();
    if (!counter_) {
        CreateCounter();
    }
}

void CImageController::LoadPicture() {
    if (owner_ == nullptr || picturePath_.empty()) {
        return;
    }
    if (!picture_) {
        picture_ = std::make_unique<CPicture>();
    }
    if (loadPending_ != 0) {
        loadPending_ = 0;
        picture_->Load(picturePath_, kPictureAuto);
        if (picture_->GetBpp() == 8) {
            ConvertGreyToRGB();
        }
        if (!counter_) {
            CreateCounter();
        }
        PushFirstStep();
    } else {
        // A picture shown again comes back as last edited.
        history_.LoadCurrentPicture(*picture_);
    }
    RebuildBuffers();
}

void CImageController::ReloadPicture() {
    if (owner_ == nullptr || picturePath_.empty()) {
        return;
    }
    if (!picture_) {
        picture_ = std::make_unique<CPicture>();
    }
    picture_->Load(picturePath_, kPictureAuto);
    if (picture_->GetBpp() == 8) {
        ConvertGreyToRGB();
    }
    RebuildBuffers();
}

// Each pixel takes its palette colour, so a picture whose 8-bit file carried
// colours keeps them; a grey palette gives the grey value in all channels.
void CImageController::ConvertGreyToRGB() {
    if (picture_) {
        ::ConvertGreyToRGB(*picture_);
    }
}

void CImageController::CreateCounter() {
    history_.SetCounter(nullptr);
    if (owner_ == nullptr || !picture_ || !picture_->IsValid()) {
        counter_.reset();
        return;
    }
    auto engine = std::make_unique<CIMGCount>();
    if (!engine->Init(picture_->Pixels(), picture_->GetWidth(), picture_->GetHeight())) {
        counter_.reset();
        return;
    }
    engine->MakeGreyImage(CIMGCount::kGreyLuminance);
    engine->SetMarkColor(static_cast<std::uint32_t>(markColour));
    counter_ = std::move(engine);
    history_.SetCounter(counter_.get());
}

void CImageController::FreePicture() {
    pictureBuffer_.reset();
    picture_.reset();
    backBuffer_.reset();
}

void CImageController::ClosePicture() {
    history_.SetCounter(nullptr);
    FreePicture();
    counter_.reset();
}

void CImageController::GetImageSize(int& width, int& height) const {
    width = height = 0;
    if (owner_ != nullptr && picture_) {
        width = picture_->GetWidth();
        height = picture_->GetHeight();
    }
}

void CImageController::GetZoomedSize(int& width, int& height) const {
    width = zoomedWidth_;
    height = zoomedHeight_;
}

void CImageController::RebuildBuffers() {
    pictureBuffer_.reset();
    backBuffer_.reset();
    if (owner_ == nullptr || !picture_) {
        zoomedWidth_ = zoomedHeight_ = 0;
        return;
    }
    const ZoomedSize zoomed = ZoomPictureSize(picture_->GetWidth(), picture_->GetHeight(), zoom_);
    zoomedWidth_ = zoomed.width;
    zoomedHeight_ = zoomed.height;
    CClientDC window(owner_);
    if (picture_->IsValid()) {
        pictureBuffer_ = std::make_unique<CMemoryDC>(&window, picture_->GetWidth(), picture_->GetHeight());
        pictureBuffer_->FillSolidRect(RECT{0, 0, picture_->GetWidth(), picture_->GetHeight()}, kPictureBackground);
        picture_gdi::Draw(*picture_, pictureBuffer_->GetSafeHdc(), 0, 0, picture_->GetWidth(), picture_->GetHeight());
    }
    // Screen-sized, and never smaller than the window, so that scrolling and
    // resizing need no new bitmap.
    const RECT client = ClientRect();
    const int width = std::max<int>(::GetSystemMetrics(SM_CXSCREEN), client.right);
    const int height = std::max<int>(::GetSystemMetrics(SM_CYSCREEN), client.bottom);
    backBuffer_ = std::make_unique<CMemoryDC>(&window, width, height, CMemoryDC::Kind::dibSection);
    backBuffer_->FillSolidRect(RECT{0, 0, width, height}, kMarginColour);
}

void CImageController::Draw() {
    if (owner_ == nullptr || !picture_ || !backBuffer_) {
        return;
    }
    const RECT client = ClientRect();
    const int clientWidth = client.right - client.left;
    const int clientHeight = client.bottom - client.top;
    if (redrawPicture_ != 0) {
        const ZoomedSize zoomed = ZoomPictureSize(picture_->GetWidth(), picture_->GetHeight(), zoom_);
        zoomedWidth_ = zoomed.width;
        zoomedHeight_ = zoomed.height;
        centreX_ = CentringOffset(clientWidth, zoomedWidth_);
        centreY_ = CentringOffset(clientHeight, zoomedHeight_);
        redrawPicture_ = 0;
        if (pictureBuffer_) {
            picture_gdi::Draw(*picture_, pictureBuffer_->GetSafeHdc(), 0, 0, picture_->GetWidth(),
                              picture_->GetHeight());
        }
    }
    if (scrollSink_ != nullptr && NeedsScrolling(clientWidth, clientHeight, {zoomedWidth_, zoomedHeight_})) {
        scrollSink_->SetScrollSizes(zoomedWidth_, zoomedHeight_);
    }
    const int visibleWidth = centreX_ > 0 ? zoomedWidth_ : clientWidth;
    const int visibleHeight = centreY_ > 0 ? zoomedHeight_ : clientHeight;

    CMemoryDC& back = *backBuffer_;
    back.SelectClipRgn(nullptr);
    back.FillSolidRect(RECT{0, 0, back.GetWidth(), back.GetHeight()}, kMarginColour);
    if (pictureBuffer_) {
        back.SetStretchBltMode(COLORONCOLOR);
        const SourceRect source = VisibleSource(scrollX_, scrollY_, visibleWidth, visibleHeight, zoom_);
        back.StretchBlt(centreX_, centreY_, visibleWidth, visibleHeight, *pictureBuffer_, source.x, source.y,
                        source.width, source.height, SRCCOPY);
    }
    // Objects, grid and rulers never paint on the margin.
    CRgn clip(centreX_, centreY_, centreX_ + zoomedWidth_, centreY_ + zoomedHeight_);
    back.SelectClipRgn(&clip);
}

void CImageController::Present() {
    if (owner_ == nullptr || !backBuffer_) {
        return;
    }
    const RECT client = ClientRect();
    CClientDC window(owner_);
    window.BitBlt(0, 0, client.right - client.left, client.bottom - client.top, *backBuffer_, 0, 0, SRCCOPY);
}

void CImageController::Render(int redrawPicture) {
    if (owner_ == nullptr || !picture_) {
        return;
    }
    redrawPicture_ = redrawPicture;
    Draw();
    if (backBuffer_) {
        DrawObjects(*backBuffer_);
        if (gridShown_ != 0) {
            DrawCountingGrid(0);
        }
    }
    Present();
}

void CImageController::ApplyZoom(float zoom) {
    if (owner_ == nullptr) {
        return;
    }
    zoom_ = ClampZoom(zoom);
    if (scrollSink_ != nullptr) {
        scrollSink_->SetScrollSizes(0, 0);
    }
    scrollX_ = scrollY_ = 0;
    Render(1);
}

void CImageController::ZoomIn() { ApplyZoom(zoom_ * kZoomStep); }

void CImageController::ZoomOut() { ApplyZoom(zoom_ * kZoomStepBack); }

void CImageController::ZoomActualSize() { ApplyZoom(1.0f); }

void CImageController::ZoomToFit() {
    if (owner_ == nullptr || !picture_ || !picture_->IsValid()) {
        return;
    }
    const RECT client = ClientRect();
    const float fit =
        FitZoom(client.right - client.left, client.bottom - client.top, picture_->GetWidth(), picture_->GetHeight());
    if (fit > 0.0f) {
        ApplyZoom(fit);
    }
}
