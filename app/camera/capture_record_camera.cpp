// The video-zoom bit of the capture record and the clear-view colour mode,
// the same for every family that sends the record.
#include "capture_record_camera.h"

namespace {

// The values a preset stands for, as each family's dialog shows them.
bool SamePresetValues(const UsbVideoParams& a, const UsbVideoParams& b) {
    const KQ_CAPINFO& x = a.capInfo;
    const KQ_CAPINFO& y = b.capInfo;
    const bool shared = a.colourMode == b.colourMode && a.flip == b.flip && a.contrast == b.contrast &&
                        a.gamma == b.gamma && x.exposure == y.exposure && x.gain[0] == y.gain[0] &&
                        a.sharpness == b.sharpness && a.saturation == b.saturation;
    if (a.facts.ccd) {
        return shared && x.control == y.control && x.gain[1] == y.gain[1] && x.gain[2] == y.gain[2] &&
               x.columnStart == y.columnStart;
    }
    return shared && a.userGains == b.userGains;
}

}  // namespace

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

UsbVideoParams CCaptureRecordCamera::VideoParamsFound(bool ccd) {
    UsbVideoParams p;
    p.device = m_device;
    {
        const std::lock_guard lock(m_recordMutex);
        p.capInfo = m_capInfo;
    }
    UsbCameraFacts& facts = p.facts;
    facts.ccd = ccd;
    facts.deviceType = m_deviceType;
    facts.monochrome = m_monochrome != 0;
    facts.offsetAllowed = m_videoZoom == 0;
    facts.captureWidth = m_captureWidth;
    facts.captureHeight = m_captureHeight;
    if (!m_resolutions.empty()) {
        facts.maxWidth = m_resolutions.front().width;
        facts.maxHeight = m_resolutions.front().height;
    }
    p.contrast = m_contrast;
    p.gamma = m_gamma;
    p.saturation = m_saturation;
    p.sharpness = m_sharpness;
    p.flip = m_flip;
    p.colourMode = m_colourMode;
    p.aeLevel = m_aeLevel;
    p.hdr = m_hdr;
    p.offCentre = m_offCenter;
    p.cross = Overlay().GetSingleCross();
    p.aeLiving = m_aeLiving;
    if (IsExposureUnitSupported() && GetExposureUnit() && m_exposureRange) {
        p.exposureRange = ExposureRange{(*m_exposureRange)[0], (*m_exposureRange)[1]};
    }
    p.paramFileIndex = m_paramFileIndex;
    p.sendColourMode = [this](int mode) { return SendColourMode(mode); };
    return p;
}

void CCaptureRecordCamera::TakeVideoParams(const UsbVideoParams& params, bool ok) {
    if (ok) {
        {
            const std::lock_guard lock(m_recordMutex);
            m_capInfo = params.capInfo;
        }
        m_savedColourMode = m_colourMode;
        m_blackWhite = params.colourMode == kMonochromeColourMode ? 1 : 0;
    }
    m_colourMode = params.colourMode;
    m_flip = params.flip;
    m_contrast = params.contrast;
    m_hdr = params.hdr;
    m_sharpness = params.sharpness;
    m_saturation = params.saturation;
    m_aeLevel = params.aeLevel;
    m_gamma = params.gamma;
    const bool eightBit = m_colourMode == 3 || m_colourMode == 4;
    m_eightBitFrames = eightBit ? 1 : 0;
    m_deliveredBits = eightBit ? 8 : 24;
    PublishFrameGeometry();
}

void CCaptureRecordCamera::TakeParamFileChoice(std::optional<int> chosen, bool ok, const UsbVideoParams& params,
                                               const UsbVideoParams& found) {
    if (chosen) {
        m_paramFileChoice = *chosen;
    } else if (ok && !SamePresetValues(params, found)) {
        m_paramFileChoice = -1;
    }
    m_paramFileIndex = m_paramFileChoice;
}
