// Open and close, the library's preview and its layout, the frame and
// completion callbacks, and the image toggles of the USB CMOS camera.
#include "cmos_camera.h"

#include <algorithm>

#include "bound_call.h"
#include "camera_sdk_families.h"
#include "capture_size_rules.h"
#include "cmos_models.h"
#include "private_messages.h"
#include "video_layout.h"

namespace {

constexpr const wchar_t* kLibraryLabel = L"KQ_DEMO";
constexpr const wchar_t* kPreviewWindowName = L"Quillab";
constexpr int kMonochromeUserGain = 500;
constexpr int kType15 = 15;
constexpr int kType16 = 16;
constexpr int kNoTimeUnitType = 4;
constexpr struct { int width, height; } kOpenWindow{640, 480};

bool IsEightBitMode(int mode) { return mode == 3 || mode == 4; }

// Flip modes 4 and 5 turn the picture a quarter.
bool TurnsFrame(int flip) { return flip == 4 || flip == 5; }

}  // namespace

CCMOSCamera::CCMOSCamera(HWND view, int deviceNumber, const std::wstring& settingsPath)
    : CCaptureRecordCamera(view, settingsPath, L"CMOS") {
    m_cameraKind = static_cast<int>(CameraFamily::usbCmos);
    Open(deviceNumber);
}

CCMOSCamera::~CCMOSCamera() {
    SaveSettings();
    Close();
}

void CCMOSCamera::Open(int deviceNumber) {
    m_deviceNumber = deviceNumber;
    m_deviceIndex = deviceNumber;
    LoadSettings();
    const auto& kq = KQCMOS();
    KQ_CAPINFO record = Record();
    // The library refuses a window without pixels, and the model (with its
    // table) is known only once the device is open: the first open asks
    // for a size every model has; step 10 below sends the chosen one.
    const bool storedSize = m_captureWidth > 0 && m_captureHeight > 0;
    record.width = std::uint32_t(storedSize ? m_captureWidth : kOpenWindow.width);
    record.height = std::uint32_t(storedSize ? m_captureHeight : kOpenWindow.height);
    int number = deviceNumber;
    HANDLE handle = nullptr;
    if (CallBoundOrFail(kq.KQ_Initialize, kLibraryLabel, &number, &record, &handle) != 0) {
        CallBoundOrFail(kq.KQ_Uninitialize, handle);
        m_device = nullptr;
        return;
    }
    m_device = handle;
    m_deviceIndex = number;
    ApplyOpenSettings();
    ChooseModelTable();
    SaveSnapshotSize(m_snapshotSize.label, m_snapshotSize.width, m_snapshotSize.height);

    if (m_exposureUnitSupported) {
        if (m_exposureUnit == 1 && m_exposureRange) {
            const std::lock_guard lock(m_recordMutex);
            m_capInfo.exposure = std::max<std::uint32_t>(m_capInfo.exposure, std::uint32_t((*m_exposureRange)[0]));
        }
        CallBoundOrFail(kq.KQ_SetExpouseUnit, m_device, m_exposureUnit == 1 ? 1 : 0);
    }

    ChooseStoredCaptureSize();
    const CameraResolution& first = m_resolutions.front();

    const std::size_t largestWidth = std::size_t(first.width);
    const std::size_t largestHeight = std::size_t(first.height);
    m_rawBuffer.assign((largestHeight + 1) * largestWidth, 0);
    m_rgbBuffer.assign((3 * largestHeight + 1) * largestWidth, 0);
    m_rawBufferAddress = m_rawBuffer.data();

    if (m_deviceType == kProbedDeviceType) {
        {
            const std::lock_guard lock(m_recordMutex);
            m_capInfo.width = std::uint32_t(first.width);
            m_capInfo.height = std::uint32_t(first.height);
        }
        SendCapInfo();
        KQ_CAPINFO probe = Record();
        CallBoundOrFail(kq.KQ_GetCapInfo, m_device, &probe);
        // The library reads back the requested width; a sensor that cannot
        // deliver it shows in a frame that stops short of the last row.
        const int widthReadBack = GrabFillsFrame(first.width, first.height) ? int(probe.width) : 0;
        if (NeedsNarrowType8Table(m_deviceType, first.width, widthReadBack)) {
            m_resolutions.clear();
            for (const ResolutionRecord& r : NarrowType8Resolutions()) {
                m_resolutions.push_back({r.label, r.width, r.height});
            }
        }
    }
    {
        const std::lock_guard lock(m_recordMutex);
        m_capInfo.width = std::uint32_t(m_captureWidth);
        m_capInfo.height = std::uint32_t(m_captureHeight);
    }
    SendCapInfo();
}

void CCMOSCamera::ApplyOpenSettings() {
    const auto& kq = KQCMOS();
    KQ_CAPINFO record = Record();
    CallBoundOrFail(kq.KQ_SetCapInfo, m_device, &record);
    const int colourCode = SendColourMode(m_colourMode);
    CallBoundOrFail(kq.KQ_SetParamFlip, m_device, m_flip);
    CallBoundOrFail(kq.KQ_SetContrastValue, m_device, m_contrast);
    CallBoundOrFail(kq.KQ_GetDeviceType, m_device, &m_deviceType);
    m_scrollX = m_scrollY = 0;
    CallBoundOrFail(kq.KQ_GetTotalDeviceNum, m_device, &m_deviceCount);
    CallBoundOrFail(kq.KQ_SetFrameCallBack, m_device, &CCMOSCamera::OnFrame, static_cast<void*>(this));
    CallBoundOrFail(kq.KQ_SetAviCompressor, m_device, m_aviCompressor);
    // The view window is the context: the event needs nothing of this object.
    CallBoundOrFail(kq.KQ_SetDeviceEvent, m_device, &CCMOSCamera::OnDeviceEvent, static_cast<void*>(m_viewWindow));
    CallBoundOrFail(kq.KQ_GetDeviceColorType, m_device, &m_monochrome);
    if (colourCode != 0 && m_monochrome == 1) {
        m_colourMode = kMonochromeColourMode;
    }
    CallBoundOrFail(kq.KQ_SetColorAdjust, m_device, m_colourAdjust);
    CallBoundOrFail(kq.KQ_SetGamma, m_device, m_gamma);
    CallBoundOrFail(kq.KQ_SetAELevel, m_device, m_aeLevel);
    CallBoundOrFail(kq.KQ_SetOffCenter, m_device, m_offCenter);
    CallBoundOrFail(kq.KQ_SetHDR, m_device, m_hdr);
    CallBoundOrFail(kq.KQ_SetSaturation, m_device, m_saturation);
    if (m_deviceType == kType15) {
        m_sharpness = m_sharpYuv;
    }
    CallBoundOrFail(kq.KQ_SetSharpness, m_device, m_sharpness);
    SetAEParam(m_aeLiving);
    if (m_monochrome) {
        const std::lock_guard lock(m_recordMutex);
        m_userGains = {kMonochromeUserGain, kMonochromeUserGain, kMonochromeUserGain};
    }
    const std::array<int, 3> gains = UserGains();
    CallBoundOrFail(kq.KQ_SetGainR, m_device, gains[0]);
    CallBoundOrFail(kq.KQ_SetGainG, m_device, gains[1]);
    CallBoundOrFail(kq.KQ_SetGainB, m_device, gains[2]);
}

void CCMOSCamera::ChooseModelTable() {
    const CmosModel model = CmosModelOf(m_deviceType);
    m_resolutions.clear();
    for (const ResolutionRecord& r : model.resolutions) {
        m_resolutions.push_back({r.label, r.width, r.height});
    }
    m_exposureRange = model.exposureRange;
    m_exposureUnitSupported = m_deviceType == kNoTimeUnitType ? 0 : 1;
    m_fourEntryModel = model.fourEntryModel ? 1 : 0;
    if (model.settleMs > 0) {
        Sleep(DWORD(model.settleMs));
    }
    if (m_deviceType == kType16) {
        const std::lock_guard lock(m_recordMutex);
        m_capInfo.gain[0] = static_cast<std::uint8_t>(m_gainAll120 & 0xFF);
    }
}

void CCMOSCamera::Close() {
    EndView();
    if (m_device) {
        CallBoundOrFail(KQCMOS().KQ_Uninitialize, m_device);
    }
    ForgetDevice();
    m_rawBuffer.clear();
    m_rgbBuffer.clear();
    m_rawBufferAddress = nullptr;
}

KQ_CAPINFO CCMOSCamera::Record() const {
    const std::lock_guard lock(m_recordMutex);
    return m_capInfo;
}

std::array<int, 3> CCMOSCamera::UserGains() const {
    const std::lock_guard lock(m_recordMutex);
    return m_userGains;
}

int CCMOSCamera::SendCapInfo() {
    if (!m_device) {
        return kUnboundEntryFailure;
    }
    Overlay().Suspend();
    KQ_CAPINFO record = Record();
    const int code = CallBoundOrFail(KQCMOS().KQ_SetCapInfo, m_device, &record);
    PublishFrameGeometry();
    return code;
}

int CCMOSCamera::SendColourMode(int mode) {
    if (!m_device) {
        return kUnboundEntryFailure;
    }
    Overlay().Suspend();
    const int code = CallBoundOrFail(KQCMOS().KQ_SetParamColor, m_device, mode);
    if (code == 0) {
        m_deliveredBits = IsEightBitMode(mode) ? 8 : 24;
        m_eightBitFrames = IsEightBitMode(mode) ? 1 : 0;
    }
    PublishFrameGeometry();
    return code;
}

void CCMOSCamera::PublishFrameGeometry() {
    if (!m_device || m_resolutions.empty()) {
        return;
    }
    const KQ_CAPINFO record = Record();
    const CameraResolution& largest = m_resolutions.front();
    const CaptureSize delivered =
        DeliveredFrameSize({int(record.width), int(record.height)}, (record.control & kVideoZoomBit) != 0,
                           {largest.width, largest.height});
    FrameGeometry geometry{delivered.width, delivered.height, m_deliveredBits};
    if (TurnsFrame(m_flip)) {
        std::swap(geometry.width, geometry.height);
    }
    Overlay().SetGeometry(geometry);
}

bool CCMOSCamera::GrabFillsFrame(int width, int height) {
    constexpr std::uint8_t kUntouched = 0xA5;
    const std::size_t row = std::size_t(width) * 3;
    const std::size_t end = row * std::size_t(height);
    if (height <= 0 || end > m_rgbBuffer.size()) {
        return false;
    }
    std::fill(m_rgbBuffer.begin() + std::ptrdiff_t(end - row), m_rgbBuffer.begin() + std::ptrdiff_t(end), kUntouched);
    if (CallBoundOrFail(KQCMOS().KQ_GetRgbFrame, m_device, &m_rawBufferAddress, m_rgbBuffer.data(), 0) != 0) {
        return false;
    }
    return !std::all_of(m_rgbBuffer.begin() + std::ptrdiff_t(end - row), m_rgbBuffer.begin() + std::ptrdiff_t(end),
                        [](std::uint8_t b) { return b == kUntouched; });
}

int KQAPI CCMOSCamera::OnFrame(unsigned char* frame, int, void* context) {
    static_cast<CCMOSCamera*>(context)->Overlay().DrawInto(frame);
    return 0;
}

void KQAPI CCMOSCamera::OnDeviceEvent(int event, HANDLE, void* context) {
    PostMessageW(static_cast<HWND>(context), WM_CAMERA_PLUGGED, event == 0 ? 0 : 1, 0);
}

void KQAPI CCMOSCamera::OnOneShotDone(int, int, void* context) {
    auto* self = static_cast<CCMOSCamera*>(context);
    const auto& kq = KQCMOS();
    KQ_CAPINFO readBack{};
    if (CallBoundOrFail(kq.KQ_GetCapInfo, self->m_device, &readBack) == 0) {
        const std::lock_guard lock(self->m_recordMutex);
        self->m_capInfo.exposure = readBack.exposure;
        std::copy(std::begin(readBack.gain), std::end(readBack.gain), std::begin(self->m_capInfo.gain));
    }
    int red = 0, green = 0, blue = 0;
    if (CallBoundOrFail(kq.KQ_GetGainR, self->m_device, &red) == 0 &&
        CallBoundOrFail(kq.KQ_GetGainG, self->m_device, &green) == 0 &&
        CallBoundOrFail(kq.KQ_GetGainB, self->m_device, &blue) == 0) {
        const std::lock_guard lock(self->m_recordMutex);
        self->m_userGains = {red, green, blue};
    }
}

void CCMOSCamera::StartLibraryView() {
    if (!m_device) {
        return;
    }
    SetVideoStatusTimer(true);
    const auto& kq = KQCMOS();
    CallBoundOrFail(kq.KQ_SetFrameCallBack, m_device, &CCMOSCamera::OnFrame, static_cast<void*>(this));
    CallBoundOrFail(kq.KQ_StartView, m_device, kPreviewWindowName, static_cast<unsigned int>(WS_CHILD | WS_VISIBLE), 0,
                    0, m_captureWidth, m_captureHeight, m_hostWindow, nullptr);
    PublishFrameGeometry();
}

int CCMOSCamera::CaptureToAvi(const wchar_t* path) {
    return CallBoundOrFail(KQCMOS().KQ_CaptureToAvi, m_device, path ? 1 : 0, path);
}

void CCMOSCamera::StopLibraryView() {
    if (!m_device) {
        return;
    }
    SetVideoStatusTimer(false);
    CallBoundOrFail(KQCMOS().KQ_StopView, m_device);
}

void CCMOSCamera::LayOut() {
    if (!m_device || !m_hostWindow) {
        return;
    }
    const VideoPlacement placement = PlaceVideo(FillRounding::multipleOf4);
    const auto& kq = KQCMOS();
    CallBoundOrFail(kq.KQ_SetScrollOffset, m_device, -placement.x, -placement.y);
    CallBoundOrFail(kq.KQ_SetVideoSize, m_device, placement.width, placement.height);
}

void CCMOSCamera::ScrollLibraryView(int x, int y) { CallBoundOrFail(KQCMOS().KQ_SetScrollOffset, m_device, x, y); }

float CCMOSCamera::GetFrameRate() const {
    float rate = 0.0f;
    if (!m_device || CallBoundOrFail(KQCMOS().KQ_GetFrameRate, m_device, &rate) != 0) {
        return 0.0f;
    }
    return rate;
}

int CCMOSCamera::DoWhiteBalanceOnce(int left, int top, int right, int bottom) {
    if (!m_device) {
        return 0;
    }
    return CallBoundOrFail(KQCMOS().KQ_SetDoAWBInRegion, m_device, 1, 0, &CCMOSCamera::OnOneShotDone,
                           static_cast<void*>(this), left, m_captureHeight - bottom + 1, right,
                           m_captureHeight - top + 1);
}

int CCMOSCamera::DoExposureOnce(int left, int top, int right, int bottom) {
    if (!m_device) {
        return 0;
    }
    return CallBoundOrFail(KQCMOS().KQ_SetDoAEInRegion, m_device, 1, 0, &CCMOSCamera::OnOneShotDone,
                           static_cast<void*>(this), left, m_captureHeight - bottom + 1, right,
                           m_captureHeight - top + 1);
}

int CCMOSCamera::SetAutoWhiteBalance() {
    if (!m_device) {
        return 0;
    }
    return CallBoundOrFail(KQCMOS().KQ_SetDoAWB, m_device, 1, 0, &CCMOSCamera::OnOneShotDone, static_cast<void*>(this));
}

int CCMOSCamera::SetAutoExposure() {
    if (!m_device) {
        return 0;
    }
    return CallBoundOrFail(KQCMOS().KQ_SetDoAE, m_device, 1, 0, &CCMOSCamera::OnOneShotDone, static_cast<void*>(this));
}

int CCMOSCamera::SetAEParam(int on) {
    m_aeLiving = on;
    if (m_device) {
        CallBoundOrFail(KQCMOS().KQ_AEParam, m_device, on, m_aeLevel, &CCMOSCamera::OnOneShotDone,
                        static_cast<void*>(this));
    }
    return 1;
}

int CCMOSCamera::SetExposureUnit(int unit) {
    m_exposureUnit = unit;
    if (m_device) {
        const auto& kq = KQCMOS();
        CallBoundOrFail(kq.KQ_SetExpouseUnit, m_device, unit);
        KQ_CAPINFO readBack{};
        if (CallBoundOrFail(kq.KQ_GetCapInfo, m_device, &readBack) == 0) {
            const std::lock_guard lock(m_recordMutex);
            m_capInfo.exposure = readBack.exposure;
        }
    }
    return 0;
}

int CCMOSCamera::SetLightAVG(int on) {
    m_lightAverage = on;
    return m_device ? CallBoundOrFail(KQCMOS().KQ_EnableLightAvg, m_device, on) : 0;
}

int CCMOSCamera::SetBW(int on) {
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

void CCMOSCamera::ResetLightAvg() {
    if (m_device) {
        CallBoundOrFail(KQCMOS().KQ_ResetLightAvgTable, m_device);
    }
}

void CCMOSCamera::SelectAviCompressor() {
    int id = 0;
    if (m_device && CallBoundOrFail(KQCMOS().KQ_SelectAviCompressor, m_device, &id) == 0) {
        m_aviCompressor = id;
    }
}
