#include "filter_commands.h"

#include <array>

#include "edge_drawing.h"
#include "image_adjust_dlg.h"
#include "picture.h"
#include "rgb_adjust_dlg.h"
#include "rotate_dlg.h"
#include "wait_cursor.h"

bool CImageFilterCommands::Blur(CPicture& picture) {
    static constexpr std::array<std::int32_t, 9> kKernel = {1, 1, 1, 1, 8, 1, 1, 1, 1};
    WaitCursor wait;
    return picture.Filter(kKernel, 3, 16, 0);
}

bool CImageFilterCommands::Sharpen(CPicture& picture) {
    WaitCursor wait;
    return picture.UnsharpMask(5.0f, 0.5f, 0);
}

bool CImageFilterCommands::Emboss(CPicture& picture) {
    WaitCursor wait;
    return picture.fudiao();
}

bool CImageFilterCommands::Mirror(CPicture& picture) {
    WaitCursor wait;
    return picture.Mirror();
}

bool CImageFilterCommands::Negative(CPicture& picture) {
    WaitCursor wait;
    return picture.Negative();
}

bool CImageFilterCommands::EdgeDetect(CPicture& picture) {
    WaitCursor wait;
    return DrawEdges(picture);
}

bool CImageFilterCommands::Rotate(CPicture& picture) {
    CRotateDlg dialog(m_owner);
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    WaitCursor wait;
    CPicture turned;
    bool done = false;
    switch (dialog.m_nIndex) {
    case 0: done = picture.RotateRight(turned); break;
    case 1: done = picture.Rotate180(turned); break;
    case 2: done = picture.RotateLeft(turned); break;
    default: break;
    }
    if (!done) {
        return false;
    }
    picture = std::move(turned);
    return true;
}

bool CImageFilterCommands::HueSaturation(CPicture& picture) {
    CImageAdjustDlg dialog(picture, m_owner);
    return dialog.DoModal() == IDOK;
}

bool CImageFilterCommands::AdjustRGB(CPicture& picture) {
    CRGBAdjustDlg dialog(picture, m_owner);
    return dialog.DoModal() == IDOK;
}
