#include "fusion_dlg.h"

#include <commctrl.h>

#include "engine_progress.h"
#include "engine_result.h"
#include "imaging_resource.h"
#include "picture_filter.h"
#include "picture_gdi.h"
#include "prompt_dlg.h"
#include "resource.h"
#include "resource_module.h"
#include "wait_cursor.h"

CFusionDlg::CFusionDlg(ICommonDialogs& fileDialogs, std::wstring pictureFolder, HWND parent)
    : CDialog(IDD_FUSION, parent), m_fileDialogs(fileDialogs), m_list(std::move(pictureFolder)) {}

CFusionDlg::~CFusionDlg() = default;

BOOL CFusionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_icon.Reset(static_cast<HICON>(
        LoadImageW(GetResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    if (m_icon) {
        SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.Get()));
        SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon.Get()));
    }
    if (!m_toolBar.Create(m_hWnd, kToolBarId, TBSTYLE_TOOLTIPS) || !m_toolBar.LoadToolBar(IDR_TOOLBAR_FUSION) ||
        !m_toolBar.SetImages(IDB_TOOLBAR_FUSION, RGB(192, 192, 192))) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    m_toolBar.SetHotImages(IDB_TOOLBAR_FUSION_HOT, RGB(192, 192, 192));
    m_list.SetEmbedded();
    m_list.Create(0, RECT{0, 0, 10, 10}, m_hWnd, kListId);
    m_view.Create(WS_CHILD | WS_VISIBLE | SS_NOTIFY, RECT{0, 0, 10, 10}, m_hWnd, kResultViewId);
    m_view.UpdateLayout(0);
    Layout();
    return TRUE;
}

void CFusionDlg::Layout() {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const SIZE bar = m_toolBar.GetRowSize();
    MoveWindow(m_toolBar.GetSafeHwnd(), 0, 0, client.right, bar.cy, TRUE);
    HWND listFrame = GetDlgItem(IDC_FUSION_LIST_FRAME);
    HWND resultFrame = GetDlgItem(IDC_FUSION_RESULT_FRAME);
    if (!listFrame || !resultFrame) {
        return;
    }
    RECT list{};
    GetWindowRect(listFrame, &list);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&list), 2);
    list.top = bar.cy + 2;
    list.bottom = client.bottom;
    MoveWindow(listFrame, list.left, list.top, list.right - list.left, list.bottom - list.top, TRUE);
    MoveWindow(m_list.GetSafeHwnd(), list.left, list.top, list.right - list.left, list.bottom - list.top, TRUE);
    RECT result{};
    GetWindowRect(resultFrame, &result);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&result), 2);
    result.top = bar.cy + 2;
    result.right = client.right;
    result.bottom = client.bottom;
    MoveWindow(resultFrame, result.left, result.top, result.right - result.left, result.bottom - result.top, TRUE);
    MoveWindow(m_view.GetSafeHwnd(), result.left, result.top, result.right - result.left, result.bottom - result.top,
               TRUE);
}

BOOL CFusionDlg::OnCommand(WORD id, WORD code) {
    switch (id) {
    case ID_FUSION_OPEN: OnOpen(); return TRUE;
    case ID_FUSION_DELETE: OnDelete(); return TRUE;
    case ID_FUSION_START: OnStart(); return TRUE;
    case ID_FUSION_SAVE: OnSave(); return TRUE;
    default: return CDialog::OnCommand(id, code);
    }
}

BOOL CFusionDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        Layout();
        return TRUE;
    case WM_TIMER:
        if (wParam == kResultTimer) {
            OnTimer();
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.code == TTN_GETDISPINFOW) {
            return OnToolTipText(header) ? TRUE : FALSE;
        }
        LRESULT result = 0;
        if (ReflectNotify(lParam, result)) {
            SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        break;
    }
    case WM_DESTROY:
        KillTimer(m_hWnd, kResultTimer);
        m_view.SetBitmap(nullptr);
        m_bitmap.reset();
        m_result.reset();
        break;
    default: break;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}

bool CFusionDlg::OnToolTipText(NMHDR& header) {
    // The tip is the part of the command's prompt after the line break.
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    const std::wstring prompt = LoadResourceString(static_cast<UINT>(header.idFrom));
    const std::size_t line = prompt.find(L'\n');
    m_toolTip = line == std::wstring::npos ? prompt : prompt.substr(line + 1);
    info.lpszText = m_toolTip.data();
    info.hinst = nullptr;
    return true;
}

void CFusionDlg::OnOpen() {
    const FileSelection chosen = m_fileDialogs.OpenFiles(m_hWnd, ResultPictureRequest(true));
    const WaitCursor wait;
    for (const std::wstring& path : chosen.paths) {
        m_list.AddPicture(path, m_list.GetItemCount());
    }
}

void CFusionDlg::OnDelete() {
    const std::wstring current = m_list.GetCurrentPath();
    if (!current.empty()) {
        m_list.RemovePicture(current);
    }
}

void CFusionDlg::OnStart() {
    const std::vector<std::wstring> paths = m_list.GetPaths();
    if (paths.size() < 2) {
        return;
    }
    // A fresh engine: one that served an earlier start would add this
    // list's paths to the earlier ones.
    auto engine = std::make_unique<CImageProcessComponent>();
    for (const std::wstring& path : paths) {
        engine->addFilePath(std::filesystem::path(path));
    }
    if (engine->startProgressing() == 0) {
        CPromptDlg prompt(LoadResourceString(IDS_CHECK_RESOLUTION), L"Vizcam", 1, m_hWnd);
        prompt.DoModal();
        return;
    }
    KillTimer(m_hWnd, kResultTimer);
    m_engine = std::move(engine);
    CEngineProgress<CImageProcessComponent> progress(*m_engine);
    CWaitProgressDlg wait(m_hWnd);
    wait.SetEngine(&progress, CWaitProgressDlg::kFusion);
    wait.DoModal();
    SetTimer(m_hWnd, kResultTimer, 100, nullptr);
}

void CFusionDlg::OnTimer() {
    if (!m_engine || m_engine->IsProgressing() != 0) {
        return;
    }
    KillTimer(m_hWnd, kResultTimer);
    ShowResult();
}

void CFusionDlg::ShowResult() {
    int width = 0;
    int height = 0;
    const std::span<const std::uint8_t> pixels = m_engine->getDstImage(width, height);
    auto picture = std::make_unique<CPicture>();
    if (pixels.empty() || !PictureFromEngineRows(pixels, width, height, *picture)) {
        return;
    }
    HDC screen = GetDC(m_hWnd);
    picture_gdi::UniqueBitmap bitmap = picture_gdi::MakeBitmap(*picture, screen);
    ReleaseDC(m_hWnd, screen);
    if (!bitmap) {
        return;
    }
    m_view.SetBitmap(bitmap.get());
    m_bitmap = std::move(bitmap);
    m_result = std::move(picture);
    InvalidateRect(m_view.GetSafeHwnd(), nullptr, TRUE);
}

void CFusionDlg::OnSave() {
    if (!m_result) {
        return;
    }
    const std::optional<std::wstring> path = m_fileDialogs.SaveFile(m_hWnd, ResultPictureRequest(false));
    if (!path) {
        return;
    }
    m_result->Save(std::filesystem::path(*path), ResultPictureType(*path));
}
