#include "icon_list.h"

#include <commctrl.h>

#include <algorithm>

namespace {

std::wstring FileName(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool CIconList::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    style |= WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE;
    if (!CreateEx(0, WC_LISTVIEWW, L"", style, rect, parent, id)) {
        return false;
    }
    m_images.Reset(ImageList_Create(m_imageSide, m_imageSide, ILC_COLOR24, 0, 1));
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
    LVITEMW lv{};
    lv.iSubItem = 0;
    lv.pszText = const_cast<wchar_t*>(caption.c_str());
    SendMessageW(m_hWnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
}

int CIconList::InsertFile(const std::wstring& path, int position, const std::wstring& caption, HBITMAP image) {
    const int count = static_cast<int>(m_paths.size());
    position = std::clamp(position, 0, count);
    m_paths.insert(m_paths.begin() + position, path);

    // A new last item and image, then everything from position on moves up
    // by one so that item k keeps showing image k.
    ImageList_Add(m_images.Get(), image, nullptr);
    LVITEMW lv{};
    lv.mask = LVIF_TEXT | LVIF_IMAGE;
    lv.iItem = count;
    lv.pszText = const_cast<wchar_t*>(L"");
    lv.iImage = count;
    SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lv));
    for (int k = count; k > position; --k) {
        SetCaption(k, GetItemCaption(k - 1));
        ImageList_Copy(m_images.Get(), k, m_images.Get(), k - 1, ILCF_MOVE);
    }
    SetCaption(position, caption.empty() ? FileName(path) : caption);
    ImageList_Replace(m_images.Get(), position, image, nullptr);
    SendMessageW(m_hWnd, LVM_REDRAWITEMS, static_cast<WPARAM>(position), count);
    return position;
}

void CIconList::RemoveFile(int index) {
    const int count = GetItemCount();
    ImageList_Remove(m_images.Get(), index);
    for (int k = index; k + 1 < count; ++k) {
        SetCaption(k, GetItemCaption(k + 1));
    }
    SendMessageW(m_hWnd, LVM_DELETEITEM, static_cast<WPARAM>(count - 1), 0);
    m_paths.erase(m_paths.begin() + index);
    SendMessageW(m_hWnd, LVM_REDRAWITEMS, static_cast<WPARAM>(index), std::max(index, count - 2));
}

void CIconList::ReplaceImage(int index, HBITMAP image) {
    ImageList_Replace(m_images.Get(), index, image, nullptr);
    SendMessageW(m_hWnd, LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
}

void CIconList::ClearItems() {
    ImageList_RemoveAll(m_images.Get());
    SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0);
}

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
