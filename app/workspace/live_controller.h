#pragma once
// The controller of the live video: measurement objects drawn over the
// running preview. It has no picture; its history folder is that of
// sequence number -1. The objects are drawn on the colour key, which the
// overlay window shows as transparent, so the video stays visible around
// them. Object points are camera pixels; the zoom fits them to the video
// as shown.
#include <filesystem>
#include <memory>

#include "image_controller.h"

class CLiveController : public CImageController {
public:
    CLiveController();

    // The video was closed: the history back to its first step, no objects,
    // selection or counter styles, the placement at 0 and every per-type
    // counter 0.
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

    // The back buffer at the zoomed frame size (made again when asked to
    // redraw), filled with the colour key. Nothing without owner or overlay
    // window or a zoomed size.
    void Draw() override;
    // The back buffer onto the overlay window.
    void Present() override;
    // The visible objects (and a shown calibration line) at the zoom on the
    // colour key, put on the overlay window.
    void Render(int redrawPicture) override;
    // As a picture's, except that a mouse move with no object in progress
    // draws the frame again, objects are drawn from the video's corner and
    // no counting grid is drawn over them.
    int CreateToolObject(int tracking) override;
    // The rubber band on the overlay window, from the video's corner.
    void DrawTrackRect() override;
    // Draws the objects into the picture file at `path` of `format` (1 BMP,
    // 2 JPEG, 3 TIFF) and writes it back in that format at its own size,
    // the objects scaled from the frame to the file's width. 1 when written;
    // a file that cannot be read is left as it was.
    int RenderToImage(const std::filesystem::path& path, int format) override;

    // The window the counting grid is drawn into (the grid overlay).
    void SetDrawWindow(HWND window) { gridWindow_ = window; }
    HWND GetDrawWindow() const { return gridWindow_; }
    // The counting grid over the whole client area of the grid window, the
    // frame stretched to its width, on the colour key. Nothing without a
    // grid window, client area or frame size.
    void DrawCountingGrid(int unused) override;

    // The snapshot with the live objects burnt in, exported; the snapshot
    // path is emptied (live_controller_export.cpp). Nothing without the
    // overlay window; the Word export and the Excel export with its picture
    // need a snapshot of a kind below.
    void ExportExcel() override;
    void ExportWord() override;
    // 1 BMP, 2 JPEG, 3 TIFF by the path's ending (any case); 0 otherwise.
    static int SnapshotKind(const std::filesystem::path& path);

protected:
    // Over live video the menu ends with live measuring.
    ContextMenuFacts GatherMenuFacts() const override {
        ContextMenuFacts facts = CImageController::GatherMenuFacts();
        facts.live = true;
        return facts;
    }
    CMemoryDC* ToolBuffer() override { return back_.get(); }
    TrackPoint ToolOffset() const override { return {}; }
    void FinishToolFrame(CMemoryDC& back) override;

private:
    // The visible objects and a shown calibration line at the zoom.
    void DrawLiveObjects(CDC& dc);

    std::filesystem::path snapshotPath_;
    HWND overlay_ = nullptr;
    HWND gridWindow_ = nullptr;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    int redraw_ = 1;
    std::unique_ptr<CMemoryDC> back_;
};
