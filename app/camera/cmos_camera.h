#pragma once
// `CCMOSCamera`: camera kind 2, one USB CMOS camera over KQCMOSu, reached
// only through the entry points its loader bound. It keeps its image
// parameters in section "CMOS" of Config.ini, offers the resolution table
// of its model, runs the library's preview inside the view and burns the
// crosshairs into every frame.
//
// Threads: the library calls the frame callback on its capture thread and
// the one-shot exposure and white-balance completion on a library thread.
// The frame callback draws through the base's overlay (crosshair list,
// single cross, delivered frame geometry); the completion writes the
// exposure, analogue and user gains it reads back under `m_recordMutex`,
// which the main thread also holds only to read or change those fields,
// never around a library call. Stopping the preview (and closing the
// device) joins the library's threads, so neither callback outlives them.
// The device event (the camera unplugged or back) comes on the library's
// hot-plug thread and is only posted on to the view.
#include <windows.h>

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

#include "KQCMOSu.h"
#include "capture_record_camera.h"

class CCMOSCamera : public CCaptureRecordCamera {
public:
    // Opens the device with this number (from 1); without it the object is
    // a camera with no device whose operations do nothing. settingsPath as
    // the base's.
    CCMOSCamera(HWND view, int deviceNumber, const std::wstring& settingsPath = {});
    ~CCMOSCamera() override;

    void SaveSettings() override;
    void LoadSettings() override;
    int CaptureStillAtSize() override;
    float GetFrameRate() const override;
    int GetLightAVG() const override { return m_lightAverage; }
    int DoWhiteBalanceOnce(int left, int top, int right, int bottom) override;
    int DoExposureOnce(int left, int top, int right, int bottom) override;
    int SetAutoWhiteBalance() override;
    int SetAutoExposure() override;
    int EnumDevices() override;
    void SelectAviCompressor() override;
    int SetLightAVG(int on) override;
    int SetBW(int on) override;
    void SetResolution(int index) override;
    void ResetLightAvg() override;
    int SetAEParam(int on) override;
    int SetExposureUnit(int unit) override;
    int ShowVideoParams() override;
    void LoadParamFile(CIniFile& file) override;
    void CopyParamFileToSettings(const std::wstring& name) override;

private:
    void Open(int deviceNumber) override;
    void Close() override;
    void ApplyOpenSettings();
    void ChooseModelTable();
    void StartLibraryView() override;
    void StopLibraryView() override;
    int CaptureToAvi(const wchar_t* path) override;
    // Lays the preview out in the host window; the fill layout keeps the
    // library's video a multiple of 4 pixels in each direction.
    void LayOut() override;
    void ScrollLibraryView(int x, int y) override;
    int SendCapInfo() override;
    int SendColourMode(int mode) override;
    void PublishFrameGeometry() override;
    // Grabs one frame: whether it reached the last row of a width x height
    // 24-bit frame.
    bool GrabFillsFrame(int width, int height);
    KQ_CAPINFO Record() const;
    std::array<int, 3> UserGains() const;
    int WriteSnapshotFile(const std::wstring& path) override;

    static int KQAPI OnFrame(unsigned char* frame, int unused, void* context);
    static void KQAPI OnOneShotDone(int value1, int value2, void* context);
    // The library's hot-plug thread: the camera went (0) or came back (1).
    static void KQAPI OnDeviceEvent(int event, HANDLE handle, void* context);

    std::vector<std::uint8_t> m_rawBuffer;
    std::vector<std::uint8_t> m_rgbBuffer;
    // The library takes the frame buffer as the address of a pointer.
    unsigned char* m_rawBufferAddress = nullptr;
    std::array<int, 3> m_userGains{500, 500, 500};
    int m_lightAverage = 0;
    int m_colourAdjust = 0;
    int m_aviCompressor = 0;
    int m_deviceNumber = 0;
    int m_fourEntryModel = 0;
    int m_dialogMode = 0;
    int m_gainAll120 = 0;
    int m_sharpYuv = 0;
};
