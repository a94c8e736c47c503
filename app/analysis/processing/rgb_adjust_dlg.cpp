#include "rgb_adjust_dlg.h"

#include <array>

#include "processing_resource.h"

namespace {

constexpr std::array<CAdjustPreviewDlg::Slider, 3> kSliders = {{
    {IDC_RGB_RED, IDC_RGB_RED_TEXT, -128, 128},
    {IDC_RGB_GREEN, IDC_RGB_GREEN_TEXT, -128, 128},
    {IDC_RGB_BLUE, IDC_RGB_BLUE_TEXT, -128, 128},
}};

}  // namespace

CRGBAdjustDlg::CRGBAdjustDlg(CPicture& picture, HWND parent)
    : CAdjustPreviewDlg(IDD_RGB_ADJUST, picture, parent, kSliders, IDC_RGB_PREVIEW) {}

void CRGBAdjustDlg::ReadSliders() {
    m_nRed = SliderPosition(IDC_RGB_RED);
    m_nGreen = SliderPosition(IDC_RGB_GREEN);
    m_nBlue = SliderPosition(IDC_RGB_BLUE);
}
