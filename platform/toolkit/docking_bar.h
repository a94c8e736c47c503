#pragma once
// A bar that docks on one side of a docking frame: a title strip over one
// content window. The frame shows and hides it; the bar keeps the size it
// takes across its side (width on the left and right, height at the top
// and bottom).
#include <string>

#include "dock_side.h"
#include "window.h"

class CDockingBar : public CWindow {
public:
    static constexpr const wchar_t* kClassName = L"VizcamDockingBar";
    static constexpr int kDefaultExtent = 220;

    // Creates the bar hidden; the frame shows it when it docks it.
    bool Create(const std::wstring& title, HWND parent, UINT id);
    void EnableDocking(DockSides sides) { m_allowedSides = sides; }
    DockSides GetAllowedSides() const { return m_allowedSides; }
    // The window that fills the bar below its title.
    void SetContent(HWND content);
    int GetExtent() const { return m_extent; }
    void SetExtent(int extent) { m_extent = extent; }
    std::wstring GetTitle() const { return m_title; }

protected:
    // After the window exists; -1 fails the creation (derived bars build
    // their content here).
    virtual int OnCreate() { return 0; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int TitleHeight() const;
    void Paint();
    void PlaceContent();

    std::wstring m_title;
    DockSides m_allowedSides = kDockAny;
    int m_extent = kDefaultExtent;
    HWND m_content = nullptr;
};
