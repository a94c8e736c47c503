// The USB CMOS camera's section "CMOS" of Config.ini and its parameter files.
#include <filesystem>

#include "bound_call.h"
#include "camera_sdk_families.h"
#include "cmos_camera.h"
#include "cmos_param_file.h"
#include "cross_line_settings.h"
#include "neutral_saturation.h"
#include "param_file_names.h"

namespace {

constexpr const wchar_t* kSection = L"CMOS";
constexpr int kType15 = 15;
constexpr int kType16 = 16;

CmosParamValues ReadParamFile(CIniFile& file) {
    return ReadCmosParamValues([&](const wchar_t* key, int fallback) {
        int value = 0;
        return file.GetInt(value, kCmosParamSection, key, fallback);
    });
}

}  // namespace

void CCMOSCamera::LoadSettings() {
    CIniFile& s = m_settings;
    int exposure = 0;
    s.GetInt(exposure, kSection, L"Exposure", 100);
    {
        const std::lock_guard lock(m_recordMutex);
        m_capInfo.exposure = std::uint32_t(exposure);
        s.GetInt(m_capInfo.gain[0], kSection, L"Gain_R", 32);
        s.GetInt(m_capInfo.gain[1], kSection, L"Gain_G", 32);
        s.GetInt(m_capInfo.gain[2], kSection, L"Gain_B", 32);
        s.GetInt(m_userGains[0], kSection, L"U_R", 500);
        s.GetInt(m_userGains[1], kSection, L"U_G", 500);
        s.GetInt(m_userGains[2], kSection, L"U_B", 500);
    }
    s.GetInt(m_contrast, kSection, L"Contrast", 16);
    s.GetInt(m_aviCompressor, kSection, L"CMOS_CPS", 0);
    s.GetInt(m_colourAdjust, kSection, L"COLORADJ", 0);
    LoadCaptureSettings();
    s.GetInt(m_gamma, kSection, L"Gamma", 16);
    s.GetInt(m_aeLiving, kSection, L"AELiving", 0);
    s.GetInt(m_sharpness, kSection, L"Sharpness", 0);
    s.GetInt(m_saturation, kSection, L"Saturation", camera_settings::kNeutralSaturation);
    m_saturation = camera_settings::ChosenOrNeutralSaturation(m_saturation);
    s.GetInt(m_aeLevel, kSection, L"AELevel", 0);
    s.GetInt(m_offCenter, kSection, L"OffCenter", 0);
    s.GetInt(m_gainAll120, kSection, L"Gain_All120", 0);
    s.GetInt(m_sharpYuv, kSection, L"SharpYUV", 0);
    LoadCrossLineSettings(s, *this);
    s.GetInt(m_hdr, kSection, L"HDR", 0);
    s.GetInt(m_colourMode, kSection, L"ColorMode", 0);
    m_savedColourMode = m_colourMode;
    s.GetInt(m_exposureUnit, kSection, L"ExposureUnit", 0);
}

void CCMOSCamera::SaveSettings() {
    CIniFile& s = m_settings;
    const KQ_CAPINFO record = Record();
    const std::array<int, 3> gains = UserGains();
    s.WriteInt(int(record.exposure), kSection, L"Exposure");
    // Type 16 keeps its red analogue gain under its own key.
    s.WriteInt(record.gain[0], kSection, m_deviceType == kType16 ? L"Gain_All120" : L"Gain_R");
    s.WriteInt(record.gain[1], kSection, L"Gain_G");
    s.WriteInt(record.gain[2], kSection, L"Gain_B");
    s.WriteInt(m_contrast, kSection, L"Contrast");
    s.WriteInt(m_aviCompressor, kSection, L"CMOS_CPS");
    s.WriteInt(m_imageType, kSection, L"ImgType");
    s.WriteInt(m_nameType, kSection, L"NameType");
    if (!m_monochrome) {
        s.WriteInt(gains[0], kSection, L"U_R");
        s.WriteInt(gains[1], kSection, L"U_G");
        s.WriteInt(gains[2], kSection, L"U_B");
    }
    s.WriteInt(m_colourAdjust, kSection, L"COLORADJ");
    SaveSingleCross();
    s.WriteInt(m_gamma, kSection, L"Gamma");
    s.WriteInt(m_aeLevel, kSection, L"AELevel");
    s.WriteInt(m_sharpness, kSection, m_deviceType == kType15 ? L"SharpYUV" : L"Sharpness");
    s.WriteInt(m_saturation, kSection, L"Saturation");
    s.WriteInt(m_offCenter, kSection, L"OffCenter");
    s.WriteInt(m_aeLiving, kSection, L"AELiving");
    SaveCrossLineSettings(s, *this);
    s.WriteInt(m_hdr, kSection, L"HDR");
    s.WriteInt(m_colourMode, kSection, L"ColorMode");
    s.WriteInt(m_exposureUnit, kSection, L"ExposureUnit");
}

void CCMOSCamera::LoadParamFile(CIniFile& file) {
    const CmosParamValues values = ReadParamFile(file);
    const std::array<std::uint8_t, 3> analogue = AnalogueGainsOf(m_deviceType, values);
    {
        const std::lock_guard lock(m_recordMutex);
        m_capInfo.exposure = std::uint32_t(values.exposure);
        std::copy(analogue.begin(), analogue.end(), std::begin(m_capInfo.gain));
        m_capInfo.control = std::uint8_t(values.control);
        m_userGains = {values.gainR, values.gainG, values.gainB};
    }
    m_contrast = values.contrast;
    m_gamma = values.gamma;
    m_sharpness = values.sharpness;
    m_saturation = values.saturation;
    if (!m_device) {
        m_colourMode = values.colorKinds;
        m_flip = values.flipKinds;
        return;
    }
    const auto& kq = KQCMOS();
    CallBoundOrFail(kq.KQ_SetGainR, m_device, values.gainR);
    CallBoundOrFail(kq.KQ_SetGainG, m_device, values.gainG);
    CallBoundOrFail(kq.KQ_SetGainB, m_device, values.gainB);
    SendCapInfo();
    CallBoundOrFail(kq.KQ_SetContrastValue, m_device, m_contrast);
    CallBoundOrFail(kq.KQ_SetGamma, m_device, m_gamma);
    CallBoundOrFail(kq.KQ_SetSaturation, m_device, m_saturation);
    CallBoundOrFail(kq.KQ_SetSharpness, m_device, m_sharpness);
    m_colourMode = values.colorKinds;
    m_flip = values.flipKinds;
    SendColourMode(m_colourMode);
    Overlay().Suspend();
    CallBoundOrFail(kq.KQ_SetParamFlip, m_device, m_flip);
    PublishFrameGeometry();
}

void CCMOSCamera::CopyParamFileToSettings(const std::wstring& name) {
    const std::optional<std::wstring> path =
        ParamFilePath(std::filesystem::path(m_settings.m_strPath).parent_path().wstring(), kCmosParamSection, name);
    if (!path) {
        return;
    }
    CIniFile file;
    file.m_strPath = *path;
    for (const SettingsKeyValue& setting : CmosStartupSettingsOf(m_deviceType, ReadParamFile(file))) {
        m_settings.WriteInt(setting.value, kSection, setting.key);
    }
}
