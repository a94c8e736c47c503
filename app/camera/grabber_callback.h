#pragma once
// `CGrabberCallback`: the sample grabber's callback inside `CCaptureGraph`.
// It burns the camera's crosshair lines into every frame, so the preview and
// the stills show them, writes one armed still from the stream (see
// grabbed_still.h) and tells
// the notice window with WM_SNAPSHOT_SAVED, posting a copy of the path that
// the receiver takes over (the copy is taken back when the post fails). It
// lives inside its graph and is not reference-counted.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <atomic>

#include "cross_line_list.h"
#include "grabbed_still.h"

class CGrabberCallback : public ISampleGrabberCB {
public:
    CGrabberCallback() = default;
    CGrabberCallback(const CGrabberCallback&) = delete;
    CGrabberCallback& operator=(const CGrabberCallback&) = delete;

    // Where WM_SNAPSHOT_SAVED goes; nothing is posted without one.
    void SetNoticeWindow(HWND window) { m_noticeWindow = window; }
    // Refused while a still is pending.
    bool Arm(StillRequest request) { return m_still.Arm(std::move(request)); }
    bool IsPending() const { return m_still.IsPending(); }
    void Withdraw() { m_still.Withdraw(); }
    int GetImageType() const { return m_imageType; }
    // The list drawn into every frame (null: none); set before the graph runs.
    void SetCrossLines(const CrossLineList* lines) { m_crossLines = lines; }
    // The size of the frames the grabber takes (0 x 0: unknown, nothing is
    // drawn); set while the graph is stopped.
    void SetFrameSize(int width, int height) {
        m_frameWidth = width;
        m_frameHeight = height;
    }
    void SetImageType(int type) { m_imageType = type; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double time, IMediaSample* sample) override;
    STDMETHODIMP BufferCB(double, BYTE*, long) override { return S_OK; }

private:
    void DrawCrossLines(BYTE* data, long length) const;

    GrabbedStill m_still;
    const CrossLineList* m_crossLines = nullptr;
    std::atomic<int> m_frameWidth{0};
    std::atomic<int> m_frameHeight{0};
    HWND m_noticeWindow = nullptr;
    int m_imageType = 2;
};
