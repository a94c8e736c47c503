#include "scale_combo.h"

#include "ini_file.h"
#include "ini_profile.h"
#include "lent_payload.h"
#include "module_folder.h"
#include "private_messages.h"
#include "scale_choice.h"

namespace {
std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::u16string U16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }
}  // namespace

CScaleCombo::CScaleCombo() : m_strScalePath(ScaleIniPath()), m_strConfigPath(GetModuleFolder() + L"Config.ini") {}

int CScaleCombo::FillFromScaleIni() {
    m_entries.clear();
    if (GetCount() > 0) {
        ResetContent();
    }
    AddString(L"Default");
    IniProfile file(m_strScalePath);
    const CalibrationStore store(file);
    m_entries = ListCalibrationItems(store);
    for (const Calibration& entry : m_entries) {
        AddString(Wide(entry.name));
    }
    return m_entries.empty() ? -1 : 0;
}

void CScaleCombo::Choose(int index) {
    SetCurSel(index);
    m_nLastSelection = index;
}

int CScaleCombo::SelectByName(const std::wstring& name) {
    if (m_entries.empty()) {
        return -1;
    }
    const int index = MatchCalibrationByName(m_entries, U16(name));
    Choose(index);
    return index;
}

int CScaleCombo::SelectByIndex(float value, const std::wstring& unit) {
    if (m_entries.empty()) {
        return -1;
    }
    const int index = MatchCalibrationByValue(m_entries, value, U16(unit));
    Choose(index);
    return index;
}

void CScaleCombo::OnSelectionChanged() {
    const int selection = GetCurSel();
    if (selection == m_nLastSelection) {
        return;
    }
    m_nLastSelection = selection;
    CScaleEntry entry;
    if (selection > 0 && static_cast<std::size_t>(selection) <= m_entries.size()) {
        const Calibration& chosen = m_entries[static_cast<std::size_t>(selection) - 1];
        entry.index = chosen.section;
        entry.name = Wide(chosen.name);
        entry.reso = Wide(chosen.resolution);
        entry.unit = Wide(chosen.unit);
        entry.value = chosen.value;
    } else {
        // "Default": index 0, which names no section.
        CIniFile config;
        config.m_strPath = m_strConfigPath;
        std::wstring unit;
        config.GetString(unit, L"CLdraw", L"Unit");
        entry.unit = Wide(DefaultChoiceUnit(U16(unit)));
    }
    HWND view = m_viewWindow ? m_viewWindow() : nullptr;
    if (view) {
        const CLentPayload lent(&entry);
        SendMessageW(view, WM_SCALE_SELECTED, 0, static_cast<LPARAM>(lent.Get()));
    }
}
