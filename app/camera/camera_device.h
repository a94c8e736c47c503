#pragma once
// `CCameraDevice`: the one camera interface of Mikra. The view, the video
// commands and the camera dialogs hold a pointer of this type and never know
// which family stands behind it. The base holds the data every family shares
// (settings, names and folders, the resolution table, the device list, the
// crosshair list) and gives the bodies that are the same everywhere; the pure
// virtual operations are each family's.
//
// Every operation is called on the main thread and none throws; operations
// that need an open device do nothing (or answer 0) without one. The only
// exception is the frame path: a family's frame callback runs on its
// library's thread and draws through `Overlay()`, which sees one consistent
// crosshair list and frame geometry without a lock held across any library
// call.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cross_line_list.h"
#include "frame_overlay.h"
#include "ini_file.h"

// The camera families, as the device tree and the factory number them.
enum class CameraFamily : int { directShow = 1, usbCmos = 2, ccd = 3, gigE = 4, uvc = 5 };

// One entry of a camera's resolution table, as the resolution combo lists it.
struct CameraResolution {
    std::wstring label;  // "2048 * 1536"
    int width = 0;
    int height = 0;
};

// One device of a family: its display name and the number its library gives
// it (from 1 in the CMOS and CCD families, from 0 in the UVC family).
struct CameraDeviceEntry {
    std::wstring name;
    int number = 0;
};

struct CameraFrameSize {
    int width = 0;
    int height = 0;
};

struct CameraPoint {
    int x = 0;
    int y = 0;
};

// Timers of the view window the camera was made for: timer 2 takes a timed
// snapshot on each tick, timer 3 refreshes the video status once a second
// while a library preview runs.
inline constexpr UINT_PTR kTimedCaptureTimerId = 2;
inline constexpr UINT_PTR kVideoStatusTimerId = 3;
inline constexpr UINT kVideoStatusIntervalMs = 1000;

class CCameraDevice {
public:
    // view: the view window the camera shows its preview in; it also gets
    // timers 2 and 3 and is the first host window. settingsPath: the
    // settings file, Config.ini beside the program when empty.
    explicit CCameraDevice(HWND view, const std::wstring& settingsPath = {});
    CCameraDevice(const CCameraDevice&) = delete;
    CCameraDevice& operator=(const CCameraDevice&) = delete;
    virtual ~CCameraDevice() = default;

    // ---- Each family ----
    // Its section of Config.ini and the crosshair list.
    virtual void SaveSettings() = 0;
    virtual void LoadSettings() = 0;
    // One snapshot at the snapshot size; the result of the last file write.
    virtual int CaptureStillAtSize() = 0;
    // Stores the table entry of that size as the snapshot size (the first
    // entry when none matches) and writes "ShoutWidth"/"ShoutHeight".
    virtual void SaveSnapshotSize(const std::wstring& label, int width, int height) = 0;
    virtual float GetFrameRate() const = 0;
    virtual int IsStretched() const = 0;
    virtual int IsVideoOpen() const = 0;
    virtual int IsRecording() const = 0;
    virtual int GetStatusC() const = 0;
    virtual int GetBW() const = 0;
    virtual int GetLightAVG() const = 0;
    virtual int GetClearView() const = 0;
    virtual int GetVideoZoom() const = 0;
    // The family's own single cross.
    virtual int GetCrossLineEnabled() const = 0;
    virtual int GetCrossCenter() const = 0;
    virtual void SetCrossCenter(int on) = 0;
    virtual void EnableCrossLine(int on, int x, int y) = 0;
    virtual void GetCrosslineStatus(int* on, int* x, int* y) const = 0;
    virtual int GetDSValue() const = 0;
    virtual void StartRecord(HWND host) = 0;
    virtual void StopRecord(HWND host) = 0;
    // One library run each.
    virtual int SetAutoWhiteBalance() = 0;
    virtual int SetAutoExposure() = 0;
    // Closes the open device and opens the one with this number when it differs.
    virtual void SelectDevice(int number) = 0;
    // Rebuilds the device list from the library.
    virtual int EnumDevices() = 0;
    // Frame size of the running capture.
    virtual CameraFrameSize GetVideoSize() const = 0;
    // Flips the stretch state when toggle differs from it, then lays the
    // preview out in the host window.
    virtual void FitVideoWindow(int toggle) = 0;
    // Writes the current frame as a picture file; nonzero on success.
    virtual int SaveSnapshot() = 0;
    // Live video into the host window; IsVideoOpen tells whether it started.
    virtual void StopPreview() = 0;
    virtual void StartPreview(HWND host) = 0;
    // Lets the user choose the AVI compressor of recordings.
    virtual void SelectAviCompressor() = 0;
    virtual int SetVideoZoom(int on) = 0;
    virtual int SetClearView(int on) = 0;
    virtual int SetLightAVG(int on) = 0;
    virtual int SetBW(int on) = 0;
    // Switches the capture to entry index of the resolution table; an index
    // outside the table is ignored.
    virtual void SetResolution(int index) = 0;
    // Horizontal and vertical scroll offsets of the preview; -1 keeps the
    // stored value and only re-applies it.
    virtual void SetVideoWindowPos(int x) = 0;
    virtual void SetScrollOffset(int y) = 0;
    // The parameter-file index chosen in the family's last parameter dialog.
    virtual int GetParamFileIndex() const = 0;
    // Applies a parameter file's values to the camera.
    virtual void LoadParamFile(CIniFile& file) = 0;
    // Copies the parameter file of that name into the family's section of
    // Config.ini, so that it is the settings at the next start.
    virtual void CopyParamFileToSettings(const std::wstring& name) = 0;

    // ---- Base bodies a family may replace ----
    // Clears the still-pending flag.
    virtual void SetStillExposure();
    // One white balance or exposure over a rectangle in picture coordinates
    // (top row 0); 0 without the feature.
    virtual int DoWhiteBalanceOnce(int left, int top, int right, int bottom);
    virtual int DoExposureOnce(int left, int top, int right, int bottom);
    virtual int CheckDeviceType() const;
    virtual void SetCaptureFormat();
    virtual void SetFinBadPNT(int on);
    virtual void ResetLightAvg();
    // Starts (on) or stops view timer 2 every seconds x 1000 ms and sets the
    // timed-capture flag. Refused (0, flag cleared) while the video is
    // closed, and for an interval that is not finite, not positive, or too
    // short or too long for the timer (kMinTimedIntervalSeconds ...).
    virtual int SetTimedCapture(int on, float seconds);
    virtual int SetAEParam(int on);
    virtual int GetAELiving() const;
    virtual int SetExposureUnit(int unit);
    virtual int SetZoomMode(int mode);
    virtual int SetAEParamGigE(int on);
    // Runs the family's video-parameter dialog over the view and keeps what
    // it leaves; the dialog's result, 0 when the family has none or the
    // camera is not previewing.
    virtual int ShowVideoParams();

    // ---- Base bodies over the shared data; a family may replace them ----
    virtual CameraResolution GetSnapshotSizeSetting() const;
    virtual int IsTimedCapture() const;
    virtual int IsRecordDisabled() const;
    virtual CameraPoint GetVideoPos() const;
    virtual CameraFrameSize GetVideoWindowSize() const;
    virtual int GetCameraKind() const;
    virtual std::wstring GetLastShotPath() const;
    virtual int GetImageType() const;
    virtual void SetImageType(int type);
    virtual int GetNameType() const;
    virtual void SetNameType(int type);
    virtual void SetShotName(const std::wstring& name);
    virtual std::wstring GetShotFolder() const;
    virtual void SetShotFolder(const std::wstring& folder);
    virtual std::wstring GetVideoFolder() const;
    virtual void SetVideoFolder(const std::wstring& folder);
    virtual std::wstring GetDeviceName() const;
    virtual void SetDeviceName(const std::wstring& name);
    virtual void SetFillWindow(int on);
    virtual int IsMonochrome() const;
    // 1: a saved snapshot is announced to the main window (0x465); the view
    // sets it before each command snapshot.
    virtual void SetOpenAfterSave(int open);
    // An independent copy of the device list.
    virtual std::vector<CameraDeviceEntry> GetDeviceList() const;
    // The resolutions the open device offers, the default first; empty
    // without a device.
    virtual std::span<const CameraResolution> GetResolutionList() const;
    virtual int GetExposureUnit() const;
    virtual int IsExposureUnitSupported() const;
    // Lowest and highest exposure in time units; none when the model has no range.
    virtual const std::optional<std::array<int, 2>>& GetExposureRange() const;
    virtual void SetParamFileIndex(int index);

    // ---- Base: the crosshair list ----
    // Draws the list into one frame of width x height pixels at bits 24, 16
    // or 8 (rows packed, row 0 first); any thread.
    virtual void DrawCrossLines(std::uint8_t* frame, int width, int height, int bits) const;
    // Grows the list with zeroed entries to count entries; never shrinks it. Returns 1.
    int SetCrossLineCount(int count);
    // Sets entry i; 0 when i is not a position in the list.
    int SetCrossLine(int i, int index, int draw, int centre, int xOffset, int yOffset, ColourRef colour);
    int GetCrossLineCount() const;
    // A copy of entry i, none when i is not a position in the list.
    std::optional<CrossLineEntry> GetCrossLine(int i) const;

    // Shows one of the camera's messages (the camera's own 47050 to 47052,
    // 47150 and 47151, a snapshot not saved); by default the program's message box with the
    // language library's text.
    using MessageShower = std::function<void(UINT textId)>;
    void SetMessageShower(MessageShower show) { m_showMessage = std::move(show); }

protected:
    // The message through the shower, or a message box owned by `owner`.
    void Tell(UINT textId, HWND owner) const;
    // The frame thread's view of the crosshair list, the single cross and
    // the delivered frame geometry.
    FrameOverlay& Overlay() { return m_overlay; }
    const FrameOverlay& Overlay() const { return m_overlay; }
    const CrossLineList& CrossLines() const { return m_crossLines; }

    // The path of the next snapshot in the shot folder, by image type and
    // name type (the pending name is used once); it becomes the last shot
    // path. None for an image type outside 1 to 3.
    std::optional<std::wstring> NextSnapshotPath();
    // Sends WM_SNAPSHOT_SAVED with the last shot path to the program's main
    // window when open-after-save is set.
    void AnnounceSnapshot();
    // A path for a new recording in the video folder that names no existing
    // file; none when every candidate is taken.
    std::optional<std::wstring> NewRecordingPath() const;
    // Starts or kills view timer 3 of the video status.
    void SetVideoStatusTimer(bool on);
    // The table entry of that width and height, none when there is none.
    std::optional<int> FindResolution(int width, int height) const;

    // Shared data, in the order the families share it.
    CIniFile m_settings;
    int m_imageType = 2;
    int m_nameType = 0;
    std::wstring m_pendingShotName;
    std::wstring m_shotFolder;
    std::wstring m_videoFolder;
    std::wstring m_lastShotPath;
    std::wstring m_deviceName;
    int m_timedCapture = 0;
    int m_fillWindow = 0;
    HWND m_viewWindow = nullptr;
    HWND m_hostWindow = nullptr;
    int m_captureWidth = 0;
    int m_captureHeight = 0;
    CameraPoint m_videoPos;
    CameraFrameSize m_videoWindowSize;
    std::vector<CameraResolution> m_resolutions;
    int m_deviceCount = 0;
    int m_cameraKind = 0;
    int m_deviceIndex = 0;
    int m_monochrome = 0;
    std::vector<CameraDeviceEntry> m_deviceList;
    int m_eightBitFrames = 0;
    CameraResolution m_snapshotSize;
    int m_stillPending = 0;
    int m_openAfterSave = 1;
    int m_gamma = 16;
    int m_offCenter = 0;
    int m_exposureUnit = 0;
    int m_exposureUnitSupported = 0;
    std::optional<std::array<int, 2>> m_exposureRange;
    int m_paramFileIndex = -1;
    int m_saturation = 8;
    int m_sharpness = 1;

private:
    CrossLineList m_crossLines;
    FrameOverlay m_overlay{m_crossLines};
    MessageShower m_showMessage;
};
