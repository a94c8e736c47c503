#pragma once
// `CPictureBrowser`: the list of opened pictures and drawings, one 140 x 140
// thumbnail each. The view adds and removes pictures; the user's choice goes
// to the view as WM_PICTURE_SELECTED, and the right-button menu reaches the
// view's save-as, rename and close-and-delete through the host.
//
// Adding a picture answers at once (it depends only on the file existing and
// not being listed yet) and shows a blank framed cell. Thumbnails are made
// for the items the list draws: the first time an item is drawn without
// one, its picture is decoded on the loader's thread and drawn into the
// cell of the item that asked for it. The thumbnails are kept in a cache of
// what fits in the window plus a few pages more; one drawn longest ago
// gives way, and is decoded again when its item comes back into view. A
// picture that cannot be decoded keeps its blank cell.
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_set>
#include <vector>

#include "browser_host.h"
#include "icon_list.h"
#include "thumbnail_loader.h"
#include "thumbnail_slots.h"

class CPictureBrowser : public CIconList {
public:
    static constexpr int kThumbnailSide = 140;

    // folder: the picture folder, with its trailing backslash.
    explicit CPictureBrowser(std::wstring folder);

    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);
    void SetEmbedded() { m_bEmbedded = 1; }
    void SetHost(IPictureBrowserHost* host) { m_host = host; }

    // False when the file does not exist or its path is already listed.
    bool AddPicture(const std::wstring& path, int position, const std::wstring& caption = {});
    void RemovePicture(const std::wstring& path);
    // n past the end selects the last item; -1 clears the selection.
    void SelectPicture(int n);
    void SetItemPath(int n, const std::wstring& path);
    // Refills the paths with the folder's pictures and drawings, newest
    // first, and empties the list.
    void Reload();
    void ClearPaths();

    int GetContextIndex() const { return m_nContext; }
    const std::wstring& GetContextPath() const { return m_strContextPath; }
    // Thumbnails the window still owes: asked for and not yet drawn, and
    // one more while the list has drawing to do, which may ask for more.
    int GetPendingThumbnails() const;
    // The images the list draws from: the blank cell, then the cache.
    HIMAGELIST GetImageList() override { return m_thumbnails.Get(); }

    bool OnReflectedNotify(NMHDR& header, LRESULT& result) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int ImageOfItem(int item) override;

private:
    void OnThumbnailsReady();
    void DrawReadyThumbnails();
    void DrawThumbnail(int item, const CThumbnailLoader::Result& result);
    void RedrawItem(int item);
    // The blank cell is image 0 of the cache's image list.
    bool EnsureBlankCell();
    // Makes the cache hold what fits in the window plus its spare pages.
    void FitCacheToWindow();
    void ForgetThumbnail(std::uint64_t ticket);
    void OnContextMenu(POINT screen);
    void OnContextCommand(UINT id);
    void DeleteContextPicture();

    int m_bEmbedded = 0;
    std::wstring m_strFolder;
    int m_nContext = -1;
    std::wstring m_strContextPath;
    IPictureBrowserHost* m_host = nullptr;
    // Parallel to the paths: the ticket of each item, new whenever its
    // path is; its thumbnail is cached and asked for under it.
    std::vector<std::uint64_t> m_tickets;
    std::uint64_t m_nextTicket = 1;
    // Image 0 is the blank cell, image s + 1 the thumbnail in slot s.
    UniqueImageList m_thumbnails;
    ThumbnailSlots m_slots;
    // Tickets whose thumbnails are on their way, and those whose pictures
    // could not be decoded: asked for once, not every time they are drawn.
    std::unordered_set<std::uint64_t> m_requested;
    std::unordered_set<std::uint64_t> m_undecodable;
    CThumbnailLoader m_loader;
    // Decoded thumbnails not yet drawn: drawn a slice at a time, so that
    // input and painting get through between slices.
    std::deque<CThumbnailLoader::Result> m_ready;
};
