#pragma once
// What the camera families over a bound library share beyond the base: the
// states of the open device (preview, recording, stretch) and how preview,
// recording and a change of device move between them; the family's own
// single cross, kept in the frame overlay and stored under "CROSSLINE",
// "CROSSCENTER", "CROSS_OFFX" and "CROSS_OFFY" of the family's section; and
// the capture and snapshot sizes stored there as table entries. A recording
// started without a preview runs the library's view without setting
// previewing, and stopping the recording stops that view again.
#include <windows.h>

#include <string>

#include <cstdint>
#include <span>

#include "camera_device.h"
#include "video_layout.h"

class CLibraryCamera : public CCameraDevice {
public:
    int IsStretched() const override { return m_stretched; }
    int IsVideoOpen() const override { return m_previewing; }
    int IsRecording() const override { return m_recording; }
    int GetStatusC() const override { return 0; }
    int GetDSValue() const override { return 0; }
    CameraFrameSize GetVideoSize() const override { return {m_captureWidth, m_captureHeight}; }
    // With a device open and no preview running: the host becomes the
    // preview's window, the library's view starts and is laid out.
    void StartPreview(HWND host) override;
    void StopPreview() override;
    void FitVideoWindow(int toggle) override;
    // Keep the scroll offset (-1 keeps that coordinate) and, while the
    // preview runs, hand it to the library's view.
    void SetVideoWindowPos(int x) override;
    void SetScrollOffset(int y) override;
    void StartRecord(HWND host) override;
    void StopRecord(HWND host) override;
    // Closes the open device and opens this number into the same host window.
    void SelectDevice(int number) override;
    // Names the file (base naming), has the family's library write it, and
    // announces it when written; 1 when written.
    int SaveSnapshot() override;
    int GetCrossLineEnabled() const override;
    int GetCrossCenter() const override;
    void SetCrossCenter(int on) override;
    void EnableCrossLine(int on, int x, int y) override;
    void GetCrosslineStatus(int* on, int* x, int* y) const override;
    // Stores the table entry of that size as the snapshot size (the first
    // when none matches) and writes "ShoutWidth"/"ShoutHeight".
    void SaveSnapshotSize(const std::wstring& label, int width, int height) override;

protected:
    // section: the family's section of Config.ini.
    CLibraryCamera(HWND view, const std::wstring& settingsPath, const wchar_t* section);

    // Reads the family's "ImgType" and "NameType", its capture and snapshot
    // sizes and its single cross.
    void LoadCaptureSettings();
    void LoadSingleCross();
    void SaveSingleCross();
    // Writes the capture size as "Width"/"Height".
    void WriteCaptureSize();
    // Keeps the stored capture size when the table has it, else takes and
    // stores the first entry.
    void ChooseStoredCaptureSize();

    // The family's library: its device, its view, the layout of the view in
    // the host window, and AVI recording (a path starts it, none stops it;
    // the library's code).
    virtual void Open(int deviceNumber) = 0;
    virtual void Close() = 0;
    virtual void StartLibraryView() = 0;
    virtual void StopLibraryView() = 0;
    virtual void LayOut() = 0;
    // Moves the library's view by this scroll offset; the library's code.
    virtual void ScrollLibraryView(int x, int y) = 0;
    virtual int CaptureToAvi(const wchar_t* path) = 0;
    // Writes the current frame to path as the image type says; the library's code.
    virtual int WriteSnapshotFile(const std::wstring& path) = 0;

    // Before the device closes: ends a recording and the library's view.
    void EndView();
    // After the device closed: no handle, no frames drawn, no table or range.
    void ForgetDevice();
    // Places the video in the host's client area for the fill, stretched
    // or 1:1 layout and keeps the position and size; in 1:1 the scroll
    // offsets become the negated position.
    VideoPlacement PlaceVideo(FillRounding fillRounding);
    // The same for a picture shown at `shown` rather than the capture size.
    VideoPlacement PlaceVideo(FillRounding fillRounding, VideoSize shown);
    // Whether a device is open; a family that addresses its device by
    // something other than a handle says so itself.
    virtual bool HasDevice() const { return m_device != nullptr; }
    // Saves rows of width x bits / 8 bytes as a TIFF picture; 0 when written.
    static int SaveTiff(std::span<const std::uint8_t> rows, int width, int height, int bits, const std::wstring& path);

    const wchar_t* const m_section;
    HANDLE m_device = nullptr;
    int m_stretched = 1;
    int m_recording = 0;
    int m_previewing = 0;
    int m_scrollX = 0;
    int m_scrollY = 0;
};
