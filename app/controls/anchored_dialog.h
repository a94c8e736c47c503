#pragma once
// A dialog base whose child controls follow anchors when the dialog is
// resized, with its first size as the minimum and a size grip at the
// bottom-right. A control moved by other code (a splitter bar) is anchored
// again so that the next resize keeps where it was put.
#include <windows.h>

#include <vector>

#include "anchor_layout.h"
#include "dialog.h"

class CAnchoredDialog : public CDialog {
public:
    CAnchoredDialog(UINT templateId, HWND parent);

    // Anchors a control at its current rectangle; a bottom-right kNoAnchor
    // takes the top-left anchor.
    void AnchorChildren(HWND control, anchor_layout::Anchor topLeft,
                        anchor_layout::Anchor bottomRight = anchor_layout::kNoAnchor);
    // Anchors an anchored control again at its current rectangle.
    void ReanchorChild(HWND control);
    // Places every anchored control for the current client size.
    virtual void RepositionControls();

    SIZE MinTrackSize() const { return m_minTrackSize; }
    RECT GripRect() const { return m_grip; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Entry {
        HWND window;
        bool adjustScroll;
        bool needsRefresh;
        anchor_layout::Anchoring anchoring;
    };
    RECT ClientRectOf(HWND control) const;
    void UpdateGrip();
    void DrawGrip(HDC dc) const;

    bool m_showGrip = true;
    bool m_useMinTrackSize = true;
    bool m_initDone = false;
    SIZE m_gripSize{};
    RECT m_grip{};
    SIZE m_minTrackSize{};
    std::vector<Entry> m_entries;
};
