#pragma once
// The Word template picture export (dialog 245): the user fills a one-row
// grid of up to twenty pictures and exports them, at the chosen size in
// centimetres, into a new time-stamped document in the export folder.
#include <functional>
#include <optional>
#include <string>

#include "dialog.h"
#include "office_export.h"
#include "picture_file_dialogs.h"
#include "stitch_preview_wnd.h"

class CWordTemplateDlg : public CDialog {
public:
    static constexpr int kMaxPictures = 20;
    static constexpr unsigned kMinCentimetres = 1;
    static constexpr unsigned kMaxCentimetres = 20;

    // exportFolder gives the folder (with its trailing separator) the
    // document is written into, asked at each export; nothing when there is
    // none to write into (the export is then not made).
    CWordTemplateDlg(IPictureFileDialogs& dialogs, IOfficeExportHost& host,
                     std::function<std::optional<std::wstring>()> exportFolder, HWND parent,
                     OfficeExportPlaces places = OfficeExportPlaces::Program());
    ~CWordTemplateDlg() override;

    // "Word_" + local time to the millisecond + ".doc".
    static std::wstring TargetName(const SYSTEMTIME& time);

    CStitchPreviewWnd& GetPane() { return m_pane; }
    int GetPictureCount() const { return m_nCount; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Enable(int id, bool enabled);
    void OnCountChosen();
    void OnLoad();
    void OnClear();
    void OnClearAll();
    void OnZoom(bool in);
    void OnExport();
    void EraseOutsideFrame(HDC dc);

    int m_nRows = 1;
    int m_nCount = 2;
    unsigned m_nWidth = 8;
    unsigned m_nHeight = 7;
    CStitchPreviewWnd m_pane;
    COfficeExport m_export;
    std::function<std::optional<std::wstring>()> m_exportFolder;
};
