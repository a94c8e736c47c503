#pragma once
// The RGB dialog (145): shifts of the red, green and blue channels of the
// picture with a live preview.
#include "adjust_preview_dlg.h"

class CRGBAdjustDlg : public CAdjustPreviewDlg {
public:
    CRGBAdjustDlg(CPicture& picture, HWND parent);

    int m_nRed = 0;
    int m_nGreen = 0;
    int m_nBlue = 0;

protected:
    void ReadSliders() override;
    void ApplyToPreview(CPicture& working) override { working.ShiftRGB(m_nRed, m_nGreen, m_nBlue); }
    void ApplyToPicture(CPicture& picture) override { picture.ShiftRGB(m_nRed, m_nGreen, m_nBlue); }
};
