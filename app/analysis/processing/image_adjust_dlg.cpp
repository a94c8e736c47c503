#include "image_adjust_dlg.h"

#include <array>

#include "processing_resource.h"

namespace {

constexpr std::array<CAdjustPreviewDlg::Slider, 4> kSliders = {{
    {IDC_ADJUST_BRIGHTNESS, IDC_ADJUST_BRIGHTNESS_TEXT, -255, 255},
    {IDC_ADJUST_CONTRAST, IDC_ADJUST_CONTRAST_TEXT, -100, 100},
    {IDC_ADJUST_SATURATION, IDC_ADJUST_SATURATION_TEXT, -255, 255},
    {IDC_ADJUST_HUE, IDC_ADJUST_HUE_TEXT, -128, 128},
}};

}  // namespace

CImageAdjustDlg::CImageAdjustDlg(CPicture& picture, HWND parent)
    : CAdjustPreviewDlg(IDD_IMAGE_ADJUST, picture, parent, kSliders, IDC_ADJUST_PREVIEW) {}

void CImageAdjustDlg::ReadSliders() {
    m_nBrightness = SliderPosition(IDC_ADJUST_BRIGHTNESS);
    m_nContrast = SliderPosition(IDC_ADJUST_CONTRAST);
    m_nSaturation = SliderPosition(IDC_ADJUST_SATURATION);
    m_nHue = SliderPosition(IDC_ADJUST_HUE);
}

void CImageAdjustDlg::Adjust(CPicture& picture) const {
    if (m_nBrightness != 0 || m_nContrast != 0) {
        picture.Light(m_nBrightness, m_nContrast);
    }
    if (m_nHue != 0 || m_nSaturation != 0) {
        const CPicture copy(picture);
        picture.Colorize(copy, m_nHue, m_nSaturation, 0);
    }
}
