#include "popup_geometry.h"

#include <cstdlib>

namespace popup {

Handle HitTest(int width, int height, int x, int y) {
    const bool nearLeft = x < kBorderZone;
    const bool nearTop = y < kBorderZone;
    const bool nearRight = x >= width - kBorderZone;
    const bool nearBottom = y >= height - kBorderZone;
    if (!(nearLeft || nearTop || nearRight || nearBottom)) {
        return kNone;
    }
    const bool middleX = std::abs(x - width / 2) <= 2;
    const bool middleY = std::abs(y - height / 2) <= 2;
    if (nearLeft && nearTop) {
        return kTopLeft;
    }
    if (middleX && nearTop) {
        return kTop;
    }
    if (nearRight && y < 3) {
        return kTopRight;
    }
    if (middleY && nearRight) {
        return kRight;
    }
    if (nearRight && nearBottom) {
        return kBottomRight;
    }
    if (middleX && nearBottom) {
        return kBottom;
    }
    if (nearLeft && nearBottom) {
        return kBottomLeft;
    }
    if (middleY) {
        return kLeft;
    }
    return kNone;
}

int CursorFor(Handle handle) {
    switch (handle) {
    case kTopLeft:
    case kBottomRight: return 173;
    case kTop:
    case kBottom: return 175;
    case kTopRight:
    case kBottomLeft: return 172;
    case kRight:
    case kLeft: return 174;
    case kNone: break;
    }
    return 171;
}

bool ResizeStep(Box& box, Handle handle, int dx, int dy) {
    bool pinned = false;
    const bool moveLeft = handle == kTopLeft || handle == kBottomLeft || handle == kLeft;
    const bool moveTop = handle == kTopLeft || handle == kTop || handle == kTopRight;
    const bool moveRight = handle == kTopRight || handle == kRight || handle == kBottomRight;
    const bool moveBottom = handle == kBottomRight || handle == kBottom || handle == kBottomLeft;
    if (moveLeft) {
        box.left += dx;
        if (box.left >= box.right) {
            box.left = box.right - 1;
            pinned = true;
        }
    }
    if (moveRight) {
        box.right += dx;
        if (box.right <= box.left) {
            box.right = box.left + 1;
            pinned = true;
        }
    }
    if (moveTop) {
        box.top += dy;
        if (box.top >= box.bottom) {
            box.top = box.bottom - 1;
            pinned = true;
        }
    }
    if (moveBottom) {
        box.bottom += dy;
        if (box.bottom <= box.top) {
            box.bottom = box.top + 1;
            pinned = true;
        }
    }
    return pinned;
}

void HandleSquares(int width, int height, HandleSquare (&squares)[8]) {
    const int midX = static_cast<int>(static_cast<double>(width) / 2 - 1.5);
    const int midY = static_cast<int>(static_cast<double>(height) / 2 - 1.5);
    const int right = width - 3;
    const int bottom = height - 3;
    squares[0] = {0, 0};
    squares[1] = {midX, 0};
    squares[2] = {right, 0};
    squares[3] = {right, midY};
    squares[4] = {right, bottom};
    squares[5] = {midX, bottom};
    squares[6] = {0, bottom};
    squares[7] = {0, midY};
}

}  // namespace popup
