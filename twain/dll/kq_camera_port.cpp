#include "kq_camera_port.h"

#include <cstring>

#include "twain_device.h"

namespace twain::win32 {
namespace {

// The reserved argument the one-shot requests are made with.
constexpr int kOneShotReserved = 180;

}  // namespace

KQ_CAPINFO ToKq(const kq::CapInfo& record) {
    static_assert(sizeof(KQ_CAPINFO) == kq::kCapInfoBytes);
    const kq::CapInfoBytes bytes = kq::EncodeCapInfo(record);
    KQ_CAPINFO out;
    std::memcpy(&out, bytes.data(), bytes.size());
    return out;
}

kq::CapInfo FromKq(const KQ_CAPINFO& record) {
    kq::CapInfoBytes bytes;
    std::memcpy(bytes.data(), &record, bytes.size());
    return kq::DecodeCapInfo(bytes);
}

void KqCameraPort::SetCapInfo(const kq::CapInfo& record) {
    KQ_CAPINFO sent = ToKq(record);
    KQ_SetCapInfo(camera_, &sent);
}

void KqCameraPort::SetWhiteBalanceGain(GainChannel channel, std::int32_t gain) {
    switch (channel) {
    case GainChannel::red: KQ_SetGainR(camera_, gain); break;
    case GainChannel::green: KQ_SetGainG(camera_, gain); break;
    case GainChannel::blue: KQ_SetGainB(camera_, gain); break;
    }
}

void KqCameraPort::SetContrast(std::int32_t value) { KQ_SetContrastValue(camera_, value); }
void KqCameraPort::SetColorMode(std::int32_t mode) { KQ_SetParamColor(camera_, mode); }
void KqCameraPort::SetFlip(std::int32_t flip) { KQ_SetParamFlip(camera_, flip); }
void KqCameraPort::SetHdr(std::int32_t on) { KQ_SetHDR(camera_, on); }
void KqCameraPort::SetColorAdjust(std::int32_t value) { KQ_SetColorAdjust(camera_, value); }
void KqCameraPort::SetGamma(std::int32_t index) { KQ_SetGamma(camera_, index); }
void KqCameraPort::SetVideoSize(std::int32_t width, std::int32_t height) { KQ_SetVideoSize(camera_, width, height); }
void KqCameraPort::SetScrollOffset(std::int32_t x, std::int32_t y) { KQ_SetScrollOffset(camera_, x, y); }

void KqCameraPort::StartView(const ViewPlacement& p) {
    const DWORD style = p.ownWindow ? (WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW) : (WS_CHILD | WS_VISIBLE);
    KQ_StartView(camera_, kViewCaption, style, p.x, p.y, p.width, p.height, windows_.m_previewWindow, nullptr);
}

void KqCameraPort::StopView() { KQ_StopView(camera_); }

void KqCameraPort::RunWhiteBalanceOnce() {
    KQ_SetDoAWB(camera_, 1, kOneShotReserved, &KqCameraPort::OnWhiteBalance, results_);
}

void KqCameraPort::StopWhiteBalance() {
    KQ_SetDoAWB(camera_, 0, kOneShotReserved, &KqCameraPort::OnWhiteBalance, results_);
}

void KqCameraPort::RunExposureOnce() { KQ_SetDoAE(camera_, 1, kOneShotReserved, &KqCameraPort::OnExposure, results_); }

void KqCameraPort::StopExposure() { KQ_SetDoAE(camera_, 0, kOneShotReserved, &KqCameraPort::OnExposure, results_); }

void KQAPI KqCameraPort::OnWhiteBalance(int redGreen, int blue, void* context) {
    if (context != nullptr) static_cast<TwainDevice*>(context)->OnWhiteBalanceResult(redGreen, blue);
}

void KQAPI KqCameraPort::OnExposure(int exposure, int, void* context) {
    if (context != nullptr) static_cast<TwainDevice*>(context)->OnExposureResult(exposure);
}

}  // namespace twain::win32
