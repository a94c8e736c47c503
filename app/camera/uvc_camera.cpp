// Open and close, the library's preview and its layout, the frame callback,
// snapshots, recordings, the resolution and the device list of the UVC
// camera.
#include "uvc_camera.h"

#include <algorithm>

#include "bound_call.h"
#include "camera_sdk_families.h"
#include "capture_file_names.h"
#include "compressor_dlg.h"
#include "uvc_model.h"

namespace {

constexpr const wchar_t* kLibraryLabel = L"KQ_DEMO";
constexpr const wchar_t* kPreviewWindowName = L"Quillab";
constexpr int kJpegQuality = 100;
// The zoom property's values for video zoom on and off.
constexpr int kZoomOn = 0;
constexpr int kZoomOff = 6;

template <typename Entry, typename... Args>
int Kq(Entry entry, Args&&... args) {
    return CallBound(entry, kUnboundEntryFailure, std::forward<Args>(args)...);
}

constexpr int Id(UvcProperty property) { return static_cast<int>(property); }

}  // namespace

CUVCCamera::CUVCCamera(HWND view, int deviceNumber, const std::wstring& settingsPath)
    : CLibraryCamera(view, settingsPath, L"UVC") {
    Open(deviceNumber);
    m_cameraKind = static_cast<int>(CameraFamily::uvc);
}

CUVCCamera::CUVCCamera() : CUVCCamera(nullptr, 0) {}

CUVCCamera::~CUVCCamera() {
    SaveSettings();
    Close();
}

void CUVCCamera::Open(int deviceNumber) {
    m_deviceIndex = deviceNumber;
    m_compressorNumber = -1;
    m_stretched = 1;
    LoadSettings();
    const auto& kq = KQUVC();
    int number = deviceNumber;
    HANDLE handle = nullptr;
    if (Kq(kq.KQ_Initialize, kLibraryLabel, &number, &handle) != 0) {
        Kq(kq.KQ_Uninitialize, handle);
        m_device = nullptr;
        return;
    }
    m_device = handle;
    m_deviceIndex = number;
    for (const UvcPropertyKey& property : UvcPropertiesInOpenOrder()) {
        Kq(kq.KQ_SetParam, m_device, Id(property.id), GetProperty(Id(property.id)));
    }
    Kq(kq.KQ_GetCameraType, m_device, &m_deviceType);
    Kq(kq.KQ_GetTotalDeviceNum, m_device, &m_deviceCount);
    m_scrollX = m_scrollY = 0;
    Kq(kq.KQ_SetFrameCallback, m_device, &CUVCCamera::OnFrame, static_cast<void*>(this));
    Kq(kq.KQ_SetAviCompressor, m_device, m_compressorNumber - 1);
    m_monochrome = 0;

    ChooseResolutionTable();
    SaveSnapshotSize(m_snapshotSize.label, m_snapshotSize.width, m_snapshotSize.height);
    ChooseStoredCaptureSize();
    const CameraResolution& first = m_resolutions.front();
    const std::size_t largestWidth = std::size_t(first.width);
    const std::size_t largestHeight = std::size_t(first.height);
    m_rawBuffer.assign((largestHeight + 1) * largestWidth, 0);
    m_rgbBuffer.assign((3 * largestHeight + 1) * largestWidth, 0);
    SendResolution(m_captureWidth, m_captureHeight);
}

void CUVCCamera::ChooseResolutionTable() {
    int reported = 0;
    if (m_deviceType == kUvcZelphaType) {
        int count = 1, width = 0, height = 0;
        if (Kq(KQUVC().KQ_GetResolution, m_device, &count, &width, &height) == 0) {
            reported = count;
        }
    }
    m_resolutions.clear();
    for (const LabelledSize& r : UvcResolutionTable(m_deviceType, reported)) {
        m_resolutions.push_back({r.label, r.width, r.height});
    }
    m_exposureRange.reset();
    m_exposureUnitSupported = 0;
}

void CUVCCamera::Close() {
    EndView();
    if (m_device) {
        Kq(KQUVC().KQ_Uninitialize, m_device);
    }
    ForgetDevice();
    m_rawBuffer.clear();
    m_rgbBuffer.clear();
}

int CUVCCamera::GetProperty(int id) const {
    const auto found = m_properties.find(id);
    return found == m_properties.end() ? 0 : found->second;
}

int CUVCCamera::SendResolution(int width, int height) {
    if (!m_device) {
        return kUnboundEntryFailure;
    }
    Overlay().Suspend();
    const int code = Kq(KQUVC().KQ_SetResolution, m_device, width, height);
    Overlay().SetGeometry({width, height, 24});
    return code;
}

int WINAPI CUVCCamera::OnFrame(unsigned char* frame, int, void* context) {
    static_cast<CUVCCamera*>(context)->Overlay().DrawInto(frame);
    return 0;
}

void CUVCCamera::StartLibraryView() {
    if (!m_device) {
        return;
    }
    SetVideoStatusTimer(true);
    const auto& kq = KQUVC();
    Kq(kq.KQ_SetFrameCallback, m_device, &CUVCCamera::OnFrame, static_cast<void*>(this));
    Kq(kq.KQ_StartView, m_device, kPreviewWindowName, static_cast<unsigned int>(WS_CHILD | WS_VISIBLE), 0, 0,
       m_captureWidth, m_captureHeight, m_hostWindow, nullptr);
}

int CUVCCamera::CaptureToAvi(const wchar_t* path) { return Kq(KQUVC().KQ_CaptureToAvi, m_device, path ? 1 : 0, path); }

void CUVCCamera::StopLibraryView() {
    if (!m_device) {
        return;
    }
    SetVideoStatusTimer(false);
    Kq(KQUVC().KQ_StopView, m_device);
}

void CUVCCamera::LayOut() {
    if (!m_device || !m_hostWindow) {
        return;
    }
    const VideoPlacement placement = PlaceVideo(FillRounding::multipleOf4);
    int window[4] = {placement.x, placement.y, placement.width, placement.height};
    Kq(KQUVC().KQ_SetViewWin, m_device, window);
}

float CUVCCamera::GetFrameRate() const {
    float rate = 0.0f;
    if (!m_device || Kq(KQUVC().KQ_GetFrameRate, m_device, &rate) != 0) {
        return 0.0f;
    }
    return rate;
}

int CUVCCamera::SetAutoWhiteBalance() {
    return m_device ? Kq(KQUVC().KQ_SetDoAWB, m_device, 1, 0, nullptr, nullptr) : 0;
}

int CUVCCamera::SetAutoExposure() { return m_device ? Kq(KQUVC().KQ_SetDoAE, m_device, 1, 0, nullptr, nullptr) : 0; }

int CUVCCamera::SetClearView(int) {
    m_clearView = 0;
    return 0;
}

int CUVCCamera::SetVideoZoom(int on) {
    m_videoZoom = on;
    return m_device ? Kq(KQUVC().KQ_SetParam, m_device, Id(UvcProperty::zoom), on ? kZoomOn : kZoomOff) : 0;
}

int CUVCCamera::SetExposureUnit(int unit) {
    m_exposureUnit = unit;
    return 0;
}

void CUVCCamera::SelectAviCompressor() {
    int stored = 0;
    std::wstring storedName;
    m_settings.GetInt(stored, L"Video", L"bCompressor", 0);
    m_settings.GetString(storedName, L"Video", L"SCompressor");
    std::optional<AviCompressorChoice> choice;
    if (m_chooseCompressor) {
        choice = m_chooseCompressor(stored, storedName);
    } else if (auto chosen = RunCompressorDlg(stored, storedName, m_viewWindow)) {
        choice = AviCompressorChoice{chosen->first, std::move(chosen->second)};
    }
    if (!choice) {
        return;
    }
    if (choice->number == 0 || choice->number == 1) {
        stored = choice->number;
    }
    m_compressorNumber = choice->number;
    m_settings.WriteInt(stored, L"Video", L"bCompressor");
    m_settings.WriteString(choice->name.c_str(), L"Video", L"SCompressor");
    m_settings.WriteInt(m_compressorNumber, L"Video", L"SCompressorNum");
    if (m_device) {
        Kq(KQUVC().KQ_SetAviCompressor, m_device, m_compressorNumber - 1);
    }
}

int CUVCCamera::WriteSnapshotFile(const std::wstring& path) {
    const auto& kq = KQUVC();
    switch (static_cast<ShotImageType>(m_imageType)) {
    case ShotImageType::bmp: return Kq(kq.KQ_GetRgbFrameToBmp, m_device, m_rgbBuffer.data(), path.c_str(), 1);
    case ShotImageType::jpeg:
        return Kq(kq.KQ_GetRgbFrameToJpeg, m_device, m_rgbBuffer.data(), path.c_str(), kJpegQuality);
    case ShotImageType::tiff: {
        const int code = Kq(kq.KQ_GetRgbFrame, m_device, m_rgbBuffer.data());
        if (code != 0) {
            return code;
        }
        return SaveTiff(m_rgbBuffer, m_captureWidth, m_captureHeight, 24, path);
    }
    }
    return kUnboundEntryFailure;
}

int CUVCCamera::CaptureStillAtSize() {
    if (m_resolutions.empty()) {
        return 0;
    }
    m_stillPending = 1;
    // The capture switches only when both sides differ from the snapshot size.
    if (m_snapshotSize.width == m_captureWidth || m_snapshotSize.height == m_captureHeight) {
        return SaveSnapshot();
    }
    const int width = m_captureWidth, height = m_captureHeight;
    m_captureWidth = m_snapshotSize.width;
    m_captureHeight = m_snapshotSize.height;
    SendResolution(m_captureWidth, m_captureHeight);
    const int saved = SaveSnapshot();
    m_captureWidth = width;
    m_captureHeight = height;
    SendResolution(width, height);
    // A snapshot that was not written is not reported as taken because the
    // resolution came back.
    return saved;
}

void CUVCCamera::SetResolution(int index) {
    if (index < 0 || index >= int(m_resolutions.size())) {
        return;
    }
    m_captureWidth = m_resolutions[std::size_t(index)].width;
    m_captureHeight = m_resolutions[std::size_t(index)].height;
    WriteCaptureSize();
    SendResolution(m_captureWidth, m_captureHeight);
    LayOut();
    SetVideoZoom(m_videoZoom);
}

int CUVCCamera::EnumDevices() {
    const auto& kq = KQUVC();
    m_deviceList.clear();
    int count = 0;
    if (Kq(kq.KQ_GetTotalDeviceNum, m_device, &count) != 0 || count < 0) {
        count = 0;
    }
    for (int n = 0; n < count; ++n) {
        // The open camera answers through its own handle: opening it again
        // would stop its preview.
        const bool isOpen = m_device && n == m_deviceIndex;
        HANDLE handle = isOpen ? m_device : nullptr;
        int number = n;
        if (!isOpen && Kq(kq.KQ_Initialize, kLibraryLabel, &number, &handle) != 0) {
            Kq(kq.KQ_Uninitialize, handle);
            continue;
        }
        int type = 0;
        if (handle) {
            Kq(kq.KQ_GetCameraType, handle, &type);
        }
        if (type != 0) {
            m_deviceList.push_back({UvcDeviceName(type), n});
        }
        if (!isOpen) {
            Kq(kq.KQ_Uninitialize, handle);
        }
    }
    m_deviceCount = count;
    return 0;
}
