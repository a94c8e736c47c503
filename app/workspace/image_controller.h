#pragma once
// Owner of one picture and the measurement objects drawn on it, painting
// into the window the view gives it: a 1:1 picture buffer, a screen-sized
// back buffer where the visible part is stretched and the objects drawn, and
// one copy of the back buffer to the window (Windows only).

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cl_object.h"
#include "dc.h"
#include "img_count.h"
#include "picture.h"
#include "tool_interaction.h"
#include "tool_prototypes.h"

// What the controller asks of its view's scroll bars.
class IScrollSizeSink {
public:
    virtual ~IScrollSizeSink() = default;
    // Scroll range in zoomed pixels (0, 0: no scroll bars).
    virtual void SetScrollSizes(int width, int height) = 0;
};

class CImageController {
public:
    CImageController();
    CImageController(const std::filesystem::path& path, HWND owner);
    CImageController(const CImageController&) = delete;
    CImageController& operator=(const CImageController&) = delete;
    virtual ~CImageController();

    void SetOwnerWindow(HWND owner) { owner_ = owner; }
    void SetPicturePath(const std::filesystem::path& path) { picturePath_ = path; }
    void SetScrollSizeSink(IScrollSizeSink* sink) { scrollSink_ = sink; }

    void OpenPicture();
    void LoadPicture();
    void ReloadPicture();
    void ConvertGreyToRGB();
    void CreateCounter();
    void FreePicture();
    void ClosePicture();

    // Picture size, 0 by 0 without owner window or picture.
    void GetImageSize(int& width, int& height) const;
    void GetZoomedSize(int& width, int& height) const;

    // Painting.
    virtual void Draw();
    virtual void Present();
    virtual void Render(int redrawPicture);

    // Zoom; each stays within 1/64 .. 64.
    void SetZoom(float zoom) { zoom_ = ClampedZoom(zoom); }
    float GetZoom() const { return zoom_; }
    void ZoomIn();
    void ZoomOut();
    void ZoomActualSize();
    void ZoomToFit();
    // The view keeps these at its scroll bar positions (zoomed pixels).
    void SetScrollPosition(int x, int y) {
        scrollX_ = x;
        scrollY_ = y;
    }

    std::vector<std::unique_ptr<CCLObject>>* GetObjectList() { return &objects_; }
    std::vector<CCLObject*>& GetSelection() { return selection_; }
    const CPicture* GetPicture() const { return picture_.get(); }
    const CIMGCount* GetCounter() const { return counter_.get(); }
    // The composed frame before it reaches the window.
    const CMemoryDC* GetBackBuffer() const { return backBuffer_.get(); }
    int GetCentringX() const { return centreX_; }
    int GetCentringY() const { return centreY_; }

    // Drawing tools and mouse interaction (image_controller_tools.cpp).
    // Mouse positions are window coordinates.
    void SetTool(int tool);
    void SetSelectMode();
    int FinishEditing();
    void CancelInteraction();
    void CancelStep() { ui_.step = 0; }
    void OnLButtonDown(UINT flags, int x, int y);
    void OnLButtonUp(UINT flags, int x, int y);
    void OnMouseMove(UINT flags, int x, int y);
    void OnLButtonDblClk(UINT flags, int x, int y);
    void OnKeyDown(UINT key);
    void OnKeyUp(UINT key);
    virtual void ShowContextMenu(int x, int y, int flags);
    // Steps the current tool (tracking: 0 click, 1 move); 1 when an object
    // was finished.
    virtual int CreateToolObject(int tracking);
    virtual void DrawTrackRect();
    virtual void SetTrackStart(int x, int y);
    virtual void SetTrackEnd(int x, int y);
    int HitTestObjects(int click);
    int SelectInRect(int x1, int y1, int x2, int y2);
    void ClearSelection();
    void MoveSelection(int finish);
    void NudgeSelection(int left, int up, int right, int down, int finish, int labelOnly);
    void DeleteSelection();
    void RenumberType(int type);
    // Records one undo step of `kind` after a change: 1 an object was
    // created, 2 objects were deleted, 3 objects were moved or nudged.
    virtual void PushHistory(int kind);

    const ToolInteraction& GetInteraction() const { return ui_; }
    CCL_Scale& GetCalibrationLine() const { return prototypes_.CalibrationLine(); }

    // Current style given to objects when drawn.
    float scale = 1.0f;
    std::u16string unitText = u"μm";
    int decimals = 2;
    int markColour = 255;

private:
    static float ClampedZoom(float zoom);
    void RebuildBuffers();
    void ApplyZoom(float zoom);
    RECT ClientRect() const;

    HWND owner_ = nullptr;
    std::filesystem::path picturePath_;
    int loadPending_ = 1;
    std::unique_ptr<CPicture> picture_;
    float zoom_ = 1.0f;
    int zoomedWidth_ = 0;
    int zoomedHeight_ = 0;
    int centreX_ = 0;
    int centreY_ = 0;
    int scrollX_ = 0;
    int scrollY_ = 0;
    int redrawPicture_ = 0;
    std::unique_ptr<CMemoryDC> pictureBuffer_;
    std::unique_ptr<CMemoryDC> backBuffer_;
    std::vector<std::unique_ptr<CCLObject>> objects_;
    std::vector<CCLObject*> selection_;
    std::unique_ptr<CIMGCount> counter_;
    IScrollSizeSink* scrollSink_ = nullptr;
    ToolInteraction ui_;
    CToolPrototypes prototypes_;

    TrackPoint ToTrackPoint(int x, int y) const;
    void ApplyCurrentStyle(CCLObject& object) const;
    void DrawObjects(CDC& dc);
};
