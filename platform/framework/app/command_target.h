#pragma once
// Commands (menu items, toolbar buttons) and their enabled and checked state.
// A target keeps a table of the commands it handles; the frame routes a
// command to the first target on its route that has it.
#include <windows.h>

#include <functional>
#include <map>
#include <vector>

// The state one command shows in menus and toolbars, filled in by the
// target that answers for it.
class CCommandState {
public:
    explicit CCommandState(UINT id) : m_id(id) {}
    UINT GetId() const { return m_id; }
    void Enable(bool enabled) { m_enabled = enabled; }
    void SetCheck(bool checked) { m_checked = checked; }
    bool IsEnabled() const { return m_enabled; }
    bool IsChecked() const { return m_checked; }

private:
    UINT m_id;
    bool m_enabled = false;
    bool m_checked = false;
};

class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;

    // Runs the command's handler; false when this target has none.
    bool RunCommand(UINT id);
    // Fills the state when this target answers for the command: its update
    // handler decides, or a bare handler means enabled. False otherwise.
    bool UpdateCommand(CCommandState& state) const;

protected:
    void OnCommand(UINT id, std::function<void()> handler);
    void OnUpdateCommand(UINT id, std::function<void(CCommandState&)> handler);
    // The commands this target has a handler for, in ascending order.
    std::vector<UINT> CommandIds() const;

private:
    std::map<UINT, std::function<void()>> m_commands;
    std::map<UINT, std::function<void(CCommandState&)>> m_updates;
};
