#pragma once
// Tabs over a set of child windows: the chosen tab's window shows, the
// others hide.
#include <string>
#include <vector>

#include "unique_handle.h"
#include "window.h"

class CTabWindow : public CWindow {
public:
    bool Create(HWND parent, UINT id);
    // Tab images from a bitmap of the resource module, imageWidth pixels each.
    bool SetImageList(UINT bitmapId, int imageWidth, int grow, COLORREF mask);
    // Adds a tab for a child window of this tab window; returns its index.
    int AddTab(HWND child, const std::wstring& title, int image);
    int GetTabCount() const { return static_cast<int>(m_children.size()); }
    int GetCurSel() const;
    void SelectTab(int index);

    bool OnReflectedNotify(NMHDR& header, LRESULT& result) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PlaceChildren();
    std::vector<HWND> m_children;
    UniqueImageList m_images;
};
