#pragma once
// `CCaptureRecordCamera`: what the USB CMOS and CCD cameras share over their
// libraries' common capture record. Both keep the record and the colour
// state the same way and differ only in the library table they send through,
// so sending stays with each family.
//
// Threads: `m_recordMutex` guards the record, which the library's one-shot
// completion writes on its own thread; the main thread holds it only to
// read or change the record, never around a library call.
#include <cstdint>
#include <mutex>

#include <optional>

#include "KQCMOSu.h"
#include "library_camera.h"
#include "usb_video_params.h"

class CCaptureRecordCamera : public CLibraryCamera {
public:
    using CLibraryCamera::CLibraryCamera;

    int GetBW() const override { return m_blackWhite; }
    int GetClearView() const override { return m_clearView; }
    int GetVideoZoom() const override { return m_videoZoom; }
    int GetAELiving() const override { return m_aeLiving; }
    int GetParamFileIndex() const override { return m_paramFileChoice; }

    // The model type the library reported at open.
    int GetDeviceType() const { return m_deviceType; }
    int SetVideoZoom(int on) override;
    int SetClearView(int on) override;

protected:
    static constexpr int kMonochromeColourMode = 2;
    static constexpr std::uint8_t kVideoZoomBit = 0x01;

    // Sends the capture record and publishes the geometry of the frames the
    // library delivers after it; the library's code.
    virtual int SendCapInfo() = 0;
    // Changes the colour mode in the library; the library's code.
    virtual int SendColourMode(int mode) = 0;
    // Tells the frame overlay the size and depth of the frames the library
    // delivers now.
    virtual void PublishFrameGeometry() = 0;

    // What both families hand their video-parameter dialog.
    UsbVideoParams VideoParamsFound(bool ccd);
    // Takes back what both families keep after the dialog; on OK also the
    // capture record the dialog read back. The frames then come in the
    // colour mode the library holds.
    void TakeVideoParams(const UsbVideoParams& params, bool ok);
    // The parameter-file choice after the dialog: the presets dialog's, else
    // the earlier one while OK left every preset value as found (else none),
    // Cancel keeping it; it also becomes the parameter-file index.
    void TakeParamFileChoice(std::optional<int> chosen, bool ok, const UsbVideoParams& params,
                             const UsbVideoParams& found);

    mutable std::mutex m_recordMutex;
    KQ_CAPINFO m_capInfo{};
    int m_blackWhite = 0;
    int m_clearView = 0;
    int m_videoZoom = 0;
    int m_colourMode = 0;
    int m_savedColourMode = 0;
    int m_contrast = 16;
    int m_deviceType = 0;
    int m_aeLevel = 0;
    int m_hdr = 0;
    int m_flip = 0;
    int m_aeLiving = 0;
    int m_paramFileChoice = -1;
    // Bits per pixel of the frames the library delivers (8 in colour modes 3 and 4).
    int m_deliveredBits = 24;
};
