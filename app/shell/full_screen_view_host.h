#pragma once
// The full-screen video dialog's view: the frame hands it the view's video
// commands, the camera's cross line and the ruler overlay.
#include <functional>

#include "full_screen_host.h"
#include "mikra_view.h"
#include "resource.h"

class CFullScreenViewHost final : public IFullScreenHost {
public:
    // dialog: the full-screen dialog's window, set aside while a panel is up.
    CFullScreenViewHost(CMikraView& view, std::function<HWND()> dialog) : m_view(view), m_dialog(std::move(dialog)) {}

    void TakeSnapshot() override { m_view.TakeSnapshot(); }
    void ToggleCrossLine() override { m_view.RunCommand(ID_VIDEO_CROSS_LINE); }
    // The panels open over the view: the full-screen window would hide them.
    void LayoutVideoWindow(int hide) override {
        if (HWND dialog = m_dialog()) {
            ::ShowWindow(dialog, hide ? SW_HIDE : SW_SHOW);
        }
    }
    void OnVideoParams() override { m_view.RunCommand(ID_VIDEO_PARAMETERS); }
    void OnRulerSettings() override { m_view.ShowRulerSettings(); }
    void CloseVideo() override { m_view.CloseVideo(); }
    void OpenVideo() override { m_view.OpenVideo(); }
    bool IsFullScreenVideo() const override { return m_view.IsFullScreenVideo(); }
    void SetFullScreenVideo(bool on) override { m_view.SetFullScreenVideo(on); }
    bool IsCrossLineMovable() const override {
        const CCameraDevice* camera = m_view.GetCamera();
        return camera && camera->IsVideoOpen() && camera->GetCrossLineEnabled();
    }
    FrameSize GetFrameSize() const override {
        const CCameraDevice* camera = m_view.GetCamera();
        if (!camera) {
            return {};
        }
        const CameraFrameSize size = camera->GetVideoSize();
        return {size.width, size.height};
    }
    CrossPosition GetCrossPosition() const override {
        int on = 0;
        CrossPosition position;
        if (const CCameraDevice* camera = m_view.GetCamera()) {
            camera->GetCrosslineStatus(&on, &position.x, &position.y);
        }
        return position;
    }
    void SetCrossPosition(CrossPosition position) override {
        if (CCameraDevice* camera = m_view.GetCamera()) {
            camera->EnableCrossLine(1, position.x, position.y);
        }
    }
    void RepaintRulerOverlay() override {
        if (CRulerOverlay* ruler = m_view.GetRulerOverlay()) {
            ruler->PaintOnFullScreen();
        }
    }

private:
    CMikraView& m_view;
    std::function<HWND()> m_dialog;
};
