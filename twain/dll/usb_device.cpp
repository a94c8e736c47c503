#include "usb_device.h"

#include <chrono>
#include <span>

#include "frame_copy.h"
#include "kq_library.h"
#include "registry_settings.h"

namespace twain::win32 {
namespace {

constexpr const wchar_t* kOpenLabel = L"USB Camera device";
// The library's answer while a restarted stream has delivered no frame yet.
constexpr int kNoFrame = 13;
// Bounds the wait for a restarted stream's first frame: well past the
// longest exposure, short of an application giving up on the transfer.
constexpr auto kFirstFrameWait = std::chrono::seconds(10);

// Type 8 comes with two sensor widths: ask for the wide capture and see
// what the camera keeps.
ModelProfile ProbedProfile(HANDLE camera, std::int32_t reportedType) {
    if (reportedType != 8) return ProfileForReportedType(reportedType);
    KQ_CAPINFO probe{};
    probe.width = kType8ProbeWidth;
    probe.height = kType8ProbeHeight;
    KQ_SetCapInfo(camera, &probe);
    KQ_CAPINFO readBack{};
    if (KQ_GetCapInfo(camera, &readBack) != 0) readBack.width = 0;
    return Type8Profile(static_cast<std::int32_t>(readBack.width));
}

}  // namespace

std::unique_ptr<CUSBDevice> CUSBDevice::Open() {
    // The data source paces its own requests: the FPGA cameras return at
    // once after a capture-parameter request.
    kq::Library().SetDeviceOptions(kq::DeviceOptions{false});
    KQ_CAPINFO record{};
    int position = 1;
    HANDLE camera = nullptr;
    KQ_Initialize(kOpenLabel, &position, &record, &camera);
    if (camera == nullptr) return nullptr;
    int reportedType = 0;
    if (KQ_GetDeviceType(camera, &reportedType) != 0) {
        KQ_Uninitialize(camera);
        return nullptr;
    }
    const ModelProfile profile = ProbedProfile(camera, reportedType);
    const TwainSettings settings = ReadSettings(profile.registryKey);
    std::unique_ptr<CUSBDevice> device(new CUSBDevice(camera, profile, settings));
    device->device_.Open();
    return device;
}

CUSBDevice::CUSBDevice(HANDLE camera, const ModelProfile& profile, const TwainSettings& settings)
    : camera_(camera),
      cameraPort_(camera, *this),
      host_(*this, camera, [this] { device_.OnExposureTick(); }),
      device_(cameraPort_, host_, profile, settings),
      registryKey_(profile.registryKey) {
    cameraPort_.SetResultTarget(&device_);
    const ResolutionEntry& largest = profile.resolutions.back();
    const auto pixels = static_cast<std::size_t>(largest.width) * static_cast<std::size_t>(largest.height + 1);
    rgb_.assign(pixels * 3, 0);
    raw_.assign(pixels, 0);
    KQ_SetFrameCallBack(camera_, &FrameArrivals::OnFrame, &arrivals_);
}

CUSBDevice::~CUSBDevice() {
    WriteSettings(registryKey_, device_.Settings());
    host_.StopExposureTimer();
    KQ_StopView(camera_);
    KQ_SetFrameCallBack(camera_, nullptr, nullptr);
    KQ_Uninitialize(camera_);
}

void CUSBDevice::StartPreview(int x, int y, int width, int height) { device_.StartPreview(x, y, width, height); }

void CUSBDevice::StopPreview() { device_.StopPreview(); }

int CUSBDevice::GetParam(unsigned int id, int* value) {
    if (value == nullptr) return 0;
    std::int32_t answer = 0;
    if (!device_.GetParam(id, answer)) return 0;
    *value = answer;
    return 1;
}

void CUSBDevice::SetParam(unsigned int id, int value) { device_.SetParam(id, value); }

int CUSBDevice::GetPalette(RGBQUAD* palette) {
    constexpr int kEntries = 256;
    if (palette == nullptr) return kEntries;
    for (int i = 0; i < kEntries; ++i) {
        const auto level = static_cast<BYTE>(i);
        palette[i] = RGBQUAD{level, level, level, 0};
    }
    return kEntries;
}

bool CUSBDevice::GrabCurrentFrame() {
    const auto deadline = std::chrono::steady_clock::now() + kFirstFrameWait;
    for (;;) {
        const std::uint64_t seen = arrivals_.Count();
        unsigned char* raw = raw_.data();
        const int rc = KQ_GetRgbFrame(camera_, &raw, rgb_.data(), 1);
        if (rc == 0) return true;
        if (rc != kNoFrame || !device_.PreviewRunning()) return false;
        // No library lock is held here: the capture thread delivers.
        if (!arrivals_.WaitPast(seen, deadline)) return false;
    }
}

void CUSBDevice::GetFrame(TwainImageRecord* record) {
    if (record == nullptr) return;
    if (!GrabCurrentFrame()) {
        // No picture: the data source then fails the transfer rather than
        // hand over an empty one.
        record->width = 0;
        record->height = 0;
        return;
    }
    KQ_CAPINFO now{};
    FrameShape shape{static_cast<std::int32_t>(device_.Working().width),
                     static_cast<std::int32_t>(device_.Working().height), device_.OutputBits()};
    if (KQ_GetCapInfo(camera_, &now) == 0) {
        shape.width = static_cast<std::int32_t>(now.width);
        shape.height = static_cast<std::int32_t>(now.height);
    }
    record->height = shape.height;
    record->width = shape.width;
    if (record->data == nullptr || record->copyBytes <= 0) return;
    CopyFrameToDib(rgb_, shape, std::span(record->data, static_cast<std::size_t>(record->copyBytes)));
}

int CUSBDevice::OnScroll(HWND window, UINT message, WPARAM wParam, int, int, int) {
    if (message != WM_HSCROLL && message != WM_VSCROLL) return 1;
    const bool horizontal = message == WM_HSCROLL;
    // The preview shows 800 x 600 of the capture, the scroll bars' page.
    const PanOutcome out = device_.Scroll(horizontal ? ScrollAxis::horizontal : ScrollAxis::vertical, LOWORD(wParam),
                                          HIWORD(wParam), horizontal ? kZoomDisplayWidth : kZoomDisplayHeight);
    if (out.moved && window != nullptr) SetScrollPos(window, horizontal ? SB_HORZ : SB_VERT, out.position, TRUE);
    return out.accepted ? 1 : 0;
}

int CUSBDevice::GetResolutions(const ResolutionEntry** table, int* count) {
    const auto& entries = device_.Profile().resolutions;
    if (table == nullptr || count == nullptr || entries.empty()) return 0;
    *table = entries.data();
    *count = static_cast<int>(entries.size());
    return 1;
}

}  // namespace twain::win32
