#pragma once
// The floating piece: a region cut out of the picture, a bitmap pasted from
// the clipboard or the whole picture lifted, moved and resized in the
// floating picture window over the picture's and painted back when dropped. The image controller owns one
// and answers its questions as its IFloatingPieceHost. Rectangles are in the
// picture window's client pixels. Windows only.
#include <windows.h>

#include <functional>
#include <memory>

#include "dc.h"
#include "floating_geometry.h"
#include "picture.h"
#include "view_geometry.h"

class CImagePopupWnd;

// What the piece needs of the picture it floats over. Held, never owned,
// so no virtual destructor.
class IFloatingPieceHost {
public:
    // The window the picture is shown in; null when none is.
    virtual HWND PieceWindow() const = 0;
    // The picture edited; null when there is none.
    virtual CPicture* PiecePicture() = 0;
    // How the window's pixels map onto the picture, and the picture's size
    // as shown.
    virtual WindowPlacement PiecePlacement() const = 0;
    virtual ZoomedSize PieceShownSize() const = 0;
    // Draws the picture 1:1, `paint` over it, back into the picture; false
    // when that could not be done.
    virtual bool RepaintPiecePicture(const std::function<void(CDC& dc)>& paint) = 0;
    // Shows the picture again after a change.
    virtual void PieceShowPicture() = 0;
    // Records a history step of `action` (a HistoryAction).
    virtual void PieceRecordStep(int action) = 0;
    // Whether the keys arrive with Ctrl held.
    virtual bool PieceCtrlHeld() const = 0;

protected:
    ~IFloatingPieceHost() = default;
};

class CFloatingPiece {
public:
    explicit CFloatingPiece(IFloatingPieceHost& host);
    ~CFloatingPiece();
    CFloatingPiece(const CFloatingPiece&) = delete;
    CFloatingPiece& operator=(const CFloatingPiece&) = delete;

    // The region the user dragged.
    void SetRegionRect(const RECT& region) { regionRect_ = region; }
    // Cuts the region into the floating picture, leaving white: 1, or 0
    // without window or picture or when the region misses the picture.
    int CutRegion();
    // Shows the floating picture in its own window, at `rect` or, when that
    // is empty, over the region: 1, or 0 without window or floating picture.
    int CreateFloating(const RECT& rect);
    // With the wait cursor: CutRegion, then CreateFloating over the region.
    void CutToFloating();
    // Ends the piece, painting it back where its window is when `paintBack`
    // is 1, and records a cut step (paintBack 0) or a paste step (paintBack
    // 1 and the piece moved). 1, or 0 without window or piece.
    int DropFloating(int paintBack);
    // Puts the piece as shown on the clipboard: 1, or 0 without a piece or
    // when the clipboard is busy (the clipboard then untouched).
    int CopyFloatingToClipboard();
    // The copy command: with the wait cursor, CopyFloatingToClipboard.
    int CopyFloating();
    // The cut command: the piece onto the clipboard, then dropped without
    // painting back. The result of the copy.
    int CutFloating();
    // Makes a clipboard bitmap the floating piece: 1, or 0 without window,
    // without a bitmap or when it is larger than a picture may be.
    int Paste();
    // With Ctrl held, the whole picture becomes the piece and the picture
    // white.
    void LiftWholePicture();

    int IsFloating() const { return floating_; }
    const CImagePopupWnd* GetFloatingWindow() const { return window_.get(); }
    const CPicture* GetFloatingPicture() const { return piece_.get(); }
    // Where the piece was cut out; zeros for a pasted or lifted piece.
    const RECT& GetSourceRect() const { return sourceRect_; }

private:
    IFloatingPieceHost& host_;
    RECT regionRect_{0, 0, 0, 0};
    RECT sourceRect_{0, 0, 0, 0};
    int floating_ = 0;
    // Where the piece lies on the picture until its window is moved.
    PictureBox box_;
    // The window is declared after the picture it shows, so it goes first.
    std::unique_ptr<CPicture> piece_;
    std::unique_ptr<CImagePopupWnd> window_;
};
