#include "param_preset_dlg.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "camera_resource.h"
#include "ini_file.h"
#include "module_folder.h"

namespace {

constexpr int kUsbCmosGainLimit = 6000;
constexpr int kGainLimit = 63;

unsigned NonNegative(int value) { return static_cast<unsigned>(std::max(value, 0)); }

void AddItems(HWND combo, std::initializer_list<const wchar_t*> items) {
    for (const wchar_t* item : items) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
}

}  // namespace

CParamPresetDlg::CParamPresetDlg(ParamPresetRecord record, HWND parent)
    : CDialog(IDD_PARAM_PRESET, parent),
      m_strProgramFolder(GetModuleFolder()),
      m_nSavedIndex(record.selectedIndex),
      m_nOpenedIndex(record.selectedIndex),
      m_record(std::move(record)) {
    const PresetValues& v = m_record.values;
    m_gainR = NonNegative(v.gainR);
    m_gainG = NonNegative(v.gainG);
    m_gainB = NonNegative(v.gainB);
    m_contrast = NonNegative(v.contrast);
    m_adGain = NonNegative(v.adGain);
    m_gamma = NonNegative(v.gamma);
    const unsigned gainLimit = m_record.family == PresetFamily::usbCmos ? kUsbCmosGainLimit : kGainLimit;
    BindUInt(IDC_PRESET_GAIN_R, m_gainR, 0, gainLimit);
    BindUInt(IDC_PRESET_GAIN_G, m_gainG, 0, gainLimit);
    BindUInt(IDC_PRESET_GAIN_B, m_gainB, 0, gainLimit);
    BindUInt(IDC_PRESET_CONTRAST, m_contrast, 1, 63);
    BindUInt(IDC_PRESET_AD_GAIN, m_adGain, 1, 255);
    BindUInt(IDC_PRESET_GAMMA, m_gamma, 1, 63);
    BindInt(IDC_PRESET_SATURATION, m_record.values.saturation);
    BindInt(IDC_PRESET_SHARPNESS, m_record.values.sharpness);
}

std::wstring CParamPresetDlg::FamilyFolder() const { return PresetFolderPath(m_strProgramFolder, m_record.family); }

BOOL CParamPresetDlg::OnInitDialog() {
    m_names = ListPresetNames(std::filesystem::path(FamilyFolder()));
    HWND names = GetDlgItem(IDC_PRESET_NAME);
    for (const std::wstring& name : m_names) {
        SendMessageW(names, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    const int selected = m_record.selectedIndex;
    if (selected >= 0 && selected < static_cast<int>(m_names.size())) {
        m_openedName = m_names[static_cast<std::size_t>(selected)];
        SendMessageW(names, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    }

    HWND colors = GetDlgItem(IDC_PRESET_COLOR);
    AddItems(colors, {L"RGB", L"BW24", L"Gray", L"Bayer"});
    if (m_record.family == PresetFamily::gige) {
        AddItems(colors, {L"MONO10"});
    }
    AddItems(colors, {L"RGB_Microscope"});
    SendMessageW(colors, CB_SETCURSEL, static_cast<WPARAM>(m_record.values.color), 0);
    HWND flips = GetDlgItem(IDC_PRESET_FLIP);
    AddItems(flips, {L"Nature", L"H-Flip", L"V-Flip", L"Rotate180"});
    SendMessageW(flips, CB_SETCURSEL, static_cast<WPARAM>(m_record.values.flip), 0);

    if (m_record.family == PresetFamily::usbCmos) {
        SetDlgItemTextW(m_hWnd, IDC_PRESET_AD_LABEL, L"Gain:");
    }
    if (m_record.family == PresetFamily::gige) {
        ShowWindow(GetDlgItem(IDC_PRESET_GAMMA), SW_HIDE);
        ShowWindow(GetDlgItem(IDC_PRESET_GAMMA_LABEL), SW_HIDE);
    }
    SetDlgItemTextW(m_hWnd, IDC_PRESET_EXPOSURE_TIME, FormatExposureTime(m_record.exposureTime).c_str());
    SetDlgItemTextW(m_hWnd, IDC_PRESET_EXPOSURE_UNIT, m_record.exposureUnit.c_str());
    UpdateData(FALSE);
    UpdateDeleteButton();
    return TRUE;
}

std::wstring CParamPresetDlg::TypedName() const {
    HWND combo = GetDlgItem(IDC_PRESET_NAME);
    const int length = GetWindowTextLengthW(combo);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(combo, text.data(), length + 1)));
    return text;
}

void CParamPresetDlg::UpdateDeleteButton() {
    EnableWindow(GetDlgItem(IDC_PRESET_DELETE), PresetIndex(m_names, TypedName()) >= 0);
}

void CParamPresetDlg::RefillNames() {
    const std::wstring typed = TypedName();
    m_names = ListPresetNames(std::filesystem::path(FamilyFolder()));
    HWND combo = GetDlgItem(IDC_PRESET_NAME);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& name : m_names) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SetWindowTextW(combo, typed.c_str());
}

BOOL CParamPresetDlg::OnCommand(WORD id, WORD code) {
    if (id == IDC_PRESET_DELETE && code == BN_CLICKED) {
        DeleteNamedPreset();
        return TRUE;
    }
    if (id != IDC_PRESET_NAME) {
        return FALSE;
    }
    switch (code) {
    case CBN_EDITCHANGE: UpdateDeleteButton(); return TRUE;
    case CBN_SELCHANGE:
        // The edit takes the chosen line only after this notification.
        EnableWindow(GetDlgItem(IDC_PRESET_DELETE), SendMessageW(GetDlgItem(IDC_PRESET_NAME), CB_GETCURSEL, 0, 0) >= 0);
        return TRUE;
    case CBN_DROPDOWN: RefillNames(); return TRUE;
    default: return FALSE;
    }
}

void CParamPresetDlg::RefuseName() { MessageBoxW(m_hWnd, L"No Name", L"Vizcam", MB_OK); }

void CParamPresetDlg::DeleteNamedPreset() {
    const auto path = PresetFilePath(m_strProgramFolder, m_record.family, TypedName());
    if (!path) {
        RefuseName();
        return;
    }
    const DWORD attributes = GetFileAttributesW(path->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path->c_str());
    }
    RefillNames();
    SendMessageW(GetDlgItem(IDC_PRESET_NAME), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    m_nOpenedIndex = PresetIndex(m_names, m_openedName);
    m_nSavedIndex = m_nOpenedIndex;
    UpdateDeleteButton();
}

bool CParamPresetDlg::WritePreset(const std::wstring& path) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(FamilyFolder()), error);
    CIniFile file;
    file.m_strPath = path;
    if (!file.FileExists() && !file.CreateEmpty()) {
        return false;
    }
    const wchar_t* section = PresetFolderName(m_record.family);
    for (const PresetKey& key : PresetFileKeys(m_record.family, m_record.values)) {
        if (!file.WriteInt(key.value, section, key.key)) {
            return false;
        }
    }
    return true;
}

void CParamPresetDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    const std::wstring name = TypedName();
    const auto path = PresetFilePath(m_strProgramFolder, m_record.family, name);
    if (!path) {
        RefuseName();
        return;
    }
    PresetValues& v = m_record.values;
    v.gainR = static_cast<int>(m_gainR);
    v.gainG = static_cast<int>(m_gainG);
    v.gainB = static_cast<int>(m_gainB);
    v.contrast = static_cast<int>(m_contrast);
    v.adGain = static_cast<int>(m_adGain);
    v.gamma = static_cast<int>(m_gamma);
    if (!WritePreset(*path)) {
        return;
    }
    m_names = ListPresetNames(std::filesystem::path(FamilyFolder()));
    m_nSavedIndex = PresetIndex(m_names, name);
    m_nOpenedIndex = PresetIndex(m_names, m_openedName);
    EndDialog(IDOK);
}

int RunParamPresets(const ParamPresetRecord& record, HWND parent) {
    CParamPresetDlg presets(record, parent);
    presets.DoModal();
    return presets.m_nSavedIndex >= 0 ? presets.m_nSavedIndex : presets.m_nOpenedIndex;
}
