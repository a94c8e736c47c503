#pragma once
// A combo box that sits on a toolbar or a bar: items are texts, and a
// changed selection is reported through OnSelectionChanged.
#include <string>

#include "window.h"

class CFlatComboBox : public CWindow {
public:
    // style: CBS_DROPDOWN or CBS_DROPDOWNLIST (plus any other combo styles).
    bool Create(HWND parent, UINT id, const RECT& rect, DWORD style);
    int AddString(const std::wstring& text);
    int GetCount() const;
    int GetCurSel() const;
    void SetCurSel(int index);
    std::wstring GetItemText(int index) const;
    void ResetContent();

    bool OnReflectedCommand(WORD code) override;

protected:
    // The list is about to drop down.
    virtual void OnDropDown() {}
    // The user chose another item.
    virtual void OnSelectionChanged() {}
};
