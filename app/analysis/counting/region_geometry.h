#pragma once
// The counting region dialog's arithmetic: how the picture fits its
// preview, how an edited field is held inside the picture, and the region a
// drag on the preview gives. Picture pixels with y from the top.
// Platform-free.

struct PreviewFit {
    float zoom = 1.0f;  // never above 1: a small picture is not enlarged
    int drawnWidth = 0;
    int drawnHeight = 0;
    int offsetX = 0;  // of the drawn picture inside the preview
    int offsetY = 0;
};

PreviewFit FitPicture(int pictureWidth, int pictureHeight, int previewWidth, int previewHeight);

struct RegionRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

enum class RegionField { x, y, width, height };

// After `edited` changed: X or Y held within the picture and the size then
// within what is left of it; a size held within what its corner leaves.
RegionRect ClampEditedRegion(RegionRect region, RegionField edited, int pictureWidth, int pictureHeight);

// The drag from one preview-picture point to another, in picture pixels:
// the normalised rectangle divided by the zoom and rounded.
RegionRect RegionFromDrag(int startX, int startY, int endX, int endY, float zoom);
