#pragma once
// A rectangle in whole pixels, left and top inside, right and bottom
// outside: the one rectangle of the controls' arithmetic.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};
