// Open and close, the library's live view and its layout, the frame and
// automatic-exposure callbacks, and the setters of the GigE camera.
#include "gige_camera.h"

#include <array>

#include "bound_call.h"
#include "camera_sdk_families.h"
#include "colour_ref.h"
#include "gige_sdk_startup.h"
#include "video_compressor_choice.h"

namespace {

template <typename Entry, typename... Args>
int Kq(Entry entry, Args&&... args) {
    return CallBoundOrFail(entry, std::forward<Args>(args)...);
}

bool IsMonochromeKind(GigeColourKind kind) { return kind == GigeColourKind::mono || kind == GigeColourKind::mono16; }

}  // namespace

CGigECamera::CGigECamera() : CLibraryCamera(nullptr, {}, L"GIGE") {
    m_cameraKind = static_cast<int>(CameraFamily::gigE);
}

CGigECamera::CGigECamera(HWND view, int index, const std::wstring& settingsPath)
    : CLibraryCamera(view, settingsPath, L"GIGE") {
    m_cameraKind = static_cast<int>(CameraFamily::gigE);
    OpenCamera(index, view);
}

CGigECamera::~CGigECamera() {
    SaveSettings();
    Close();
}

void CGigECamera::ResetMembers() {
    m_opened = 0;
    m_previewing = 0;
    m_recording = 0;
    m_stretched = 1;
    m_modelCode = 0;
    m_modelKey = L"default";
    m_colourKind = GigeColourKind::colour;
    m_cmos = 0;
    m_lateSensor = 0;
    m_exposure = 480;
    m_contrast = 32;
    m_gainAll = 32;
    m_gainR = m_gainG = m_gainB = 8;
    m_offsetH = m_offsetV = 0;
    m_colourMode = m_savedColourMode = m_flipMode = m_zoomMode = m_speedMode = 0;
    m_capMode = 1;
    m_blackWhite = 0;
    m_eightBitFrames = 0;
    m_hdr = m_validBitsOff = m_correcting = 0;
    m_aeLiving = 0;
    m_aeLevel = 1;
    m_packetSize = 1500;
    m_packetDelay = m_watchdog = 0;
    m_aviCompressor = 0;
    m_scrollX = m_scrollY = 0;
    m_ipAddress.clear();
}

void CGigECamera::Open(int index) { OpenCamera(index, m_viewWindow); }

int CGigECamera::OpenCamera(int index, HWND view) {
    Close();
    ResetMembers();
    m_cameraIndex = index;
    m_deviceIndex = index;
    m_viewWindow = view;
    m_hostWindow = view;
    const auto& kq = KQGE();
    if (const int code = Kq(kq.KQGE_InitCamera, index, view); code != 0) {
        Kq(kq.KQGE_UnInitCamera, index);
        return code;
    }
    std::int32_t modelCode = 0;
    const int typeCode = Kq(kq.KQGE_GetCameraType, index, &modelCode);
    m_modelCode = std::uint32_t(modelCode);
    const std::optional<GigeModel> model = GigeModelOfCode(m_modelCode);
    // A camera of no known model has no size to lay out or capture at.
    if (typeCode != 0 || !model) {
        Kq(kq.KQGE_UnInitCamera, index);
        return typeCode != 0 ? typeCode : kUnboundEntryFailure;
    }
    m_modelKey = model->settingsKey;
    m_colourKind = model->colourKind;
    m_cmos = model->cmos ? 1 : 0;
    m_resolutions.clear();
    for (const LabelledSize& r : model->resolutions) {
        m_resolutions.push_back({r.label, r.width, r.height});
    }
    m_exposureRange = std::array<int, 2>{model->exposureRange.lowest, model->exposureRange.highest};
    LoadSettings();
    m_opened = 1;

    const std::optional<int> stored = FindResolution(m_captureWidth, m_captureHeight);
    const CameraResolution& chosen = m_resolutions[std::size_t(stored.value_or(0))];
    m_captureWidth = chosen.width;
    m_captureHeight = chosen.height;
    m_monochrome = IsMonochromeKind(m_colourKind) ? 1 : 0;
    Kq(kq.KQGE_SetResolution, index, std::uint32_t(m_captureWidth), std::uint32_t(m_captureHeight));
    m_displayWidth = m_captureWidth;
    m_displayHeight = m_captureHeight;
    ApplyOpenSettings();
    ReadDiscoveryRecord();
    return 0;
}

void CGigECamera::ApplyOpenSettings() {
    const auto& kq = KQGE();
    SetGainAll(0, m_gainAll);
    SetGainR(m_gainR);
    SetGainG(m_gainG);
    SetGainB(m_gainB);
    SetExposure(m_exposure);
    SetContrast(m_contrast);
    SetOffsetH(m_offsetH);
    SetOffsetV(m_offsetV);
    SetColorMode(m_colourMode);
    SetFlipMode(m_flipMode);
    SetSpeedMode(m_speedMode);
    SetValidBitsOff(m_validBitsOff);
    SetCapMode(m_capMode);
    Kq(kq.KQGE_SetAviCompressor, m_cameraIndex, std::uint32_t(m_aviCompressor));
    SaveSnapshotSize(m_snapshotSize.label, m_snapshotSize.width, m_snapshotSize.height);
    std::int32_t delay = 0, watchdog = 0;
    if (Kq(kq.KQGE_GetPackageDelayTime, m_cameraIndex, &delay) == 0) {
        m_packetDelay = delay;
    }
    if (Kq(kq.KQGE_GetWatchdogState, m_cameraIndex, &watchdog) == 0) {
        m_watchdog = watchdog;
    }
    Kq(kq.KQGE_SetDoCorrecting, m_cameraIndex, m_correcting);
    SetHDR(m_hdr);
    Kq(kq.KQGE_SetSaturation, m_cameraIndex, m_saturation);
    Kq(kq.KQGE_SetSharpness, m_cameraIndex, m_sharpness);
    SetAEParam(m_aeLiving);
    Kq(kq.KQGE_SetDoAWB, m_cameraIndex, 0, 1, nullptr, nullptr);
    SetPackageSize(m_packetSize);
}

void CGigECamera::ReadDiscoveryRecord() {
    if (m_cameraIndex < 0 || m_cameraIndex >= g_nGigECameraCount) {
        return;
    }
    GigeDiscoveryRecord record{};
    if (Kq(KQGE().KQGE_GetCameraInfo, m_cameraIndex, record.data()) != 0) {
        return;
    }
    m_ipAddress = GigeIpText(record);
    if (m_modelCode == kGigeTenBitCapableModel && GigeHasLateSensor(record)) {
        m_lateSensor = 1;
        m_colourKind = GigeColourKind::mono16;
        m_monochrome = 1;
    }
}

void CGigECamera::Close() {
    if (!m_opened) {
        return;
    }
    EndView();
    Kq(KQGE().KQGE_UnInitCamera, m_cameraIndex);
    m_opened = 0;
    ForgetDevice();
}

void CGigECamera::StartPreview(HWND host) {
    if (!m_opened || m_previewing) {
        return;
    }
    m_hostWindow = host;
    StartLibraryView();
    if (m_previewing) {
        LayOut();
    }
}

// Starting the live view sets previewing only when the library started it.
void CGigECamera::StartLibraryView() {
    SetVideoStatusTimer(true);
    const auto& kq = KQGE();
    Kq(kq.KQGE_SetFrameCallBack, m_cameraIndex, &CGigECamera::FrameCallBackProc, static_cast<void*>(this));
    Kq(kq.KQGE_SetNewHwnd, m_cameraIndex, m_hostWindow);
    m_previewing = Kq(kq.KQGE_LiveStart, m_cameraIndex) == 0 ? 1 : 0;
}

void CGigECamera::StopLibraryView() {
    SetVideoStatusTimer(false);
    Kq(KQGE().KQGE_LiveStop, m_cameraIndex);
}

int CGigECamera::CaptureToAvi(const wchar_t* path) {
    const auto& kq = KQGE();
    return path ? Kq(kq.KQGE_CaptureStart, m_cameraIndex, path) : Kq(kq.KQGE_CaptureStop, m_cameraIndex);
}

void CGigECamera::LayOut() {
    if (!m_opened || !m_hostWindow) {
        return;
    }
    const VideoPlacement placement = PlaceVideo(FillRounding::multipleOf4, {m_displayWidth, m_displayHeight});
    Kq(KQGE().KQGE_SetVideoWindowPos, m_cameraIndex, placement.x, placement.y, placement.width, placement.height);
}

void CGigECamera::ScrollLibraryView(int x, int y) {
    Kq(KQGE().KQGE_SetVideoWindowPos, m_cameraIndex, -x, -y, m_displayWidth, m_displayHeight);
}

void CGigECamera::DrawCrossLines(std::uint8_t* frame, int width, int height, int bits) const {
    if (frame == nullptr || width <= 0 || height <= 0 || bits <= 0) {
        return;
    }
    const std::size_t bytes = std::size_t(width) * std::size_t(height) * std::size_t(bits / 8);
    CameraFrame view{std::span<std::uint8_t>(frame, bytes), width, height, bits};
    if (m_lateSensor) {
        view.sixteenBitGrey = SixteenBitGrey::tenBitHighFirst;
    }
    CrossLines().DrawInto(view);
}

// The library hands the frame's own size and depth with it; the colour mode
// may change between frames while the parameter dialog is open.
void WINAPI CGigECamera::FrameCallBackProc(unsigned char* pixels, kqge::KQGE_FRAME_INFO* info, void* self) {
    if (!pixels || !info || !self || info->width <= 0 || info->height <= 0) {
        return;
    }
    const auto* camera = static_cast<const CGigECamera*>(self);
    camera->DrawCrossLines(pixels, info->width, info->height, info->bitsPerPixel);
    const std::size_t bytes =
        std::size_t(info->width) * std::size_t(info->height) * std::size_t(std::max(info->bitsPerPixel, 0) / 8);
    const CameraFrame view{std::span<std::uint8_t>(pixels, bytes), info->width, info->height, info->bitsPerPixel};
    // Red in colour frames; every byte 255 in grey ones.
    const ColourRef ink = info->bitsPerPixel == 24 ? MakeColourRef(255, 0, 0) : MakeColourRef(255, 255, 255);
    DrawSingleCross(view, camera->Overlay().GetSingleCross(), ink);
}

void WINAPI CGigECamera::AeCallBackProc(std::int32_t exposure, std::int32_t, void* self) {
    static_cast<CGigECamera*>(self)->m_exposure = exposure;
}

float CGigECamera::GetFrameRate() const {
    float rate = 0.0f;
    return m_opened && Kq(KQGE().KQGE_GetCameraFrameRate, m_cameraIndex, &rate) == 0 ? rate : 0.0f;
}

float CGigECamera::GetNICFrameRate() const {
    float rate = 0.0f;
    return m_opened && Kq(KQGE().KQGE_GetNICFrameRate, m_cameraIndex, &rate) == 0 ? rate : 0.0f;
}

int CGigECamera::SetAutoWhiteBalance() {
    return m_opened ? Kq(KQGE().KQGE_SetDoAWB, m_cameraIndex, 1, 1, nullptr, nullptr) : 0;
}

int CGigECamera::SetAutoExposure() {
    return m_opened ? Kq(KQGE().KQGE_SetDoAE, m_cameraIndex, 1, 1, &CGigECamera::AeCallBackProc, this) : 0;
}

// The choice is made here rather than in the library's own dialog, whose
// answer does not say which compressor was chosen: the code is kept for the
// settings and handed to the library.
void CGigECamera::SelectAviCompressor() {
    if (!m_opened) {
        return;
    }
    if (const std::optional<std::uint32_t> chosen = ChooseVideoCompressor(m_hostWindow, std::uint32_t(m_aviCompressor))) {
        m_aviCompressor = int(*chosen);
        Kq(KQGE().KQGE_SetAviCompressor, m_cameraIndex, *chosen);
    }
}

int CGigECamera::SetBW(int on) {
    if (on) {
        m_savedColourMode = m_colourMode;
        SetColorMode(1);
        m_blackWhite = 1;
    } else {
        m_blackWhite = 0;
        SetColorMode(m_savedColourMode);
    }
    return 0;
}

int CGigECamera::SetAEParam(int on) {
    const auto& kq = KQGE();
    if (Kq(kq.KQGE_AEParam, m_cameraIndex, on, m_aeLevel) != 0) {
        return 0;
    }
    Kq(kq.KQGE_SetDoAE, m_cameraIndex, 0, 0, &CGigECamera::AeCallBackProc, this);
    m_aeLiving = on;
    return 1;
}

int CGigECamera::SetAEParamGigE(int level) {
    const auto& kq = KQGE();
    if (Kq(kq.KQGE_AEParam, m_cameraIndex, m_aeLiving, level) != 0) {
        return -1;
    }
    Kq(kq.KQGE_SetDoAE, m_cameraIndex, 0, 0, &CGigECamera::AeCallBackProc, this);
    m_aeLevel = level;
    return 0;
}

int CGigECamera::SetZoomMode(int mode) {
    const int code = Kq(KQGE().KQGE_SetZoomMode, m_cameraIndex, mode);
    if (code == 0 && mode >= 0 && mode <= 2) {
        m_zoomMode = mode;
        m_displayWidth = m_captureWidth >> mode;
        m_displayHeight = m_captureHeight >> mode;
    }
    return code;
}

int CGigECamera::SetExposure(int exposure) {
    const auto& kq = KQGE();
    const int code = Kq(kq.KQGE_SetExposure, m_cameraIndex, std::uint32_t(exposure));
    std::int32_t readBack = 0;
    if (Kq(kq.KQGE_GetExposure, m_cameraIndex, &readBack) == 0) {
        m_exposure = readBack;
    }
    return code;
}

int CGigECamera::SetContrast(int contrast) {
    const int code = Kq(KQGE().KQGE_SetContrast, m_cameraIndex, std::uint32_t(contrast));
    if (code == 0) {
        m_contrast = contrast;
    }
    return code;
}

int CGigECamera::SetGainAll(int which, int gain) {
    if (which != 0) {
        return kUnboundEntryFailure;
    }
    m_gainAll = gain;
    return Kq(KQGE().KQGE_SetGain_A, m_cameraIndex, gain);
}

int CGigECamera::SetGainR(int gain) {
    if (GigeRefusesRedGain(m_modelCode)) {
        return -1;
    }
    m_gainR = gain;
    return Kq(KQGE().KQGE_SetGainR, m_cameraIndex, std::uint32_t(gain));
}

int CGigECamera::SetGainG(int gain) {
    m_gainG = gain;
    return Kq(KQGE().KQGE_SetGainG, m_cameraIndex, std::uint32_t(gain));
}

int CGigECamera::SetGainB(int gain) {
    m_gainB = gain;
    return Kq(KQGE().KQGE_SetGainB, m_cameraIndex, std::uint32_t(gain));
}

int CGigECamera::SetOffsetH(int offset) {
    const int code = Kq(KQGE().KQGE_SetOffsetH, m_cameraIndex, offset);
    if (code == 0) {
        m_offsetH = offset;
    }
    return code;
}

int CGigECamera::SetOffsetV(int offset) {
    const int code = Kq(KQGE().KQGE_SetOffsetV, m_cameraIndex, offset);
    if (code == 0) {
        m_offsetV = offset;
    }
    return code;
}

int CGigECamera::SetCapMode(int mode) {
    m_capMode = mode;
    return Kq(KQGE().KQGE_SetCapMode, m_cameraIndex, mode);
}

int CGigECamera::SetFlipMode(int mode) {
    m_flipMode = mode;
    return Kq(KQGE().KQGE_SetFlipMode, m_cameraIndex, mode);
}

int CGigECamera::SetSpeedMode(int mode) {
    m_speedMode = mode;
    return Kq(KQGE().KQGE_SetSpeedMode, m_cameraIndex, mode);
}

int CGigECamera::SetColorMode(int mode) {
    const int code = Kq(KQGE().KQGE_SetColorMode, m_cameraIndex, mode);
    if (code == 0) {
        m_colourMode = mode;
        // Record is offered only for what the library can record.
        m_eightBitFrames = GigeColourModeRecords(mode) ? 0 : 1;
    }
    return code;
}

int CGigECamera::SetHDR(int on) {
    if (Kq(KQGE().KQGE_HDR_Enable, m_cameraIndex, on) != 0) {
        return -1;
    }
    m_hdr = on;
    return 0;
}

int CGigECamera::SetValidBitsOff(int shift) {
    if (Kq(KQGE().KQGE_SetValidBitsOff, m_cameraIndex, shift) != 0) {
        return -1;
    }
    m_validBitsOff = shift;
    return 0;
}

int CGigECamera::SetPackageSize(int size) {
    const auto& kq = KQGE();
    const int code = Kq(kq.KQGE_SetPackageSize, m_cameraIndex, size);
    std::uint16_t readBack = 0;
    if (Kq(kq.KQGE_GetPackageSize, m_cameraIndex, &readBack) == 0) {
        m_packetSize = readBack;
    }
    return code;
}
