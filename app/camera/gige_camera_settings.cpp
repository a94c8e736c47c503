// The GigE camera's sections of Config.ini (section "GIGE" and the model's
// own section) and its parameter files.
#include <filesystem>

#include "bound_call.h"
#include "camera_sdk_families.h"
#include "ccd_param_file.h"
#include "cross_line_settings.h"
#include "gige_camera.h"
#include "neutral_saturation.h"
#include "param_presets.h"

namespace {

constexpr const wchar_t* kSection = L"GIGE";

template <typename Entry, typename... Args>
int Kq(Entry entry, Args&&... args) {
    return CallBoundOrFail(entry, std::forward<Args>(args)...);
}

// A GigE parameter file's values, each with the value a missing key reads as.
struct GigeParamFile {
    int exposure = 200;
    int gainRed = 32;
    int gainGreen = 32;
    int gainBlue = 32;
    int gainAll = 100;
    int contrast = 16;
    int colourMode = 0;
    int flip = 0;
    int sharpness = 1;
    int saturation = 8;
};

GigeParamFile ReadParamFile(CIniFile& file) {
    GigeParamFile values;
    file.GetInt(values.exposure, kSection, L"Exposure", 200);
    file.GetInt(values.gainRed, kSection, L"Gain_R", 32);
    file.GetInt(values.gainGreen, kSection, L"Gain_G", 32);
    file.GetInt(values.gainBlue, kSection, L"Gain_B", 32);
    file.GetInt(values.gainAll, kSection, L"Gain_AD", 100);
    file.GetInt(values.contrast, kSection, L"Contrast", 16);
    file.GetInt(values.colourMode, kSection, L"ColorKinds", 0);
    file.GetInt(values.flip, kSection, L"FilpKinds", 0);
    file.GetInt(values.sharpness, kSection, L"Sharpness", 1);
    file.GetInt(values.saturation, kSection, L"Saturation", 8);
    return values;
}

}  // namespace

// "ValidBitsOff" is read and written in the model's section, so that the
// value saved is the one read at the next start.
void CGigECamera::LoadSettings() {
    CIniFile& s = m_settings;
    const wchar_t* key = m_modelKey.c_str();
    int exposure = 0;
    s.GetInt(exposure, kSection, L"Exp", 2000);
    m_exposure = exposure;
    s.GetInt(m_gainAll, key, L"GainAll", 32);
    s.GetInt(m_gainR, kSection, L"GainR", 8);
    s.GetInt(m_gainG, kSection, L"GainG", 8);
    s.GetInt(m_gainB, kSection, L"GainB", 8);
    s.GetInt(m_aviCompressor, kSection, L"GIGE_CPS", 0);
    LoadCaptureSettings();
    s.GetInt(m_flipMode, kSection, L"FlipMode", 0);
    s.GetInt(m_colourMode, key, L"ColorMode", m_colourKind != GigeColourKind::colour ? 2 : 0);
    m_savedColourMode = m_colourMode;
    s.GetInt(m_speedMode, key, L"SpeedMode", 0);
    s.GetInt(m_zoomMode, key, L"ZoomMode", 0);
    s.GetInt(m_hdr, kSection, L"HDR", 0);
    s.GetInt(m_correcting, kSection, L"ACing", 0);
    s.GetInt(m_validBitsOff, key, L"ValidBitsOff", 0);
    s.GetInt(m_contrast, kSection, L"Contrast", 32);
    s.GetInt(m_aeLiving, kSection, L"AELiving", 0);
    s.GetInt(m_offCenter, kSection, L"OffCenter", 0);
    s.GetInt(m_aeLevel, kSection, L"AELevel", 1);
    s.GetInt(m_sharpness, kSection, L"Sharpness", 0);
    s.GetInt(m_saturation, kSection, L"Saturation", camera_settings::kNeutralSaturation);
    m_saturation = camera_settings::ChosenOrNeutralSaturation(m_saturation);
    s.GetInt(m_packetSize, kSection, L"PackageSize", 1500);
    LoadCrossLineSettings(s, *this);
}

// Only what was loaded is saved: a camera that never opened keeps the
// user's sections as they are.
void CGigECamera::SaveSettings() {
    if (!m_opened) {
        return;
    }
    CIniFile& s = m_settings;
    const wchar_t* key = m_modelKey.c_str();
    s.WriteInt(m_exposure, kSection, L"Exp");
    s.WriteInt(m_gainR, kSection, L"GainR");
    s.WriteInt(m_gainG, kSection, L"GainG");
    s.WriteInt(m_gainB, kSection, L"GainB");
    s.WriteInt(m_aviCompressor, kSection, L"GIGE_CPS");
    s.WriteInt(m_nameType, kSection, L"NameType");
    SaveSingleCross();
    s.WriteInt(m_offCenter, kSection, L"OffCenter");
    s.WriteInt(m_flipMode, kSection, L"FlipMode");
    s.WriteInt(m_imageType, kSection, L"ImgType");
    s.WriteInt(m_hdr, kSection, L"HDR");
    s.WriteInt(m_validBitsOff, key, L"ValidBitsOff");
    s.WriteInt(m_contrast, kSection, L"Contrast");
    s.WriteInt(m_correcting, kSection, L"ACing");
    s.WriteInt(m_aeLiving, kSection, L"AELiving");
    s.WriteInt(m_aeLevel, kSection, L"AELevel");
    s.WriteInt(m_sharpness, kSection, L"Sharpness");
    s.WriteInt(m_saturation, kSection, L"Saturation");
    s.WriteInt(m_packetSize, kSection, L"PackageSize");
    s.WriteInt(m_gainAll, key, L"GainAll");
    s.WriteInt(m_colourMode, key, L"ColorMode");
    s.WriteInt(m_speedMode, key, L"SpeedMode");
    s.WriteInt(m_zoomMode, key, L"ZoomMode");
    SaveCrossLineSettings(s, *this);
}

void CGigECamera::LoadParamFile(CIniFile& file) {
    const GigeParamFile values = ReadParamFile(file);
    int red = 1, green = 1, blue = 1;
    file.GetInt(red, kSection, L"AVGR", 1);
    file.GetInt(green, kSection, L"AVGG", 1);
    file.GetInt(blue, kSection, L"AVGB", 1);
    m_saturation = values.saturation;
    m_sharpness = values.sharpness;
    if (!m_opened) {
        return;
    }
    const auto& kq = KQGE();
    SetGainAll(0, values.gainAll);
    SetGainR(values.gainRed);
    SetGainG(values.gainGreen);
    SetGainB(values.gainBlue);
    SetExposure(values.exposure);
    SetContrast(values.contrast);
    SetColorMode(values.colourMode);
    SetFlipMode(values.flip);
    Kq(kq.KQGE_SetSaturation, m_cameraIndex, m_saturation);
    Kq(kq.KQGE_SetSharpness, m_cameraIndex, m_sharpness);
    if (IsWhiteBalanceValue(red) && IsWhiteBalanceValue(green) && IsWhiteBalanceValue(blue)) {
        Kq(kq.KQGE_ReSetAWBVal, m_cameraIndex, red, green, blue);
    }
}

void CGigECamera::CopyParamFileToSettings(const std::wstring& name) {
    const std::wstring programFolder = std::filesystem::path(m_settings.m_strPath).parent_path().wstring() + L"\\";
    const std::optional<std::wstring> path = PresetFilePath(programFolder, PresetFamily::gige, name);
    if (!path) {
        return;
    }
    CIniFile file;
    file.m_strPath = *path;
    const GigeParamFile values = ReadParamFile(file);
    const wchar_t* key = m_modelKey.c_str();
    m_settings.WriteInt(values.exposure, kSection, L"Exp");
    m_settings.WriteInt(values.gainAll, key, L"GainAll");
    m_settings.WriteInt(values.gainRed, kSection, L"GainR");
    m_settings.WriteInt(values.gainGreen, kSection, L"GainG");
    m_settings.WriteInt(values.gainBlue, kSection, L"GainB");
    m_settings.WriteInt(values.flip, kSection, L"FlipMode");
    m_settings.WriteInt(values.colourMode, key, L"ColorMode");
    m_settings.WriteInt(values.saturation, kSection, L"Saturation");
    m_settings.WriteInt(values.sharpness, kSection, L"Sharpness");
}
