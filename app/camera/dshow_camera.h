#pragma once
// `CDShowCamera`: camera kind 1, any device of the platform's video input
// category, driven through a `CCaptureGraph` made at every open. Live
// preview into the view, AVI recording with an optional compressor, stills
// written by the grabber from the running stream, the capture-format choice
// and section "Video" of Config.ini. The crosshair lines every family shares
// are burnt into each frame the preview shows (and so into its stills) and
// kept with the settings. The graph is entered in the running
// object table while it is open. The maker's image controls go through a
// `CKsProperty` on the open device's source filter; while closed, setters
// answer 0 and getters the stored values without touching the device.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "camera_device.h"
#include "capture_graph.h"
#include "dshow_rules.h"
#include "ks_property.h"

class CDShowCamera : public CCameraDevice {
public:
    // Replaces the compressor dialog: the stored choice in, none on Cancel.
    using CompressorChooser =
        std::function<std::optional<std::pair<int, std::wstring>>(int storedChoice, const std::wstring& storedName)>;

    explicit CDShowCamera(HWND view, int deviceIndex = 0, const std::wstring& settingsPath = {});
    ~CDShowCamera() override;

    void SaveSettings() override;
    void LoadSettings() override;
    int CaptureStillAtSize() override;
    void SetStillExposure() override;
    void SaveSnapshotSize(const std::wstring& label, int width, int height) override;
    float GetFrameRate() const override;
    int IsStretched() const override { return m_stretch; }
    int IsVideoOpen() const override { return m_previewing; }
    int IsRecording() const override { return m_recording; }
    int GetStatusC() const override { return m_useCompressor; }
    int GetBW() const override;
    int GetLightAVG() const override;
    int GetClearView() const override;
    int GetVideoZoom() const override;
    int GetCrossLineEnabled() const override;
    int GetCrossCenter() const override { return 0; }
    void SetCrossCenter(int) override {}
    void EnableCrossLine(int on, int x, int y) override;
    void GetCrosslineStatus(int* on, int* x, int* y) const override;
    int GetDSValue() const override { return 0; }
    void StartRecord(HWND host) override;
    void StopRecord(HWND host) override;
    int SetAutoWhiteBalance() override;
    int SetAutoExposure() override;
    void SelectDevice(int index) override;
    int EnumDevices() override;
    CameraFrameSize GetVideoSize() const override;
    void FitVideoWindow(int stretch) override;
    int SaveSnapshot() override;
    void StopPreview() override;
    void StartPreview(HWND host) override;
    void SelectAviCompressor() override;
    int SetVideoZoom(int on) override;
    int SetClearView(int on) override;
    int SetLightAVG(int on) override;
    int SetBW(int on) override;
    void SetResolution(int index) override;
    void SetVideoWindowPos(int) override {}
    void SetScrollOffset(int) override {}
    int GetParamFileIndex() const override { return -1; }
    void LoadParamFile(CIniFile&) override {}
    void CopyParamFileToSettings(const std::wstring&) override {}
    void SetCaptureFormat() override;
    int ShowVideoParams() override;
    int CheckDeviceType() const override;
    void SetFinBadPNT(int on) override;

    void SetCompressorChooser(CompressorChooser choose) { m_chooseCompressor = std::move(choose); }
    // The open graph, null while closed.
    CCaptureGraph* Graph() const { return m_graph.get(); }
    // The running object table's name of the open graph, empty while closed.
    const std::wstring& TableName() const { return m_tableName; }
    // The frame time of the current capture format in 100 ns units, 0 while closed.
    std::int64_t GetFrameDuration() const;
    bool UsesCompressor() const { return m_useCompressor != 0; }
    // The extension properties of the open device's source filter, null while closed.
    CKsProperty* GetPropertyObject() const { return m_property.get(); }

private:
    bool Open(bool recording);
    void Close();
    bool BuildAndConnect(HWND view);
    bool ConnectRecording();
    // A recording file that never got a byte (a start that failed after the
    // writer made it, or a graph that delivered nothing) is deleted, and the
    // user is told.
    void RemoveEmptyRecording();
    void SetFormatSize(int width, int height, bool save, bool run);
    void ApplyFormat(int width, int height, std::int64_t frameDuration);
    void RegisterGraph();
    void RevokeGraph();
    void Message(UINT textId);
    int ArmStill(int width, int height, bool userNaming);
    IAMStreamConfig* StreamConfig() const;
    // The property object while a graph is open, else null.
    CKsProperty* OpenProperties() const;

    std::unique_ptr<CCaptureGraph> m_graph;
    DeviceMonikers m_monikers;
    HWND m_view = nullptr;
    int m_previewing = 0;
    int m_recording = 0;
    int m_stretch = 1;
    int m_videoWidth = 0;
    int m_videoHeight = 0;
    std::vector<ListedFormat> m_formats;
    int m_useCompressor = 0;
    std::wstring m_compressorName;
    // The file the current or last started recording was named, until it
    // is checked for emptiness.
    std::wstring m_recordingPath;
    std::unique_ptr<CKsProperty> m_property;
    // Last values set or read; the getters refresh them from an open device.
    mutable int m_bw = 0;
    mutable int m_lightAvg = 0;
    mutable int m_clearView = 0;
    mutable int m_videoZoom = 0;
    mutable int m_crossLine = 0;
    long m_savedExposure = 500;
    DWORD m_tableCookie = 0;
    std::wstring m_tableName;
    mutable long m_lastNotDropped = 0;
    CompressorChooser m_chooseCompressor;
};
