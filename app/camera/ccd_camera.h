#pragma once
// `CCCDCamera`: camera kind 3, one USB CCD camera over KQCCDu, reached only
// through the entry points its loader bound (a name the library lacks is
// skipped). It keeps its image parameters in section "CCD" of Config.ini,
// offers the resolution table of its model, runs the library's preview
// inside the view and burns the crosshairs into every frame. The capture
// record carries the AD gain where the USB CMOS family keeps the
// horizontal window offset, so the CCD camera never moves that offset.
//
// Threads: the library calls the frame callback on its own thread and the
// one-shot exposure and white-balance completion on a library thread. The
// frame callback draws through the base's overlay; the completion writes
// the exposure and gains it reads back under `m_recordMutex`, which the main
// thread also holds only to read or change the record, never around a
// library call. Stopping the preview and closing the device join the
// library's threads.
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <vector>

#include "KQCMOSu.h"
#include "capture_record_camera.h"

class CCCDCamera : public CCaptureRecordCamera {
public:
    // Opens the device with this number (from 1); without it the object is a
    // camera with no device whose operations do nothing. settingsPath as the
    // base's.
    CCCDCamera(HWND view, int deviceNumber, const std::wstring& settingsPath = {});
    ~CCCDCamera() override;

    void SaveSettings() override;
    void LoadSettings() override;
    int CaptureStillAtSize() override;
    float GetFrameRate() const override;
    int GetLightAVG() const override { return 0; }
    int DoWhiteBalanceOnce(int left, int top, int right, int bottom) override;
    int DoExposureOnce(int left, int top, int right, int bottom) override;
    int SetAutoWhiteBalance() override;
    int SetAutoExposure() override;
    int EnumDevices() override;
    void SelectAviCompressor() override;
    int SetLightAVG(int on) override;
    int SetBW(int on) override;
    void SetResolution(int index) override;
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
    void LayOut() override;
    void ScrollLibraryView(int x, int y) override;
    int SendCapInfo() override;
    int SendColourMode(int mode) override;
    void PublishFrameGeometry() override;
    KQ_CAPINFO Record() const;
    int WriteSnapshotFile(const std::wstring& path) override;

    static int KQAPI OnFrame(unsigned char* frame, int unused, void* context);
    static void KQAPI OnOneShotDone(int value1, int value2, void* context);

    std::vector<std::uint8_t> m_rawBuffer;
    std::vector<std::uint8_t> m_rgbBuffer;
    // The library takes the frame buffer as the address of a pointer.
    unsigned char* m_rawBufferAddress = nullptr;
    int m_aviCompressor = 0;
    int m_deviceNumber = 0;
};
