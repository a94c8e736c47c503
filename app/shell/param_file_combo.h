#pragma once
// The video toolbar's parameter-file combo: the parameter files of the
// current camera family's folder under "Params". A choice is sent to the
// active view as WM_PARAMFILE_SELECTED and then loaded into the camera.
#include <functional>
#include <string>
#include <vector>

#include "flat_combo_box.h"

class CParamFileCombo : public CFlatComboBox {
public:
    CParamFileCombo();

    // The folder "Params" lies in, with its trailing backslash: the program folder.
    std::wstring m_strProgramFolder;
    // 0 USB CMOS, 1 CCD, 2 GigE; any other kind lists the Params folder itself.
    void SetCameraKind(int kind) { m_nCameraKind = kind; }
    int GetCameraKind() const { return m_nCameraKind; }
    // The active view's window, and what loads a chosen file into its camera.
    void SetViewWindowSource(std::function<HWND()> source) { m_viewWindow = std::move(source); }
    void SetLoader(std::function<void(const std::wstring& name)> loader) { m_loader = std::move(loader); }

    // Lists the folder again and shows its files; 0.
    int Refill();
    // Selects the file of that name; none (-1) when no file has it.
    int SelectByName(const std::wstring& name);

    const std::vector<std::wstring>& GetFileNames() const { return m_names; }
    int GetLastSelection() const { return m_nLastSelection; }

protected:
    void OnSelectionChanged() override;

private:
    void ListFiles();

    std::vector<std::wstring> m_names;
    int m_nLastSelection = -1;
    int m_nCameraKind = -1;
    std::function<HWND()> m_viewWindow;
    std::function<void(const std::wstring&)> m_loader;
};
