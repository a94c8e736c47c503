#include "view_controller_host.h"

#include "calibration_dlg.h"
#include "ini_profile.h"
#include "private_messages.h"
#include "resource_module.h"
#include "text_input_dlg.h"
#include "view_frame.h"

namespace {
std::u16string ToU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
}  // namespace

std::u16string CViewControllerHost::Text(int stringId) {
    return ToU16(LoadResourceString(static_cast<UINT>(stringId)));
}

std::optional<std::u16string> CViewControllerHost::AskAnnotationText(WindowPoint at) {
    if (m_view == nullptr) {
        return std::nullopt;
    }
    POINT screen{at.x, at.y};
    ::ClientToScreen(m_view, &screen);
    // The dialog needs the mouse that the press captured.
    ::ReleaseCapture();
    CTextInputDlg dialog(screen.x, screen.y, m_view);
    if (dialog.DoModal() != IDOK) {
        return std::nullopt;
    }
    return ToU16(dialog.m_strText);
}

std::optional<CalibrationChoice> CViewControllerHost::AskCalibration(float pixelLength, int pictureWidth,
                                                                     int pictureHeight) {
    if (m_view == nullptr) {
        return std::nullopt;
    }
    CCalibrationDlg dialog(m_view);
    dialog.m_strScalePath = m_scaleIniPath.empty() ? ScaleIniPath() : m_scaleIniPath;
    dialog.m_nResoWidth = pictureWidth;
    dialog.m_nResoHeight = pictureHeight;
    dialog.SetPixelLength(pixelLength);
    if (dialog.DoModal() != IDOK) {
        return std::nullopt;
    }
    return CalibrationChoice{dialog.m_fValue, ToU16(dialog.m_strUnit)};
}

int CViewControllerHost::SelectedCalibration() { return m_frame != nullptr ? m_frame->GetCalibrationSelection() : -1; }

void CViewControllerHost::HistoryChanged() {
    if (m_view != nullptr) {
        ::SendMessageW(m_view, WM_HISTORY_CHANGED, 0, 0);
    }
}

void CViewControllerHost::CalibrationChanged() {
    if (m_view != nullptr) {
        ::SendMessageW(m_view, WM_CALIBRATION_CHANGED, 0, 0);
    }
}

void CViewControllerHost::ShowImageInfo(const std::u16string& text) {
    if (m_fileInfo != nullptr) {
        m_fileInfo->ShowFileInfo(text);
    }
}

void CViewControllerHost::ShowArrowPanel(CCLArrow& arrow) {
    if (m_view == nullptr) {
        return;
    }
    if (m_arrowPanel && m_arrowPanel->GetSafeHwnd() && m_arrowPanel->GetArrow() == &arrow) {
        // Left open by another tool: it opens again on the arrow as it is.
        m_arrowPanel->ShowArrowValues();
        ::ShowWindow(m_arrowPanel->GetSafeHwnd(), SW_SHOW);
        return;
    }
    m_arrowPanel = std::make_unique<CArrowDlg>(m_view);
    m_arrowPanel->SetArrow(&arrow);
    if (!m_arrowPanel->Create(m_view)) {
        m_arrowPanel.reset();
        return;
    }
    ::ShowWindow(m_arrowPanel->GetSafeHwnd(), SW_SHOW);
}

void CViewControllerHost::CloseArrowPanel(const CCLArrow& arrow) {
    if (m_arrowPanel && m_arrowPanel->GetArrow() == &arrow) {
        m_arrowPanel.reset();
    }
}
