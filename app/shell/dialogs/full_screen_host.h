#pragma once
// What the full-screen video dialog asks of the view that shows it: the
// view's video commands, its full-screen flag, the camera's cross line and
// the ruler overlay drawn over the video.
#include "cross_line_keys.h"

class IFullScreenHost {
public:
    virtual ~IFullScreenHost() = default;

    virtual void TakeSnapshot() = 0;
    virtual void ToggleCrossLine() = 0;
    // 1 takes the video window out of its place while a panel is up, 0 puts
    // it back.
    virtual void LayoutVideoWindow(int hide) = 0;
    virtual void OnVideoParams() = 0;
    virtual void OnRulerSettings() = 0;
    virtual void CloseVideo() = 0;
    virtual void OpenVideo() = 0;

    virtual bool IsFullScreenVideo() const = 0;
    virtual void SetFullScreenVideo(bool on) = 0;

    // The cross line can be moved only while the camera previews with it on.
    virtual bool IsCrossLineMovable() const = 0;
    virtual FrameSize GetFrameSize() const = 0;
    virtual CrossPosition GetCrossPosition() const = 0;
    // Sets the position with the cross line shown.
    virtual void SetCrossPosition(CrossPosition position) = 0;

    virtual void RepaintRulerOverlay() = 0;
};
