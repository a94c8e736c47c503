#include "image_controller.h"

#include <algorithm>

#include "cl_arrow.h"
#include "grey_to_rgb.h"
#include "image_popup_wnd.h"
#include "view_geometry.h"

namespace {

constexpr float kZoomStep = 1.1f;
constexpr float kZoomStepBack = 0.9090909f;

}  // namespace

CImageController::CImageController() { SetUpTools(); }

CImageController::CImageController(const std::filesystem::path& path, HWND owner) : owner_(owner), picturePath_(path) {
    canvas_.SetWindow(owner);
    SetUpTools();
}

void CImageController::SetUpTools() {
    model_.SetTextSource([this](int stringId) { return host_ != nullptr ? host_->Text(stringId) : std::u16string(); });
    LoadStartupSettings();
    counterStyles_.RegisterDefaults(static_cast<ColourRef>(counterColourKey));
    prototypes_.As<CCLArrow>(CCLArrow::kType).SetArrowStyle(0, 25, 25);
}

CImageController::~CImageController() {
    CloseArrowPanel();
    if (owner_ != nullptr) {
        history_.Clear();
    }
    history_.SetCounter(nullptr);
    selection_.clear();
    objects_.clear();
    canvas_.Free();
}

float CImageController::ClampedZoom(float zoom) { return ClampZoom(zoom); }

void CImageController::OpenPicture() {
    // A piece still floating goes into the picture before it is shown again.
    EndRegionSelect();
    EndCountEditMode();
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
    if (!engine->Initialize(picture_->Pixels(), picture_->GetWidth(), picture_->GetHeight())) {
        counter_.reset();
        return;
    }
    engine->creatGrayImg(3);
    engine->setMarkColor(static_cast<std::uint32_t>(markColour));
    counter_ = std::move(engine);
    history_.SetCounter(counter_.get());
}

void CImageController::FreePicture() {
    canvas_.Free();
    picture_.reset();
}

CCLArrow& CImageController::GetArrowPrototype() const { return prototypes_.As<CCLArrow>(CCLArrow::kType); }

void CImageController::CloseArrowPanel() {
    if (host_ != nullptr) {
        host_->CloseArrowPanel(GetArrowPrototype());
    }
}

void CImageController::ClosePicture() {
    CloseArrowPanel();
    // The piece is painted in and recorded while the picture is still here.
    EndRegionSelect();
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

void CImageController::Draw() {
    if (owner_ == nullptr || !picture_ || canvas_.BackBuffer() == nullptr) {
        return;
    }
    canvas_.DrawPicture(*picture_, redrawPicture_ != 0);
    redrawPicture_ = 0;
}

void CImageController::Present() {
    if (owner_ != nullptr) {
        canvas_.Present();
    }
}

void CImageController::Render(int redrawPicture) {
    if (owner_ == nullptr || !picture_) {
        return;
    }
    redrawPicture_ = redrawPicture;
    Draw();
    if (CMemoryDC* back = canvas_.BackBuffer(); back != nullptr) {
        DrawObjects(*back);
        if (gridShown_ != 0) {
            DrawCountingGrid(0);
        }
        if (rulerOverlay_ != nullptr) {
            const int offsetX = scrollX_ - centreX_;
            const int offsetY = scrollY_ - centreY_;
            rulerOverlay_->DrawHorizontalRuler(*back, zoom_, offsetX, offsetY);
            rulerOverlay_->DrawVertRuler(*back, zoom_, offsetX, offsetY);
        }
    }
    Present();
}

void CImageController::ApplyZoom(float zoom) {
    if (owner_ == nullptr) {
        return;
    }
    zoom_ = ClampZoom(zoom);
    canvas_.SetScrollSizes(0, 0);
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
    const RECT client = canvas_.ClientRect();
    const float fit =
        FitZoom(client.right - client.left, client.bottom - client.top, picture_->GetWidth(), picture_->GetHeight());
    if (fit > 0.0f) {
        ApplyZoom(fit);
    }
}
