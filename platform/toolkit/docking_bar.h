#pragma once
// A bar that docks on one side of a docking frame: a title strip over one
// content window. The frame shows and hides it; the bar keeps the size it
// takes across its side (width on the left and right, height at the top
// and bottom). The user drags the title strip to move the bar to another
// side or out of the frame, where it floats in a window of its own, and
// drags the docked bar's inner edge to resize it; the frame decides both.
#include <windows.h>

#include <optional>
#include <string>

#include "dock_side.h"
#include "window.h"

class CDockingBar;

// What a bar asks of its frame while the user drags it. The frame outlives
// its bars, so no virtual destructor.
class IDockBarHost {
public:
    // The title strip was released at `screen`; `moved` is the bar's window
    // rectangle moved along with the drag (where it floats when it floats).
    virtual void BarDropped(CDockingBar& bar, POINT screen, const RECT& moved) = 0;
    // The docked bar's inner edge is dragged to `screen`.
    virtual void BarEdgeDragged(CDockingBar& bar, POINT screen) = 0;

protected:
    ~IDockBarHost() = default;
};

class CDockingBar : public CWindow {
public:
    // Width of the inner edge the user grabs to resize a docked bar.
    static constexpr int kEdgeGrip = 5;

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

    // Set by the frame: the side the bar is docked on, or floating.
    void SetDockHost(IDockBarHost* host) { m_host = host; }
    void SetDockedSide(std::optional<DockSide> side) {
        m_side = side;
        PlaceContent();
    }
    bool IsFloating() const { return m_hWnd != nullptr && !m_side; }
    // Makes the bar a window of its own over `frame`, at `screen`.
    void Float(HWND frame, const RECT& screen);
    // Makes a floating bar a child of `frame` again.
    void AttachTo(HWND frame);

protected:
    // After the window exists; -1 fails the creation (derived bars build
    // their content here).
    virtual int OnCreate() { return 0; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum class Drag { none, move, size };
    int TitleHeight() const;
    // Whether the client point lies on the inner edge of the docked bar.
    bool OnInnerEdge(POINT point) const;
    void OnButtonDown(POINT point);
    void OnMouseMove(POINT point);
    void OnButtonUp(POINT point);
    void Paint();
    void PlaceContent();

    std::wstring m_title;
    DockSides m_allowedSides = kDockAny;
    int m_extent = kDefaultExtent;
    HWND m_content = nullptr;
    IDockBarHost* m_host = nullptr;
    std::optional<DockSide> m_side;
    Drag m_drag = Drag::none;
    POINT m_press{};
};
