#pragma once
// The combos and check boxes of a camera page whose choice goes to the
// camera at once. A choice is kept when the camera takes it; one the camera
// refuses is put back on the control when the entry says so. `Restore`
// sends back what the controls held when the page opened, in the table's
// order.
#include <windows.h>

#include <functional>
#include <vector>

struct Choice {
    enum class Control { combo, box };
    int id;
    Control control;
    int* value;
    // Sends a choice; the camera's code, 0 when taken.
    std::function<int(int)> send;
    // A refused choice puts the previous one back on the control; otherwise
    // the control and the value keep the new one whatever the code.
    bool revertWhenRefused = false;
    // Sends the value found at start on Restore; `send` when empty.
    std::function<int(int)> restore = {};
    // The choice a chosen item stands for, shown in its place (as a model
    // that takes fewer colour modes shows its own); the item itself when empty.
    std::function<int(int)> map = {};
};

class ChoiceControls {
public:
    // Remembers each value as found; the controls already show them.
    void Attach(HWND page, std::vector<Choice> choices);
    // A selection change or click of one of the controls: true when it was one.
    bool OnCommand(int id, WORD code);
    // Sends each found value (only those that changed when `changedOnly`)
    // and takes them back as the values.
    void Restore(bool changedOnly);

private:
    HWND m_page = nullptr;
    std::vector<Choice> m_choices;
    std::vector<int> m_found;
};
