#include "ruler_overlay.h"

#include "ini_profile.h"
#include "module_folder.h"

namespace {

// The context's font drawn without smoothing. Over live video the overlay
// window cuts out exactly its key colour: text smoothed against that colour
// would leave a fringe of blended key colour around every letter.
LOGFONTW UnsmoothedFont(CDC& dc) {
    LOGFONTW font{};
    ::GetObjectW(::GetCurrentObject(dc.GetSafeHdc(), OBJ_FONT), sizeof font, &font);
    font.lfQuality = NONANTIALIASED_QUALITY;
    return font;
}

}  // namespace

CRulerOverlay::CRulerOverlay(IRulerOverlayHost& host, std::wstring configPath, std::wstring scalePath)
    : m_host(host), m_files(std::move(configPath), std::move(scalePath)), m_dialog(host, m_files) {
    LoadSettings(1);
}

CRulerOverlay::CRulerOverlay(IRulerOverlayHost& host)
    : CRulerOverlay(host, GetModuleFolder() + L"Config.ini", ScaleIniPath()) {}

void CRulerOverlay::LoadSettings(int fromFiles) {
    if (m_bDialogOpen) {
        m_bShow = m_dialog.GetShow();
        m_bCentre = m_dialog.GetCentre();
        m_nHorizontalPos = m_dialog.GetHorizontalPos();
        m_nVerticalPos = m_dialog.GetVerticalPos();
        m_colour = m_dialog.GetColour();
        m_nSpacing = m_dialog.GetSpacing();
        return;
    }
    if (fromFiles != 1) {
        return;
    }
    const RulerCalibration calibration = m_files.ReadCalibration(m_host.GetCalibrationIndex());
    m_fScale = RulerScaleValue(calibration.value);
    m_strUnit = calibration.unit;
    m_nSpacing = calibration.spacing;
    m_nDecimals = calibration.decimals;
    const RulerStoredSettings stored = m_files.ReadRuler();
    m_colour = stored.colour;
    m_bCentre = stored.middle ? 1 : 0;
    m_bShow = stored.show ? 1 : 0;
    // Without a frame or a display the positions stay as they are.
    const RulerSizes sizes = m_host.GetRulerSizes();
    if (const auto y = FrameToDisplay(stored.rulerX, sizes.frameHeight, sizes.displayHeight)) {
        m_nHorizontalPos = *y;
    }
    if (const auto x = FrameToDisplay(stored.rulerY, sizes.frameWidth, sizes.displayWidth)) {
        m_nVerticalPos = *x;
    }
}

INT_PTR CRulerOverlay::ShowSettingsDlg(HWND parent) {
    m_dialog.SetParentWindow(parent);
    m_bDialogOpen = 1;
    const INT_PTR result = m_dialog.DoModal();
    m_bDialogOpen = 0;
    return result;
}

void CRulerOverlay::DrawHorizontalRuler(CDC& dc, float zoom, int scrollX, int scrollY) {
    DrawLine(dc, true, zoom, scrollX, scrollY);
}

void CRulerOverlay::DrawVertRuler(CDC& dc, float zoom, int scrollX, int scrollY) {
    DrawLine(dc, false, zoom, scrollX, scrollY);
}

void CRulerOverlay::DrawLine(CDC& dc, bool horizontal, float zoom, int scrollX, int scrollY) {
    LoadSettings(0);
    const RulerSizes sizes = m_host.GetRulerSizes();
    if (!m_bShow || !sizes.Usable()) {
        return;
    }
    RulerAxisInput in;
    in.spacing = m_nSpacing;
    in.scale = m_fScale;
    in.zoom = zoom;
    in.frameAlong = horizontal ? sizes.frameWidth : sizes.frameHeight;
    in.displayAlong = horizontal ? sizes.displayWidth : sizes.displayHeight;
    in.displayAcross = horizontal ? sizes.displayHeight : sizes.displayWidth;
    in.scrollAlong = horizontal ? scrollX : scrollY;
    in.scrollAcross = horizontal ? scrollY : scrollX;
    in.linePosition = m_bCentre ? in.displayAcross / 2 : (horizontal ? m_nHorizontalPos : m_nVerticalPos);
    const RulerLine line = LayOutRulerLine(in);

    const CPen pen(PS_SOLID, 1, m_colour);
    const CSelectObject selectPen(dc, pen.GetSafeHandle());
    // (along, across) to the context's (x, y).
    const auto moveTo = [&](int along, int across) {
        return horizontal ? dc.MoveTo(along, across) : dc.MoveTo(across, along);
    };
    const auto lineTo = [&](int along, int across) {
        return horizontal ? dc.LineTo(along, across) : dc.LineTo(across, along);
    };
    moveTo(line.lineFrom, line.across);
    lineTo(line.lineTo, line.across);
    for (const RulerTickMark& tick : line.ticks) {
        moveTo(tick.along, tick.from);
        lineTo(tick.along, tick.to + 1);
    }

    const std::u16string text(RulerLabelText(m_nSpacing, std::u16string(m_strUnit.begin(), m_strUnit.end())));
    const int characters = static_cast<int>(text.size());
    const RulerLabelRect r = horizontal ? HorizontalLabelRect(line.across, scrollX, characters)
                                        : VerticalLabelRect(line.across, scrollY, characters, sizes.displayWidth);
    RECT rect{r.left, r.top, r.right, r.bottom};
    const CFont font(UnsmoothedFont(dc));
    const CSelectObject selectFont(dc, font.GetSafeHandle());
    dc.SetTextColor(m_colour);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(text, rect, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

void CRulerOverlay::PaintInto(CDC& dc, int width, int height) {
    const RECT all{0, 0, width, height};
    dc.FillSolidRect(all, kKeyColour);
    const RulerSizes sizes = m_host.GetRulerSizes();
    if (sizes.frameWidth <= 0) {
        return;
    }
    const float zoom = static_cast<float>(width) / static_cast<float>(sizes.frameWidth);
    DrawVertRuler(dc, zoom, 0, 0);
    DrawHorizontalRuler(dc, zoom, 0, 0);
}

void CRulerOverlay::PaintOnView() {
    if (!m_hTarget) {
        return;
    }
    RECT client{};
    GetClientRect(m_hTarget, &client);
    if (client.right <= 0 || client.bottom <= 0) {
        return;
    }
    CClientDC window(m_hTarget);
    CMemoryDC buffer(&window, client.right, client.bottom);
    if (!buffer.IsValid()) {
        return;
    }
    PaintInto(buffer, client.right, client.bottom);
    window.BitBlt(0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
}

void CRulerOverlay::PaintOnFullScreen() { PaintOnView(); }
