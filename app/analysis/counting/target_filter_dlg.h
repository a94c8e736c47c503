#pragma once
// Narrows the counted targets by a lower and an upper limit on each of
// eleven measures, one measure at a time; the limits of the others stay as
// they are. The sliders span the range of the counted targets; the lower
// cannot pass the upper. OK enables the filter, Cancel disables it, and the
// caller reads it only after OK.
#include <windows.h>

#include <string>

#include "count_records.h"
#include "dialog.h"
#include "filter_sliders.h"

class CTargetFilterDlg : public CDialog {
public:
    explicit CTargetFilterDlg(HWND parent = nullptr);

    void SetFilters(_tagOBJFILTER range, _tagOBJFILTER current) {
        m_range = range;
        m_filter = current;
    }
    void SetScale(float scale, int decimals, std::wstring unit) {
        m_scale = scale;
        m_decimals = decimals;
        m_unit = std::move(unit);
    }
    _tagOBJFILTER GetFilter() const { return m_filter; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LoadMeasure();
    void ShowPositions();
    void OnSliderMoved(HWND slider);

    _tagOBJFILTER m_range;
    _tagOBJFILTER m_filter;
    float m_scale = 1.0f;
    int m_decimals = 0;
    std::wstring m_unit;
    int m_measure = 0;
    FilterSliders m_sliders;
};
