#include "count_result_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>

#include "counting_resource.h"
#include "prompt_dlg.h"
#include "resource.h"
#include "resource_module.h"
#include "target_filter_dlg.h"

namespace {

constexpr int kPaneIds[] = {IDC_RESULT_PICTURE_PANE, IDC_RESULT_SUMMARY_PANE, IDC_RESULT_TABLE_PANE};

void InsertColumn(HWND list, int index, const std::wstring& heading, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(heading.c_str());
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

template <std::size_t N>
void AppendRow(HWND list, const std::array<std::wstring, N>& texts) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<wchar_t*>(texts[0].c_str());
    const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (std::size_t i = 1; i < N; ++i) {
        LVITEMW sub{};
        sub.iSubItem = static_cast<int>(i);
        sub.pszText = const_cast<wchar_t*>(texts[i].c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
    }
}

HWND CreateReportList(HWND dialog, int id) {
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                                0, 0, 0, 0, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    return list;
}

// The bars are flat: a light face in a thin raised border.
void PaintFlatBar(HDC dc, const RECT& client) {
    const auto fill = [dc](const RECT& rect, COLORREF colour) {
        SetBkColor(dc, colour);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    };
    constexpr COLORREF kLight = RGB(255, 255, 255);
    constexpr COLORREF kShadow = RGB(172, 168, 153);
    fill(client, CCountResultDlg::kBarFace);
    fill({client.left, client.top, client.right - 1, client.top + 1}, kLight);
    fill({client.left, client.top, client.left + 1, client.bottom - 1}, kLight);
    fill({client.right - 1, client.top, client.right, client.bottom}, kShadow);
    fill({client.left, client.bottom - 1, client.right, client.bottom}, kShadow);
}

std::wstring LowerExtension(const std::wstring& path) {
    std::wstring extension = std::filesystem::path(path).extension().wstring();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return extension;
}

}  // namespace

LRESULT CCountResultDlg::CPreview::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CImagePreviewWnd::WindowProc(message, wParam, lParam);
    if (message == WM_LBUTTONUP) {
        m_owner.OnPictureClicked();
    }
    return result;
}

CCountResultDlg::CCountResultDlg(HWND parent) : CAnchoredDialog(IDD_COUNT_RESULT, parent) {
    std::fill(std::begin(m_columnShown), std::end(m_columnShown), 1);
}

CCountResultDlg::~CCountResultDlg() = default;

void CCountResultDlg::SetImageSize(int width, int height) {
    m_nWidth = width;
    m_nHeight = height;
}

void CCountResultDlg::SetCounter(CIMGCount* engine) {
    m_engine = engine;
    m_targets = engine != nullptr ? &engine->getObjectVector() : nullptr;
    m_table.rowTargets.clear();
    if (m_targets != nullptr && !m_targets->empty()) {
        m_range.lower = m_range.upper = m_targets->front();
        m_filter = m_range;
    }
}

void CCountResultDlg::SetSource(float scale, int decimals, std::wstring unit) {
    m_fScale = scale;
    m_nDecimals = decimals;
    m_strUnit = std::move(unit);
}

RECT CCountResultDlg::ClientRectOf(int id) const {
    RECT rect{};
    GetWindowRect(GetDlgItem(id), &rect);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

BOOL CCountResultDlg::OnInitDialog() {
    CAnchoredDialog::OnInitDialog();
    m_icon.Reset(static_cast<HICON>(LoadImageW(GetResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon.Get()));
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.Get()));

    // The panes follow the splitters and the shares, never the anchors.
    for (const int pane : kPaneIds) {
        AnchorChildren(GetDlgItem(pane), anchor_layout::kTopLeft);
    }
    AnchorChildren(GetDlgItem(IDC_RESULT_LINE), anchor_layout::kTopLeft, anchor_layout::kBottomLeft);
    m_layout.Attach(m_hWnd);
    m_layout.SetBarPainter(&PaintFlatBar);
    const int groups[] = {1, IDC_RESULT_PICTURE_PANE, 1, IDC_RESULT_SUMMARY_PANE, 1, IDC_RESULT_TABLE_PANE};
    m_layout.Init(groups);

    for (int k = 0; k < kMeasureColumns; ++k) {
        CheckDlgButton(m_hWnd, IDC_RESULT_COLUMN_FIRST + k, m_columnShown[k] ? BST_CHECKED : BST_UNCHECKED);
    }
    CreateLists();
    FillTable(true);

    RECT client{};
    GetClientRect(m_hWnd, &client);
    m_clientHeight = client.bottom;
    m_rightMargin = client.right - ClientRectOf(IDC_RESULT_TABLE_PANE).right;
    m_shares = m_savedShares = SharesOf(CurrentPanes(), m_clientHeight);

    m_preview.Create(WS_VISIBLE, RECT{5, 5, 100, 30}, m_hWnd, IDC_RESULT_PREVIEW);
    m_preview.UpdateLayout(0);
    FitToPane(IDC_RESULT_PICTURE_PANE);
    BuildPictures();
    m_ready = true;
    return TRUE;
}

void CCountResultDlg::CreateLists() {
    m_tableList = CreateReportList(m_hWnd, IDC_RESULT_TABLE);
    m_summaryList = CreateReportList(m_hWnd, IDC_RESULT_SUMMARY);
    FitToPane(IDC_RESULT_TABLE_PANE);
    FitToPane(IDC_RESULT_SUMMARY_PANE);
}

CountLabels CCountResultDlg::Labels() const {
    CountLabels labels;
    labels.count = LoadResourceString(IDS_RESULT_TARGET_COUNT);
    for (std::size_t i = 0; i < labels.summary.size(); ++i) {
        labels.summary[i] = LoadResourceString(IDS_RESULT_SUMMARY_FIRST + static_cast<UINT>(i));
    }
    labels.headings[0] = LoadResourceString(IDS_RESULT_NUMBER);
    for (int k = 0; k < kMeasureColumns; ++k) {
        labels.headings[static_cast<std::size_t>(k) + 1] = LoadResourceString(IDS_MEASURE_FIRST + static_cast<UINT>(k));
    }
    return labels;
}

void CCountResultDlg::FillTable(bool withColumns) {
    SendMessageW(m_tableList, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(m_summaryList, LVM_DELETEALLITEMS, 0, 0);
    m_range.enabled = 0;
    const CountLabels labels = Labels();
    if (withColumns) {
        for (std::size_t i = 0; i < labels.headings.size(); ++i) {
            InsertColumn(m_tableList, static_cast<int>(i), labels.headings[i], kColumnWidth);
        }
    }
    CountTableSource source{m_nWidth, m_nHeight, 0, 0, m_fScale, m_nDecimals, m_strUnit};
    if (m_engine != nullptr) {
        CountPoint corner;
        m_engine->getSelRect(corner, source.regionWidth, source.regionHeight);
    }
    m_table = BuildCountTable(
        m_targets != nullptr ? std::span<const _tagOBJRESULT>(*m_targets) : std::span<const _tagOBJRESULT>(), source);
    // The range only widens: a filter never hides the targets it left out
    // from the next filter.
    if (!m_table.rows.empty()) {
        WidenRange(m_range, m_table.range.lower);
        WidenRange(m_range, m_table.range.upper);
    }
    for (const auto& row : m_table.rows) {
        AppendRow(m_tableList, row);
    }

    const std::wstring count = std::to_wstring(m_table.rows.size());
    if (withColumns) {
        const RECT pane = ClientRectOf(IDC_RESULT_SUMMARY_PANE);
        const int valueWidth = pane.right - pane.left - kSummaryLabelWidth;
        InsertColumn(m_summaryList, 0, labels.count, kSummaryLabelWidth);
        InsertColumn(m_summaryList, 1, count, valueWidth > 0 ? valueWidth : kSummaryLabelWidth);
        m_filter = m_range;
    } else {
        const int width = static_cast<int>(SendMessageW(m_summaryList, LVM_GETCOLUMNWIDTH, 1, 0));
        SendMessageW(m_summaryList, LVM_DELETECOLUMN, 1, 0);
        InsertColumn(m_summaryList, 1, count, width);
    }
    for (std::size_t i = 0; i < labels.summary.size(); ++i) {
        AppendRow(m_summaryList, std::array<std::wstring, 2>{labels.summary[i], m_table.summary[i]});
    }
    m_nRowsShown = static_cast<int>(m_table.rows.size());
}

void CCountResultDlg::BuildPictures() {
    if (m_engine == nullptr || !CPicture::IsSizeAllowed(m_nWidth, m_nHeight)) {
        return;
    }
    auto outlined = std::make_unique<CPicture>(m_nWidth, m_nHeight, 24, kPictureBmp);
    // The engine holds its picture in the same padded rows; one of another
    // size is not this picture's.
    const std::span<const std::uint8_t> source = m_engine->getSrcImgBits();
    if (source.size() != outlined->GetSize()) {
        return;
    }
    std::copy(source.begin(), source.end(), outlined->Pixels().begin());
    m_engine->DrawMarkInSrcIMG(outlined->Pixels(), true);
    m_pictureA = std::move(outlined);
    m_pictureB = std::make_unique<CPicture>(*m_pictureA);
    ShowBitmap(*m_pictureA, m_bitmapA);
}

void CCountResultDlg::ReleasePictures() {
    // The preview lets go of its bitmap before the bitmaps go.
    m_preview.SetBitmap(nullptr);
    m_bitmapA.reset();
    m_bitmapB.reset();
    m_pictureA.reset();
    m_pictureB.reset();
}

void CCountResultDlg::ShowBitmap(const CPicture& picture, picture_gdi::UniqueBitmap& bitmap) {
    HDC dc = GetDC(m_hWnd);
    picture_gdi::UniqueBitmap fresh = picture_gdi::MakeBitmap(picture, dc);
    ReleaseDC(m_hWnd, dc);
    if (!fresh) {
        return;
    }
    m_preview.SetBitmap(fresh.get());
    bitmap = std::move(fresh);
}

void CCountResultDlg::StartBlinking() {
    if (!m_timerRunning) {
        m_timerRunning = SetTimer(m_hWnd, kBlinkTimer, kBlinkMs, nullptr) != 0;
    }
}

void CCountResultDlg::OnBlink() {
    if (!m_pictureA || !m_pictureB) {
        return;
    }
    s_blinkPhase = !s_blinkPhase;
    if (s_blinkPhase) {
        ShowBitmap(*m_pictureB, m_bitmapB);
    } else {
        ShowBitmap(*m_pictureA, m_bitmapA);
    }
}

void CCountResultDlg::OnTableClicked() {
    if (!m_pictureB || m_targets == nullptr || SendMessageW(m_tableList, LVM_GETSELECTEDCOUNT, 0, 0) == 0) {
        return;
    }
    for (_tagOBJRESULT& target : *m_targets) {
        target.mark = 1;
    }
    int row = -1;
    while ((row = static_cast<int>(
                SendMessageW(m_tableList, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
        if (static_cast<std::size_t>(row) < m_table.rowTargets.size()) {
            m_engine->DrawMarkInSrcIMG(m_pictureB->Pixels(), m_table.rowTargets[static_cast<std::size_t>(row)]);
        }
    }
    StartBlinking();
}

void CCountResultDlg::OnPictureClicked() {
    const POINT point = m_preview.TakeClickPoint();
    SetFocus(m_tableList);
    unsigned number = 0;
    if (m_engine == nullptr || !m_pictureB || m_engine->FindPixBGR(point.x, m_nHeight - point.y - 1, number) == 0) {
        return;
    }
    m_engine->DrawMarkInSrcIMG(m_pictureB->Pixels(), static_cast<int>(number));
    ShowBitmap(*m_pictureB, m_bitmapB);
    StartBlinking();
    const auto found = std::find(m_table.rowTargets.begin(), m_table.rowTargets.end(), static_cast<int>(number));
    if (found == m_table.rowTargets.end()) {
        return;
    }
    const int row = static_cast<int>(found - m_table.rowTargets.begin());
    SendMessageW(m_tableList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    const UINT state =
        static_cast<UINT>(SendMessageW(m_tableList, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED));
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = (state & LVIS_SELECTED) ? 0 : LVIS_SELECTED;
    SendMessageW(m_tableList, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void CCountResultDlg::OnColumnBox(int column) {
    const bool shown = IsDlgButtonChecked(m_hWnd, IDC_RESULT_COLUMN_FIRST + column) == BST_CHECKED;
    m_columnShown[column] = shown ? 1 : 0;
    SendMessageW(m_tableList, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column + 1), shown ? kColumnWidth : 0);
}

void CCountResultDlg::OnFilter() {
    CTargetFilterDlg dialog(m_hWnd);
    dialog.SetFilters(m_range, m_filter);
    dialog.SetScale(m_fScale, m_nDecimals, m_strUnit);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    m_filter = dialog.GetFilter();
    if (m_engine != nullptr) {
        m_engine->setObjFilter(m_filter);
    }
    ReleasePictures();
    BuildPictures();
    FillTable(false);
    StartBlinking();
}

void CCountResultDlg::OnSaveImage() {
    const std::optional<std::wstring> path = m_fileDialogs->SaveFile(
        m_hWnd, FileDialogRequest{L"BMP File(*.bmp)|*.bmp|JPEG File(*.jpg)|*.jpg|TIFF File(*.tiff)|*.tiff|",
                                  OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, L""});
    if (!path || !m_pictureB) {
        return;
    }
    const std::wstring extension = LowerExtension(*path);
    const int type = extension == L".bmp"    ? kPictureBmp
                     : extension == L".jpg"  ? kPictureJpeg
                     : extension == L".tiff" ? kPictureTiff
                                             : kPictureAuto;
    if (type != kPictureAuto) {
        m_pictureB->Save(*path, type);
    }
}

bool CCountResultDlg::Prompt(UINT textId, int mode) const {
    CPromptDlg prompt(LoadResourceString(textId), L"Vizcam", mode, m_hWnd);
    return prompt.DoModal() == IDOK;
}

void CCountResultDlg::OnExport() {
    if (m_nRowsShown > kRowsExportedWithoutAsking && !Prompt(IDS_RESULT_EXPORT_MANY, 1)) {
        return;
    }
    const std::optional<std::wstring> path = m_fileDialogs->SaveFile(
        m_hWnd, FileDialogRequest{L"Word File(*.doc)|*.doc|", OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, L""});
    if (!path) {
        return;
    }
    // The picture goes under a name of our own in the temporary folder:
    // a file beside the document stays the user's.
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    const CCountReportPicture picture(m_pictureB ? *m_pictureB : CPicture(), folder);
    const CountReport report = BuildCountReport(m_table, Labels());
    if (m_reportWriter == nullptr || !m_reportWriter->WriteCountReport(*path, picture.Path(), report)) {
        Prompt(IDS_RESULT_WORD_FAILED, 1);
    }
}

PaneStack CCountResultDlg::CurrentPanes() const {
    const RECT picture = ClientRectOf(IDC_RESULT_PICTURE_PANE);
    const RECT summary = ClientRectOf(IDC_RESULT_SUMMARY_PANE);
    const RECT table = ClientRectOf(IDC_RESULT_TABLE_PANE);
    return {picture.top, picture.bottom, summary.top, summary.bottom, table.top, table.bottom};
}

void CCountResultDlg::PlacePanes(const PaneStack& panes) {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const int right = client.right - m_rightMargin;
    const std::pair<int, int> spans[] = {{panes.pictureTop, panes.pictureBottom},
                                         {panes.summaryTop, panes.summaryBottom},
                                         {panes.tableTop, panes.tableBottom}};
    for (std::size_t i = 0; i < std::size(kPaneIds); ++i) {
        const RECT old = ClientRectOf(kPaneIds[i]);
        SetWindowPos(GetDlgItem(kPaneIds[i]), nullptr, old.left, spans[i].first, std::max<int>(right - old.left, 0),
                     std::max(spans[i].second - spans[i].first, 0), SWP_NOZORDER | SWP_NOACTIVATE);
        ReanchorChild(GetDlgItem(kPaneIds[i]));
        FitToPane(kPaneIds[i]);
    }
}

void CCountResultDlg::FitToPane(int paneId) {
    HWND control = paneId == IDC_RESULT_TABLE_PANE     ? m_tableList
                   : paneId == IDC_RESULT_SUMMARY_PANE ? m_summaryList
                                                       : m_preview.GetSafeHwnd();
    if (control == nullptr) {
        return;
    }
    const RECT pane = ClientRectOf(paneId);
    SetWindowPos(control, nullptr, pane.left, pane.top, pane.right - pane.left, pane.bottom - pane.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CCountResultDlg::RepositionControls() {
    CAnchoredDialog::RepositionControls();
    RECT client{};
    GetClientRect(m_hWnd, &client);
    // A minimised dialog keeps its panes for when it comes back.
    if (!m_ready || IsIconic(m_hWnd) || client.bottom <= 0) {
        return;
    }
    const PaneStack panes = CurrentPanes();
    PaneStack placed = LayOutPanes(panes, m_shares, m_clientHeight, client.bottom);
    if (IsPaneTooLow(placed)) {
        m_shares = m_savedShares;
        placed = LayOutPanes(panes, m_shares, m_clientHeight, client.bottom);
    }
    m_clientHeight = client.bottom;
    PlacePanes(placed);
    m_layout.Relayout();
}

void CCountResultDlg::OnPaneMoved(HWND pane) {
    const int id = GetDlgCtrlID(pane);
    if (std::find(std::begin(kPaneIds), std::end(kPaneIds), id) == std::end(kPaneIds)) {
        return;
    }
    FitToPane(id);
    m_shares = SharesOf(CurrentPanes(), m_clientHeight);
}

void CCountResultDlg::OnDestroy() {
    m_layout.DestroyBars();
    if (m_timerRunning) {
        KillTimer(m_hWnd, kBlinkTimer);
        m_timerRunning = false;
    }
    ReleasePictures();
    m_icon.Reset();
    m_ready = false;
}

BOOL CCountResultDlg::OnCommand(WORD id, WORD code) {
    if (id >= IDC_RESULT_COLUMN_FIRST && id < IDC_RESULT_COLUMN_FIRST + kMeasureColumns && code == BN_CLICKED) {
        OnColumnBox(id - IDC_RESULT_COLUMN_FIRST);
        return TRUE;
    }
    switch (id) {
    case IDC_RESULT_FILTER: OnFilter(); return TRUE;
    case IDC_RESULT_SAVE_IMAGE: OnSaveImage(); return TRUE;
    case IDC_RESULT_EXPORT: OnExport(); return TRUE;
    default: return CAnchoredDialog::OnCommand(id, code);
    }
}

BOOL CCountResultDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LAYOUT_SPLIT:
        ReanchorChild(reinterpret_cast<HWND>(lParam));
        PostMessageW(m_hWnd, WM_LAYOUT_SPLIT_DONE, 0, lParam);
        return TRUE;
    case WM_LAYOUT_SPLIT_DONE: OnPaneMoved(reinterpret_cast<HWND>(lParam)); return TRUE;
    case WM_PARENTNOTIFY:
        // A press on a splitter bar: the shares to come back to when a
        // resize leaves a pane too low.
        if (LOWORD(wParam) == WM_LBUTTONDOWN) {
            m_savedShares = m_shares;
        }
        return FALSE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_RESULT_TABLE && header->code == NM_CLICK) {
            OnTableClicked();
            return TRUE;
        }
        return FALSE;
    }
    case WM_TIMER:
        if (wParam == kBlinkTimer) {
            OnBlink();
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY: OnDestroy(); return CAnchoredDialog::OnMessage(message, wParam, lParam);
    default: return CAnchoredDialog::OnMessage(message, wParam, lParam);
    }
}
