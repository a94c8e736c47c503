#pragma once
// The controller of the live video: measurement objects drawn over the
// running preview. It has no picture history folder of its own (sequence
// number -1) and names its pictures after the last snapshot. The objects
// are drawn on the colour key, which the overlay window shows as
// transparent, so the video stays visible around them.
#include <filesystem>

#include "image_controller.h"

class CLiveController : public CImageController {
public:
    CLiveController();

    // Deletes every object and the selection (the video was closed).
    void ClearAll();
    void SetSnapshotPath(const std::filesystem::path& path) { snapshotPath_ = path; }
    const std::filesystem::path& GetSnapshotPath() const { return snapshotPath_; }

    // The window over the video the objects are drawn into; the current
    // counter colour gets the default counter styles where it has none.
    void SetOverlayWindow(HWND overlay);
    HWND GetOverlayWindow() const { return overlay_; }
    // The live picture's size in camera pixels; the zoomed size follows
    // with the current zoom (set first).
    void SetFrameSize(int width, int height);
    void GetFrameSize(int& width, int& height) const {
        width = frameWidth_;
        height = frameHeight_;
    }
    // The calibration dialog measures the live frame.
    void GetCalibrationPictureSize(int& width, int& height) const override { GetFrameSize(width, height); }

    // The colour the overlay window shows as transparent.
    static constexpr COLORREF kColourKey = RGB(255, 157, 0);
    // Draws the visible objects (and a shown calibration line) at the zoom
    // on the colour key over the zoomed frame size, through the render
    // helper every picture drawing uses, and puts that on the overlay
    // window. Nothing without owner or overlay window or a zoomed size.
    void Render(int redrawPicture) override;

    // The snapshot with the live objects burnt in, exported; the snapshot
    // path is emptied (live_controller_export.cpp). Nothing without the
    // overlay window; the Word export and the Excel export with its picture
    // need a snapshot of a kind below.
    void ExportExcel() override;
    void ExportWord() override;
    // 1 BMP, 2 JPEG, 3 TIFF by the path's ending (any case); 0 otherwise.
    static int SnapshotKind(const std::filesystem::path& path);

private:
    std::filesystem::path snapshotPath_;
    HWND overlay_ = nullptr;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
};
