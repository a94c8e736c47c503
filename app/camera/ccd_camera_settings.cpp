// The CCD camera's section "CCD" of Config.ini and its parameter files.
#include <filesystem>

#include "bound_call.h"
#include "camera_sdk_families.h"
#include "ccd_camera.h"
#include "ccd_param_file.h"
#include "cross_line_settings.h"
#include "neutral_saturation.h"
#include "param_presets.h"

namespace {

constexpr const wchar_t* kSection = L"CCD";

template <typename Entry, typename... Args>
int Kq(Entry entry, Args&&... args) {
    return CallBound(entry, kUnboundEntryFailure, std::forward<Args>(args)...);
}

CcdParamFile ReadParamFile(CIniFile& file) {
    return ReadCcdParamFile([&](const wchar_t* key, int fallback) {
        int value = 0;
        return file.GetInt(value, kSection, key, fallback);
    });
}

}  // namespace

void CCCDCamera::LoadSettings() {
    CIniFile& s = m_settings;
    int exposure = 0, gainAD = 0;
    s.GetInt(exposure, kSection, L"Exposure", 200);
    {
        const std::lock_guard lock(m_recordMutex);
        m_capInfo.exposure = std::uint32_t(exposure);
        s.GetInt(m_capInfo.gain[0], kSection, L"Gain_R", 32);
        s.GetInt(m_capInfo.gain[1], kSection, L"Gain_G", 32);
        s.GetInt(m_capInfo.gain[2], kSection, L"Gain_B", 32);
        s.GetInt(gainAD, kSection, L"Gain_AD", 100);
        m_capInfo.columnStart = std::uint32_t(gainAD);
    }
    s.GetInt(m_contrast, kSection, L"Contrast", 16);
    s.GetInt(m_aviCompressor, kSection, L"CCD_CPS", 0);
    LoadCaptureSettings();
    s.GetInt(m_gamma, kSection, L"Gamma", 0);
    s.GetInt(m_aeLiving, kSection, L"AELiving", 0);
    s.GetInt(m_sharpness, kSection, L"Sharpness", 0);
    s.GetInt(m_saturation, kSection, L"Saturation", camera_settings::kNeutralSaturation);
    m_saturation = camera_settings::ChosenOrNeutralSaturation(m_saturation);
    s.GetInt(m_aeLevel, kSection, L"AELevel", 0);
    LoadCrossLineSettings(s, *this);
    s.GetInt(m_hdr, kSection, L"HDR", 0);
    s.GetInt(m_colourMode, kSection, L"ColorMode", 0);
    m_savedColourMode = m_colourMode;
    s.GetInt(m_exposureUnit, kSection, L"ExposureUnit", 0);
}

void CCCDCamera::SaveSettings() {
    CIniFile& s = m_settings;
    const KQ_CAPINFO record = Record();
    s.WriteInt(int(record.exposure), kSection, L"Exposure");
    s.WriteInt(record.gain[0], kSection, L"Gain_R");
    s.WriteInt(record.gain[1], kSection, L"Gain_G");
    s.WriteInt(record.gain[2], kSection, L"Gain_B");
    s.WriteInt(int(record.columnStart), kSection, L"Gain_AD");
    s.WriteInt(m_contrast, kSection, L"Contrast");
    s.WriteInt(m_aviCompressor, kSection, L"CCD_CPS");
    s.WriteInt(m_imageType, kSection, L"ImgType");
    s.WriteInt(m_nameType, kSection, L"NameType");
    SaveSingleCross();
    s.WriteInt(m_gamma, kSection, L"Gamma");
    s.WriteInt(m_aeLevel, kSection, L"AELevel");
    s.WriteInt(m_aeLiving, kSection, L"AELiving");
    s.WriteInt(m_sharpness, kSection, L"Sharpness");
    s.WriteInt(m_saturation, kSection, L"Saturation");
    SaveCrossLineSettings(s, *this);
    s.WriteInt(m_hdr, kSection, L"HDR");
    s.WriteInt(m_colourMode, kSection, L"ColorMode");
    s.WriteInt(m_exposureUnit, kSection, L"ExposureUnit");
}

void CCCDCamera::LoadParamFile(CIniFile& file) {
    const CcdParamFile values = ReadParamFile(file);
    {
        const std::lock_guard lock(m_recordMutex);
        m_capInfo.exposure = std::uint32_t(values.exposure);
        m_capInfo.gain[0] = values.gainRed;
        m_capInfo.gain[1] = values.gainGreen;
        m_capInfo.gain[2] = values.gainBlue;
        m_capInfo.columnStart = std::uint32_t(values.gainAD);
        m_capInfo.control = values.control;
    }
    m_contrast = values.contrast;
    m_gamma = values.gamma;
    m_saturation = values.saturation;
    m_sharpness = values.sharpness;
    m_colourMode = values.colourMode;
    m_flip = values.flip;
    if (!m_device) {
        return;
    }
    const auto& kq = KQCCD();
    SendCapInfo();
    Kq(kq.KQ_SetContrastValue, m_device, m_contrast);
    Kq(kq.KQ_SetGamma, m_device, m_gamma);
    Kq(kq.KQ_SetSaturation, m_device, m_saturation);
    Kq(kq.KQ_SetSharpness, m_device, m_sharpness);
    SendColourMode(m_colourMode);
    Overlay().Suspend();
    Kq(kq.KQ_SetParamFlip, m_device, m_flip);
    PublishFrameGeometry();
    if (ResetsWhiteBalance(values)) {
        Kq(kq.KQ_ReSetAWBVal, m_device, values.whiteBalanceRed, values.whiteBalanceGreen, values.whiteBalanceBlue);
    }
}

void CCCDCamera::CopyParamFileToSettings(const std::wstring& name) {
    const std::wstring programFolder = std::filesystem::path(m_settings.m_strPath).parent_path().wstring() + L"\\";
    const std::optional<std::wstring> path = PresetFilePath(programFolder, PresetFamily::ccd, name);
    if (!path) {
        return;
    }
    CIniFile file;
    file.m_strPath = *path;
    for (const SettingValue& setting : CcdStartupSettings(ReadParamFile(file))) {
        m_settings.WriteInt(setting.value, kSection, std::wstring(setting.key).c_str());
    }
}
