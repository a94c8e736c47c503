#pragma once
// The resolution combo on the video toolbar: a choice different from the
// one shown when the list dropped down tells the view to switch resolution.
#include "flat_combo_box.h"

class CToolbarComboBox : public CFlatComboBox {
public:
    int m_nDropDownSelection = -1;

protected:
    void OnDropDown() override;
    void OnSelectionChanged() override;
};
