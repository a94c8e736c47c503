#pragma once
// The view's face of one picture and the measurement objects drawn on it:
// the drawing model (CDrawingModel) holds them, and this class paints them
// into the window the view gives it (a 1:1 picture buffer, a screen-sized
// back buffer where the visible part is stretched and the objects drawn, and
// one copy of the back buffer to the window) and drives the tools on them.
// Windows only.

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calibrated_print.h"
#include "cl_object.h"
#include "context_menu.h"
#include "counter_styles.h"
#include "count_edit_state.h"
#include "counting_dialogs.h"
#include "dc.h"
#include "drawing_file.h"
#include "drawing_model.h"
#include "floating_geometry.h"
#include "floating_piece.h"
#include "history_store.h"
#include "image_canvas.h"
#include "image_controller_host.h"
#include "image_filter_commands.h"
#include "img_count.h"
#include "kqmk_blocks.h"
#include "ini_file.h"
#include "ini_profile.h"
#include "log_font.h"
#include "office_exports.h"
#include "picture.h"
#include "rendered_picture.h"
#include "ruler_overlay.h"
#include "tool_interaction.h"
#include "tool_prototypes.h"
#include "view_geometry.h"
#include "workspace_bar_interface.h"

class CImageController : private IFloatingPieceHost {
    // First, so that the names below may refer to them.
    CDrawingModel model_;
    CImageCanvas canvas_;
    CCalibratedPrint printing_;

public:
    CImageController();
    CImageController(const std::filesystem::path& path, HWND owner);
    CImageController(const CImageController&) = delete;
    CImageController& operator=(const CImageController&) = delete;
    virtual ~CImageController();

    void SetOwnerWindow(HWND owner) {
        owner_ = owner;
        canvas_.SetWindow(owner);
    }
    // Whether the controller draws into a window: it shows a picture.
    bool HasWindow() const { return owner_ != nullptr; }
    void SetPicturePath(const std::filesystem::path& path) { picturePath_ = path; }
    void SetScrollSizeSink(IScrollSizeSink* sink) { canvas_.SetScrollSizeSink(sink); }
    // What asks the user and tells the frame; without one nothing is asked
    // (every question counts as cancelled) and nobody is told.
    void SetHost(IImageControllerHost* host) { host_ = host; }

    void OpenPicture();
    void LoadPicture();
    void ReloadPicture();
    void ConvertGreyToRGB();
    void CreateCounter();
    void FreePicture();
    void ClosePicture();
    // Closes the arrow panel when it edits this controller's arrow.
    void CloseArrowPanel();

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

    CDrawingModel& GetModel() { return model_; }
    std::vector<std::unique_ptr<CCLObject>>* GetObjectList() { return &objects_; }
    CCounterStyles* GetCounterStyles() { return &counterStyles_; }
    // Replaces the objects and numbering with copies of these objects, their
    // scale and unit text (also as the print copies) and, when there are
    // any, these counter styles. Returns 1.
    int CloneObjectsFrom(const ObjectList& objects, const CCounterStyles& styles);
    // Counter styles per kind and colour key (see CCounterStyles).
    void SetCounterStyle(ColourRef colourKey, int nextNumber, int size, int type);
    CounterNumbering GetCounterStyle(int type, ColourRef colourKey) const;
    // A new counter takes the next number of its kind in the current counter
    // colour key; a counter about to be deleted gives its number back.
    void NumberCounter(CCL_Count& counter);
    void UnnumberCounter(const CCL_Count& counter);
    const ObjectTypeCounters& GetTypeCounters() const { return typeCounters_; }
    std::vector<CCLObject*>& GetSelection() { return selection_; }
    const CPicture* GetPicture() const { return picture_.get(); }
    // The picture's counting engine; null while no picture is loaded.
    CIMGCount* GetCounter() { return counter_.get(); }
    // The composed frame before it reaches the window.
    const CMemoryDC* GetBackBuffer() const { return canvas_.BackBuffer(); }
    CImageCanvas& GetCanvas() { return canvas_; }
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
    // Ends a rubber band and abandons an object in progress; otherwise opens
    // the right-click menu at the cursor (image_controller_menu.cpp).
    virtual void ShowContextMenu(int x, int y, int flags);
    // The mouse cursor of the current mode (image_controller_input.cpp),
    // with the view's drawing cursor style (0 arrow, 1 cross) given first.
    void SetCursorStyle(int style) { cursorStyle_ = style; }
    int SetModeCursor();
    // The view's key pre-translation: a key-down message while Ctrl is held
    // goes to the key handler and gives 1; any other key-down clears the Ctrl
    // flag. Other messages give 0.
    int FilterKey(const MSG& message);
    int IsCtrlHeld() const { return ctrlHeld_; }
    // The last mouse point in picture pixels, truncated.
    TrackPoint GetPicturePoint() const;
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
    // Crop (image_controller_crop.cpp): the command turns crop mode off when
    // it is on, else ends every other mode and turns it on for a picture
    // with pixels. In crop mode the rubber band released over more than one
    // picture pixel each way crops the picture to it (the objects keep
    // their place on the picture) as one undoable step, and crop mode ends.
    void ToggleCropMode();
    void CropToBand();

    const ToolInteraction& GetInteraction() const { return ui_; }
    CCL_Scale& GetCalibrationLine() const { return prototypes_.CalibrationLine(); }
    // The arrow the arrow tool places next, which the arrow panel edits.
    CCLArrow& GetArrowPrototype() const;
    // Given by the view after construction: the history names its folder
    // after the sequence number; the picture kind is what a document stores.
    void SetSequenceNumber(int number) { sequenceNumber_ = number; }
    int GetSequenceNumber() const { return sequenceNumber_; }
    void SetPictureKind(int kind) { model_.pictureKind = kind; }
    int GetPictureKind() const { return model_.pictureKind; }
    CHistoryStore& GetHistoryStore() { return history_; }
    // What the objects of opened documents and restored history steps are
    // made by; CreateObjectForTag unless set.
    void SetObjectFactory(ObjectFactory makeObject) { model_.SetObjectFactory(makeObject); }
    const std::filesystem::path& GetPicturePath() const { return picturePath_; }

    // Undo and redo (image_controller_history.cpp). PushHistory is called
    // after every change to the objects, the picture or the counting state,
    // with the HistoryAction of the change; it records the new state as a
    // step and tells the host that the history changed.
    virtual void PushHistory(int action);
    void RestoreHistory(int index);
    void Undo();
    void Redo();

    // Drawing documents (image_controller_document.cpp). Failures are
    // returned for the caller to tell the user; a failed load leaves the
    // controller as it was, a failed save leaves the file as it was.
    virtual DocumentStatus LoadDrawingFile(const std::filesystem::path& path);
    virtual DocumentStatus SaveDrawingFile(const std::filesystem::path& path);
    bool IsDocument() const { return model_.isDocument != 0; }
    const std::filesystem::path& GetDocumentPath() const { return model_.documentPath; }

    // Current style given to objects when drawn: the model's, by the names
    // the view uses.
    float& scale = model_.style.scale;
    std::u16string& unitText = model_.style.unitText;
    std::int32_t& decimals = model_.style.decimals;
    int markColour = 255;
    // Whether counting marks are painted thick (the engine's outline flag).
    int outlineShown = 0;

    // Settings (Config.ini through the settings helper). LoadSettings reads
    // the drawing style, the label font and the print settings; SaveSettings
    // writes them back after a setting dialog changed one.
    void LoadSettings();
    void SaveSettings();
    CIniFile& GetSettingsFile() { return settings_; }

    // Deletes the picture file and, for a picture from a drawing document,
    // the document too. 1 when every file existed and was deleted; 0 when a
    // file was missing or could not be deleted (the others are still tried).
    int DeletePictureFiles();
    // The picture-information box through the host: the path, the size in
    // pixels and the file's size in KB. Nothing without window, picture or
    // host.
    void ShowImageInfo();
    void SetDocumentPath(const std::filesystem::path& path, int fromDocument) {
        model_.documentPath = path;
        model_.isDocument = fromDocument;
    }

    // Counting grid: cell size from the calibration the host says is chosen
    // in the main frame, and its lines over the picture.
    virtual void DrawCountingGrid(int unused);
    virtual void LoadCalibration();
    // The calibrations' file, "scale.ini" beside the program unless set.
    void SetScaleIniPath(std::wstring path) { scaleIniPath_ = std::move(path); }
    void ShowCountingGrid(int shown) { gridShown_ = shown; }
    float GetGridCellWidth() const { return gridCellWidth_; }
    float GetGridCellHeight() const { return gridCellHeight_; }
    COLORREF GetGridColour() const { return gridColour_; }

    // The measuring ruler drawn over the picture after the objects and the
    // grid; null draws none. The view owns it.
    virtual void SetRulerOverlay(CRulerOverlay* overlay) { rulerOverlay_ = overlay; }
    CRulerOverlay* GetRulerOverlay() const { return rulerOverlay_; }

    // Shows the picture at its calibrated physical size times the
    // magnification; the scale and unit text become the controller's.
    void ShowAtPrintSize(int magnification, float scale, const std::u16string& unit);

    // Every object and the controller take the scale and unit text.
    void SetCalibration(float newScale, const std::u16string& unit);
    // A stored calibration the user chose: applied and kept as the one the
    // unit switch converts. Nothing without owner window.
    void ApplyStoredCalibration(float newScale, const std::u16string& unit);
    // Steps the displayed unit ("μm", "mm", "cm", "inch", "mil", "uin", then
    // "μm" again; any other unit becomes "μm") and applies the calibration
    // last confirmed, converted into it. Nothing without owner window.
    void CycleUnit();
    const std::u16string& GetDisplayedUnit() const { return model_.displayedUnit; }
    // The user confirmed a calibration line (its length, in view pixels at
    // the current zoom, is the line's length result): the host asks for the
    // calibration of the length in picture pixels; a confirmed one is
    // applied and kept, the line released and the host told. Returns 1 when
    // a calibration was confirmed.
    int ConfirmCalibrationLine(const CCLObject& line);
    // The picture size the calibration dialog is given.
    virtual void GetCalibrationPictureSize(int& width, int& height) const;
    void SetCalibrationLineShown(int shown) { ui_.calibrationShown = shown; }
    float GetCalibrationScale() const { return model_.calibrationScale; }
    const std::u16string& GetCalibrationUnit() const { return model_.calibrationUnit; }

    // The style commands (image_controller_style.cpp); none does anything
    // without owner window. With objects selected, the drawing colour, font,
    // line width and label mode go to the selected objects as one history
    // step; without, they become the style of new objects and are saved.
    // The selected colour, label box and label box colour always go to every
    // object and become the style.
    void ApplyStyle(CCLObject& object) const { model_.ApplyStyle(object); }
    void SetDrawColor(COLORREF colour);
    void SetSelectColor(COLORREF colour);
    void SetLabelFont(LOGFONTW font);
    void SetLineWidth(int width);
    // Label mode 0 name and values, 1 name only, 2 nothing, 3 values only;
    // without a selection every object takes it too.
    void SetLabelMode(int mode);
    void ToggleLabelBox();
    void SetLabelBoxColor(COLORREF colour);

    // The picture operations (image_controller_filters.cpp), run on the
    // picture by the filter target; one that changed it repaints and is a
    // history step of its kind. Nothing without owner window, picture or
    // target.
    void SetFilterCommands(IImageFilterCommands* filters) { filters_ = filters; }
    void Blur();
    void Sharpen();
    void Emboss();
    void Mirror();
    void Negative();
    void EdgeDetect();
    void Rotate();
    void HueSaturation();
    void AdjustRGB();

    // The counting dialogs (image_controller_counting.cpp), each on the
    // picture's engine. Nothing without owner window, picture, engine or
    // dialogs. A confirmed manual count or region is a history step.
    void SetCountingDialogs(ICountingDialogs* dialogs) { countingDialogs_ = dialogs; }
    void ManualCount();
    void SetCountRegion();
    void ShowCountResults();

    // Counting edits (image_controller_count_edits.cpp) on the picture's
    // engine; nothing without owner window, picture or engine. Points are
    // track points. An edit that found or changed nothing is no history
    // step.
    // The mouse's counting mode (CountEditMode), pen size and erase flag;
    // drawing, selecting and any drag in progress end.
    void SetCountEditMode(int mode, int penSize, int erase);
    const CountEditState& GetCountEditState() const { return countEdit_; }
    void DetectEdges();
    void DetectEdgesAtPoint(int x, int y);
    void SetCountColor(COLORREF colour);
    void ShowOutline(int shown);
    void FillHoles();
    void EditObjectPixels(int x, int y);
    void EndPixelEdit();
    void EraseObjectAtPoint(int x, int y);
    void CutObjectsByLine(int x1, int y1, int x2, int y2);
    // The cut line from the press to the current point on the window,
    // inverting, the line drawn before erased.
    void DrawCutLine();

    // Rendering (image_controller_render.cpp). Writes the picture with its
    // objects drawn in at `zoom` (the objects deselected first) as a 24-bit
    // picture of `imageType` (1 BMP, 2 JPEG, 3 TIFF, 4 PNG). Returns 1 when
    // the file was written, 0 otherwise (no owner window or picture, an empty
    // size, or a failed write).
    int SaveRenderedImage(const std::filesystem::path& path, int imageType, float zoom);
    // Draws the objects, at the file's own size, into the picture file at
    // `path` of `format` and writes it back as 24 bits. 1 when written.
    virtual int RenderToImage(const std::filesystem::path& path, int format);
    // Prints the picture with its visible objects at its calibrated size
    // (CCalibratedPrint); nothing without printer, window or picture.
    void PrintCalibrated(HDC printer);
    CCalibratedPrint& GetPrinting() { return printing_; }

    // The floating piece cut, pasted or lifted over the picture.
    CFloatingPiece& Floating() { return floating_; }
    const CFloatingPiece& Floating() const { return floating_; }
    // Region selection (image_controller_region.cpp): while it is on, a band
    // dragged on the picture becomes the floating piece and Ctrl+A, Ctrl+C,
    // Ctrl+V and Ctrl+X lift the whole picture, copy, paste and cut. Choosing
    // a tool, cancelling and closing the picture end it.
    void SetRegionSelect(int on);
    int IsRegionSelect() const { return ui_.regionSelect; }
    // The paste command: a clipboard bitmap becomes the floating piece and
    // region selection starts. 1 when pasted.
    int PastePicture();

    // The measurement data bar, when the frame has one: told of each object
    // drawn and refilled after deletions.
    void SetWorkspaceBar(IWorkspaceBar* bar) { workspaceBar_ = bar; }
    void NotifyObjectAdded(const CCLObject& object);
    void RefreshWorkspaceBar();

    // The installed spreadsheet program's version, "11.0" unless the one
    // query of the process answered.
    virtual std::wstring GetExcelVersion();

    // Office exports (image_controller_export.cpp): the picture as drawn and
    // the measurements into a workbook or a document in the export folder.
    // The picture goes through a file of our own in the controller's
    // history folder, removed afterwards. Nothing without a window, a
    // picture or the exports.
    void SetOfficeExports(IOfficeExports* exports) { officeExports_ = exports; }
    // The Word export's template, chosen by the view's command.
    void SetWordTemplate(int number, bool use) {
        wordTemplateNumber_ = number;
        useWordTemplate_ = use;
    }
    virtual void ExportExcel();
    virtual void ExportWord();

    // Current style given to new objects (with scale, unitText and decimals).
    std::int32_t& labelBoxShown = model_.style.labelBoxShown;
    ColourRef& drawColour = model_.style.drawColour;
    ColourRef& selectedColour = model_.style.selectedColour;
    ColourRef& labelBoxColour = model_.style.labelBoxColour;
    std::int32_t& penStyle = model_.style.penStyle;
    std::int32_t& lineWidth = model_.style.lineWidth;
    LogFont& labelFont = model_.style.labelFont;
    std::int32_t& labelMode = model_.style.labelMode;
    int thOption = 0;  // loaded and saved, not used here
    // Print copies of the style and the magnification.
    std::u16string& printUnitText = printing_.unitText;
    float& printScale = printing_.scale;
    int& printMagnification = printing_.magnification;
    // Colour that selects the counter style of new counters.
    std::int32_t& counterColourKey = model_.counterColourKey;
    // What the scale-bar tool takes over.
    struct ScaleBarSettings {
        float value = 50.0f;
        int thickness = 1;
        std::u16string unitText = u"μm";
        int background = 1;
        COLORREF colour = 0;
    };
    ScaleBarSettings scaleBar;

protected:
    // What the right-click menu is built from.
    virtual ContextMenuFacts GatherMenuFacts() const;
    // Gives each object the controller's scale, unit and decimals and draws it.
    ObjectPainter StylePainter();
    // Where a tool step draws (null: nowhere yet) and the offset its objects
    // are drawn with; what a step draws after the tool's own track.
    virtual CMemoryDC* ToolBuffer();
    virtual TrackPoint ToolOffset() const;
    virtual void FinishToolFrame(CMemoryDC& back);
    // The visible objects at `zoom`, shifted by the offset (picture pixels
    // at that zoom).
    void DrawObjectList(CDC& dc, float zoom, int offsetX, int offsetY);

private:
    static float ClampedZoom(float zoom);
    void RebuildBuffers() { canvas_.Rebuild(picture_.get()); }
    void ApplyZoom(float zoom);
    void PushFirstStep();

    // Short names for the model's parts.
    std::unique_ptr<CPicture>& picture_ = model_.PictureHolder();
    ObjectList& objects_ = model_.Objects();
    std::vector<CCLObject*>& selection_ = model_.Selection();
    CCounterStyles& counterStyles_ = model_.CounterStyles();
    ObjectTypeCounters& typeCounters_ = model_.TypeCounters();
    CHistoryStore& history_ = model_.History();

    // Short names for the canvas's placement.
    float& zoom_ = canvas_.Placement().zoom;
    int& zoomedWidth_ = canvas_.Placement().zoomedWidth;
    int& zoomedHeight_ = canvas_.Placement().zoomedHeight;
    int& centreX_ = canvas_.Placement().centreX;
    int& centreY_ = canvas_.Placement().centreY;
    int& scrollX_ = canvas_.Placement().scrollX;
    int& scrollY_ = canvas_.Placement().scrollY;

    HWND owner_ = nullptr;
    std::filesystem::path picturePath_;
    int loadPending_ = 1;
    int redrawPicture_ = 0;
    std::unique_ptr<CIMGCount> counter_;
    ToolInteraction ui_;
    CToolPrototypes prototypes_;

    WindowPlacement GetWindowPlacement() const;
    // The picture drawn 1:1 on a DIB section, `paint` over it, and the
    // result back into the picture. False when the bitmap could not be made.
    bool RepaintPicture(const std::function<void(CDC& dc)>& paint);

    // IFloatingPieceHost (image_controller_floating.cpp).
    HWND PieceWindow() const override;
    CPicture* PiecePicture() override;
    WindowPlacement PiecePlacement() const override;
    ZoomedSize PieceShownSize() const override;
    bool RepaintPiecePicture(const std::function<void(CDC& dc)>& paint) override;
    void PieceShowPicture() override;
    void PieceRecordStep(int action) override;
    bool PieceCtrlHeld() const override;
    CFloatingPiece floating_{*this};
    // Paints a floating piece back into the picture, recording its step.
    void DropFloatingPiece();
    // Drops the piece and leaves region selection.
    void EndRegionSelect();
    // In region selection, the band just released lifts its part of the
    // picture when wider and taller than a pixel; false outside it.
    bool LiftBand();
    // The clipboard keys with Ctrl held in region selection; false for any
    // other key or mode.
    bool OnRegionKey(UINT key);
    // Ends a counting edit mode and any drag of it.
    void EndCountEditMode();

    TrackPoint ToTrackPoint(int x, int y) const;
    void DrawObjects(CDC& dc);
    bool RunFilter(bool (IImageFilterCommands::*filter)(CPicture&), int action);
    // Paints the engine's marks into the picture with the outline flag.
    void PaintCountMarks();
    bool CanEditCount() const { return owner_ != nullptr && picture_ && counter_; }
    // The mouse's counting edit on a press, move and release; false when
    // no counting mode took the press.
    bool PressCountEdit();
    void MoveCountEdit();
    void ReleaseCountEdit();
    // One inverting line from the press point to `to` on the window.
    void InvertCutLine(TrackPoint to);
    CountEditState countEdit_;
    // Asks the host for the text of a text annotation at the current point;
    // false when the user cancelled or there is no host.
    bool AskForText(std::u16string& text) const;
    int sequenceNumber_ = 0;
    int cursorStyle_ = 0;
    int ctrlHeld_ = 0;

    // Settings read once at construction.
    void LoadStartupSettings();
    // Settings, the counter styles of the current colour key and the arrow
    // tool's defaults, for both constructors.
    void SetUpTools();

    CIniFile settings_;
    float gridCellWidth_ = 10.0f;
    float gridCellHeight_ = 10.0f;
    COLORREF gridColour_ = 0xFFFFFF;
    int gridShown_ = 0;
    CRulerOverlay* rulerOverlay_ = nullptr;
    std::wstring scaleIniPath_ = ScaleIniPath();
    IImageControllerHost* host_ = nullptr;
    IImageFilterCommands* filters_ = nullptr;
    ICountingDialogs* countingDialogs_ = nullptr;
    IWorkspaceBar* workspaceBar_ = nullptr;

protected:
    IOfficeExports* officeExports_ = nullptr;
    int wordTemplateNumber_ = 1;
    bool useWordTemplate_ = false;
    // A folder of this controller's for the export's picture file.
    std::filesystem::path ExportScratchFolder();
    static LocalTime LocalNow();
};
