#include "icon_list.h"

#include <commctrl.h>

#include <algorithm>
#include <string_view>

namespace {

constexpr int kImageBlock = 64;
// To the list itself: the insertions of a run are done.
constexpr UINT kResumeRedraw = WM_APP + 0x123;

std::wstring FileName(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool CIconList::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    // The list's image lists are ours to destroy, not the control's.
    style |= WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE |
             LVS_SHAREIMAGELISTS | LVS_OWNERDATA;
    if (!CreateEx(0, WC_LISTVIEWW, L"", style, rect, parent, id)) {
        return false;
    }
    // The list grows by a block at a time: growing copies every image, so a
    // block per image would copy a long list once per added file.
    m_images.Reset(ImageList_Create(m_imageSide, m_imageSide, ILC_COLOR24, 0, kImageBlock));
    if (!m_images) {
        DestroyWindow();
        return false;
    }
    SendMessageW(m_hWnd, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(m_images.Get()));
    return true;
}

int CIconList::GetItemCount() const { return static_cast<int>(SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring CIconList::GetItemCaption(int item) const {
    wchar_t buffer[MAX_PATH] = {};
    LVITEMW lv{};
    lv.iSubItem = 0;
    lv.pszText = buffer;
    lv.cchTextMax = MAX_PATH;
    SendMessageW(m_hWnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
    return buffer;
}

bool CIconList::IsListed(const std::wstring& path) const {
    return std::find(m_paths.begin(), m_paths.end(), path) != m_paths.end();
}

void CIconList::SetCaption(int item, const std::wstring& caption) {
    if (item < 0 || item >= static_cast<int>(m_captions.size())) {
        return;
    }
    m_captions[static_cast<std::size_t>(item)] = caption;
    SendMessageW(m_hWnd, LVM_REDRAWITEMS, static_cast<WPARAM>(item), item);
}

int CIconList::InsertFile(const std::wstring& path, int position, const std::wstring& caption, HBITMAP image) {
    const int count = static_cast<int>(m_paths.size());
    position = std::clamp(position, 0, count);
    const int slot = image ? ImageList_Add(m_images.Get(), image, nullptr) : -1;
    HoldRedraw();
    const IndexState before = CaptureState();
    m_paths.insert(m_paths.begin() + position, path);
    m_captions.insert(m_captions.begin() + position, caption.empty() ? FileName(path) : caption);
    m_slots.insert(m_slots.begin() + position, slot);
    // Items are places: one more at the end, and every item from position
    // on shows what its predecessor showed.
    SendMessageW(m_hWnd, LVM_SETITEMCOUNT, m_captions.size(), LVSICF_NOSCROLL);
    RestoreState(before);
    return position;
}

void CIconList::RemoveFile(int index) {
    // A slot of -1 (the image list could not grow) removes no image: -1
    // would remove them all.
    const int slot = m_slots[static_cast<std::size_t>(index)];
    m_slots.erase(m_slots.begin() + index);
    if (slot >= 0) {
        ImageList_Remove(m_images.Get(), slot);
        for (int& other : m_slots) {
            if (other > slot) --other;
        }
    }
    m_paths.erase(m_paths.begin() + index);
    m_captions.erase(m_captions.begin() + index);
    HoldRedraw();
    const IndexState before = CaptureState();
    SendMessageW(m_hWnd, LVM_SETITEMCOUNT, m_captions.size(), LVSICF_NOSCROLL);
    RestoreState(before);
}

void CIconList::HoldRedraw() {
    if (m_bRedrawHeld || !PostMessageW(m_hWnd, kResumeRedraw, 0, 0)) {
        return;
    }
    m_bRedrawHeld = true;
    SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
}

LRESULT CIconList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kResumeRedraw) {
        m_bRedrawHeld = false;
        // Arranged while still held: arranging with drawing on invalidates
        // every item that moves, one by one.
        SendMessageW(m_hWnd, LVM_ARRANGE, LVA_DEFAULT, 0);
        SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    }
    return CWindow::WindowProc(message, wParam, lParam);
}

CIconList::IndexState CIconList::CaptureState() const {
    IndexState state;
    state.selected = static_cast<int>(SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    state.focused = static_cast<int>(SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    state.mark = static_cast<int>(SendMessageW(m_hWnd, LVM_GETSELECTIONMARK, 0, 0));
    return state;
}

void CIconList::SetItemState(int item, UINT state, UINT mask) {
    LVITEMW lv{};
    lv.stateMask = mask;
    lv.state = state;
    SendMessageW(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
}

void CIconList::RestoreState(const IndexState& before) {
    const IndexState now = CaptureState();
    const int count = GetItemCount();
    const auto keep = [count](int index) { return index < count ? index : -1; };
    m_bRestoringState = true;
    if (now.selected != keep(before.selected)) {
        if (now.selected >= 0) SetItemState(now.selected, 0, LVIS_SELECTED);
        if (keep(before.selected) >= 0) SetItemState(before.selected, LVIS_SELECTED, LVIS_SELECTED);
    }
    if (now.focused != keep(before.focused)) {
        if (now.focused >= 0) SetItemState(now.focused, 0, LVIS_FOCUSED);
        if (keep(before.focused) >= 0) SetItemState(before.focused, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    if (now.mark != keep(before.mark)) {
        SendMessageW(m_hWnd, LVM_SETSELECTIONMARK, 0, keep(before.mark));
    }
    m_bRestoringState = false;
}

void CIconList::ClearItems() {
    m_slots.clear();
    m_captions.clear();
    SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0);
    ImageList_RemoveAll(m_images.Get());
}

HIMAGELIST CIconList::GetImageList() {
    const int count = static_cast<int>(m_slots.size());
    // owner[s] is the item whose image is in slot s. Each item's image is
    // swapped into its own index through one spare slot past the end.
    HIMAGELIST images = m_images.Get();
    std::vector<int> owner(m_slots.size());
    for (int k = 0; k < count; ++k) {
        const int slot = m_slots[static_cast<std::size_t>(k)];
        if (slot < 0 || slot >= count) {
            return images;  // an item without an image: no order to give
        }
        owner[static_cast<std::size_t>(slot)] = k;
    }
    bool spare = false;
    for (int k = 0; k < count; ++k) {
        const int slot = m_slots[static_cast<std::size_t>(k)];
        if (slot == k) continue;
        if (!spare) {
            spare = ImageList_SetImageCount(images, static_cast<UINT>(count + 1)) != FALSE;
            if (!spare) break;
        }
        ImageList_Copy(images, count, images, k, ILCF_MOVE);
        ImageList_Copy(images, k, images, slot, ILCF_MOVE);
        ImageList_Copy(images, slot, images, count, ILCF_MOVE);
        const int displaced = owner[static_cast<std::size_t>(k)];
        m_slots[static_cast<std::size_t>(displaced)] = slot;
        owner[static_cast<std::size_t>(slot)] = displaced;
        m_slots[static_cast<std::size_t>(k)] = k;
        owner[static_cast<std::size_t>(k)] = k;
    }
    if (spare) {
        ImageList_SetImageCount(images, static_cast<UINT>(count));
    }
    return images;
}

bool CIconList::OnReflectedNotify(NMHDR& header, LRESULT& result) {
    if (header.code == LVN_ODFINDITEMW) {
        result = FindItem(reinterpret_cast<const NMLVFINDITEMW&>(header).iStart,
                          reinterpret_cast<const NMLVFINDITEMW&>(header).lvfi);
        return true;
    }
    if (header.code != LVN_GETDISPINFOW && header.code != LVN_GETDISPINFOA) {
        return false;
    }
    // Both forms carry the item at the same place.
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
    result = 0;
    if (item.iItem < 0 || item.iItem >= static_cast<int>(m_captions.size())) {
        return true;
    }
    if (item.mask & LVIF_IMAGE) {
        item.iImage = ImageOfItem(item.iItem);
    }
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::wstring& caption = m_captions[static_cast<std::size_t>(item.iItem)];
        if (header.code == LVN_GETDISPINFOW) {
            const std::size_t n = std::min(caption.size(), static_cast<std::size_t>(item.cchTextMax - 1));
            caption.copy(item.pszText, n);
            item.pszText[n] = L'\0';
        } else {
            auto* text = reinterpret_cast<char*>(item.pszText);
            const int n = WideCharToMultiByte(CP_ACP, 0, caption.c_str(), static_cast<int>(caption.size()), text,
                                              item.cchTextMax - 1, nullptr, nullptr);
            text[std::max(n, 0)] = '\0';
        }
    }
    return true;
}

int CIconList::FindItem(int start, const LVFINDINFOW& find) const {
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz) {
        return -1;
    }
    const std::wstring_view wanted(find.psz);
    const bool partial = (find.flags & LVFI_PARTIAL) != 0;
    const int count = static_cast<int>(m_captions.size());
    start = std::clamp(start, 0, count);
    for (int k = 0; k < count; ++k) {
        if (start + k >= count && !(find.flags & LVFI_WRAP)) {
            break;
        }
        const int item = (start + k) % count;
        const std::wstring& caption = m_captions[static_cast<std::size_t>(item)];
        const std::size_t compared = partial ? wanted.size() : caption.size();
        if (caption.size() >= wanted.size() &&
            CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, caption.c_str(), static_cast<int>(compared),
                           wanted.data(), static_cast<int>(wanted.size())) == CSTR_EQUAL) {
            return item;
        }
    }
    return -1;
}

int CIconList::ImageOfItem(int item) { return m_slots[static_cast<std::size_t>(item)]; }

bool CIconList::MakeCurrent(int n) {
    if (m_paths.empty() || n < 0) {
        m_nCurrent = -1;
        m_strCurrentPath.clear();
        return false;
    }
    m_nCurrent = std::min(n, static_cast<int>(m_paths.size()) - 1);
    m_strCurrentPath = m_paths[static_cast<std::size_t>(m_nCurrent)];
    return true;
}
