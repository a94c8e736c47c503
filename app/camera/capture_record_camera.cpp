// The video-zoom bit of the capture record and the clear-view colour mode,
// the same for every family that sends the record.
#include "capture_record_camera.h"

int CCaptureRecordCamera::SetVideoZoom(int on) {
    {
        const std::lock_guard lock(m_recordMutex);
        m_capInfo.control =
            static_cast<std::uint8_t>(on ? (m_capInfo.control | kVideoZoomBit) : (m_capInfo.control & ~kVideoZoomBit));
    }
    const int code = SendCapInfo();
    m_videoZoom = on;
    return code;
}

int CCaptureRecordCamera::SetClearView(int on) {
    if (on) {
        m_colourMode = 1;
        m_clearView = 1;
        return SendColourMode(1);
    }
    m_clearView = 0;
    m_colourMode = m_blackWhite ? kMonochromeColourMode : 0;
    return SendColourMode(m_colourMode);
}
