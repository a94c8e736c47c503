// Snapshots, the still at the snapshot size, recordings, the resolution
// and the device list of the USB CMOS camera.
#include <algorithm>
#include <cwchar>

#include "bound_call.h"
#include "camera_sdk_families.h"
#include "capture_file_names.h"
#include "capture_size_rules.h"
#include "cmos_camera.h"

namespace {

constexpr const wchar_t* kLibraryLabel = L"KQ_DEMO";
constexpr int kJpegQuality = 100;
// KQ_GetFriendlyName writes up to 256 characters.
constexpr std::size_t kFriendlyNameChars = 256;

}  // namespace

int CCMOSCamera::WriteSnapshotFile(const std::wstring& path) {
    const auto& kq = KQCMOS();
    switch (static_cast<ShotImageType>(m_imageType)) {
    case ShotImageType::bmp:
        return CallBoundOrFail(kq.KQ_GetRgbFrameToBmp, m_device, &m_rawBufferAddress, m_rgbBuffer.data(), path.c_str(),
                               1);
    case ShotImageType::jpeg:
        return CallBoundOrFail(kq.KQ_GetRgbFrameToJpeg, m_device, &m_rawBufferAddress, 0, path.c_str(), kJpegQuality);
    case ShotImageType::tiff: {
        const int code = CallBoundOrFail(kq.KQ_GetRgbFrame, m_device, &m_rawBufferAddress, m_rgbBuffer.data(), 0);
        if (code != 0) {
            return code;
        }
        const FrameGeometry frame = Overlay().Geometry();
        return SaveTiff(m_rgbBuffer, frame.width, frame.height, frame.bitsPerPixel, path);
    }
    }
    return kUnboundEntryFailure;
}

int CCMOSCamera::CaptureStillAtSize() {
    if (m_resolutions.empty()) {
        return 0;
    }
    m_stillPending = 1;
    const KQ_CAPINFO before = Record();
    const StillPlan plan =
        PlanStillAtSize({m_captureWidth, m_captureHeight}, {m_snapshotSize.width, m_snapshotSize.height},
                        before.exposure, m_exposureUnit == 0);
    if (plan.switchSize) {
        {
            const std::lock_guard lock(m_recordMutex);
            m_capInfo.width = std::uint32_t(m_snapshotSize.width);
            m_capInfo.height = std::uint32_t(m_snapshotSize.height);
            m_capInfo.exposure = plan.exposure;
        }
        SendCapInfo();
    }
    const int saved = SaveSnapshot();
    if (plan.switchSize) {
        {
            const std::lock_guard lock(m_recordMutex);
            m_capInfo.width = before.width;
            m_capInfo.height = before.height;
            m_capInfo.exposure = before.exposure;
        }
        SendCapInfo();
    }
    return saved;
}

void CCMOSCamera::SetResolution(int index) {
    if (index < 0 || index >= int(m_resolutions.size())) {
        return;
    }
    const CameraResolution& chosen = m_resolutions[std::size_t(index)];
    const CameraResolution& largest = m_resolutions.front();
    m_captureWidth = chosen.width;
    m_captureHeight = chosen.height;
    WriteCaptureSize();
    {
        const std::lock_guard lock(m_recordMutex);
        m_capInfo.width = std::uint32_t(chosen.width);
        m_capInfo.height = std::uint32_t(chosen.height);
        m_capInfo.columnStart = ClampWindowOffset(m_capInfo.columnStart, chosen.width, largest.width);
        m_capInfo.rowStart = ClampWindowOffset(m_capInfo.rowStart, chosen.height, largest.height);
    }
    SendCapInfo();
    LayOut();
}

int CCMOSCamera::EnumDevices() {
    const auto& kq = KQCMOS();
    m_deviceList.clear();
    int count = 0;
    if (CallBoundOrFail(kq.KQ_GetTotalDeviceNum, m_device, &count) != 0 || count < 0) {
        count = 0;
    }
    for (int n = 1; n <= count; ++n) {
        // The open camera answers through its own handle: opening it again
        // would stop its preview.
        const bool isOpen = m_device && n == m_deviceIndex;
        HANDLE handle = isOpen ? m_device : nullptr;
        if (!isOpen) {
            KQ_CAPINFO probe = Record();
            int number = n;
            if (CallBoundOrFail(kq.KQ_Initialize, kLibraryLabel, &number, &probe, &handle) != 0) {
                CallBoundOrFail(kq.KQ_Uninitialize, handle);
                continue;
            }
        }
        std::wstring name(kFriendlyNameChars, L'\0');
        int type = 0;
        CallBoundOrFail(kq.KQ_GetFriendlyName, handle, name.data());
        CallBoundOrFail(kq.KQ_GetDeviceType, handle, &type);
        name.resize(std::wcslen(name.c_str()));
        if (type != 0) {
            m_deviceList.push_back({name, n});
        }
        if (!isOpen) {
            CallBoundOrFail(kq.KQ_Uninitialize, handle);
        }
    }
    m_deviceCount = count;
    return 0;
}
