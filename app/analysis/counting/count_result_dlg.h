#pragma once
// The results of a count: the picture with every target outlined, a table of
// the targets the filter keeps with eleven measures in calibrated units, a
// summary of counts and areas, boxes that hide or show measure columns, and
// buttons to filter the targets, save the outlined picture and export a
// report. Clicking a target selects its row; the targets of selected rows
// blink in the picture. The panes are stacked in the right-hand part and
// resized by splitter bars; the summary and table keep their shares of the
// height when the dialog is resized.
//
// The caller sets the picture size, the engine and the calibration, in that
// order, then runs it modally; it reads nothing back.
#include <windows.h>

#include <memory>
#include <string>

#include "anchored_dialog.h"
#include "common_dialogs.h"
#include "count_records.h"
#include "count_report.h"
#include "count_table.h"
#include "image_preview_wnd.h"
#include "img_count.h"
#include "pane_stack.h"
#include "picture.h"
#include "picture_gdi.h"
#include "split_layout.h"
#include "unique_handle.h"

// Sent by the dialog to itself after a splitter bar moved a pane (lParam the
// pane's window), once the pane is anchored again.
inline constexpr UINT WM_LAYOUT_SPLIT_DONE = 0x46F;

class CCountResultDlg : public CAnchoredDialog {
public:
    static constexpr int kColumnWidth = 80;
    static constexpr int kSummaryLabelWidth = 200;
    static constexpr int kMeasureColumns = 11;
    // More rows than this make Export ask first.
    static constexpr int kRowsExportedWithoutAsking = 150;
    static constexpr UINT_PTR kBlinkTimer = 1;
    static constexpr UINT kBlinkMs = 1000;
    static constexpr COLORREF kBarFace = RGB(236, 233, 216);

    explicit CCountResultDlg(HWND parent = nullptr);
    ~CCountResultDlg() override;

    void SetImageSize(int width, int height);
    // Takes the engine's target vector (not owned); the first target seeds
    // the range of every measure and the filter.
    void SetCounter(CIMGCount* engine);
    // Units per picture pixel, decimals shown, and the unit's name.
    void SetSource(float scale, int decimals, std::wstring unit);
    // Where Save and Export ask for a path; the system's dialogs unless set.
    void SetFileDialogs(ICommonDialogs* dialogs) { m_fileDialogs = dialogs; }
    // Writes Export's report; without one the word processor is reported
    // as not started.
    void SetReportWriter(ICountReportWriter* writer) { m_reportWriter = writer; }

    const CountTable& Table() const { return m_table; }
    int RowsShown() const { return m_nRowsShown; }
    const _tagOBJFILTER& Range() const { return m_range; }
    const _tagOBJFILTER& Filter() const { return m_filter; }
    const CPicture* OutlinedPicture() const { return m_pictureA.get(); }
    const CPicture* SelectedPicture() const { return m_pictureB.get(); }
    PaneShares Shares() const { return m_shares; }
    bool IsBlinking() const { return m_timerRunning; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void RepositionControls() override;

private:
    // The preview that tells the dialog when a click on it ends.
    class CPreview final : public CImagePreviewWnd {
    public:
        explicit CPreview(CCountResultDlg& owner) : m_owner(owner) {}

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        CCountResultDlg& m_owner;
    };

    void CreateLists();
    void BuildPictures();
    void ReleasePictures();
    void FillTable(bool withColumns);
    CountLabels Labels() const;
    void ShowBitmap(const CPicture& picture, picture_gdi::UniqueBitmap& bitmap);
    void StartBlinking();
    void OnBlink();
    void OnTableClicked();
    void OnPictureClicked();
    void OnColumnBox(int column);
    void OnFilter();
    void OnSaveImage();
    void OnExport();
    void OnPaneMoved(HWND pane);
    void OnDestroy();
    PaneStack CurrentPanes() const;
    void PlacePanes(const PaneStack& panes);
    void FitToPane(int paneId);
    RECT ClientRectOf(int id) const;
    bool Prompt(UINT textId, int mode) const;

    CIMGCount* m_engine = nullptr;
    std::vector<_tagOBJRESULT>* m_targets = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
    float m_fScale = 1.0f;
    int m_nDecimals = 0;
    std::wstring m_strUnit;
    _tagOBJFILTER m_range;
    _tagOBJFILTER m_filter;
    CountTable m_table;  // its rowTargets map table rows to target numbers
    std::unique_ptr<CPicture> m_pictureA;
    std::unique_ptr<CPicture> m_pictureB;
    picture_gdi::UniqueBitmap m_bitmapA;
    picture_gdi::UniqueBitmap m_bitmapB;
    static inline bool s_blinkPhase = false;
    int m_nRowsShown = 0;
    int m_columnShown[kMeasureColumns];
    PaneShares m_shares;
    PaneShares m_savedShares;
    int m_clientHeight = 0;
    int m_rightMargin = 0;
    bool m_timerRunning = false;
    bool m_ready = false;
    UniqueIcon m_icon;
    HWND m_tableList = nullptr;
    HWND m_summaryList = nullptr;
    CPreview m_preview{*this};
    CSplitLayout m_layout;
    CSystemDialogs m_systemDialogs;
    ICommonDialogs* m_fileDialogs = &m_systemDialogs;
    ICountReportWriter* m_reportWriter = nullptr;
};
