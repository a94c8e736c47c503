#pragma once
// What the view asks of the main frame around it: the application's folders
// and background-picture flag, the picture browser and export file list,
// the video toolbar's combos, the status bar, the toolbars and the device
// tree. The frame implements it; the view never sees the frame's class.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "camera_device.h"
#include "workspace_bar_interface.h"

class CHistoryStore;

enum class ViewToolBar { main, measure, picture };

// The folders of Config.ini's [Option]: "PicF", "AviF" and "XWF".
enum class ViewFolder { pictures, videos, exports };

// What the ruler bars show: the picture's (or video's) size, its zoom in
// each direction and where it starts in the view.
struct RulerGeometry {
    int width = 0;
    int height = 0;
    float zoomX = 1.0f;
    float zoomY = 1.0f;
    POINT origin{0, 0};
};

// One item of the picture browser: its position (0 the newest), path and
// the caption it shows.
struct BrowserItem {
    int index = -1;
    std::wstring path;
    std::wstring caption;
};

struct SelectedDevice {
    CameraFamily kind = CameraFamily::directShow;
    int number = 0;
};

class IViewFrame {
public:
    // Folders with a trailing backslash.
    virtual std::wstring GetPictureFolder() = 0;
    virtual std::wstring GetVideoFolder() = 0;
    virtual std::wstring GetFilesFolder() = 0;
    // Writes the folder (with its trailing backslash) to Config.ini and the
    // application's copy.
    virtual void StoreFolder(ViewFolder folder, const std::wstring& path) = 0;
    // The application's "DrawAD" flag; cleared for the rest of the run.
    virtual bool IsBackgroundPictureOn() const = 0;
    virtual void ClearBackgroundPicture() = 0;

    // Refill the picture browser and the export file list from their
    // folders, hand back their paths and empty them: the view adds the
    // entries again as it opens them.
    virtual std::vector<std::wstring> TakeBrowserPictures() = 0;
    virtual std::vector<std::wstring> TakeExportFiles() = 0;
    virtual void AddExportFile(const std::wstring& path) = 0;
    // The next snapshot is taken for a live export (Word when `word`, else
    // Excel): the frame hands its path back with WM_SNAPSHOT_OPEN.
    virtual void RequestSnapshotExport(bool word) = 0;
    // Lists an opened picture first in the browser, with its caption (the
    // file name when empty); false when the browser refused it (no such
    // file, or the path is listed already).
    virtual bool AddBrowserPicture(const std::wstring& path, const std::wstring& caption) = 0;
    // -1 clears the browser's selection.
    virtual void SelectBrowserPicture(int index) = 0;
    // The path of the browser's current picture; empty when none is.
    virtual std::wstring GetBrowserPicture() const = 0;
    // The name the user gives a picture (rename dialog 248 starting with
    // `name`; a new snapshot's starts empty); none when cancelled.
    virtual std::optional<std::wstring> AskPictureName(const std::wstring& name = {}) = 0;
    // The browser item the user opened the browser's menu on; none when
    // there is none.
    virtual std::optional<BrowserItem> GetBrowserMenuItem() const = 0;
    // The item at index now lists this path under this caption.
    virtual void RenameBrowserItem(int index, const std::wstring& path, const std::wstring& caption) = 0;
    virtual void RemoveBrowserPicture(const std::wstring& path) = 0;
    // Registers drawing documents with the program when they are not yet,
    // or removes the registration.
    virtual void SetDrawingFileAssociation(bool associated) = 0;
    // The width the user gives new lines (line width dialog 142); none when
    // cancelled.
    virtual std::optional<int> AskLineWidth() = 0;
    // Tells the user that the file could not be opened.
    virtual void ReportUnreadableFile(const std::wstring& path) = 0;
    // A drawing document just opened or saved goes first in the File menu's
    // recent documents.
    virtual void AddRecentDocument(const std::wstring& path) = 0;

    // The timed-capture interval box's text.
    virtual std::wstring GetIntervalText() const = 0;
    // Lists the resolutions, selecting the one of the current frame size.
    virtual void FillResolutionCombo(std::span<const CameraResolution> resolutions, CameraFrameSize current) = 0;
    virtual void ClearResolutionCombo() = 0;
    virtual int GetResolutionSelection() const = 0;
    // The calibration combo's selection (-1 none).
    virtual int GetCalibrationSelection() const = 0;
    // The parameter-file combo's selection (-1 none).
    virtual int GetParamFileSelection() const = 0;
    virtual void SetParamFileSelection(int index) = 0;

    // Status bar panes 1 to 3.
    virtual void SetStatusPane(int pane, const std::wstring& text) = 0;
    virtual void ShowToolBar(ViewToolBar bar, bool shown) = 0;
    // Refills the undo and redo lists from a controller's history; null
    // empties them.
    virtual void ShowHistory(const CHistoryStore* history) = 0;
    // The measurement data bar the current controller keeps in step with
    // its objects; null when the frame has none.
    virtual IWorkspaceBar* GetWorkspaceBar() = 0;
    // Repaints the frame's client area.
    virtual void RepaintFrame() = 0;
    // The ruler bars after a scroll, zoom or layout: mode 1 vertical, 2
    // horizontal, 3 both; position the scroll position. A picture shown
    // smaller than its size hides them.
    virtual void UpdateRulerBars(int mode, POINT position, const RulerGeometry& geometry) = 0;
    // Shows or hides the ruler bars as the user last chose.
    virtual void ShowRulerBars() = 0;
    // The ruler bars' marker lines to the mouse (view client pixels) when it
    // is over the picture.
    virtual void MoveRulerMarker(POINT cursor) = 0;

    // Device tree: one entry under its camera kind; the first device.
    virtual void AddDevice(CameraFamily kind, int number, const std::wstring& name) = 0;
    virtual std::optional<SelectedDevice> SelectFirstDevice() = 0;
    // The device the tree holds picked: while it asks the view to switch
    // (WM_DEVICE_SELECTED) the one just double-clicked; none when no device is.
    virtual std::optional<SelectedDevice> GetPickedDevice() = 0;

    // The calibration combo: listed again from scale.ini, then the entry of
    // a value and unit or of a name chosen (nothing is announced).
    virtual void RefillCalibrations() = 0;
    virtual void SelectCalibration(float value, const std::wstring& unit) = 0;
    virtual void SelectCalibrationByName(const std::wstring& name) = 0;
    // The parameter-file combo: the camera family whose files it lists, and
    // listing them again.
    virtual void SetParamFileFamily(CameraFamily family) = 0;
    virtual void RefillParamFiles() = 0;
    // Shows the full-screen video dialog over the whole screen and gives its
    // window, which the video is previewed into; none when it cannot be shown.
    virtual HWND ShowFullScreenVideo() = 0;

protected:
    ~IViewFrame() = default;
};
