#include "device_tree.h"

#include "browser_resource.h"
#include "private_messages.h"
#include "resource_module.h"

namespace {
constexpr UINT kCategoryNames[kDeviceTreeCategories] = {IDS_DSHOW_DEVICES, IDS_CMOS_DEVICES, IDS_CCD_DEVICES,
                                                        IDS_GIGE_DEVICES, IDS_UVC_DEVICES};
}  // namespace

bool CDeviceTree::Create(HWND parent, UINT id) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    for (int i = 0; i < kDeviceTreeCategories; ++i) {
        m_names[std::size_t(i)] = LoadResourceString(kCategoryNames[i]);
    }
    if (!CreateEx(0, WC_TREEVIEWW, L"",
                  WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                  RECT{0, 0, 0, 0}, parent, id)) {
        return false;
    }
    InsertRoots();
    return true;
}

void CDeviceTree::InsertRoots() {
    for (int i = 0; i < kDeviceTreeCategories; ++i) {
        TVINSERTSTRUCTW insert{};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = m_names[std::size_t(i)].data();
        m_roots[std::size_t(i)] =
            reinterpret_cast<HTREEITEM>(SendMessageW(m_hWnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
}

HTREEITEM CDeviceTree::Root(int category) const {
    return DeviceTreeLists::IsCategory(category) ? m_roots[std::size_t(category - 1)] : nullptr;
}

void CDeviceTree::AddDevice(const DeviceTreeEntry& entry, int category) {
    HTREEITEM root = Root(category);
    if (!root) {
        return;
    }
    std::optional<std::wstring> text = m_lists.Add(category, entry);
    TVINSERTSTRUCTW insert{};
    insert.hParent = root;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = text->data();
    SendMessageW(m_hWnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
}

void CDeviceTree::Clear() {
    SendMessageW(m_hWnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    m_roots = {};
    m_lists.Clear();
    InsertRoots();
}

void CDeviceTree::ExpandAll() {
    for (HTREEITEM root : m_roots) {
        if (root && SendMessageW(m_hWnd, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root))) {
            SendMessageW(m_hWnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
        }
    }
}

void CDeviceTree::SelectFirst() {
    ExpandAll();
    m_lists.Select(m_lists.First().value_or(DeviceTreeSelection{}));
    for (int category = 1; category <= kDeviceTreeCategories; ++category) {
        HTREEITEM& root = m_roots[std::size_t(category - 1)];
        if (root && m_lists.IsEmpty(category)) {
            SendMessageW(m_hWnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(root));
            root = nullptr;
        }
    }
}

int CDeviceTree::GetSelectedCategory() const { return m_pending.value_or(m_lists.Selected()).category; }

DeviceTreeEntry CDeviceTree::GetSelectedDevice() const {
    return m_lists.At(m_pending.value_or(m_lists.Selected())).value_or(DeviceTreeEntry{L"", -1});
}

HTREEITEM CDeviceTree::ItemAt(const DeviceTreeSelection& selection) const {
    HTREEITEM root = Root(selection.category);
    if (!root || selection.index < 0) {
        return nullptr;
    }
    auto item =
        reinterpret_cast<HTREEITEM>(SendMessageW(m_hWnd, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
    for (int i = 0; item && i < selection.index; ++i) {
        item = reinterpret_cast<HTREEITEM>(
            SendMessageW(m_hWnd, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    return item;
}

void CDeviceTree::ShowSelection() {
    if (HTREEITEM item = ItemAt(m_lists.Selected())) {
        SendMessageW(m_hWnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        SetFocus(m_hWnd);
    }
}

std::wstring CDeviceTree::ItemText(HTREEITEM item) const {
    wchar_t text[256] = {};
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = 256;
    SendMessageW(m_hWnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
    return text;
}

void CDeviceTree::OnDoubleClick() {
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(m_hWnd, TVM_GETNEXTITEM, TVGN_CARET, 0));
    auto parent = item ? reinterpret_cast<HTREEITEM>(
                             SendMessageW(m_hWnd, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)))
                       : nullptr;
    if (!parent) {
        return;
    }
    const std::wstring parentText = ItemText(parent);
    int category = 0;
    for (int i = 0; i < kDeviceTreeCategories && category == 0; ++i) {
        if (parentText == m_names[std::size_t(i)]) {
            category = i + 1;
        }
    }
    if (category == 0) {
        return;
    }
    int index = 0;
    for (auto sibling = reinterpret_cast<HTREEITEM>(
             SendMessageW(m_hWnd, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
         sibling && sibling != item; sibling = reinterpret_cast<HTREEITEM>(SendMessageW(
                                         m_hWnd, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(sibling)))) {
        ++index;
    }
    const DeviceTreeSelection pick{category, index};
    if (pick == m_lists.Selected()) {
        return;
    }
    HWND view = m_activeView ? m_activeView() : nullptr;
    m_pending = pick;
    const LRESULT switched = view ? SendMessageW(view, WM_DEVICE_SELECTED, 0, 0) : 0;
    m_pending.reset();
    if (switched != 0) {
        m_lists.Select(pick);
    }
    // The view's switch may have moved the tree while it asked, which shows
    // the device open at that time again: show the one open now.
    ShowSelection();
}

bool CDeviceTree::OnReflectedNotify(NMHDR& header, LRESULT& result) {
    if (header.code != NM_DBLCLK) {
        return false;
    }
    OnDoubleClick();
    result = 0;
    return true;
}

LRESULT CDeviceTree::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(message, wParam, lParam);
    if (message == WM_WINDOWPOSCHANGED) {
        ShowSelection();
    }
    return result;
}
