// The UVC camera's section "UVC" of Config.ini and its compressor number in
// section "Video".
#include "cross_line_settings.h"
#include "uvc_camera.h"
#include "uvc_model.h"

namespace {
constexpr const wchar_t* kSection = L"UVC";
constexpr const wchar_t* kVideoSection = L"Video";
}  // namespace

void CUVCCamera::LoadSettings() {
    CIniFile& s = m_settings;
    LoadCaptureSettings();
    s.GetInt(m_compressorNumber, kVideoSection, L"SCompressorNum", 0);
    LoadCrossLineSettings(s, *this);
    for (const UvcPropertyKey& property : UvcPropertiesInSaveOrder()) {
        int value = 0;
        m_properties[static_cast<int>(property.id)] = s.GetInt(value, kSection, property.key, 0);
    }
}

void CUVCCamera::SaveSettings() {
    CIniFile& s = m_settings;
    s.WriteInt(m_compressorNumber, kVideoSection, L"SCompressorNum");
    s.WriteInt(m_imageType, kSection, L"ImgType");
    s.WriteInt(m_nameType, kSection, L"NameType");
    SaveSingleCross();
    SaveCrossLineSettings(s, *this);
    for (const UvcPropertyKey& property : UvcPropertiesInSaveOrder()) {
        s.WriteInt(GetProperty(static_cast<int>(property.id)), kSection, property.key);
    }
}
