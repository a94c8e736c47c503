#include "counter_dlg.h"

#include <array>

#include "annotations_resource.h"
#include "counting_resource.h"
#include "image_controller.h"
#include "ini_file.h"
#include "module_folder.h"
#include "object_dialogs_resource.h"
#include "resource_module.h"

namespace {

struct CounterKind {
    UINT nameId;
    int type;
};
// The combo's order: circle, rectangle, diamond.
constexpr std::array<CounterKind, 3> kKinds{
    {{IDS_COUNTER_CIRCLE, 14}, {IDS_COUNTER_RECT, 16}, {IDS_COUNTER_DIAMOND, 15}}};

int IndexOfType(int type) {
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        if (kKinds[i].type == type) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

}  // namespace

CCounterDlg::CCounterDlg(CImageController& controller, HWND parent)
    : CDialog(IDD_COUNTER, parent), m_strConfigPath(GetModuleFolder() + L"Config.ini"), m_controller(controller) {
    BindUInt(IDC_COUNTER_NUMBER, m_nNextNumber, 1, kMaxNextNumber);
    BindUInt(IDC_COUNTER_SIZE, m_nSize, 1, kMaxSize);
}

BOOL CCounterDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND types = GetDlgItem(IDC_COUNTER_TYPE);
    for (const CounterKind& kind : kKinds) {
        const std::wstring name = LoadResourceString(kind.nameId);
        ::SendMessageW(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    const int tool = m_controller.GetInteraction().tool;
    m_nType = tool == 16 || tool == 15 ? tool : 14;
    ::SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(IndexOfType(m_nType)), 0);
    m_color = static_cast<COLORREF>(m_controller.counterColourKey);
    m_colorButton.SubclassDlgItem(m_hWnd, IDC_COUNTER_COLOUR);
    m_colorButton.SetAutomaticText(LoadResourceString(IDS_COLOR_AUTOMATIC));
    m_colorButton.SetMoreColorsText(LoadResourceString(IDS_COLOR_MORE));
    m_colorButton.SetTrackSelection(true);
    m_colorButton.SetColor(m_color);
    ShowNumbering();
    return TRUE;
}

void CCounterDlg::ShowNumbering() {
    const CounterNumbering numbering = m_controller.GetCounterStyle(m_nType, static_cast<ColourRef>(m_color));
    m_nNextNumber = static_cast<unsigned>(numbering.nextNumber > 0 ? numbering.nextNumber : 1);
    m_nSize = static_cast<unsigned>(numbering.size > 0 ? numbering.size : 1);
    UpdateData(FALSE);
}

BOOL CCounterDlg::OnCommand(WORD id, WORD code) {
    if (id == IDC_COUNTER_TYPE && code == CBN_SELCHANGE) {
        const LRESULT index = ::SendMessageW(GetDlgItem(IDC_COUNTER_TYPE), CB_GETCURSEL, 0, 0);
        if (index >= 0 && index < static_cast<LRESULT>(kKinds.size())) {
            m_nType = kKinds[static_cast<std::size_t>(index)].type;
            ShowNumbering();
        }
        return TRUE;
    }
    return FALSE;
}

BOOL CCounterDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COLOR_SELECTED) {
        m_color = m_colorButton.GetColor();
        ShowNumbering();
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 1);
        return TRUE;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}

void CCounterDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    const auto colour = static_cast<ColourRef>(m_color);
    m_controller.SetCounterStyle(colour, static_cast<int>(m_nNextNumber), static_cast<int>(m_nSize), m_nType);
    // Every type gets an entry for the colour, in the combo's order.
    for (const CounterKind& other : kKinds) {
        if (other.type != m_nType) {
            const CounterNumbering numbering = m_controller.GetCounterStyle(other.type, colour);
            m_controller.SetCounterStyle(colour, numbering.nextNumber, numbering.size, other.type);
        }
    }
    m_controller.SetTool(m_nType);
    m_controller.counterColourKey = static_cast<std::int32_t>(colour);
    CIniFile config;
    config.m_strPath = m_strConfigPath;
    config.WriteInt(static_cast<int>(colour), L"CLdraw", L"CColor");
    EndDialog(IDOK);
}
