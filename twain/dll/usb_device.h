#pragma once
// `CUSBDevice`: the device object of KQCMos_TW.dll. Opens the first USB
// camera, keeps its settings per model in the registry and serves the data
// source's eight operations through the parameter logic of TwainDevice.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ctwain.h"
#include "frame_arrivals.h"
#include "kq_camera_port.h"
#include "twain_device.h"
#include "window_host.h"

namespace twain::win32 {

class CUSBDevice final : public CTWAIN {
public:
    // The first camera opened, its model's table chosen and its settings
    // applied; null when no camera opens (nothing is saved then).
    static std::unique_ptr<CUSBDevice> Open();
    // Saves the settings under the current user, stops the timer and the
    // view, and closes the camera.
    ~CUSBDevice();

    void StartPreview(int x, int y, int width, int height) override;
    void StopPreview() override;
    int GetParam(unsigned int id, int* value) override;
    void SetParam(unsigned int id, int value) override;
    int GetPalette(RGBQUAD* palette) override;
    void GetFrame(TwainImageRecord* record) override;
    int OnScroll(HWND window, UINT message, WPARAM wParam, int, int, int) override;
    int GetResolutions(const ResolutionEntry** table, int* count) override;

private:
    CUSBDevice(HANDLE camera, const ModelProfile& profile, const TwainSettings& settings);
    // A picture taken with the current settings into rgb_: while the
    // preview runs, the stream's latest frame, waiting for the first one
    // when a setting has just restarted the stream.
    bool GrabCurrentFrame();

    HANDLE camera_;
    KqCameraPort cameraPort_;
    WindowHost host_;
    TwainDevice device_;
    std::string registryKey_;
    FrameArrivals arrivals_;
    // Frame buffers for the largest capture size, one spare row each.
    std::vector<std::uint8_t> rgb_;
    std::vector<std::uint8_t> raw_;
};

}  // namespace twain::win32
