#pragma once
// `CPictureBrowser`: the list of opened pictures and drawings, one 140 x 140
// thumbnail each. The view adds and removes pictures; the user's choice goes
// to the view as WM_PICTURE_SELECTED, and the right-button menu reaches the
// view's save-as, rename and close-and-delete through the host.
//
// Adding a picture answers at once (it depends only on the file existing and
// not being listed yet) and shows a blank framed cell; the thumbnail is
// decoded on the loader's thread and drawn into the cell of the item that
// asked for it. A picture that cannot be decoded keeps its blank cell.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "browser_host.h"
#include "icon_list.h"
#include "thumbnail_loader.h"

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
    // Thumbnails asked for and not yet drawn.
    int GetPendingThumbnails() const { return m_loader.GetOutstanding() + static_cast<int>(m_ready.size()); }

    bool OnReflectedNotify(NMHDR& header, LRESULT& result) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnThumbnailsReady();
    void DrawReadyThumbnails();
    void OnContextMenu(POINT screen);
    void OnContextCommand(UINT id);
    void DeleteContextPicture();

    int m_bEmbedded = 0;
    std::wstring m_strFolder;
    int m_nContext = -1;
    std::wstring m_strContextPath;
    IPictureBrowserHost* m_host = nullptr;
    // The cell every item shows until its thumbnail is drawn; the image
    // list keeps copies, so one serves every item.
    UniqueGdiHandle m_blank;
    // Parallel to the paths: the ticket of each item's thumbnail request.
    std::vector<std::uint64_t> m_tickets;
    std::uint64_t m_nextTicket = 1;
    CThumbnailLoader m_loader;
    // Decoded thumbnails not yet drawn: drawn a slice at a time, so that
    // input and painting get through between slices.
    std::deque<CThumbnailLoader::Result> m_ready;
};
