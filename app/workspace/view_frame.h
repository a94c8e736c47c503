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

class CHistoryStore;

enum class ViewToolBar { main, measure, picture };

struct SelectedDevice {
    CameraFamily kind = CameraFamily::directShow;
    int number = 0;
};

class IViewFrame {
public:
    // Folders with a trailing backslash.
    virtual std::wstring GetPictureFolder() = 0;
    virtual std::wstring GetVideoFolder() = 0;
    // The application's "DrawAD" flag; cleared for the rest of the run.
    virtual bool IsBackgroundPictureOn() const = 0;
    virtual void ClearBackgroundPicture() = 0;

    // Refill the picture browser and the export file list from their
    // folders, hand back their paths and empty them: the view adds the
    // entries again as it opens them.
    virtual std::vector<std::wstring> TakeBrowserPictures() = 0;
    virtual std::vector<std::wstring> TakeExportFiles() = 0;
    virtual void AddExportFile(const std::wstring& path) = 0;
    // Lists an opened picture first in the browser, with its caption (the
    // file name when empty); false when the browser refused it (no such
    // file, or the path is listed already).
    virtual bool AddBrowserPicture(const std::wstring& path, const std::wstring& caption) = 0;
    // -1 clears the browser's selection.
    virtual void SelectBrowserPicture(int index) = 0;
    // The path of the browser's current picture; empty when none is.
    virtual std::wstring GetBrowserPicture() const = 0;
    // The name the user gives a new snapshot (rename dialog 248, empty at
    // first); none when cancelled.
    virtual std::optional<std::wstring> AskPictureName() = 0;
    // The width the user gives new lines (line width dialog 142); none when
    // cancelled.
    virtual std::optional<int> AskLineWidth() = 0;
    // Tells the user that the file could not be opened.
    virtual void ReportUnreadableFile(const std::wstring& path) = 0;

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
    // Repaints the frame's client area.
    virtual void RepaintFrame() = 0;

    // Device tree: one entry under its camera kind; the first device.
    virtual void AddDevice(CameraFamily kind, int number, const std::wstring& name) = 0;
    virtual std::optional<SelectedDevice> SelectFirstDevice() = 0;

protected:
    ~IViewFrame() = default;
};
