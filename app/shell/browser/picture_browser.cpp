#include "picture_browser.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>

#include "browser_cell.h"
#include "browser_resource.h"
#include "file_kinds.h"
#include "folder_files.h"
#include "private_messages.h"
#include "prompt_dlg.h"
#include "resource_module.h"
#include "screen_point.h"
#include "wait_cursor.h"

namespace {

// To the browser itself: decoded thumbnails wait in the loader.
constexpr UINT kThumbnailsReady = WM_APP + 0x121;
// The timer that resumes drawing after a slice; a timer message comes only
// when no input is waiting.
constexpr UINT_PTR kDrawTimer = 0x7B21;
// How long one slice of drawing may hold the window's thread.
constexpr std::chrono::milliseconds kDrawSlice{15};
// Thumbnails kept beyond what fits in the window: a few pages to scroll
// back to without decoding again (each is 140 x 140 x 3 bytes).
constexpr int kSpareThumbnails = 64;
// Requests that may wait for the loader beyond what fits in the window.
constexpr int kSpareRequests = 16;

bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

CPictureBrowser::CPictureBrowser(std::wstring folder)
    : CIconList(kThumbnailSide), m_strFolder(std::move(folder)), m_slots(kSpareThumbnails) {}

bool CPictureBrowser::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
    if (!CIconList::Create(style, rect, parent, id)) {
        return false;
    }
    m_thumbnails.Reset(ImageList_Create(kThumbnailSide, kThumbnailSide, ILC_COLOR24, 0, 16));
    if (!m_thumbnails) {
        DestroyWindow();
        return false;
    }
    SendMessageW(m_hWnd, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(m_thumbnails.Get()));
    m_loader.SetNotify(m_hWnd, kThumbnailsReady);
    FitCacheToWindow();
    m_nCurrent = -1;
    m_strCurrentPath.clear();
    m_nContext = -1;
    m_strContextPath.clear();
    return true;
}

bool CPictureBrowser::AddPicture(const std::wstring& path, int position, const std::wstring& caption) {
    if (!IsExistingFile(path) || IsListed(path)) {
        return false;
    }
    position = InsertFile(path, position, caption, nullptr);
    m_tickets.insert(m_tickets.begin() + position, m_nextTicket++);
    return true;
}

bool CPictureBrowser::EnsureBlankCell() {
    if (ImageList_GetImageCount(m_thumbnails.Get()) > 0) {
        return true;
    }
    UniqueGdiHandle blank = MakeBrowserCell(nullptr);
    return blank && ImageList_Add(m_thumbnails.Get(), static_cast<HBITMAP>(blank.Get()), nullptr) == 0;
}

void CPictureBrowser::FitCacheToWindow() {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const DWORD spacing = static_cast<DWORD>(SendMessageW(m_hWnd, LVM_GETITEMSPACING, FALSE, 0));
    const int across = std::max(1, static_cast<int>(client.right / std::max<int>(1, LOWORD(spacing))));
    // A row cut at the top and one at the bottom show too.
    const int down = static_cast<int>(client.bottom / std::max<int>(1, HIWORD(spacing))) + 2;
    m_slots.Reserve(across * down + kSpareThumbnails);
    m_loader.SetMaxWaiting(static_cast<std::size_t>(across * down + kSpareRequests));
}

int CPictureBrowser::ImageOfItem(int item) {
    if (!EnsureBlankCell() || item >= static_cast<int>(m_tickets.size())) {
        return 0;
    }
    const std::uint64_t ticket = m_tickets[static_cast<std::size_t>(item)];
    const int slot = m_slots.Find(ticket);
    if (slot >= 0) {
        return slot + 1;
    }
    if (!m_undecodable.contains(ticket) && m_requested.insert(ticket).second) {
        const std::wstring& path = m_paths[static_cast<std::size_t>(item)];
        m_loader.Request(path, IsImageFileName(path), ticket);
    }
    return 0;
}

int CPictureBrowser::GetPendingThumbnails() const {
    const bool drawingDue = IsRedrawHeld() || (IsWindowVisible(m_hWnd) && GetUpdateRect(m_hWnd, nullptr, FALSE));
    return m_loader.GetOutstanding() + static_cast<int>(m_ready.size()) + (drawingDue ? 1 : 0);
}

void CPictureBrowser::OnThumbnailsReady() {
    for (CThumbnailLoader::Result& result : m_loader.TakeResults()) {
        m_ready.push_back(std::move(result));
    }
    DrawReadyThumbnails();
}

void CPictureBrowser::DrawReadyThumbnails() {
    const auto end = std::chrono::steady_clock::now() + kDrawSlice;
    while (!m_ready.empty() && std::chrono::steady_clock::now() < end) {
        const CThumbnailLoader::Result result = std::move(m_ready.front());
        m_ready.pop_front();
        m_requested.erase(result.ticket);
        for (std::size_t k = 0; k < m_paths.size(); ++k) {
            if (m_tickets[k] == result.ticket && m_paths[k] == result.path) {
                DrawThumbnail(static_cast<int>(k), result);
                break;
            }
        }
    }
    if (!m_ready.empty()) {
        SetTimer(m_hWnd, kDrawTimer, 0, nullptr);
    }
}

void CPictureBrowser::DrawThumbnail(int item, const CThumbnailLoader::Result& result) {
    if (result.dropped) {
        // Drawn again, an item still in view asks again.
        RedrawItem(item);
        return;
    }
    // An undecodable picture keeps its blank cell: the item stays, since the
    // view maps browser positions to its own list.
    if (!result.thumbnail.IsValid()) {
        m_undecodable.insert(result.ticket);
        return;
    }
    UniqueGdiHandle cell = MakeBrowserCell(&result.thumbnail);
    const int slot = m_slots.Take(result.ticket);
    if (!cell || slot < 0 || !EnsureBlankCell()) {
        return;
    }
    const int image = slot + 1;
    const bool stored = image < ImageList_GetImageCount(m_thumbnails.Get())
                            ? ImageList_Replace(m_thumbnails.Get(), image, static_cast<HBITMAP>(cell.Get()), nullptr)
                            : ImageList_Add(m_thumbnails.Get(), static_cast<HBITMAP>(cell.Get()), nullptr) == image;
    if (!stored) {
        m_slots.Forget(result.ticket);
        return;
    }
    RedrawItem(item);
}

void CPictureBrowser::RedrawItem(int item) { SendMessageW(m_hWnd, LVM_REDRAWITEMS, static_cast<WPARAM>(item), item); }

void CPictureBrowser::ForgetThumbnail(std::uint64_t ticket) {
    m_slots.Forget(ticket);
    m_requested.erase(ticket);
    m_undecodable.erase(ticket);
}

void CPictureBrowser::RemovePicture(const std::wstring& path) {
    const auto found = std::find(m_paths.begin(), m_paths.end(), path);
    if (found == m_paths.end()) {
        return;
    }
    const int index = static_cast<int>(found - m_paths.begin());
    RemoveFile(index);
    ForgetThumbnail(m_tickets[static_cast<std::size_t>(index)]);
    m_tickets.erase(m_tickets.begin() + index);
    const int count = static_cast<int>(m_paths.size());
    int current = m_nCurrent;
    if (current >= count && current > 0) {
        current = count - 1;
    }
    if (m_nContext >= 0 && m_nContext < current) {
        --current;
    }
    SelectPicture(current);
}

void CPictureBrowser::SelectPicture(int n) {
    if (!MakeCurrent(n)) {
        return;
    }
    if (HWND view = m_host ? m_host->GetActiveViewWindow() : nullptr) {
        SendMessageW(view, WM_PICTURE_SELECTED, 0, 0);
    }
}

void CPictureBrowser::SetItemPath(int n, const std::wstring& path) {
    if (n >= 0 && n < static_cast<int>(m_paths.size())) {
        m_paths[static_cast<std::size_t>(n)] = path;
        if (n == m_nCurrent) {
            m_strCurrentPath = path;
        }
        // The thumbnail is made again from the renamed file, and one still
        // on its way under the old name is not drawn.
        if (n < GetItemCount()) {
            ForgetThumbnail(m_tickets[static_cast<std::size_t>(n)]);
            m_tickets[static_cast<std::size_t>(n)] = m_nextTicket++;
            RedrawItem(n);
        }
    }
    m_strContextPath = path;
}

void CPictureBrowser::Reload() {
    m_paths = NewestFirst(ListFolderFiles(m_strFolder, &IsBrowserFileName));
    m_tickets.assign(m_paths.size(), 0);
    ClearItems();
    // Thumbnails on their way find no item and are dropped.
    m_slots.Clear();
    m_requested.clear();
    m_undecodable.clear();
    ImageList_RemoveAll(m_thumbnails.Get());
}

void CPictureBrowser::ClearPaths() {
    m_paths.clear();
    m_tickets.clear();
}

bool CPictureBrowser::OnReflectedNotify(NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (m_bEmbedded && !m_bRestoringState && (change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED)) {
            SelectPicture(change.iItem);
        }
        return false;
    }
    case NM_DBLCLK: {
        // Every double click acts: the list sends one notification for each.
        const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (activate.iItem >= 0) {
            SelectPicture(activate.iItem);
        }
        result = 0;
        return true;
    }
    case NM_RCLICK: {
        const ScreenPoint point = UnpackSignedPoint(GetMessagePos());
        OnContextMenu(POINT{point.x, point.y});
        result = 0;
        return true;
    }
    default: return CIconList::OnReflectedNotify(header, result);
    }
}

void CPictureBrowser::OnContextMenu(POINT screen) {
    const int mark = static_cast<int>(SendMessageW(m_hWnd, LVM_GETSELECTIONMARK, 0, 0));
    if (mark < 0 || mark >= static_cast<int>(m_paths.size())) {
        return;
    }
    m_nContext = mark;
    m_strContextPath = m_paths[static_cast<std::size_t>(mark)];
    UniqueMenu menu(LoadMenuW(GetResourceModule(), MAKEINTRESOURCEW(IDR_BROWSER_MENU)));
    HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup) {
        return;
    }
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, screen.x, screen.y, 0, m_hWnd, nullptr));
    OnContextCommand(command);
}

void CPictureBrowser::OnContextCommand(UINT id) {
    switch (id) {
    case ID_BROWSER_SAVE_AS:
        if (m_host) m_host->SaveImageAs();
        break;
    case ID_BROWSER_DELETE: DeleteContextPicture(); break;
    case ID_BROWSER_RENAME:
        ReleaseCapture();
        if (m_host) m_host->RenameCurrentPicture();
        break;
    default: break;
    }
}

void CPictureBrowser::DeleteContextPicture() {
    ReleaseCapture();
    CPromptDlg confirm(LoadResourceString(IDS_CONFIRM_DELETE_PICTURE), L"Vizcam", 1);
    if (confirm.DoModal() != 1) {
        return;
    }
    WaitCursor wait;
    const std::wstring path = m_strContextPath;
    RemovePicture(path);
    if (m_host) {
        m_host->RemovePicture(path, true);
    }
    m_nContext = -1;
    m_strContextPath.clear();
}

LRESULT CPictureBrowser::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kThumbnailsReady) {
        OnThumbnailsReady();
        return 0;
    }
    if (message == WM_SIZE) {
        const LRESULT result = CIconList::WindowProc(message, wParam, lParam);
        FitCacheToWindow();
        return result;
    }
    if (message == WM_TIMER && wParam == kDrawTimer) {
        KillTimer(m_hWnd, kDrawTimer);
        DrawReadyThumbnails();
        return 0;
    }
    return CIconList::WindowProc(message, wParam, lParam);
}
