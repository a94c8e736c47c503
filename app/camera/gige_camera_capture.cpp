// Snapshots, the still at the snapshot size, the resolution and the device
// list of the GigE camera.
#include "bound_call.h"
#include "camera_sdk_families.h"
#include "capture_file_names.h"
#include "gige_camera.h"

namespace {

template <typename Entry, typename... Args>
int Kq(Entry entry, Args&&... args) {
    return CallBoundOrFail(entry, std::forward<Args>(args)...);
}

}  // namespace

// The library writes BMP, JPEG and TIFF as kinds 0, 1 and 2.
int CGigECamera::WriteSnapshotFile(const std::wstring& path) {
    if (m_imageType < int(ShotImageType::bmp) || m_imageType > int(ShotImageType::tiff)) {
        return kUnboundEntryFailure;
    }
    return Kq(KQGE().KQGE_GetFrameToImage, m_cameraIndex, path.c_str(), m_imageType - 1, 0, 0);
}

int CGigECamera::CaptureStillAtSize() {
    if (m_resolutions.empty()) {
        return 0;
    }
    m_stillPending = 1;
    const auto& kq = KQGE();
    const bool resize = m_snapshotSize.width != m_captureWidth && m_snapshotSize.height != m_captureHeight;
    if (resize && Kq(kq.KQGE_SetResolution, m_cameraIndex, std::uint32_t(m_snapshotSize.width),
                     std::uint32_t(m_snapshotSize.height)) == 0) {
        SetZoomMode(m_zoomMode);
    }
    const int saved = SaveSnapshot();
    if (resize) {
        Kq(kq.KQGE_SetResolution, m_cameraIndex, std::uint32_t(m_captureWidth), std::uint32_t(m_captureHeight));
        SetZoomMode(m_zoomMode);
    }
    return saved;
}

// The camera takes the new size only when the library accepted it.
void CGigECamera::SetResolution(int index) {
    if (!m_opened || index < 0 || index >= int(m_resolutions.size())) {
        return;
    }
    const CameraResolution chosen = m_resolutions[std::size_t(index)];
    if (Kq(KQGE().KQGE_SetResolution, m_cameraIndex, std::uint32_t(chosen.width), std::uint32_t(chosen.height)) != 0) {
        return;
    }
    m_captureWidth = chosen.width;
    m_captureHeight = chosen.height;
    SetOffsetH(0);
    SetOffsetV(0);
    m_displayWidth = m_captureWidth;
    m_displayHeight = m_captureHeight;
    SetZoomMode(m_zoomMode);
    WriteCaptureSize();
    LayOut();
}

int CGigECamera::EnumDevices() {
    const auto& kq = KQGE();
    m_deviceList.clear();
    std::int32_t count = 0;
    if (Kq(kq.KQGE_GetCameraCount, &count) != 0 || count <= 0) {
        return 0;
    }
    m_deviceCount = count;
    for (int index = 0; index < count; ++index) {
        std::int32_t code = 0;
        if (Kq(kq.KQGE_GetCameraType, index, &code) == 0 && code != 0) {
            m_deviceList.push_back({GigeDeviceListName(std::uint32_t(code)), index});
        }
    }
    return 0;
}
