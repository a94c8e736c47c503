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

#include "KQCMOSu.h"
#include "library_camera.h"

class CCaptureRecordCamera : public CLibraryCamera {
public:
    using CLibraryCamera::CLibraryCamera;

    int GetBW() const override { return m_blackWhite; }
    int GetClearView() const override { return m_clearView; }
    int GetVideoZoom() const override { return m_videoZoom; }
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

    mutable std::mutex m_recordMutex;
    KQ_CAPINFO m_capInfo{};
    int m_blackWhite = 0;
    int m_clearView = 0;
    int m_videoZoom = 0;
    int m_colourMode = 0;
};
