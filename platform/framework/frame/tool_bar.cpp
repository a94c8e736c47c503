#include "tool_bar.h"

#include <algorithm>
#include <cstring>

#include "resource_module.h"

std::optional<CToolBarLayout> ParseToolBarResource(std::span<const std::byte> data) {
    auto word = [&data](std::size_t index) {
        std::uint16_t value = 0;
        std::memcpy(&value, data.data() + index * 2, 2);
        return value;
    };
    if (data.size() < 8 || word(0) != 1) {
        return std::nullopt;
    }
    const std::size_t count = word(3);
    if (data.size() < (4 + count) * 2 || word(1) == 0 || word(2) == 0) {
        return std::nullopt;
    }
    CToolBarLayout layout;
    layout.imageSize = SIZE{word(1), word(2)};
    for (std::size_t i = 0; i < count; ++i) {
        layout.items.push_back(word(4 + i));
    }
    return layout;
}

bool CToolBar::Create(HWND parent, UINT controlId, DWORD extraStyle) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&icc);
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE |
        extraStyle;
    if (!CreateEx(0, TOOLBARCLASSNAMEW, L"", style, RECT{0, 0, 0, 0}, parent, controlId)) {
        return false;
    }
    SendMessageW(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return true;
}

bool CToolBar::LoadToolBar(UINT resourceId) {
    const HINSTANCE module = GetResourceModule();
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(kResourceType));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        return false;
    }
    auto layout =
        ParseToolBarResource(std::span(static_cast<const std::byte*>(bytes), SizeofResource(module, resource)));
    if (!layout) {
        return false;
    }
    m_layout = std::move(*layout);
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (UINT id : m_layout.items) {
        TBBUTTON button{};
        button.idCommand = static_cast<int>(id);
        if (id == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = image++;
            button.fsStyle = BTNS_BUTTON;
            button.fsState = TBSTATE_ENABLED;
        }
        buttons.push_back(button);
    }
    SendMessageW(m_hWnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(m_layout.imageSize.cx, m_layout.imageSize.cy));
    return SendMessageW(m_hWnd, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())) != 0;
}

int CToolBar::GetImageCount() const {
    return static_cast<int>(
        std::count_if(m_layout.items.begin(), m_layout.items.end(), [](UINT id) { return id != 0; }));
}

std::optional<UniqueImageList> CToolBar::MakeImageList(UINT bitmapId, COLORREF mask) const {
    const SIZE size = m_layout.imageSize;
    if (size.cx <= 0) {
        return std::nullopt;
    }
    UniqueGdiHandle bitmap(
        LoadImageW(GetResourceModule(), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) {
        return std::nullopt;
    }
    UniqueImageList list(ImageList_Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, GetImageCount(), 4));
    if (!list || ImageList_AddMasked(list.Get(), static_cast<HBITMAP>(bitmap.Get()), mask) < 0) {
        return std::nullopt;
    }
    return list;
}

bool CToolBar::SetImages(UINT bitmapId, COLORREF mask) {
    auto list = MakeImageList(bitmapId, mask);
    if (!list) {
        return false;
    }
    m_images = std::move(*list);
    SendMessageW(m_hWnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images.Get()));
    SendMessageW(m_hWnd, TB_AUTOSIZE, 0, 0);
    return true;
}

bool CToolBar::SetHotImages(UINT bitmapId, COLORREF mask) {
    auto list = MakeImageList(bitmapId, mask);
    if (!list) {
        return false;
    }
    m_hotImages = std::move(*list);
    SendMessageW(m_hWnd, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(m_hotImages.Get()));
    return true;
}

int CToolBar::CommandToIndex(UINT id) const { return static_cast<int>(SendMessageW(m_hWnd, TB_COMMANDTOINDEX, id, 0)); }

bool CToolBar::GetItemRect(int index, RECT& rect) const {
    return SendMessageW(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != 0;
}

bool CToolBar::ReplaceButtonWithGap(UINT id, int width) {
    const int index = CommandToIndex(id);
    if (index < 0) {
        return false;
    }
    // Remove the button and put a separator of the control's width in its place.
    SendMessageW(m_hWnd, TB_DELETEBUTTON, static_cast<WPARAM>(index), 0);
    TBBUTTON gap{};
    gap.iBitmap = width;
    gap.idCommand = static_cast<int>(id);
    gap.fsStyle = BTNS_SEP;
    SendMessageW(m_hWnd, TB_INSERTBUTTONW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&gap));
    m_gaps.push_back(id);
    return true;
}

bool CToolBar::IsButtonEnabled(UINT id) const { return SendMessageW(m_hWnd, TB_ISBUTTONENABLED, id, 0) != 0; }

bool CToolBar::IsButtonChecked(UINT id) const { return SendMessageW(m_hWnd, TB_ISBUTTONCHECKED, id, 0) != 0; }

SIZE CToolBar::GetRowSize() const {
    const int count = static_cast<int>(SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
    SIZE size{0, 0};
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (GetItemRect(i, item)) {
            size.cx = std::max<LONG>(size.cx, item.right);
            size.cy = std::max<LONG>(size.cy, item.bottom);
        }
    }
    if (size.cy == 0) {
        size.cy = m_layout.imageSize.cy + 8;
    }
    return SIZE{size.cx + 2, size.cy + 2};
}

void CToolBar::UpdateButtons(const std::function<void(CCommandState&)>& update) {
    for (UINT id : m_layout.items) {
        if (id == 0 || std::find(m_gaps.begin(), m_gaps.end(), id) != m_gaps.end()) {
            continue;
        }
        CCommandState state(id);
        update(state);
        if (IsButtonEnabled(id) != state.IsEnabled()) {
            SendMessageW(m_hWnd, TB_ENABLEBUTTON, id, MAKELPARAM(state.IsEnabled(), 0));
        }
        if (IsButtonChecked(id) != state.IsChecked()) {
            SendMessageW(m_hWnd, TB_CHECKBUTTON, id, MAKELPARAM(state.IsChecked(), 0));
        }
    }
}
