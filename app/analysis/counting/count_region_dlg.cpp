#include "count_region_dlg.h"

#include <algorithm>
#include <cstring>

#include "counting_resource.h"
#include "dc.h"
#include "picture_gdi.h"

namespace {

// Gap kept between the preview and the dialog's right and bottom edges.
constexpr int kPreviewMargin = 10;

}  // namespace

CCountRegionDlg::CCountRegionDlg(CIMGCount* engine, HWND parent) : CDialog(IDD_COUNT_REGION, parent), m_engine(engine) {
    BindInt(IDC_REGION_X, m_nX);
    BindInt(IDC_REGION_Y, m_nY);
    BindInt(IDC_REGION_W, m_nW);
    BindInt(IDC_REGION_H, m_nH);
}

BOOL CCountRegionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_engine != nullptr) {
        const CountSize size = m_engine->GetImgSize();
        m_width = size.cx;
        m_height = size.cy;
        CountPoint corner;
        int width = 0;
        int height = 0;
        m_nMode = m_engine->getSelRect(corner, width, height) ? 1 : 0;
        m_nX = corner.x;
        m_nY = m_height - height - corner.y;
        m_nW = width;
        m_nH = height;
        if (m_width > 0 && m_height > 0) {
            m_preview = std::make_unique<CPicture>(m_width, m_height, 24, kPictureBmp);
            const std::span<const std::uint8_t> source = m_engine->getSrcImgBits();
            std::memcpy(m_preview->Pixels().data(), source.data(), std::min(source.size(), m_preview->GetSize()));
        }
    }
    CheckRadioButton(m_hWnd, IDC_REGION_WHOLE, IDC_REGION_RECT, m_nMode == 1 ? IDC_REGION_RECT : IDC_REGION_WHOLE);
    SetMode(m_nMode);
    ShowValues();
    FitPreview();
    return TRUE;
}

RECT CCountRegionDlg::PreviewRect() const {
    RECT rect{};
    HWND frame = GetDlgItem(IDC_REGION_PREVIEW);
    GetWindowRect(frame, &rect);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void CCountRegionDlg::FitPreview() {
    const RECT preview = PreviewRect();
    m_fit = FitPicture(m_width, m_height, preview.right - preview.left, preview.bottom - preview.top);
}

void CCountRegionDlg::SetMode(int mode) {
    m_nMode = mode;
    for (const int id : {IDC_REGION_X, IDC_REGION_Y, IDC_REGION_W, IDC_REGION_H}) {
        EnableWindow(GetDlgItem(id), mode == 1);
    }
    Repaint();
}

void CCountRegionDlg::ShowValues() {
    m_showing = true;
    UpdateData(FALSE);
    m_showing = false;
}

void CCountRegionDlg::Repaint() {
    const RECT preview = PreviewRect();
    InvalidateRect(m_hWnd, &preview, FALSE);
}

void CCountRegionDlg::PaintPreview(HDC target) const {
    const RECT preview = PreviewRect();
    const int width = preview.right - preview.left;
    const int height = preview.bottom - preview.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    CDC dc(target);
    CMemoryDC memory(&dc, width, height);
    memory.FillSolidRect(RECT{0, 0, width, height}, RGB(255, 255, 255));
    if (m_preview) {
        picture_gdi::Draw(*m_preview, memory.GetSafeHdc(), m_fit.offsetX, m_fit.offsetY, m_fit.drawnWidth,
                          m_fit.drawnHeight);
    }
    if (m_nMode == 1 && m_engine != nullptr) {
        const float zoom = m_fit.zoom;
        const auto at = [zoom](int v) { return static_cast<int>(static_cast<float>(v) * zoom); };
        HPEN pen = CreatePen(PS_SOLID, 2, m_engine->getMarkColor());
        HGDIOBJ oldPen = SelectObject(memory.GetSafeHdc(), pen);
        HGDIOBJ oldBrush = SelectObject(memory.GetSafeHdc(), GetStockObject(NULL_BRUSH));
        Rectangle(memory.GetSafeHdc(), m_fit.offsetX + at(m_nX), m_fit.offsetY + at(m_nY),
                  m_fit.offsetX + at(m_nX + m_nW), m_fit.offsetY + at(m_nY + m_nH));
        SelectObject(memory.GetSafeHdc(), oldBrush);
        SelectObject(memory.GetSafeHdc(), oldPen);
        DeleteObject(pen);
    }
    BitBlt(target, 0, 0, width, height, memory.GetSafeHdc(), 0, 0, SRCCOPY);
}

void CCountRegionDlg::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    const RECT preview = PreviewRect();
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, preview.left, preview.top, nullptr);
    PaintPreview(dc);
    RestoreDC(dc, saved);
    EndPaint(m_hWnd, &paint);
}

void CCountRegionDlg::OnSize() {
    HWND frame = GetDlgItem(IDC_REGION_PREVIEW);
    if (frame == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const RECT preview = PreviewRect();
    MoveWindow(frame, preview.left, preview.top, std::max<LONG>(client.right - kPreviewMargin - preview.left, 0),
               std::max<LONG>(client.bottom - kPreviewMargin - preview.top, 0), FALSE);
    FitPreview();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

POINT CCountRegionDlg::PicturePoint(LPARAM lParam) const {
    const RECT preview = PreviewRect();
    const int x = static_cast<short>(LOWORD(lParam)) - preview.left - m_fit.offsetX;
    const int y = static_cast<short>(HIWORD(lParam)) - preview.top - m_fit.offsetY;
    return POINT{std::clamp(x, 0, m_fit.drawnWidth), std::clamp(y, 0, m_fit.drawnHeight)};
}

RECT CCountRegionDlg::FocusRect(POINT to) const {
    const RECT preview = PreviewRect();
    const int left = preview.left + m_fit.offsetX;
    const int top = preview.top + m_fit.offsetY;
    return RECT{left + std::min(m_start.x, to.x), top + std::min(m_start.y, to.y), left + std::max(m_start.x, to.x),
                top + std::max(m_start.y, to.y)};
}

void CCountRegionDlg::OnFieldEdited(RegionField field, int controlId) {
    if (m_showing) {
        return;
    }
    BOOL read = FALSE;
    const int value = static_cast<int>(GetDlgItemInt(m_hWnd, controlId, &read, TRUE));
    if (!read) {
        return;
    }
    RegionRect region{m_nX, m_nY, m_nW, m_nH};
    switch (field) {
    case RegionField::x: region.x = value; break;
    case RegionField::y: region.y = value; break;
    case RegionField::width: region.width = value; break;
    case RegionField::height: region.height = value; break;
    }
    region = ClampEditedRegion(region, field, m_width, m_height);
    m_nX = region.x;
    m_nY = region.y;
    m_nW = region.width;
    m_nH = region.height;
    Repaint();
    ShowValues();
}

BOOL CCountRegionDlg::OnCommand(WORD id, WORD code) {
    if (code == BN_CLICKED && (id == IDC_REGION_WHOLE || id == IDC_REGION_RECT)) {
        SetMode(id == IDC_REGION_RECT ? 1 : 0);
        return TRUE;
    }
    if (code == EN_CHANGE) {
        switch (id) {
        case IDC_REGION_X: OnFieldEdited(RegionField::x, id); return TRUE;
        case IDC_REGION_Y: OnFieldEdited(RegionField::y, id); return TRUE;
        case IDC_REGION_W: OnFieldEdited(RegionField::width, id); return TRUE;
        case IDC_REGION_H: OnFieldEdited(RegionField::height, id); return TRUE;
        default: break;
        }
    }
    return CDialog::OnCommand(id, code);
}

BOOL CCountRegionDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: OnPaint(); return TRUE;
    case WM_SIZE: OnSize(); return FALSE;
    case WM_LBUTTONDOWN: {
        SetCapture(m_hWnd);
        m_current = m_previous = m_start = PicturePoint(lParam);
        const RECT preview = PreviewRect();
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        m_dragging = m_nMode == 1 && PtInRect(&preview, at);
        return TRUE;
    }
    case WM_MOUSEMOVE:
        m_current = PicturePoint(lParam);
        if (m_dragging) {
            HDC dc = GetDC(m_hWnd);
            const RECT previous = FocusRect(m_previous);
            const RECT current = FocusRect(m_current);
            DrawFocusRect(dc, &previous);
            DrawFocusRect(dc, &current);
            ReleaseDC(m_hWnd, dc);
            m_previous = m_current;
        }
        return TRUE;
    case WM_LBUTTONUP:
        ReleaseCapture();
        if (m_dragging) {
            m_dragging = false;
            const POINT end = PicturePoint(lParam);
            const RegionRect region = RegionFromDrag(m_start.x, m_start.y, end.x, end.y, m_fit.zoom);
            m_nX = region.x;
            m_nY = region.y;
            m_nW = region.width;
            m_nH = region.height;
            ShowValues();
            Repaint();
        }
        return TRUE;
    case WM_RBUTTONUP:
        m_dragging = false;
        Repaint();
        return TRUE;
    default: return CDialog::OnMessage(message, wParam, lParam);
    }
}

void CCountRegionDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}
