// Open and close, the library's preview and its layout, the frame and
// completion callbacks, and the image toggles of the CCD camera.
#include "ccd_camera.h"

#include <algorithm>

#include "bound_call.h"
#include "camera_sdk_families.h"
#include "ccd_model.h"

namespace {

constexpr const wchar_t* kLibraryLabel = L"KQ_DEMO";
constexpr const wchar_t* kPreviewWindowName = L"Quillab";
// Models that take no white balance when they open.
constexpr int kNoOpeningWhiteBalanceTypes[] = {1, 5};

bool IsEightBitMode(int mode) { return mode == 3 || mode == 4; }

template <typename Entry, typename... Args>
int Kq(Entry entry, Args&&... args) {
    return CallBound(entry, kUnboundEntryFailure, std::forward<Args>(args)...);
}

}  // namespace

CCCDCamera::CCCDCamera(HWND view, int deviceNumber, const std::wstring& settingsPath)
    : CCaptureRecordCamera(view, settingsPath, L"CCD") {
    m_cameraKind = static_cast<int>(CameraFamily::ccd);
    Open(deviceNumber);
}

CCCDCamera::~CCCDCamera() {
    SaveSettings();
    Close();
}

void CCCDCamera::Open(int deviceNumber) {
    m_deviceNumber = deviceNumber;
    m_deviceIndex = deviceNumber;
    {
        const std::lock_guard lock(m_recordMutex);
        m_capInfo = KQ_CAPINFO{};
        m_capInfo.width = 1280;
        m_capInfo.height = 1024;
        m_capInfo.exposure = 1200;
        std::fill(std::begin(m_capInfo.gain), std::end(m_capInfo.gain), std::uint8_t{32});
        m_capInfo.columnStart = 100;
    }
    m_contrast = 16;
    m_stretched = 1;
    m_exposureUnitSupported = 1;
    m_aeLevel = 0;
    LoadSettings();

    const auto& kq = KQCCD();
    KQ_CAPINFO record = Record();
    int number = deviceNumber;
    HANDLE handle = nullptr;
    if (Kq(kq.KQ_Initialize, kLibraryLabel, &number, &record, &handle) != 0) {
        Kq(kq.KQ_Uninitialize, handle);
        m_device = nullptr;
        return;
    }
    m_device = handle;
    m_deviceIndex = number;
    ApplyOpenSettings();
    ChooseModelTable();

    if (m_exposureUnitSupported) {
        if (m_exposureUnit == 1 && m_exposureRange) {
            const std::lock_guard lock(m_recordMutex);
            m_capInfo.exposure = std::max<std::uint32_t>(m_capInfo.exposure, std::uint32_t((*m_exposureRange)[0]));
        }
        Kq(kq.KQ_SetExpouseUnit, m_device, m_exposureUnit == 1 ? 1 : 0);
    }
    SaveSnapshotSize(m_snapshotSize.label, m_snapshotSize.width, m_snapshotSize.height);

    ChooseStoredCaptureSize();
    const CameraResolution& first = m_resolutions.front();
    // Two bytes per raw pixel.
    const std::size_t largestWidth = std::size_t(first.width);
    const std::size_t largestHeight = std::size_t(first.height);
    m_rawBuffer.assign((largestHeight + 1) * largestWidth * 2, 0);
    m_rgbBuffer.assign((3 * largestHeight + 1) * largestWidth, 0);
    m_rawBufferAddress = m_rawBuffer.data();
    {
        const std::lock_guard lock(m_recordMutex);
        m_capInfo.width = std::uint32_t(m_captureWidth);
        m_capInfo.height = std::uint32_t(m_captureHeight);
    }
    SendCapInfo();
    Kq(kq.KQ_SetShowVideo, m_device, 1);
}

void CCCDCamera::ApplyOpenSettings() {
    const auto& kq = KQCCD();
    KQ_CAPINFO record = Record();
    Kq(kq.KQ_SetCapInfo, m_device, &record);
    const int colourCode = SendColourMode(m_colourMode);
    Kq(kq.KQ_SetParamFlip, m_device, m_flip);
    Kq(kq.KQ_SetContrastValue, m_device, m_contrast);
    Kq(kq.KQ_GetDeviceType, m_device, &m_deviceType);
    Kq(kq.KQ_SetGamma, m_device, m_gamma);
    Kq(kq.KQ_GetTotalDeviceNum, m_device, &m_deviceCount);
    m_scrollX = m_scrollY = 0;
    Kq(kq.KQ_SetFrameCallBack, m_device, &CCCDCamera::OnFrame, static_cast<void*>(this));
    Kq(kq.KQ_SetAviCompressor, m_device, m_aviCompressor);
    Kq(kq.KQ_GetDeviceColorType, m_device, &m_monochrome);
    Kq(kq.KQ_SetSaturation, m_device, m_saturation);
    Kq(kq.KQ_SetSharpness, m_device, m_sharpness);
    if (colourCode != 0 && m_monochrome == 1) {
        m_colourMode = kMonochromeColourMode;
    }
    Kq(kq.KQ_SetAELevel, m_device, m_aeLevel);
    Kq(kq.KQ_SetHDR, m_device, m_hdr);
    SetAEParam(m_aeLiving);
    if (std::find(std::begin(kNoOpeningWhiteBalanceTypes), std::end(kNoOpeningWhiteBalanceTypes), m_deviceType) ==
        std::end(kNoOpeningWhiteBalanceTypes)) {
        Kq(kq.KQ_SetDoAWB, m_device, 1, 0, &CCCDCamera::OnOneShotDone, static_cast<void*>(this));
    }
}

void CCCDCamera::ChooseModelTable() {
    const CcdModel model = CcdModelOfType(m_deviceType);
    m_resolutions.clear();
    for (const LabelledSize& r : model.resolutions) {
        m_resolutions.push_back({r.label, r.width, r.height});
    }
    m_exposureRange.reset();
    if (model.exposureRange) {
        m_exposureRange = std::array<int, 2>{model.exposureRange->lowest, model.exposureRange->highest};
    }
    m_exposureUnitSupported = model.exposureRange ? 1 : 0;
}

void CCCDCamera::Close() {
    EndView();
    if (m_device) {
        Kq(KQCCD().KQ_Uninitialize, m_device);
    }
    ForgetDevice();
    m_rawBuffer.clear();
    m_rgbBuffer.clear();
    m_rawBufferAddress = nullptr;
}

KQ_CAPINFO CCCDCamera::Record() const {
    const std::lock_guard lock(m_recordMutex);
    return m_capInfo;
}

// Without a device nothing is sent and nothing failed.
int CCCDCamera::SendCapInfo() {
    if (!m_device) {
        return 0;
    }
    Overlay().Suspend();
    KQ_CAPINFO record = Record();
    const int code = Kq(KQCCD().KQ_SetCapInfo, m_device, &record);
    PublishFrameGeometry();
    return code;
}

int CCCDCamera::SendColourMode(int mode) {
    if (!m_device) {
        return 0;
    }
    Overlay().Suspend();
    const int code = Kq(KQCCD().KQ_SetParamColor, m_device, mode);
    if (code == 0) {
        m_deliveredBits = IsEightBitMode(mode) ? 8 : 24;
        m_eightBitFrames = IsEightBitMode(mode) ? 1 : 0;
    }
    PublishFrameGeometry();
    return code;
}

void CCCDCamera::PublishFrameGeometry() {
    KQ_CAPINFO delivered{};
    if (!m_device || Kq(KQCCD().KQ_GetCapInfo, m_device, &delivered) != 0) {
        return;
    }
    Overlay().SetGeometry({int(delivered.width), int(delivered.height), m_deliveredBits});
}

int KQAPI CCCDCamera::OnFrame(unsigned char* frame, int, void* context) {
    static_cast<CCCDCamera*>(context)->Overlay().DrawInto(frame);
    return 0;
}

void KQAPI CCCDCamera::OnOneShotDone(int, int, void* context) {
    auto* self = static_cast<CCCDCamera*>(context);
    KQ_CAPINFO readBack{};
    if (Kq(KQCCD().KQ_GetCapInfo, self->m_device, &readBack) == 0) {
        const std::lock_guard lock(self->m_recordMutex);
        self->m_capInfo.exposure = readBack.exposure;
        std::copy(std::begin(readBack.gain), std::end(readBack.gain), std::begin(self->m_capInfo.gain));
    }
}

void CCCDCamera::StartLibraryView() {
    if (!m_device) {
        return;
    }
    SetVideoStatusTimer(true);
    const auto& kq = KQCCD();
    Kq(kq.KQ_SetFrameCallBack, m_device, &CCCDCamera::OnFrame, static_cast<void*>(this));
    Kq(kq.KQ_StartView, m_device, kPreviewWindowName, static_cast<unsigned int>(WS_CHILD | WS_VISIBLE), 0, 0,
       m_captureWidth, m_captureHeight, m_hostWindow, nullptr);
    PublishFrameGeometry();
}

int CCCDCamera::CaptureToAvi(const wchar_t* path) { return Kq(KQCCD().KQ_CaptureToAvi, m_device, path ? 1 : 0, path); }

void CCCDCamera::StopLibraryView() {
    if (!m_device) {
        return;
    }
    SetVideoStatusTimer(false);
    Kq(KQCCD().KQ_StopView, m_device);
}

void CCCDCamera::LayOut() {
    if (!m_device || !m_hostWindow) {
        return;
    }
    const VideoPlacement placement = PlaceVideo(FillRounding::none);
    const auto& kq = KQCCD();
    Kq(kq.KQ_SetScrollOffset, m_device, -placement.x, -placement.y);
    Kq(kq.KQ_SetVideoSize, m_device, placement.width, placement.height);
}

void CCCDCamera::ScrollLibraryView(int x, int y) { Kq(KQCCD().KQ_SetScrollOffset, m_device, x, y); }

float CCCDCamera::GetFrameRate() const {
    float rate = 0.0f;
    if (!m_device || Kq(KQCCD().KQ_GetFrameRate, m_device, &rate) != 0) {
        return 0.0f;
    }
    return rate;
}

int CCCDCamera::DoWhiteBalanceOnce(int left, int top, int right, int bottom) {
    if (!m_device) {
        return 0;
    }
    return Kq(KQCCD().KQ_SetDoAWBInRegion, m_device, 1, 0, &CCCDCamera::OnOneShotDone, static_cast<void*>(this), left,
              m_captureHeight - bottom + 1, right, m_captureHeight - top + 1);
}

int CCCDCamera::DoExposureOnce(int left, int top, int right, int bottom) {
    if (!m_device) {
        return 0;
    }
    return Kq(KQCCD().KQ_SetDoAEInRegion, m_device, 1, 0, &CCCDCamera::OnOneShotDone, static_cast<void*>(this), left,
              m_captureHeight - bottom + 1, right, m_captureHeight - top + 1);
}

int CCCDCamera::SetAutoWhiteBalance() {
    if (!m_device) {
        return 0;
    }
    return Kq(KQCCD().KQ_SetDoAWB, m_device, 1, 0, &CCCDCamera::OnOneShotDone, static_cast<void*>(this));
}

int CCCDCamera::SetAutoExposure() {
    if (!m_device) {
        return 0;
    }
    return Kq(KQCCD().KQ_SetDoAE, m_device, 1, 0, &CCCDCamera::OnOneShotDone, static_cast<void*>(this));
}

int CCCDCamera::SetAEParam(int on) {
    m_aeLiving = on;
    if (m_device) {
        Kq(KQCCD().KQ_AEParam, m_device, on, m_aeLevel, &CCCDCamera::OnOneShotDone, static_cast<void*>(this));
    }
    return 1;
}

int CCCDCamera::SetExposureUnit(int unit) {
    m_exposureUnit = unit;
    if (m_device) {
        const auto& kq = KQCCD();
        Kq(kq.KQ_SetExpouseUnit, m_device, unit);
        KQ_CAPINFO readBack{};
        if (Kq(kq.KQ_GetCapInfo, m_device, &readBack) == 0) {
            const std::lock_guard lock(m_recordMutex);
            m_capInfo.exposure = readBack.exposure;
        }
    }
    return 0;
}

int CCCDCamera::SetLightAVG(int) { return 0; }

int CCCDCamera::SetBW(int on) {
    if (m_clearView) {
        return m_clearView;
    }
    if (on) {
        m_savedColourMode = m_colourMode;
        m_colourMode = kMonochromeColourMode;
        m_blackWhite = 1;
    } else {
        m_blackWhite = 0;
        m_colourMode = m_savedColourMode;
    }
    return SendColourMode(m_colourMode);
}

void CCCDCamera::SelectAviCompressor() {
    int id = 0;
    if (m_device && Kq(KQCCD().KQ_SelectAviCompressor, m_device, &id) == 0) {
        m_aviCompressor = id;
    }
}
