#pragma once
// The main frame as the view's tests see it: what the view asked for is
// recorded, what it reads is set by the test.
#include <cwchar>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "history_lines.h"
#include "view_frame.h"

class RecordingViewFrame : public IViewFrame {
public:
    std::wstring pictureFolder = L"C:\\pictures\\";
    std::wstring videoFolder = L"C:\\videos\\";
    std::wstring filesFolder = L"C:\\files\\";
    std::vector<std::pair<ViewFolder, std::wstring>> storedFolders;
    struct RulerUpdate {
        int mode;
        POINT position;
        RulerGeometry geometry;
    };
    std::vector<RulerUpdate> rulerUpdates;
    std::vector<POINT> rulerMarkers;
    int rulerBarsShown = 0;
    bool backgroundOn = false;
    std::vector<std::wstring> browserPictures;
    std::vector<std::wstring> exportFiles;
    std::wstring intervalText;
    int calibrationSelection = -1;
    int paramFileSelection = -1;
    int resolutionSelection = -1;
    // The calibration and parameter-file combo calls, as "Refill",
    // "Select 0.25 mm", "SelectName 10x", "Family 3", "RefillParamFiles".
    std::vector<std::wstring> comboCalls;
    // The window the full-screen dialog gives for the video; how often it was shown.
    HWND fullScreenWindow = nullptr;
    int fullScreenShown = 0;
    std::vector<int> browserSelections;
    // The browser's entries, newest first, as the view added them; its
    // current path is set by the test.
    struct BrowserEntry {
        std::wstring path;
        std::wstring caption;
    };
    std::vector<BrowserEntry> browserEntries;
    std::wstring browserCurrent;
    std::vector<std::wstring> unreadableFiles;
    std::vector<std::wstring> recentDocuments;
    // The answer of the picture-name dialog; how often it was asked.
    std::optional<std::wstring> pictureName;
    int pictureNameQuestions = 0;
    // The answer of the line width dialog; how often it was asked.
    std::optional<int> lineWidth;
    int lineWidthQuestions = 0;
    // The data bar the view hands to its current controller; none unless set.
    IWorkspaceBar* workspaceBar = nullptr;
    std::wstring pictureNameOffered;
    // The browser's menu item, set by the test; the renames the view asked for.
    std::optional<BrowserItem> browserMenuItem;
    std::vector<BrowserItem> renamedItems;
    std::vector<bool> associations;
    // Runs after each export file the view adds back.
    std::function<void()> onExportFileAdded;

    // The undo and redo lists as the view last filled them.
    std::vector<std::u16string> undoLines;
    std::vector<std::u16string> redoLines;
    int historyShown = 0;

    // Status panes 1 to 3 and the toolbars as the view last set them.
    std::map<int, std::wstring> statusPanes;
    std::map<ViewToolBar, bool> toolBarsShown;

    std::vector<std::wstring> addedFiles;

    std::vector<bool> snapshotExports;
    struct Device {
        CameraFamily kind;
        int number;
        std::wstring name;
    };
    std::vector<Device> devices;
    // What the tree holds picked while it asks the view to switch.
    std::optional<SelectedDevice> picked;

    std::wstring GetPictureFolder() override { return pictureFolder; }
    std::wstring GetVideoFolder() override { return videoFolder; }
    std::wstring GetFilesFolder() override { return filesFolder; }
    void StoreFolder(ViewFolder folder, const std::wstring& path) override {
        storedFolders.push_back({folder, path});
        (folder == ViewFolder::pictures ? pictureFolder
         : folder == ViewFolder::videos ? videoFolder
                                        : filesFolder) = path;
    }
    void UpdateRulerBars(int mode, POINT position, const RulerGeometry& geometry) override {
        rulerUpdates.push_back({mode, position, geometry});
    }
    void MoveRulerMarker(POINT cursor) override { rulerMarkers.push_back(cursor); }
    void ShowRulerBars() override { ++rulerBarsShown; }
    bool IsBackgroundPictureOn() const override { return backgroundOn; }
    void ClearBackgroundPicture() override { backgroundOn = false; }
    std::vector<std::wstring> TakeBrowserPictures() override { return std::exchange(browserPictures, {}); }
    std::vector<std::wstring> TakeExportFiles() override { return std::exchange(exportFiles, {}); }
    void RequestSnapshotExport(bool word) override { snapshotExports.push_back(word); }
    void AddExportFile(const std::wstring& path) override {
        addedFiles.push_back(path);
        if (onExportFileAdded) {
            onExportFileAdded();
        }
    }
    void SelectBrowserPicture(int index) override { browserSelections.push_back(index); }
    bool AddBrowserPicture(const std::wstring& path, const std::wstring& caption) override {
        for (const BrowserEntry& entry : browserEntries) {
            if (entry.path == path) {
                return false;
            }
        }
        browserEntries.insert(browserEntries.begin(), {path, caption});
        return true;
    }
    std::wstring GetBrowserPicture() const override { return browserCurrent; }
    void ReportUnreadableFile(const std::wstring& path) override { unreadableFiles.push_back(path); }
    void AddRecentDocument(const std::wstring& path) override { recentDocuments.push_back(path); }
    std::optional<std::wstring> AskPictureName(const std::wstring& name) override {
        ++pictureNameQuestions;
        pictureNameOffered = name;
        return pictureName;
    }
    std::optional<int> AskLineWidth() override {
        ++lineWidthQuestions;
        return lineWidth;
    }
    std::optional<BrowserItem> GetBrowserMenuItem() const override { return browserMenuItem; }
    void RenameBrowserItem(int index, const std::wstring& path, const std::wstring& caption) override {
        renamedItems.push_back({index, path, caption});
    }
    void RemoveBrowserPicture(const std::wstring& path) override {
        std::erase_if(browserEntries, [&path](const BrowserEntry& entry) { return entry.path == path; });
    }
    void SetDrawingFileAssociation(bool associated) override { associations.push_back(associated); }
    std::wstring GetIntervalText() const override { return intervalText; }
    void FillResolutionCombo(std::span<const CameraResolution>, CameraFrameSize) override {}
    void ClearResolutionCombo() override {}
    int GetResolutionSelection() const override { return resolutionSelection; }
    int GetCalibrationSelection() const override { return calibrationSelection; }
    int GetParamFileSelection() const override { return paramFileSelection; }
    void SetParamFileSelection(int index) override { paramFileSelection = index; }
    void SetStatusPane(int pane, const std::wstring& text) override { statusPanes[pane] = text; }
    void ShowToolBar(ViewToolBar bar, bool shown) override { toolBarsShown[bar] = shown; }
    IWorkspaceBar* GetWorkspaceBar() override { return workspaceBar; }
    void ShowHistory(const CHistoryStore* history) override {
        ++historyShown;
        undoLines = history ? HistoryLines(*history, true) : std::vector<std::u16string>{};
        redoLines = history ? HistoryLines(*history, false) : std::vector<std::u16string>{};
    }
    void RepaintFrame() override {}
    void AddDevice(CameraFamily kind, int number, const std::wstring& name) override {
        devices.push_back({kind, number, name});
    }
    std::optional<SelectedDevice> SelectFirstDevice() override {
        if (devices.empty()) {
            return std::nullopt;
        }
        return SelectedDevice{devices.front().kind, devices.front().number};
    }
    std::optional<SelectedDevice> GetPickedDevice() override { return picked; }
    void RefillCalibrations() override { comboCalls.push_back(L"Refill"); }
    void SelectCalibration(float value, const std::wstring& unit) override {
        wchar_t text[64] = {};
        std::swprintf(text, 64, L"Select %g ", static_cast<double>(value));
        comboCalls.push_back(text + unit);
    }
    void SelectCalibrationByName(const std::wstring& name) override { comboCalls.push_back(L"SelectName " + name); }
    void SetParamFileFamily(CameraFamily family) override {
        comboCalls.push_back(L"Family " + std::to_wstring(static_cast<int>(family)));
    }
    void RefillParamFiles() override { comboCalls.push_back(L"RefillParamFiles"); }
    HWND ShowFullScreenVideo() override {
        ++fullScreenShown;
        return fullScreenWindow;
    }

};
