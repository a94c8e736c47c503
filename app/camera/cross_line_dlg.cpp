#include "cross_line_dlg.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "camera_resource.h"
#include "cross_line_dialog_rules.h"

namespace {

// The edit's number; none when it holds no whole number.
std::optional<long long> EditNumber(HWND dialog, int id) {
    wchar_t text[32] = {};
    GetDlgItemTextW(dialog, id, text, 32);
    wchar_t* end = nullptr;
    const long long value = std::wcstoll(text, &end, 10);
    if (end == text || *end != L'\0') {
        return std::nullopt;
    }
    return value;
}

}  // namespace

CCrossLineDlg::CCrossLineDlg(CCameraDevice* camera, HWND parent) : CDialog(IDD_CROSS_LINE, parent), m_camera(camera) {}

BOOL CCrossLineDlg::OnInitDialog() {
    m_colourButton.SubclassDlgItem(m_hWnd, IDC_CROSS_COLOUR);
    if (!m_camera) {
        return FALSE;
    }
    m_count = m_camera->GetCrossLineCount();
    const CameraFrameSize video = m_camera->GetVideoSize();
    m_width = video.width;
    m_height = video.height;
    SendMessageW(GetDlgItem(IDC_CROSS_X_SLIDER), TBM_SETRANGE, TRUE, MAKELPARAM(0, m_width));
    SendMessageW(GetDlgItem(IDC_CROSS_Y_SLIDER), TBM_SETRANGE, TRUE, MAKELPARAM(0, m_height));
    m_writing = true;
    SetDlgItemInt(m_hWnd, IDC_CROSS_COUNT, UINT(m_count), FALSE);
    m_writing = false;
    FillEntries(m_count);
    if (m_count == 0) {
        m_colourButton.SetColor(m_colour);
    }
    return TRUE;
}

void CCrossLineDlg::FillEntries(int count) {
    HWND combo = GetDlgItem(IDC_CROSS_ENTRY);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 1; i <= count; ++i) {
        const std::wstring item = L"  " + std::to_wstring(i);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    if (count > 0) {
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
        LoadEntry(0);
    }
}

void CCrossLineDlg::LoadEntry(int i) {
    const std::optional<CrossLineEntry> entry = m_camera->GetCrossLine(i);
    if (!entry) {
        return;
    }
    ShowPosition(IDC_CROSS_X, IDC_CROSS_X_SLIDER, entry->xOffset);
    ShowPosition(IDC_CROSS_Y, IDC_CROSS_Y_SLIDER, entry->yOffset);
    CheckDlgButton(m_hWnd, IDC_CROSS_CENTRE, entry->centre ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_CROSS_HIDE, entry->draw ? BST_UNCHECKED : BST_CHECKED);
    m_colourButton.SetColor(entry->colour & 0x00FFFFFFu);
}

void CCrossLineDlg::ShowPosition(int editId, int sliderId, int value) {
    m_writing = true;
    SetDlgItemInt(m_hWnd, editId, UINT(value), TRUE);
    m_writing = false;
    SendMessageW(GetDlgItem(sliderId), TBM_SETPOS, TRUE, value);
}

int CCrossLineDlg::SelectedIndex() const { return int(SendMessageW(GetDlgItem(IDC_CROSS_ENTRY), CB_GETCURSEL, 0, 0)); }

std::optional<CrossLineEntry> CCrossLineDlg::Selected() const {
    if (!m_camera || m_count < 1) {
        return std::nullopt;
    }
    const int i = SelectedIndex();
    return i >= 0 && i < m_count ? m_camera->GetCrossLine(i) : std::nullopt;
}

void CCrossLineDlg::Store(const CrossLineEntry& entry) {
    m_camera->SetCrossLine(SelectedIndex(), entry.index, entry.draw, entry.centre, entry.xOffset, entry.yOffset,
                           entry.colour);
}

BOOL CCrossLineDlg::OnCommand(WORD id, WORD code) {
    if (!m_camera) {
        return FALSE;
    }
    switch (id) {
    case IDC_CROSS_COUNT:
        if (code == EN_CHANGE && !m_writing) {
            OnCountEdited();
        }
        return TRUE;
    case IDC_CROSS_X:
    case IDC_CROSS_Y:
        if (code == EN_CHANGE && !m_writing) {
            OnPositionEdited(id);
        }
        return TRUE;
    case IDC_CROSS_ENTRY:
        if (code == CBN_SELCHANGE && m_count > 0) {
            LoadEntry(SelectedIndex());
        }
        return TRUE;
    case IDC_CROSS_SHOW_ALL:
    case IDC_CROSS_HIDE_ALL: SetAllDrawn(id == IDC_CROSS_SHOW_ALL); return TRUE;
    case IDC_CROSS_HIDE:
        if (std::optional<CrossLineEntry> entry = Selected()) {
            entry->draw = IsDlgButtonChecked(m_hWnd, IDC_CROSS_HIDE) == BST_CHECKED ? 0 : 1;
            Store(*entry);
        }
        return TRUE;
    case IDC_CROSS_CENTRE:
        if (std::optional<CrossLineEntry> entry = Selected()) {
            entry->centre = IsDlgButtonChecked(m_hWnd, IDC_CROSS_CENTRE) == BST_CHECKED ? 1 : 0;
            Store(*entry);
        }
        return TRUE;
    default: return FALSE;
    }
}

// A count outside 0 to 100 is not applied. Lines past a lowered count are
// switched off.
void CCrossLineDlg::OnCountEdited() {
    const std::optional<long long> typed = EditNumber(m_hWnd, IDC_CROSS_COUNT);
    const std::optional<int> count = typed ? ValidCrossLineCount(*typed) : std::nullopt;
    if (!count) {
        return;
    }
    m_camera->SetCrossLineCount(*count);
    for (int i = *count; i < m_camera->GetCrossLineCount(); ++i) {
        if (const std::optional<CrossLineEntry> entry = m_camera->GetCrossLine(i); entry && entry->draw) {
            m_camera->SetCrossLine(i, entry->index, 0, entry->centre, entry->xOffset, entry->yOffset, entry->colour);
        }
    }
    m_count = *count;
    FillEntries(m_count);
}

void CCrossLineDlg::SetAllDrawn(bool draw) {
    for (int i = 0; i < m_count; ++i) {
        if (const std::optional<CrossLineEntry> entry = m_camera->GetCrossLine(i)) {
            m_camera->SetCrossLine(i, entry->index, draw ? 1 : 0, entry->centre, entry->xOffset, entry->yOffset,
                                   entry->colour);
        }
    }
    if (m_count > 0) {
        LoadEntry(SelectedIndex());
    }
}

void CCrossLineDlg::OnPositionEdited(int editId) {
    std::optional<CrossLineEntry> entry = Selected();
    const std::optional<long long> typed = EditNumber(m_hWnd, editId);
    if (!entry || !typed) {
        return;
    }
    const bool isX = editId == IDC_CROSS_X;
    const int value = ClampCrossPosition(*typed, isX ? m_width : m_height);
    if (value != *typed) {
        ShowPosition(editId, isX ? IDC_CROSS_X_SLIDER : IDC_CROSS_Y_SLIDER, value);
    } else {
        SendMessageW(GetDlgItem(isX ? IDC_CROSS_X_SLIDER : IDC_CROSS_Y_SLIDER), TBM_SETPOS, TRUE, value);
    }
    (isX ? entry->xOffset : entry->yOffset) = value;
    Store(*entry);
}

void CCrossLineDlg::OnSliderMoved(HWND slider) {
    std::optional<CrossLineEntry> entry = Selected();
    if (!entry) {
        return;
    }
    const bool isX = slider == GetDlgItem(IDC_CROSS_X_SLIDER);
    const int value = int(SendMessageW(slider, TBM_GETPOS, 0, 0));
    m_writing = true;
    SetDlgItemInt(m_hWnd, isX ? IDC_CROSS_X : IDC_CROSS_Y, UINT(value), TRUE);
    m_writing = false;
    (isX ? entry->xOffset : entry->yOffset) = value;
    Store(*entry);
}

void CCrossLineDlg::OnColourSelected() {
    if (std::optional<CrossLineEntry> entry = Selected()) {
        entry->colour = ChosenCrossColour(entry->colour, m_colourButton.GetColor());
        Store(*entry);
    }
}

BOOL CCrossLineDlg::OnMessage(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_HSCROLL:
        if (m_camera && lParam) {
            OnSliderMoved(reinterpret_cast<HWND>(lParam));
        }
        return TRUE;
    case WM_COLOR_SELECTED:
        if (m_camera && int(lParam) == IDC_CROSS_COLOUR) {
            OnColourSelected();
        }
        return TRUE;
    case WM_COLOR_CHANGED:
    case WM_COLOR_DROPDOWN:
    case WM_COLOR_CLOSEUP:
    case WM_COLOR_CANCELLED: return TRUE;
    default: return FALSE;
    }
}
