#pragma once
// Data exchange for a group of radio buttons bound to one number: the
// position of the checked button in the group, -1 for none.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

inline std::function<bool(HWND, BOOL)> RadioGroupExchange(std::initializer_list<int> buttons, int& choice) {
    return [ids = std::vector<int>(buttons), &choice](HWND dialog, BOOL save) {
        if (save) {
            choice = -1;
        }
        for (int i = 0; i < int(ids.size()); ++i) {
            if (!save) {
                CheckDlgButton(dialog, ids[i], i == choice ? BST_CHECKED : BST_UNCHECKED);
            } else if (IsDlgButtonChecked(dialog, ids[i]) == BST_CHECKED) {
                choice = i;
            }
        }
        return true;
    };
}
