#pragma once
// `CRulerOverlay`: the measuring ruler, a horizontal and a vertical scale
// line with a tick every "tick spacing" units of the chosen calibration and
// a label of that spacing and the unit. The image controllers draw it over
// their picture; over live video it paints its own window, filled with the
// colour the layered overlay windows key out. Settings: see
// ruler_settings_store.h; while the settings dialog is open its values are
// the ones drawn.
#include <windows.h>

#include <string>

#include "dc.h"
#include "ruler_overlay_host.h"
#include "ruler_settings_dlg.h"
#include "ruler_settings_store.h"
#include "transparent_dlg.h"

class CRulerOverlay {
public:
    // The colour the overlay windows treat as transparent.
    static constexpr COLORREF kKeyColour = kTransparentColourKey;

    // Loads the settings from the files at once.
    CRulerOverlay(IRulerOverlayHost& host, std::wstring configPath, std::wstring scalePath);
    // Config.ini and scale.ini beside the program.
    explicit CRulerOverlay(IRulerOverlayHost& host);
    CRulerOverlay(const CRulerOverlay&) = delete;
    CRulerOverlay& operator=(const CRulerOverlay&) = delete;
    virtual ~CRulerOverlay() = default;

    // 1: read the files again (after zoom, scroll, calibration or precision
    // changes); any value: take the open dialog's values.
    void LoadSettings(int fromFiles);
    // Runs the settings dialog modally over `parent`; its result.
    INT_PTR ShowSettingsDlg(HWND parent);
    bool IsDialogOpen() const { return m_bDialogOpen != 0; }

    // One line with its ticks and label into dc, `zoom` window pixels per
    // frame pixel, shifted by the scroll offset. Nothing while the ruler is
    // off or a size is 0.
    void DrawHorizontalRuler(CDC& dc, float zoom, int scrollX, int scrollY);
    void DrawVertRuler(CDC& dc, float zoom, int scrollX, int scrollY);

    // The window the two paints draw into.
    void SetTargetWindow(HWND window) { m_hTarget = window; }
    HWND GetTargetWindow() const { return m_hTarget; }
    // Double-buffered paint into the target window (the view's and the
    // full-screen window's own calls).
    void PaintOnView();
    void PaintOnFullScreen();
    // The paint itself into a context of width by height: the key colour,
    // then both lines at zoom width / frame width.
    void PaintInto(CDC& dc, int width, int height);

    // The values in use.
    double m_fScale = 1.0;
    int m_nHorizontalPos = 100;  // window y of the horizontal line
    int m_nVerticalPos = 100;    // window x of the vertical line
    COLORREF m_colour = RGB(255, 255, 255);
    int m_bShow = 0;
    int m_bCentre = 0;
    std::wstring m_strUnit;
    int m_nDecimals = 2;
    int m_nSpacing = 10;

private:
    void DrawLine(CDC& dc, bool horizontal, float zoom, int scrollX, int scrollY);

    IRulerOverlayHost& m_host;
    RulerSettingsFiles m_files;
    CRulerSettingsDlg m_dialog;
    HWND m_hTarget = nullptr;
    int m_bDialogOpen = 0;
};
