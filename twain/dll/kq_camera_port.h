#pragma once
// The camera side of the TWAIN device library: the parameter logic's calls
// made on the open camera through the USB library's KQ_* functions, linked
// into this DLL. The automatic results come back on the capture thread to
// the TwainDevice given as the callbacks' context.

#include <windows.h>

#include "KQCMOSu.h"
#include "ctwain.h"
#include "device_ports.h"

namespace twain {
class TwainDevice;
}

namespace twain::win32 {

// The window caption the views are started with.
inline constexpr const wchar_t* kViewCaption = L"Quillab";

class KqCameraPort final : public CameraPort {
public:
    // windows: the object whose preview window the views draw into, read at
    // each start.
    KqCameraPort(HANDLE camera, const CTWAIN& windows) : camera_(camera), windows_(windows) {}
    void SetResultTarget(TwainDevice* device) { results_ = device; }

    void SetCapInfo(const kq::CapInfo& record) override;
    void SetWhiteBalanceGain(GainChannel channel, std::int32_t gain) override;
    void SetContrast(std::int32_t value) override;
    void SetColorMode(std::int32_t mode) override;
    void SetFlip(std::int32_t flip) override;
    void SetHdr(std::int32_t on) override;
    void SetColorAdjust(std::int32_t value) override;
    void SetGamma(std::int32_t index) override;
    void SetVideoSize(std::int32_t width, std::int32_t height) override;
    void SetScrollOffset(std::int32_t x, std::int32_t y) override;
    void StartView(const ViewPlacement& placement) override;
    void StopView() override;
    void RunWhiteBalanceOnce() override;
    void StopWhiteBalance() override;
    void RunExposureOnce() override;
    void StopExposure() override;

private:
    static void KQAPI OnWhiteBalance(int redGreen, int blue, void* context);
    static void KQAPI OnExposure(int exposure, int, void* context);

    HANDLE camera_;
    const CTWAIN& windows_;
    TwainDevice* results_ = nullptr;
};

KQ_CAPINFO ToKq(const kq::CapInfo& record);
kq::CapInfo FromKq(const KQ_CAPINFO& record);

}  // namespace twain::win32
