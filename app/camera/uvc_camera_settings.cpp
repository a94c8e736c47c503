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
    s.GetInt(m_imageType, kSection, L"ImgType", 1);
    s.GetInt(m_nameType, kSection, L"NameType", 0);
    s.GetInt(m_captureWidth, kSection, L"Width", 0);
    s.GetInt(m_captureHeight, kSection, L"Height", 0);
    s.GetInt(m_snapshotSize.width, kSection, L"ShoutWidth", 0);
    s.GetInt(m_snapshotSize.height, kSection, L"ShoutHeight", 0);
    SingleCross cross;
    int on = 0, centred = 0;
    s.GetInt(on, kSection, L"CROSSLINE", 0);
    s.GetInt(centred, kSection, L"CROSSCENTER", 0);
    s.GetInt(cross.x, kSection, L"CROSS_OFFX", 0);
    s.GetInt(cross.y, kSection, L"CROSS_OFFY", 0);
    cross.on = on != 0;
    cross.centred = centred != 0;
    Overlay().SetSingleCross(cross);
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
    const SingleCross cross = Overlay().GetSingleCross();
    s.WriteInt(cross.on ? 1 : 0, kSection, L"CROSSLINE");
    s.WriteInt(cross.centred ? 1 : 0, kSection, L"CROSSCENTER");
    s.WriteInt(cross.x, kSection, L"CROSS_OFFX");
    s.WriteInt(cross.y, kSection, L"CROSS_OFFY");
    SaveCrossLineSettings(s, *this);
    for (const UvcPropertyKey& property : UvcPropertiesInSaveOrder()) {
        s.WriteInt(GetProperty(static_cast<int>(property.id)), kSection, property.key);
    }
}
