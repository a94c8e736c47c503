#pragma once
// `CCompressorDlg` (dialog 137): whether recordings are compressed and with
// which of the system's video compressors. The choice is 0 (none) or 1
// (the compressor named in the combo).
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "dialog.h"

class CCompressorDlg : public CDialog {
public:
    CCompressorDlg(int choice, const std::wstring& name, HWND parent = nullptr);

    int GetChoice() const { return m_choice; }
    const std::wstring& GetName() const { return m_name; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    void EnableNameCombo();

    int m_choice;
    std::wstring m_name;
};

// Runs the dialog over the stored choice and name: the choice and name
// after OK, none after Cancel.
std::optional<std::pair<int, std::wstring>> RunCompressorDlg(int choice, const std::wstring& name, HWND parent);
