#include "param_file_combo.h"

#include "module_folder.h"
#include "param_presets.h"
#include "private_messages.h"

CParamFileCombo::CParamFileCombo() : m_strProgramFolder(GetModuleFolder()) {}

void CParamFileCombo::ListFiles() {
    std::wstring folder;
    switch (m_nCameraKind) {
    case 0: folder = PresetFolderPath(m_strProgramFolder, PresetFamily::usbCmos); break;
    case 1: folder = PresetFolderPath(m_strProgramFolder, PresetFamily::ccd); break;
    case 2: folder = PresetFolderPath(m_strProgramFolder, PresetFamily::gige); break;
    default: folder = m_strProgramFolder + L"Params"; break;
    }
    m_names = ListPresetNames(folder);
}

int CParamFileCombo::Refill() {
    ResetContent();
    ListFiles();
    for (const std::wstring& name : m_names) {
        AddString(name);
    }
    return 0;
}

int CParamFileCombo::SelectByName(const std::wstring& name) {
    int index = -1;
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] == name) {
            index = static_cast<int>(i);
            break;
        }
    }
    SetCurSel(index);
    m_nLastSelection = index;
    return index;
}

void CParamFileCombo::OnSelectionChanged() {
    HWND view = m_viewWindow ? m_viewWindow() : nullptr;
    if (!view) {
        m_nLastSelection = 0;
        return;
    }
    const int selection = GetCurSel();
    const std::wstring name = GetItemText(selection);
    SendMessageW(view, WM_PARAMFILE_SELECTED, 0, selection);
    if (m_loader) {
        m_loader(name);
    }
    m_nLastSelection = selection;
}
