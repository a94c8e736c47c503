#pragma once
// A flat toolbar built from a toolbar resource of the resource module
// (type 241: version 1, image width, image height, item count, then one
// command id per item, 0 for a separator), with image lists made from
// bitmaps. Its buttons follow their commands' state at idle time.
#include <windows.h>

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "command_target.h"
#include "unique_handle.h"
#include "window.h"

// The contents of a toolbar resource.
struct CToolBarLayout {
    SIZE imageSize{};
    std::vector<UINT> items;  // 0 for a separator
};
// Reads a toolbar resource; empty when it is malformed.
std::optional<CToolBarLayout> ParseToolBarResource(std::span<const std::byte> data);

class CToolBar : public CWindow {
public:
    static constexpr UINT kResourceType = 241;

    // extraStyle: toolbar styles beyond the flat look (TBSTYLE_TOOLTIPS).
    bool Create(HWND parent, UINT controlId, DWORD extraStyle = 0);
    // Adds the buttons of the toolbar resource; false when it is missing or malformed.
    bool LoadToolBar(UINT resourceId);
    SIZE GetImageSize() const { return m_layout.imageSize; }
    int GetImageCount() const;
    // Image lists from a bitmap of the resource module whose images are laid
    // side by side; mask is the colour that shows the background.
    bool SetImages(UINT bitmapId, COLORREF mask);
    bool SetHotImages(UINT bitmapId, COLORREF mask);

    int CommandToIndex(UINT id) const;
    bool GetItemRect(int index, RECT& rect) const;
    // Turns a button into an empty gap of the given width (a control sits there).
    bool ReplaceButtonWithGap(UINT id, int width);
    bool IsButtonEnabled(UINT id) const;
    bool IsButtonChecked(UINT id) const;
    // The size the toolbar needs when laid out in one row.
    SIZE GetRowSize() const;

    void UpdateButtons(const std::function<void(CCommandState&)>& update);

private:
    std::optional<UniqueImageList> MakeImageList(UINT bitmapId, COLORREF mask) const;

    CToolBarLayout m_layout;
    std::vector<UINT> m_gaps;  // buttons a control replaced
    UniqueImageList m_images;
    UniqueImageList m_hotImages;
};
