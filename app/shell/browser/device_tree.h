#pragma once
// `CDeviceTree`: the tree control of the browser bar's device tab. One root
// item per camera family lists that family's connected cameras; a
// double-click on a camera other than the open one hands the pick to the
// view with WM_DEVICE_SELECTED, and the tree keeps it only when the view
// switched to it. The view fills the tree at start and refills it after
// `Clear`.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "device_tree_lists.h"
#include "window.h"

class CDeviceTree : public CWindow {
public:
    // The tree with its five family roots; the family names come from the
    // resource module's string table.
    bool Create(HWND parent, UINT id);
    // The window that gets WM_DEVICE_SELECTED: the main frame's active view.
    void SetViewWindow(std::function<HWND()> activeView) { m_activeView = std::move(activeView); }

    // Adds a device under the root of its category (1 to 5); another
    // category does nothing.
    void AddDevice(const DeviceTreeEntry& entry, int category);
    // Removes every device and forgets the selection; the five roots stand again.
    void Clear();
    void ExpandAll();
    // Selects the first device of the lowest category with devices and
    // removes the roots of the families without any.
    void SelectFirst();
    int GetSelectedCategory() const;
    // ("", -1) when nothing is selected.
    DeviceTreeEntry GetSelectedDevice() const;
    // The item of a category's root; null once SelectFirst removed it.
    HTREEITEM Root(int category) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnReflectedNotify(NMHDR& header, LRESULT& result) override;

private:
    void InsertRoots();
    void OnDoubleClick();
    // The device item at a selection; null when there is none.
    HTREEITEM ItemAt(const DeviceTreeSelection& selection) const;
    void ShowSelection();
    std::wstring ItemText(HTREEITEM item) const;

    std::array<std::wstring, kDeviceTreeCategories> m_names;
    std::array<HTREEITEM, kDeviceTreeCategories> m_roots{};
    DeviceTreeLists m_lists;
    // The pick the view is asked about while WM_DEVICE_SELECTED is sent.
    std::optional<DeviceTreeSelection> m_pending;
    std::function<HWND()> m_activeView;
};
