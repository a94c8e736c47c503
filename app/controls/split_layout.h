#pragma once
// Splitter bars in a dialog: CSplitLayout finds the gaps between groups of
// controls and puts a ZSplitter bar into each, plus one junction that moves
// both ways. Dragging a bar moves the facing control edges with the
// pointer, one to one; each moved control is announced to the dialog with
// WM_LAYOUT_SPLIT (lParam its window) so the dialog can anchor it again.
#include <windows.h>

#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "split_geometry.h"
#include "window.h"

inline constexpr UINT WM_LAYOUT_SPLIT = 0x46E;
// First bar id; bars are numbered from it.
inline constexpr UINT kFirstSplitterId = 50000;

class CSplitLayout;

// One bar window: it drags itself and asks its layout to move.
class ZSplitter : public CWindow {
public:
    ZSplitter(CSplitLayout& layout, split_geometry::Kind kind) : m_layout(layout), m_kind(kind) {}
    bool Create(HWND dialog, const RECT& rect, UINT id);
    split_geometry::Kind Kind() const { return m_kind; }
    bool IsDragging() const { return m_dragging; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc) const;

    CSplitLayout& m_layout;
    split_geometry::Kind m_kind;
    bool m_dragging = false;
    POINT m_grab{};
};

class CSplitLayout {
public:
    CSplitLayout() = default;
    CSplitLayout(const CSplitLayout&) = delete;
    CSplitLayout& operator=(const CSplitLayout&) = delete;
    ~CSplitLayout();

    // Paints a bar's face over its client rectangle; bars show the dialog's
    // face colour without one.
    using BarPainter = std::function<void(HDC dc, const RECT& client)>;

    void Attach(HWND dialog) { m_dialog = dialog; }
    // Every bar paints with it from its next paint on.
    void SetBarPainter(BarPainter painter) { m_painter = std::move(painter); }
    const BarPainter& GetBarPainter() const { return m_painter; }
    // groups: for each group its number of controls, then their ids.
    // Creates the bars; false when the list is malformed.
    bool Init(std::span<const int> groups);
    // Places the bars in the gaps as the controls stand now.
    void Relayout();
    // Moves bar `id` (0: the bar being dragged) by (dx, dy); false when refused.
    bool MoveSplitter(UINT id, int dx, int dy);
    // Moves the junction by the difference from the point of the previous
    // call (the first call only records its point).
    void OnParentMoved(int x, int y);
    void DestroyBars();

    std::size_t BarCount() const { return m_windows.size(); }
    HWND BarWindow(std::size_t index) const { return m_windows[index]->GetSafeHwnd(); }
    split_geometry::Kind BarKind(std::size_t index) const { return m_windows[index]->Kind(); }

private:
    std::vector<split_geometry::Group> CurrentGroups() const;
    RECT ClientRectOf(HWND window) const;

    HWND m_dialog = nullptr;
    std::vector<std::vector<int>> m_groupIds;
    std::vector<int> m_controlIds;  // the index used by split_geometry
    std::vector<split_geometry::Bar> m_bars;
    std::vector<std::unique_ptr<ZSplitter>> m_windows;
    bool m_hasReference = false;
    POINT m_reference{};
    BarPainter m_painter;
};
