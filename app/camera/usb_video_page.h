#pragma once
// The adjustment page of the USB CMOS (dialog 240, `CCMOSVideoPage`) and CCD
// (dialog 242, `CCCDVideoPage`) video-parameter dialogs: exposure, gains,
// contrast, gamma, saturation, sharpness, the CMOS window offsets and
// off-centre mode, the single cross and continuous exposure. Every change
// goes to the library at once with the device handle first; the capture
// record is edited in a copy of the page's own, so the camera's stays as
// found for `Restore`.
#include "slider_page.h"
#include "usb_param_calls.h"
#include "usb_video_params.h"

class CUsbVideoPage : public CSliderPage {
public:
    CUsbVideoPage(UsbVideoParams& params, const UsbParamCalls& calls, CCameraDevice& camera);
    // Sends back, in order, what the page found: CMOS off-centre mode, the
    // camera's capture record, contrast, CMOS user gains, gamma, saturation,
    // sharpness, then the cross and continuous exposure on the camera.
    void Restore();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    // Sends the page's capture record and reads back what the library took.
    void SendCapInfo();
    void ReadFoundValues();
    std::vector<Field> ColourGainFields();

    UsbVideoParams& m_params;
    const UsbParamCalls& m_calls;
    UsbVideoParams m_found;
    KQ_CAPINFO m_record{};
    // Slider values of the fields kept in the capture record.
    int m_exposure = 0;
    int m_analogueGain = 0;
    std::array<int, 3> m_recordGains{};
    int m_offsetH = 0, m_offsetV = 0;
};
