#include "scale_bar_dlg.h"

#include <cmath>

#include "cl_scale_bar.h"
#include "counting_resource.h"
#include "ini_file.h"
#include "module_folder.h"
#include "object_dialogs_resource.h"
#include "prompt_dlg.h"
#include "resource_module.h"
#include "units.h"

static_assert(CScaleBarDlg::kMaxWidth == static_cast<unsigned>(CCL_BiaoChi::kMaxDrawnThickness));

namespace {
std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
}  // namespace

CScaleBarDlg::CScaleBarDlg(COLORREF colour, HWND parent)
    : CDialog(IDD_SCALE_BAR, parent),
      m_strConfigPath(GetModuleFolder() + L"Config.ini"),
      m_color(colour),
      m_strUnit(Wide(kDefaultUnit)) {
    BindFloat(IDC_BAR_LENGTH, m_fLength);
    BindUInt(IDC_BAR_WIDTH, m_nWidth, 1, kMaxWidth);
    BindExchange([this](HWND dialog, BOOL save) {
        if (save) {
            m_nBackground = ::IsDlgButtonChecked(dialog, IDC_BAR_BACKGROUND) == BST_CHECKED ? 1 : 0;
        } else {
            ::CheckDlgButton(dialog, IDC_BAR_BACKGROUND, m_nBackground ? BST_CHECKED : BST_UNCHECKED);
        }
        return true;
    });
    BindExchange([this](HWND dialog, BOOL save) {
        DDX_ColorButton(dialog, save, IDC_BAR_COLOUR, m_color);
        return true;
    });
}

BOOL CScaleBarDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND units = GetDlgItem(IDC_BAR_UNIT);
    for (const std::u16string_view unit : kLengthUnits) {
        const std::wstring text = Wide(unit);
        ::SendMessageW(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Whatever the last bar used, the dialog starts at the first unit.
    ::SendMessageW(units, CB_SETCURSEL, 0, 0);
    CIniFile config;
    config.m_strPath = m_strConfigPath;
    config.GetInt(m_nBackground, L"CLDraw", L"BCBG", 0);
    m_colorButton.SubclassDlgItem(m_hWnd, IDC_BAR_COLOUR);
    m_colorButton.SetAutomaticText(LoadResourceString(IDS_COLOR_AUTOMATIC));
    m_colorButton.SetMoreColorsText(LoadResourceString(IDS_COLOR_MORE));
    m_colorButton.SetTrackSelection(true);
    UpdateData(FALSE);
    m_colorButton.SetColor(m_color);
    return TRUE;
}

void CScaleBarDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    if (!std::isfinite(m_fLength) || m_fLength <= 0.0f || m_fLength > kMaxLength) {
        CPromptDlg refusal(LoadResourceString(IDS_BAR_LENGTH_RANGE), L"Vizcam", 0, m_hWnd);
        refusal.DoModal();
        ::SetFocus(GetDlgItem(IDC_BAR_LENGTH));
        return;
    }
    const LRESULT index = ::SendMessageW(GetDlgItem(IDC_BAR_UNIT), CB_GETCURSEL, 0, 0);
    m_strUnit = index >= 0 && index < static_cast<LRESULT>(kLengthUnits.size())
                    ? Wide(kLengthUnits[static_cast<std::size_t>(index)])
                    : Wide(kDefaultUnit);
    CIniFile config;
    config.m_strPath = m_strConfigPath;
    config.WriteInt(m_nBackground, L"CLDraw", L"BCBG");
    EndDialog(IDOK);
}

BOOL CScaleBarDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COLOR_SELECTED) {
        m_color = m_colorButton.GetColor();
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 1);
        return TRUE;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}
