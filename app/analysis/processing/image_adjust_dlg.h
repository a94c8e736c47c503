#pragma once
// The image parameter dialog (144): brightness, contrast, saturation and
// hue of the picture with a live preview.
#include "adjust_preview_dlg.h"

class CImageAdjustDlg : public CAdjustPreviewDlg {
public:
    CImageAdjustDlg(CPicture& picture, HWND parent);

    int m_nBrightness = 0;
    int m_nContrast = 0;
    int m_nSaturation = 0;
    int m_nHue = 0;

protected:
    void ReadSliders() override;
    void ApplyToPreview(CPicture& working) override { Adjust(working); }
    void ApplyToPicture(CPicture& picture) override { Adjust(picture); }

private:
    // Light when brightness or contrast is set, then Colorize of a copy
    // when hue or saturation is.
    void Adjust(CPicture& picture) const;
};
