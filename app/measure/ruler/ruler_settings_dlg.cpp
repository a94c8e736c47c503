#include "ruler_settings_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "measure_resource.h"

namespace {

int Slider(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, TBM_GETPOS, 0, 0)); }

void SetSlider(HWND dialog, int id, int last, int position) {
    SendDlgItemMessageW(dialog, id, TBM_SETRANGEMIN, FALSE, 1);
    SendDlgItemMessageW(dialog, id, TBM_SETRANGEMAX, FALSE, std::max(1, last));
    SendDlgItemMessageW(dialog, id, TBM_SETPOS, TRUE, position);
}

}  // namespace

CRulerSettingsDlg::CRulerSettingsDlg(IRulerOverlayHost& host, const RulerSettingsFiles& files, HWND parent)
    : CDialog(IDD_RULER_SETTINGS, parent), m_host(host), m_files(files) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

BOOL CRulerSettingsDlg::OnInitDialog() {
    m_sizes = m_host.GetRulerSizes();
    m_nCalibration = m_host.GetCalibrationIndex();
    const RulerStoredSettings stored = m_files.ReadRuler();
    const auto within = [](int position, int frame) { return frame > 0 ? std::clamp(position, 0, frame) : position; };
    m_nRulerX = within(stored.rulerX, m_sizes.frameHeight);
    m_nRulerY = within(stored.rulerY, m_sizes.frameWidth);
    m_bShow = stored.show ? 1 : 0;
    m_bCentre = stored.middle ? 1 : 0;
    m_colour = stored.colour;
    m_bHorizontalMoved = m_bVerticalMoved = false;
    // Without a frame or a display there is nothing to convert: the sliders
    // keep the stored positions and closing writes none back.
    m_nHorizontalPos = FrameToDisplay(m_nRulerX, m_sizes.frameHeight, m_sizes.displayHeight).value_or(m_nRulerX);
    m_nVerticalPos = FrameToDisplay(m_nRulerY, m_sizes.frameWidth, m_sizes.displayWidth).value_or(m_nRulerY);
    SetSlider(m_hWnd, IDC_RULER_HORIZONTAL_POS, m_sizes.displayHeight, m_nHorizontalPos);
    SetSlider(m_hWnd, IDC_RULER_VERTICAL_POS, m_sizes.displayWidth, m_nVerticalPos);
    CheckDlgButton(m_hWnd, IDC_RULER_SHOW, m_bShow ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_RULER_CENTRE, m_bCentre ? BST_CHECKED : BST_UNCHECKED);
    m_colourButton.SubclassDlgItem(m_hWnd, IDC_RULER_COLOUR);
    m_colourButton.SetColor(m_colour);
    const RulerCalibration calibration = m_files.ReadCalibration(m_nCalibration);
    m_nSpacing = calibration.spacing;
    SetDlgItemTextW(m_hWnd, IDC_RULER_UNIT, calibration.unit.c_str());
    SetDlgItemInt(m_hWnd, IDC_RULER_SPACING, static_cast<UINT>(m_nSpacing), FALSE);
    return TRUE;
}

BOOL CRulerSettingsDlg::OnCommand(WORD id, WORD code) {
    switch (id) {
    case IDC_RULER_SHOW:
    case IDC_RULER_CENTRE:
        if (code != BN_CLICKED) {
            return FALSE;
        }
        (id == IDC_RULER_SHOW ? m_bShow : m_bCentre) = IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED ? 1 : 0;
        m_host.RedrawRuler();
        return TRUE;
    case IDC_RULER_SPACING:
        if (code != EN_CHANGE) {
            return FALSE;
        }
        ReadSpacing();
        return TRUE;
    default: return FALSE;
    }
}

void CRulerSettingsDlg::ReadSpacing() {
    wchar_t text[32] = {};
    GetDlgItemTextW(m_hWnd, IDC_RULER_SPACING, text, 32);
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, 10);
    if (end == text) {
        return;  // nothing that reads as a number yet
    }
    if (value < 1) {
        m_nSpacing = 1;
        // Sends EN_CHANGE again, which then reads 1.
        SetDlgItemInt(m_hWnd, IDC_RULER_SPACING, 1, FALSE);
    } else {
        m_nSpacing = static_cast<int>(std::min<long>(value, 1000000));
    }
    m_host.RedrawRuler();
}

void CRulerSettingsDlg::ReadSlider(int id) {
    if (id == IDC_RULER_HORIZONTAL_POS) {
        m_nHorizontalPos = Slider(m_hWnd, id);
        m_bHorizontalMoved = true;
    } else {
        m_nVerticalPos = Slider(m_hWnd, id);
        m_bVerticalMoved = true;
    }
    m_host.RedrawRuler();
}

BOOL CRulerSettingsDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (const HWND slider = reinterpret_cast<HWND>(lParam)) {
            const int id = GetDlgCtrlID(slider);
            if (id == IDC_RULER_HORIZONTAL_POS || id == IDC_RULER_VERTICAL_POS) {
                ReadSlider(id);
                return TRUE;
            }
        }
        return FALSE;
    case WM_COLOR_CHANGED:
    case WM_COLOR_SELECTED:
        if (static_cast<int>(lParam) != IDC_RULER_COLOUR) {
            return FALSE;
        }
        m_colour = static_cast<COLORREF>(wParam) == kAutomaticColor ? m_colourButton.GetDefaultColor()
                                                                    : static_cast<COLORREF>(wParam);
        m_colour &= 0xFFFFFF;
        m_host.RedrawRuler();
        return TRUE;
    case WM_DESTROY: WriteBack(); return FALSE;
    default: return FALSE;
    }
}

void CRulerSettingsDlg::WriteBack() {
    RulerStoredSettings settings;
    const auto x = DisplayToFrame(m_nHorizontalPos, m_sizes.frameHeight, m_sizes.displayHeight);
    const auto y = DisplayToFrame(m_nVerticalPos, m_sizes.frameWidth, m_sizes.displayWidth);
    settings.rulerX = x.value_or(m_nRulerX);
    settings.rulerY = y.value_or(m_nRulerY);
    settings.colour = m_colour;
    settings.middle = m_bCentre;
    settings.show = m_bShow;
    m_files.WriteRuler(settings, m_bHorizontalMoved && x, m_bVerticalMoved && y);
    m_files.WriteSpacing(m_nCalibration, m_nSpacing);
}
