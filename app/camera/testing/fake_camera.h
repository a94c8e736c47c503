#pragma once
// A camera for the view's tests: every state the view reads is a field the
// test sets, every call is written to a log, a snapshot writes a real file
// into the shot folder and announces it with WM_SNAPSHOT_SAVED, and timed
// capture runs timer 2 of the host window as the families do.
#include <windows.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "camera_device.h"
#include "lent_payload.h"
#include "private_messages.h"

class FakeCamera : public CCameraDevice {
public:
    // What the test sets.
    CameraFamily kind = CameraFamily::directShow;
    int deviceIndex = 0;  // the device the camera was made for
    std::vector<CameraDeviceEntry> devices;
    bool startSucceeds = true;
    int videoOpen = 0;
    int recording = 0;
    int stretched = 0;
    int timedCapture = 0;
    int deviceType = 0;
    int monochrome = 0;
    int recordDisabled = 0;
    CameraFrameSize videoSize{640, 480};
    CameraFrameSize videoWindowSize{640, 480};
    CameraPoint videoPos{0, 0};
    int resolutionIndex = -1;
    std::vector<CameraResolution> resolutions;
    float frameRate = 30.0f;
    int nameType = 0;
    int imageType = 1;
    CameraResolution snapshotSize;  // the setting, and what SaveSnapshotSize stored
    int paramFileIndex = -1;
    int aeLiving = 0;
    int bw = 0, lightAvg = 0, clearView = 0, videoZoom = 0, crossLine = 0, exposureUnit = 0;
    int exposureUnitSupported = 0;
    HWND announceTo = nullptr;  // receives WM_SNAPSHOT_SAVED

    // What the view did.
    std::vector<std::string> calls;
    std::wstring shotFolder, videoFolder, shotName;
    std::vector<std::wstring> savedNames;
    int selectedDevice = -1;
    int openAfterSave = 0;
    float timedSeconds = 0.0f;
    int paramFileIndexSet = -2;
    int crossX = -1, crossY = -1;
    // The regions of one-shot white balance and exposure, in call order.
    struct Region {
        int left, top, right, bottom;
        friend bool operator==(const Region&, const Region&) = default;
    };
    std::vector<Region> whiteBalanceRegions, exposureRegions;
    HWND host = nullptr;
    // Set by the destructor so a test can see the camera was released.
    bool* destroyed = nullptr;
    std::function<void()> onDestroy;

    FakeCamera() : CCameraDevice(nullptr) {}
    ~FakeCamera() override {
        if (destroyed) {
            *destroyed = true;
        }
        if (onDestroy) {
            onDestroy();
        }
        if (host && timedCapture) {
            KillTimer(host, 2);
        }
    }

    int GetCameraKind() const override { return static_cast<int>(kind); }
    int EnumDevices() override { return Log("EnumDevices"), static_cast<int>(devices.size()); }
    std::vector<CameraDeviceEntry> GetDeviceList() const override { return devices; }
    void SelectDevice(int number) override { Log("SelectDevice"), selectedDevice = number; }
    std::wstring GetShotFolder() const override { return shotFolder; }
    void SetShotFolder(const std::wstring& folder) override { shotFolder = folder; }
    std::wstring GetVideoFolder() const override { return videoFolder; }
    void SetVideoFolder(const std::wstring& folder) override { videoFolder = folder; }

    void StartPreview(HWND window) override {
        Log("StartPreview");
        host = window;
        videoOpen = startSucceeds ? 1 : 0;
    }
    void StopPreview() override { Log("StopPreview"), videoOpen = 0; }
    void StartRecord(HWND window) override {
        Log("StartRecord");
        host = window;
        recording = startSucceeds ? 1 : 0;
    }
    void StopRecord(HWND) override { Log("StopRecord"), recording = 0; }
    int IsVideoOpen() const override { return videoOpen; }
    int IsRecording() const override { return recording; }
    int IsStretched() const override { return stretched; }
    int IsTimedCapture() const override { return timedCapture; }
    CameraFrameSize GetVideoSize() const override { return videoSize; }
    std::span<const CameraResolution> GetResolutionList() const override { return resolutions; }
    float GetFrameRate() const override { return frameRate; }
    void SetResolution(int index) override { Log("SetResolution"), resolutionIndex = index; }
    CameraFrameSize GetVideoWindowSize() const override { return videoWindowSize; }
    CameraPoint GetVideoPos() const override { return videoPos; }
    void FitVideoWindow(int stretch) override {
        Log("FitVideoWindow " + std::to_string(stretch));
        stretched = stretch;
    }
    void SetVideoWindowPos(int x) override { Log("SetVideoWindowPos " + std::to_string(x)); }
    void SetScrollOffset(int y) override { Log("SetScrollOffset " + std::to_string(y)); }
    void SetCaptureFormat() override { Log("SetCaptureFormat"); }
    void SetFillWindow(int on) override { Log("SetFillWindow " + std::to_string(on)); }

    int GetNameType() const override { return nameType; }
    int GetImageType() const override { return imageType; }
    void SetNameType(int type) override { nameType = type; }
    void SetImageType(int type) override { imageType = type; }
    CameraResolution GetSnapshotSizeSetting() const override { return snapshotSize; }
    void SetShotName(const std::wstring& name) override { shotName = name; }
    void SetOpenAfterSave(int open) override { openAfterSave = open; }
    int SaveSnapshot() override {
        Log("SaveSnapshot");
        // User naming uses the pending name once, as the families do.
        std::wstring name = (nameType == 1 && !shotName.empty()) ? shotName : L"Shot_" + std::to_wstring(++shots_);
        shotName.clear();
        savedNames.push_back(name);
        lastPath_ = shotFolder + name + L".bmp";
        std::ofstream(std::filesystem::path(lastPath_), std::ios::binary) << "BM";
        if (openAfterSave && announceTo) {
            const CLentPayload lent(&lastPath_);
            SendMessageW(announceTo, WM_SNAPSHOT_SAVED, lent.Get(), 0);
        }
        return 1;
    }
    void SetStillExposure() override { Log("SetStillExposure"); }
    int CaptureStillAtSize() override {
        Log("CaptureStillAtSize");
        savedNames.push_back(shotName);
        return 1;
    }
    int SetTimedCapture(int on, float seconds) override {
        Log("SetTimedCapture");
        if (!videoOpen) {
            timedCapture = 0;
            return 0;
        }
        timedSeconds = seconds;
        timedCapture = on ? 1 : 0;
        if (on) {
            SetTimer(host, 2, static_cast<UINT>(seconds * 1000.0f), nullptr);
        } else {
            KillTimer(host, 2);
        }
        return 1;
    }

    void SetParamFileIndex(int index) override { paramFileIndexSet = index; }
    int GetParamFileIndex() const override { return paramFileIndex; }
    int ShowVideoParams() override { return Log("ShowVideoParams"), IDOK; }

    int SetAutoExposure() override { return Log("SetAutoExposure"), 1; }
    int SetAutoWhiteBalance() override { return Log("SetAutoWhiteBalance"), 1; }
    int GetBW() const override { return bw; }
    int SetBW(int on) override { return Log("SetBW"), bw = on, 1; }
    int GetLightAVG() const override { return lightAvg; }
    int SetLightAVG(int on) override { return Log("SetLightAVG"), lightAvg = on, 1; }
    int GetClearView() const override { return clearView; }
    int SetClearView(int on) override { return Log("SetClearView"), clearView = on, 1; }
    int GetVideoZoom() const override { return videoZoom; }
    int SetVideoZoom(int on) override { return Log("SetVideoZoom"), videoZoom = on, 1; }
    void SetFinBadPNT(int) override { Log("SetFinBadPNT"); }
    int GetCrossLineEnabled() const override { return crossLine; }
    void EnableCrossLine(int on, int x, int y) override {
        Log("EnableCrossLine");
        crossLine = on;
        crossX = x;
        crossY = y;
    }
    int GetExposureUnit() const override { return exposureUnit; }
    int SetExposureUnit(int unit) override { return Log("SetExposureUnit"), exposureUnit = unit, 1; }
    int IsExposureUnitSupported() const override { return exposureUnitSupported; }
    int GetAELiving() const override { return aeLiving; }
    int DoWhiteBalanceOnce(int left, int top, int right, int bottom) override {
        Log("DoWhiteBalanceOnce");
        whiteBalanceRegions.push_back({left, top, right, bottom});
        return 0;
    }
    int DoExposureOnce(int left, int top, int right, int bottom) override {
        Log("DoExposureOnce");
        exposureRegions.push_back({left, top, right, bottom});
        return 0;
    }
    void SelectAviCompressor() override { Log("SelectAviCompressor"); }
    int CheckDeviceType() const override { return deviceType; }
    int IsMonochrome() const override { return monochrome; }
    int IsRecordDisabled() const override { return recordDisabled; }

    // Family operations the view's tests only see called.
    void SaveSettings() override { Log("SaveSettings"); }
    void LoadSettings() override { Log("LoadSettings"); }
    void SaveSnapshotSize(const std::wstring& label, int width, int height) override {
        Log("SaveSnapshotSize");
        snapshotSize = {label, width, height};
    }
    int GetStatusC() const override { return 0; }
    int GetDSValue() const override { return 0; }
    int GetCrossCenter() const override { return 0; }
    void SetCrossCenter(int) override { Log("SetCrossCenter"); }
    void GetCrosslineStatus(int* on, int* x, int* y) const override {
        *on = crossLine;
        *x = crossX;
        *y = crossY;
    }
    void LoadParamFile(CIniFile&) override { Log("LoadParamFile"); }
    void CopyParamFileToSettings(const std::wstring&) override { Log("CopyParamFileToSettings"); }

private:
    void Log(const char* call) { calls.emplace_back(call); }
    void Log(const std::string& call) { calls.push_back(call); }

    int shots_ = 0;
    std::wstring lastPath_;
};
