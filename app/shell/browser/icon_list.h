#pragma once
// A list control in icon view whose items are files: entry k of the path
// vector is the path of item k. The control keeps no items of its own (it
// holds only their count, selection and focus) and asks for an item's
// caption and image when it draws it, so that inserting at the top of a
// long list moves no caption, no image and no item position. By default
// the list's own image list holds one image per item; an item keeps the
// slot its image was added in. Whoever reads that image list gets image k
// for item k: the images are brought into item order then. A derived list
// may keep its images its own way instead.
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "unique_handle.h"
#include "window.h"

class CIconList : public CWindow {
public:
    // Images are imageSide x imageSide, 24-bit.
    explicit CIconList(int imageSide) : m_imageSide(imageSide) {}

    // Icon view, single selection, selection always shown, auto-arranged,
    // items held by this object.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    int GetItemCount() const;
    const std::vector<std::wstring>& GetPaths() const { return m_paths; }
    std::wstring GetItemCaption(int item) const;
    void SetCaption(int item, const std::wstring& caption);
    // The images in item order.
    virtual HIMAGELIST GetImageList();
    int GetImageSide() const { return m_imageSide; }
    int GetCurrentIndex() const { return m_nCurrent; }
    const std::wstring& GetCurrentPath() const { return m_strCurrentPath; }

    // Answers the list's question for an item's caption and image; derived
    // classes pass on what they do not handle themselves.
    bool OnReflectedNotify(NMHDR& header, LRESULT& result) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // True when the path is already listed (exact comparison).
    bool IsListed(const std::wstring& path) const;
    // Inserts the path before entry position (appends past the end) with its
    // caption (the file name when empty) and image (none: the derived list
    // answers for it); returns its index.
    int InsertFile(const std::wstring& path, int position, const std::wstring& caption, HBITMAP image);
    // Removes item and image at index; later items move down by one.
    void RemoveFile(int index);
    // Empties the image list and deletes every item; the paths stay.
    void ClearItems();
    // Makes entry n current (the last one past the end); false, with no
    // current entry, when the list is empty or n is negative.
    bool MakeCurrent(int n);
    // The image the list draws for item (in range): by default its slot.
    virtual int ImageOfItem(int item);
    // True from the first insertion of a run until the list is drawn again.
    bool IsRedrawHeld() const { return m_bRedrawHeld; }

    std::vector<std::wstring> m_paths;
    // Set while the list's selection is put back after an insertion or a
    // removal: the changes it reports are no choice of the user's.
    bool m_bRestoringState = false;
    int m_nCurrent = -1;
    std::wstring m_strCurrentPath;

private:
    // The list's selected and focused item and its selection mark stay at
    // their index when items come and go, as when captions moved in place.
    struct IndexState {
        int selected = -1;
        int focused = -1;
        int mark = -1;
    };
    IndexState CaptureState() const;
    // The list's own search by caption (the user typing an item's first
    // letters), from item start on: the item found, or -1.
    int FindItem(int start, const LVFINDINFOW& find) const;
    void RestoreState(const IndexState& before);
    void SetItemState(int item, UINT state, UINT mask);

    // Drawing is held from the first insertion until the thread is back in
    // its message loop: a run of insertions into an arranged list then
    // repaints once instead of once per item.
    void HoldRedraw();

    int m_imageSide;
    UniqueImageList m_images;
    bool m_bRedrawHeld = false;
    // One entry per item: its caption and its image slot.
    std::vector<std::wstring> m_captions;
    std::vector<int> m_slots;
};
