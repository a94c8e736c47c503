#pragma once
// The presets dialog of the video-parameter dialogs: shows the values the
// camera uses now, saves them under a name as a preset file of the camera's
// family, or deletes the preset the name field names. The opening page hands
// in a plain record and reads the two result indices back after it closes.
#include <string>
#include <vector>

#include "dialog.h"
#include "param_presets.h"

// What the opening page hands in.
struct ParamPresetRecord {
    PresetFamily family = PresetFamily::usbCmos;
    double exposureTime = 0.0;  // shown with three decimals
    std::wstring exposureUnit = L"us";
    PresetValues values;     // shown and edited; flip and colour are saved as handed in
    int selectedIndex = -1;  // the preset chosen now, -1 for none
};

class CParamPresetDlg : public CDialog {
public:
    CParamPresetDlg(ParamPresetRecord record, HWND parent = nullptr);

    // The folder "Params" lies in, with its trailing backslash: the program
    // folder.
    std::wstring m_strProgramFolder;
    // Results: the index of the saved preset in the new list and of the
    // preset chosen when the dialog opened, -1 when not there. They start as
    // the preset chosen at opening, so closing without a change keeps it.
    int m_nSavedIndex;
    int m_nOpenedIndex;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    // Reads the family folder again and refills the name combo, keeping the
    // typed name.
    void RefillNames();
    std::wstring TypedName() const;
    void UpdateDeleteButton();
    void DeleteNamedPreset();
    // Writes every key of the record into the named preset's file; false
    // when the file cannot be made.
    bool WritePreset(const std::wstring& path);
    void RefuseName();
    std::wstring FamilyFolder() const;

    ParamPresetRecord m_record;
    std::vector<std::wstring> m_names;
    std::wstring m_openedName;  // the preset chosen when the dialog opened
    // The edits' numbers; the range-checked ones as data exchange wants them.
    unsigned m_gainR = 0;
    unsigned m_gainG = 0;
    unsigned m_gainB = 0;
    unsigned m_contrast = 0;
    unsigned m_adGain = 0;
    unsigned m_gamma = 0;
};

// Runs the presets dialog over `parent` and answers the parameter-file
// choice it leaves: the saved preset, else the one chosen when it opened
// (-1 for none).
int RunParamPresets(const ParamPresetRecord& record, HWND parent);
