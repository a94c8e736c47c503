#pragma once
// The measurement toolbar's calibration combo: "Default" and the
// calibrations of scale.ini, item k being section k. A choice that differs
// from the last announced one is sent to the active view as
// WM_SCALE_SELECTED; selecting by value and unit or by name sends nothing.
#include <functional>
#include <string>
#include <vector>

#include "calibration_store.h"
#include "flat_combo_box.h"

class CScaleCombo : public CFlatComboBox {
public:
    CScaleCombo();

    // scale.ini and Config.ini, beside the program unless set.
    std::wstring m_strScalePath;
    std::wstring m_strConfigPath;
    // The window a choice is sent to (the active view); none sends nothing.
    void SetViewWindowSource(std::function<HWND()> source) { m_viewWindow = std::move(source); }

    // Lists "Default" and the stored calibrations; 0 when there are any,
    // -1 when there are none.
    int FillFromScaleIni();
    // The combo index chosen; -1 without calibrations.
    int SelectByName(const std::wstring& name);
    int SelectByIndex(float value, const std::wstring& unit);

    const std::vector<Calibration>& GetEntries() const { return m_entries; }
    int GetLastSelection() const { return m_nLastSelection; }

protected:
    void OnSelectionChanged() override;

private:
    void Choose(int index);

    std::vector<Calibration> m_entries;
    int m_nLastSelection = 0;
    std::function<HWND()> m_viewWindow;
};
