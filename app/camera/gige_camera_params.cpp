// The GigE camera's video-parameter dialog: what the camera hands it and
// what it takes back.
#include "bound_call.h"
#include "camera_sdk_families.h"
#include "gige_camera.h"
#include "gige_param_dlg.h"

namespace {

bool IsWhiteBalanceAverage(std::uint32_t value) { return value >= 2 && value <= 255; }

// The values a preset stands for.
bool SamePresetValues(const GigeVideoParams& a, const GigeVideoParams& b) {
    return a.exposure == b.exposure && a.gainR == b.gainR && a.gainG == b.gainG && a.gainB == b.gainB &&
           a.gainAll == b.gainAll && a.contrast == b.contrast && a.flip == b.flip && a.colourMode == b.colourMode &&
           a.saturation == b.saturation && a.sharpness == b.sharpness;
}

}  // namespace

GigeVideoParams CGigECamera::VideoParams() const {
    GigeVideoParams p;
    p.cameraIndex = m_cameraIndex;
    p.modelCode = m_modelCode;
    p.colourKind = m_colourKind;
    p.cmos = m_cmos != 0;
    p.gainR = m_gainR;
    p.gainG = m_gainG;
    p.gainB = m_gainB;
    p.gainAll = m_gainAll;
    p.contrast = m_contrast;
    p.exposure = m_exposure;
    p.offsetH = m_offsetH;
    p.offsetV = m_offsetV;
    p.captureWidth = m_captureWidth;
    p.captureHeight = m_captureHeight;
    if (!m_resolutions.empty()) {
        p.maxWidth = m_resolutions.front().width;
        p.maxHeight = m_resolutions.front().height;
    }
    p.offsetAllowed = p.captureWidth < p.maxWidth || p.captureHeight < p.maxHeight;
    p.correcting = m_correcting;
    p.packetDelay = m_packetDelay;
    p.packetSize = m_packetSize;
    p.watchdog = m_watchdog;
    p.hdr = m_hdr;
    p.flip = m_flipMode;
    p.colourMode = m_colourMode;
    p.zoomMode = m_zoomMode;
    p.speedMode = m_speedMode;
    p.validBits = m_validBitsOff;
    p.aeLevel = m_aeLevel;
    p.cross = Overlay().GetSingleCross();
    p.aeLiving = m_aeLiving;
    if (m_exposureRange) {
        p.exposureRange = {(*m_exposureRange)[0], (*m_exposureRange)[1]};
    }
    p.saturation = m_saturation;
    p.sharpness = m_sharpness;
    p.paramFileIndex = m_paramFileIndex;
    std::uint32_t red = 1, green = 1, blue = 1;
    if (CallBoundOrFail(KQGE().KQGE_GetAWBVal, m_cameraIndex, &red, &green, &blue) == 0 && IsWhiteBalanceAverage(red) &&
        IsWhiteBalanceAverage(green) && IsWhiteBalanceAverage(blue)) {
        p.whiteBalance = {int(red), int(green), int(blue)};
    }
    return p;
}

int CGigECamera::ShowVideoParams() {
    if (!m_opened || !m_previewing) {
        return 0;
    }
    const GigeVideoParams found = VideoParams();
    GigeVideoParams params = found;
    CVideoParamDlg dialog(params, *this, m_hostWindow);
    const INT_PTR result = dialog.DoModal();
    if (result != IDOK) {
        const auto& kq = KQGE();
        CallBoundOrFail(kq.KQGE_SetSaturation, m_cameraIndex, m_saturation);
        CallBoundOrFail(kq.KQGE_SetSharpness, m_cameraIndex, m_sharpness);
        return int(result);
    }
    m_gainR = params.gainR;
    m_gainG = params.gainG;
    m_gainB = params.gainB;
    m_exposure = params.exposure;
    m_gainAll = params.gainAll;
    m_contrast = params.contrast;
    m_offsetH = params.offsetH;
    m_offsetV = params.offsetV;
    m_packetDelay = params.packetDelay;
    m_packetSize = params.packetSize;
    m_watchdog = params.watchdog;
    m_hdr = params.hdr;
    m_flipMode = params.flip;
    m_colourMode = params.colourMode;
    m_speedMode = params.speedMode;
    m_validBitsOff = params.validBits;
    m_correcting = params.correcting;
    m_aeLevel = params.aeLevel;
    m_saturation = params.saturation;
    m_sharpness = params.sharpness;
    m_blackWhite = m_colourMode == 0 || m_colourMode == 5 ? 0 : 1;
    m_eightBitFrames = GigeColourModeRecords(m_colourMode) ? 0 : 1;
    if (dialog.ChosenParamFile()) {
        m_paramFileIndex = *dialog.ChosenParamFile();
    } else if (!SamePresetValues(params, found)) {
        m_paramFileIndex = -1;
    }
    return int(result);
}
