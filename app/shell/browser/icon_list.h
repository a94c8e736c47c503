#pragma once
// A list control in icon view whose items are files: entry k of the path
// vector is the path of item k, and item k shows image k of the list's own
// image list. Inserting and removing move captions and images in place.
#include <string>
#include <vector>

#include "unique_handle.h"
#include "window.h"

class CIconList : public CWindow {
public:
    // Images are imageSide x imageSide, 24-bit.
    explicit CIconList(int imageSide) : m_imageSide(imageSide) {}

    // Icon view, single selection, selection always shown, auto-arranged.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    int GetItemCount() const;
    const std::vector<std::wstring>& GetPaths() const { return m_paths; }
    std::wstring GetItemCaption(int item) const;
    void SetCaption(int item, const std::wstring& caption);
    HIMAGELIST GetImageList() const { return m_images.Get(); }
    int GetImageSide() const { return m_imageSide; }
    int GetCurrentIndex() const { return m_nCurrent; }
    const std::wstring& GetCurrentPath() const { return m_strCurrentPath; }

protected:
    // True when the path is already listed (exact comparison).
    bool IsListed(const std::wstring& path) const;
    // Inserts the path before entry position (appends past the end) with its
    // caption (the file name when empty) and image; returns its index.
    int InsertFile(const std::wstring& path, int position, const std::wstring& caption, HBITMAP image);
    // Removes item and image at index, moving later captions and images down.
    void RemoveFile(int index);
    void ReplaceImage(int index, HBITMAP image);
    // Empties the image list and deletes every item; the paths stay.
    void ClearItems();
    // Makes entry n current (the last one past the end); false, with no
    // current entry, when the list is empty or n is negative.
    bool MakeCurrent(int n);

    std::vector<std::wstring> m_paths;
    int m_nCurrent = -1;
    std::wstring m_strCurrentPath;

private:
    int m_imageSide;
    UniqueImageList m_images;
};
