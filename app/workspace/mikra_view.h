#pragma once
// The view: the scrolling window in the splitter's lower right pane where
// pictures and live video are shown. It owns the image controllers of the
// opened pictures, the live controller and the camera; the document holds
// nothing. Three display states, decided by the camera: picture (neither
// video nor recording), video and recording. The main frame is reached
// through IViewFrame only; commands are registered per feature
// (view_commands_*.cpp).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "camera_factory.h"
#include "colour_font_dialogs.h"
#include "common_dialogs.h"
#include "grid_plate_dialog.h"
#include "imaging_dialogs.h"
#include "image_controller.h"
#include "live_controller.h"
#include "picture.h"
#include "resource.h"
#include "ruler_overlay.h"
#include "scroll_view.h"
#include "transparent_dlg.h"
#include "video_region.h"
#include "view_controller_host.h"
#include "view_frame.h"

class CMikraView : public CScrollView, public IScrollSizeSink, private IRulerOverlayHost {
public:
    // The factory makes the cameras; familyLoaded tells which families'
    // libraries are there to enumerate.
    explicit CMikraView(CameraFactory makeCamera = CreateCameraDevice,
                        std::function<bool(CameraFamily)> familyLoaded = IsCameraFamilyLoaded);
    ~CMikraView() override;

    // The file and folder dialogs the commands run; the system's unless set.
    void SetCommonDialogs(ICommonDialogs* dialogs) { m_dialogs = dialogs; }

    // The picture menu's operations every picture controller runs (the main
    // frame's); none by default, and the commands then change nothing.
    void SetFilterCommands(IImageFilterCommands* filters);

    // Set by the main frame once it holds the view, before the initial update.
    void SetViewFrame(IViewFrame* frame) {
        m_frame = frame;
        m_controllerHost.SetFrame(frame);
    }

    void OnInitialUpdate() override;
    // Printing (mikra_view_print.cpp): the print dialog, one page, the
    // current picture printed at its calibrated size.
    bool OnPreparePrinting(CPrintInfo& info) override;
    void OnBeginPrinting(HDC dc, CPrintInfo& info) override;
    void OnPrint(HDC dc, CPrintInfo& info) override;
    void OnEndPrinting(HDC dc, CPrintInfo& info) override;

    // Video commands.
    void OpenVideo();
    void CloseVideo();
    void StartRecording();
    void StopRecording();
    // A snapshot the user asked for makes its folder when missing and tells
    // what failed; a timed one does neither.
    void TakeSnapshot(bool userAsked = true);
    void TakeFixedSnapshot();
    void ToggleTimedSnapshot();
    // The interval box's seconds; tells the user and fails when it is empty
    // or not a valid interval.
    std::optional<float> GetTimedInterval();
    // Pane 2 the frame rate and pane 3 the size while video or recording
    // runs; pane 1 says so while the camera is unplugged.
    void RefreshVideoStatus();
    // The camera was unplugged (false) or came back (true): its recording
    // has ended with it; live video resumes by itself when it is back.
    void OnCameraPlugged(bool back);
    // Full-screen video (35008): refused while recording or live measuring;
    // the video then previews into the frame's full-screen dialog, filling it.
    void ShowFullScreenVideo();
    bool IsFullScreenVideo() const { return m_bFullScreen != 0; }
    // Cleared by the full-screen dialog when it ends; the camera no longer
    // fills its window.
    void SetFullScreenVideo(bool on);
    // Applies the current camera family's parameter file of that name to the
    // camera and makes it the settings of the next start.
    void LoadCameraParamFile(const std::wstring& name);

    // The picture list (mikra_view_pictures.cpp). Opening appends a new
    // controller and lists it first in the browser; it becomes current only
    // when shown. A file that cannot be read is reported and not listed.
    void OpenPicture(const std::wstring& path);
    // The same for a snapshot taken while measuring on live video: the new
    // picture takes copies of these objects and counter styles.
    void OpenSnapshot(const std::wstring& path, const ObjectList& objects, const CCounterStyles& styles);
    // Makes the controller of the path current; an empty path shows none.
    void ShowPicture(const std::wstring& path);
    // Closes the pictures of the path, deleting their files when asked.
    void RemovePicture(const std::wstring& path, bool deleteFiles);
    // The path under which a just-saved snapshot is to be opened: in user
    // naming outside timed capture, the snapshot is renamed from its
    // temporary name to the user's name or, failing that, a time-stamped
    // one; never empty.
    std::wstring AskShotName(const std::wstring& path);
    // Writes the browser item the user opened the browser's menu on, with
    // copies of its objects, under a name the user chooses: an image by
    // the name's extension, else a drawing document. The list stays as it is.
    void SaveImageAs();
    // Renames the file of the browser item the user opened the browser's
    // menu on, keeping its folder and extension (mikra_view_files.cpp).
    // A name that is taken or no plain file name is refused with a message.
    void RenameCurrentPicture();
    void AddToFileList(const std::wstring& path);

    // What the colour and font commands ask; the system's dialogs unless set.
    void SetColourFontDialogs(IColourFontDialogs* dialogs) { m_colourFontDialogs = dialogs; }
    // The counting dialogs every controller opens; set by the main frame.
    void SetCountingDialogs(ICountingDialogs* dialogs);
    // The Office exports every controller hands its exports to.
    void SetOfficeExports(IOfficeExports* exports);
    // The export commands (view_commands_export.cpp): the current picture,
    // or over live measuring the next snapshot, to Excel or Word.
    void ExportToExcel();
    void ExportToWord(bool useTemplate);
    // The grid settings dialog of the grid settings command; set by the main frame.
    void SetGridPlateDialog(IGridPlateDialog* dialog) { m_gridPlateDialog = dialog; }
    // The fusion and stitching dialogs of commands 40000 and 40005; set by the main frame.
    void SetImagingDialogs(IImagingDialogs* dialogs) { m_imagingDialogs = dialogs; }
    // The file information dialog the controllers show; set by the main frame.
    void SetFileInfoDialog(IFileInfoDialog* dialog) { m_controllerHost.SetFileInfoDialog(dialog); }
    // The calibrations' file the calibration and print dialogs read;
    // "scale.ini" beside the program unless set.
    void SetScaleIniPath(const std::wstring& path) { m_controllerHost.SetScaleIniPath(path); }
    // Lays the picture or the video out again for the view's size; the
    // main frame calls it when it moves (mikra_view_layout.cpp).
    void UpdateLayout();

    // IScrollSizeSink: the controller's zoomed picture size.
    void SetScrollSizes(int width, int height) override;

    CCameraDevice* GetCamera() const { return m_camera.get(); }
    CImageController* GetCurrentController() const { return m_current; }
    CLiveController& GetLiveController() const { return *m_live; }
    const std::vector<std::unique_ptr<CImageController>>& GetControllers() const { return m_controllers; }
    // The target of picture and tool commands: the current controller in
    // picture state, the live controller on video with live measuring, else none.
    CImageController* GetTargetController() const;
    bool IsVideoActive() const;
    int IsLiveMeasuring() const { return m_bLiveMeasuring; }
    // The counting grid over the picture (command 37033).
    void ToggleCountingGrid();
    // The counting commands on the current picture (view_commands_counting.cpp).
    void ManualCount();
    void ShowCountResults();
    void SetCountRegion();
    void EditGridPlate();
    int IsCountingGridShown() const { return m_bGridShown; }
    // Displayed video width over the video's width; 1 until it is known.
    float GetVideoZoom() const { return m_videoZoom; }

    // Input (mikra_view_input.cpp). Runs before a message for the view or a
    // window inside it is dispatched, and never stops it: the controller of
    // the picture, or of the live video while it is open, filters Ctrl keys;
    // with a DirectShow or UVC camera's video open, a mouse move or left
    // button message of a window inside the view gets view coordinates.
    bool PreTranslateMessage(MSG& message);
    // The drawing cursor style (32850 arrow 0, 32851 cross 1).
    int GetCursorStyle() const { return m_cursorStyle; }

    // Region white balance and exposure (mikra_view_region.cpp): a region
    // command arms one mode, the next left-button release ends it.
    enum class RegionMode { none, whiteBalance, exposure };
    RegionMode GetRegionMode() const { return m_regionMode; }
    // Refused while the camera's continuous auto exposure runs.
    void StartRegionMode(RegionMode mode);

    // Live measuring and the windows over the video (mikra_view_live.cpp).
    void ToggleLiveMeasuring();
    // On: the live-measure overlay over the video, the live controller
    // drawing into it; off: the video host window instead.
    void ShowLiveOverlay(bool shown);
    // Places the shown windows over the displayed video again; to be run
    // after every scroll, zoom and resize of the view and move of the frame.
    void LayoutVideoOverlays();
    HWND GetLiveOverlayWindow() const { return m_liveOverlay.GetSafeHwnd(); }
    HWND GetGridOverlayWindow() const { return m_gridOverlay.GetSafeHwnd(); }
    HWND GetVideoHostWindow() const { return m_videoHost.GetSafeHwnd(); }
    HWND GetRulerOverlayWindow() const { return m_rulerOverlay.GetSafeHwnd(); }
    bool IsPrinting() const { return m_bPrinting != 0; }
    // The measuring ruler, made at the end of the initial update; null before.
    CRulerOverlay* GetRulerOverlay() const { return m_measuringRuler.get(); }
    // The arrow tool's panel while it is open, else null.
    HWND GetArrowPanelWindow() const { return m_controllerHost.GetArrowPanelWindow(); }
    // Command 35023: the ruler's settings dialog, with a picture shown or
    // video open.
    void ShowRulerSettings();
    // A drawing document handed to the program (its command line, a second
    // instance, the shell's open command): listed and shown like one opened
    // from the File menu. One that cannot be read is reported and the view
    // stays as it was.
    // True when it was listed.
    bool OpenHandedDocument(const std::wstring& path);

protected:
    void OnDraw(HDC dc) override;
    bool OnEraseBkgnd(HDC dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend void RegisterVideoCommands(CMikraView& view);
    friend void RegisterToolCommands(CMikraView& view);
    friend void RegisterCameraCommands(CMikraView& view);
    friend void RegisterCountingCommands(CMikraView& view);
    friend void RegisterImagingCommands(CMikraView& view);
    friend void RegisterExportCommands(CMikraView& view);
    friend void RegisterStyleCommands(CMikraView& view);
    friend void RegisterCommandUpdates(CMikraView& view);
    friend void RegisterInputCommands(CMikraView& view);
    friend void RegisterFileCommands(CMikraView& view);
    friend void RegisterLayoutCommands(CMikraView& view);
    friend void RegisterPictureCommands(CMikraView& view);
    friend void RegisterPictureToolCommands(CMikraView& view);
    friend void RegisterPrintCommands(CMikraView& view);
    friend void RegisterClipboardCommands(CMikraView& view);

    // Zoom, scrolling, layout and folders (mikra_view_layout.cpp).
    enum class ZoomCommand { in, out, fit, actualSize };
    void Zoom(ZoomCommand command);
    // After the base handling moved a bar (SB_HORZ or SB_VERT) or the wheel
    // moved the vertical one: the picture or video follows it.
    void OnScrolled(int bar);
    void OnWheelScrolled();
    // Refits the camera's video window (stretched or 1:1) and what depends on it.
    void RefitVideo(int stretched);
    void ToggleStretch();
    void ChooseCaptureFormat();
    void ChooseFolder(ViewFolder folder);
    // The calibration selection dialog for the target picture (32817).
    void ChooseCalibration();
    // The scale-bar dialog, then the scale-bar tool (32816); the counter
    // dialog (32815).
    void ChooseScaleBar();
    void EditCounters();
    // Mode 1 vertical, 2 horizontal, 3 both, with the picture's or the
    // video's geometry.
    void UpdateRulerBars(int mode, POINT position);
    void MoveRulerMarker(ViewPoint point) {
        if (m_frame) {
            m_frame->MoveRulerMarker(POINT{point.x, point.y});
        }
    }
    // The measuring ruler's host (mikra_view_layout.cpp).
    RulerSizes GetRulerSizes() const override;
    int GetCalibrationIndex() const override;
    void RedrawRuler() override;
    // Reads the ruler's files again after a calibration change and repaints.
    void ReloadRuler();

    // File commands (mikra_view_files.cpp).
    void OpenPictureFiles();
    void DeleteCurrentPicture();
    // A picture is saved as a time-stamped copy that is then opened; a
    // picture from a drawing document goes back into its document.
    void SaveCurrentPicture();
    void SaveCurrentPictureAs();
    void SaveDocument();
    void OpenDocument();
    // Lists the document, shows it and puts it first among the recent
    // documents; one that cannot be read is reported. True when listed.
    bool ShowDocument(const std::wstring& path);
    void AssociateDocuments(bool associated) {
        if (m_frame) {
            m_frame->SetDrawingFileAssociation(associated);
        }
    }
    // The listed controller of the path; null when none is.
    CImageController* FindController(const std::wstring& path) const;
    // Clears the browser's selection and selects its newest item, which
    // shows it.
    void ShowNewestPicture();

    void OnTimer(UINT_PTR id);
    void OnCopyData(const COPYDATASTRUCT* record);
    void OpenHandedDocuments();
    void SetVideoScrollSizes();
    void LoadStartupFolders();
    void DiscoverDevices();
    void CreateSelectedCamera();
    // The camera of a device kind (1 to 5) and number, replacing the current one.
    void CreateCamera(CameraFamily kind, int number);
    void ShowPictureToolBars(bool shown);
    void FillResolutionCombo();
    void ShowMessage(UINT stringId);

    // Private messages (view_messages.cpp); true when the message is one.
    bool OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Refills the frame's undo and redo lists from the target controller.
    LRESULT OnHistoryChanged();
    LRESULT OnResolutionChanged();
    LRESULT OnSnapshotExport(WPARAM pathAddress, LPARAM target);
    LRESULT OnParamFileSelected(LPARAM index);
    LRESULT OnScaleSelected(LPARAM entryAddress);
    // A calibration drawn on the picture was stored (mikra_view_calibration.cpp).
    LRESULT OnCalibrationChanged();
    // The calibration combo refilled with the target's calibration selected
    // (then by name, when one is given), the grid and the ruler reloaded.
    void ShowTargetCalibration(CImageController& target, const std::wstring& name);
    LRESULT OnOpenPicturePath(LPARAM pathAddress);
    LRESULT OnPictureSelected();
    // Switches to the device the tree picked once the user confirms; nonzero
    // when the view switched, which the tree takes as its new selection.
    LRESULT OnDeviceSelected();
    // Hands the data bar to the current controller alone and lists its
    // objects; every listed controller must be held.
    void ShowCurrentMeasurements();
    void MakeEmptyControllerCurrent();
    // Opens the path, a picture or a drawing document, as a new listed
    // controller; prepare runs on it after its history folder is made,
    // before it is listed.
    void AppendPicture(const std::wstring& path, bool isDocument,
                       const std::function<void(CImageController&)>& prepare);
    // Status pane 3: the current picture's size.
    void ShowPictureSizeStatus();

    // Input (mikra_view_input.cpp); true when the message was one.
    bool OnInputMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnMouseMove(UINT flags, ViewPoint point);
    void OnLButtonDown(UINT flags, ViewPoint point);
    void OnLButtonUp(UINT flags, ViewPoint point);
    void OnRButtonDown(UINT flags, ViewPoint point);
    // Status panes 1 and 2: the colour under the cursor and the picture point.
    void ShowCursorStatus(ViewPoint point);

    // Region selection (mikra_view_region.cpp).
    VideoDisplay GetVideoDisplay() const;
    void DrawRegionBand();
    void RunRegionOperation();
    void ShowRegionMenu(ViewPoint point);

    // Windows over the video (mikra_view_live.cpp).
    void CreateOverlays();
    void ShowGridOverlay(bool shown);
    // The measuring ruler's own window over the video, painted by the ruler.
    void ShowRulerOverlayWindow(bool shown);

    CameraFactory m_makeCamera;
    std::function<bool(CameraFamily)> m_familyLoaded;
    IViewFrame* m_frame = nullptr;
    CSystemDialogs m_systemDialogs;
    ICommonDialogs* m_dialogs = &m_systemDialogs;
    ICountingDialogs* m_countingDialogs = nullptr;
    IOfficeExports* m_officeExports = nullptr;
    IGridPlateDialog* m_gridPlateDialog = nullptr;
    IImagingDialogs* m_imagingDialogs = nullptr;
    // Declared before the controllers, which hold it.
    CViewControllerHost m_controllerHost;

    int m_bPrinting = 0;
    int m_bLiveMeasuring = 0;
    int m_bFullScreen = 0;
    std::unique_ptr<CPicture> m_background;
    int m_nextControllerNumber = 0;
    // The measuring ruler; declared before the controllers, which draw it,
    // so that it outlives them.
    std::unique_ptr<CRulerOverlay> m_measuringRuler;
    // The controller without window shown before any picture is opened.
    std::unique_ptr<CImageController> m_windowless;
    CImageController* m_current = nullptr;
    std::unique_ptr<CLiveController> m_live;
    std::vector<std::unique_ptr<CImageController>> m_controllers;
    IImageFilterCommands* m_filters = nullptr;
    std::unique_ptr<CCameraDevice> m_camera;
    int m_bPenDrawing = 0;
    int m_cursorStyle = 0;
    RegionMode m_regionMode = RegionMode::none;
    // The rubber band of a region drag, from the press to the mouse.
    ViewPoint m_bandFrom;
    ViewPoint m_bandTo;
    bool m_regionDragging = false;
    // Owned pop-ups over the video, created with the view's window.
    CTransparentDlg m_gridOverlay{IDD_GRID_OVERLAY};
    CTransparentDlg m_rulerOverlay{IDD_RULER_OVERLAY};
    CTransparentDlg m_liveOverlay{IDD_TRANSPARENT};
    CTransparentDlg m_videoHost{IDD_VIDEO_HOST};
    bool m_layingOut = false;
    int m_bGridShown = 0;
    float m_videoZoom = 1.0f;
    int m_bHasPictures = 0;
    // Documents handed over and not yet opened, oldest first.
    std::vector<std::wstring> m_handedDocuments;
    // Set when video or recording starts, which changes the view's size
    // (the picture toolbars go): the next picture shown fits the window.
    int m_bFitPending = 0;
    // Between the camera's unplugging and its return.
    bool m_cameraUnplugged = false;
    int m_bHasFiles = 0;
    CColourFontDialogs m_systemColourFontDialogs;
    IColourFontDialogs* m_colourFontDialogs = &m_systemColourFontDialogs;
};
