#pragma once
// The one camera interface of the view: whatever family stands behind it,
// the view switches preview, recording and timed capture, takes snapshots
// and reads the state its commands show. One object at a time, owned by the
// view; its destructor stops preview and recording and releases the device.
// Every call is made on the main thread and none throws; operations that
// need an open device do nothing (or answer 0) without one.
#include <windows.h>

#include <span>
#include <string>
#include <vector>

// The camera families, as the device tree and the factory number them.
enum class CameraFamily : int { directShow = 1, usbCmos = 2, ccd = 3, gigE = 4, uvc = 5 };

// One entry of a camera's resolution table, as the resolution combo lists it.
struct CameraResolution {
    std::wstring label;  // "2048 * 1536"
    int width = 0;
    int height = 0;
};

// One device of a family: its display name and the number its library gives it.
struct CameraDeviceEntry {
    std::wstring name;
    int number = 0;
};

struct CameraFrameSize {
    int width = 0;
    int height = 0;
};

class CCameraDevice {
public:
    virtual ~CCameraDevice() = default;

    virtual int GetCameraKind() const = 0;
    // Rebuilds the device list from the family's library.
    virtual int EnumDevices() = 0;
    // A copy of the device list, in enumeration order.
    virtual std::vector<CameraDeviceEntry> GetDeviceList() const = 0;
    // Opens the device with this number, closing another one first.
    virtual void SelectDevice(int number) = 0;

    virtual void SetShotFolder(const std::wstring& folder) = 0;
    virtual void SetVideoFolder(const std::wstring& folder) = 0;

    // Live video into the host window; IsVideoOpen tells whether it started.
    virtual void StartPreview(HWND host) = 0;
    virtual void StopPreview() = 0;
    virtual void StartRecord(HWND host) = 0;
    virtual void StopRecord(HWND host) = 0;
    virtual int IsVideoOpen() const = 0;
    virtual int IsRecording() const = 0;
    virtual int IsStretched() const = 0;
    virtual int IsTimedCapture() const = 0;

    // Frame size of the running capture.
    virtual CameraFrameSize GetVideoSize() const = 0;
    // The resolutions the open device offers; empty when the family has none.
    virtual std::span<const CameraResolution> GetResolutionList() const = 0;
    virtual float GetFrameRate() const = 0;
    // Switches the capture to entry index of the resolution list; an index
    // outside the list is ignored.
    virtual void SetResolution(int index) = 0;
    // Size of the displayed video after the last fit.
    virtual CameraFrameSize GetVideoWindowSize() const = 0;
    // Where the displayed video starts inside the host window.
    virtual POINT GetVideoPos() const = 0;
    // Lays the video out in the host window, stretched to it when non-zero,
    // at video size otherwise (flipping the stretch state to match).
    virtual void FitVideoWindow(int stretched) = 0;
    // The host's horizontal and vertical scroll positions; -1 re-applies the
    // stored one.
    virtual void SetVideoWindowPos(int x) = 0;
    virtual void SetScrollOffset(int y) = 0;
    // Lets the user choose the capture format (the DirectShow family).
    virtual void SetCaptureFormat() = 0;
    // 1 before preview starts in a full-screen window: the video fills it.
    virtual void SetFillWindow(int on) = 0;

    // Snapshots. Name type 1 is user naming: the pending shot name is used
    // once. A saved snapshot is announced to the main window (0x465) while
    // open-after-save is set. Image type 1 bmp, 2 jpg, 3 tiff.
    virtual int GetNameType() const = 0;
    virtual int GetImageType() const = 0;
    virtual void SetShotName(const std::wstring& name) = 0;
    virtual void SetOpenAfterSave(int open) = 0;
    virtual int SaveSnapshot() = 0;
    // The saved still was handed on: the DirectShow family restores its
    // exposure for still capture, the others clear their still flag.
    virtual void SetStillExposure() = 0;
    virtual void CaptureStillAtSize() = 0;
    // Starts or stops view timer 2 every seconds x 1000 ms; refused (0)
    // while the video is closed.
    virtual int SetTimedCapture(int on, float seconds) = 0;

    // The index chosen in the main frame's parameter-file combo (-1 none),
    // and the one the family's last parameter dialog chose.
    virtual void SetParamFileIndex(int index) = 0;
    virtual int GetParamFileIndex() const = 0;

    // Image settings the video commands toggle.
    virtual int SetAutoExposure() = 0;
    virtual int SetAutoWhiteBalance() = 0;
    virtual int GetBW() const = 0;
    virtual int SetBW(int on) = 0;
    virtual int GetLightAVG() const = 0;
    virtual int SetLightAVG(int on) = 0;
    virtual int GetClearView() const = 0;
    virtual int SetClearView(int on) = 0;
    virtual int GetVideoZoom() const = 0;
    virtual int SetVideoZoom(int on) = 0;
    virtual void SetFinBadPNT(int on) = 0;
    virtual int GetCrossLineEnabled() const = 0;
    virtual void EnableCrossLine(int on, int x, int y) = 0;
    virtual int GetExposureUnit() const = 0;
    virtual int SetExposureUnit(int unit) = 0;
    virtual int IsExposureUnitSupported() const = 0;
    virtual int GetAELiving() const = 0;
    // One-shot white balance and exposure over a region of the video
    // (video pixels, right and bottom outside).
    virtual void DoWhiteBalanceOnce(int left, int top, int right, int bottom) = 0;
    virtual void DoExposureOnce(int left, int top, int right, int bottom) = 0;
    // Lets the user choose the AVI compressor of recordings.
    virtual void SelectAviCompressor() = 0;

    // Read only to enable commands.
    virtual int CheckDeviceType() const = 0;
    virtual int IsMonochrome() const = 0;
    virtual int IsRecordDisabled() const = 0;
};
