#pragma once
// The picture operations of the picture menu, carried out in place on the
// picture the image controller hands over. The rotation and the two colour
// adjustments ask the user first, in modal dialogs owned by the owner
// window (the main frame); cancelling any of them changes nothing and
// returns false.
#include <windows.h>

#include "image_filter_commands.h"

class CImageFilterCommands : public IImageFilterCommands {
public:
    explicit CImageFilterCommands(HWND owner = nullptr) : m_owner(owner) {}
    void SetOwnerWindow(HWND owner) { m_owner = owner; }

    // 3 x 3 kernel 1 1 1 / 1 8 1 / 1 1 1 over 16.
    bool Blur(CPicture& picture) override;
    // Unsharp mask of radius 5, amount 0.5, threshold 0.
    bool Sharpen(CPicture& picture) override;
    bool Emboss(CPicture& picture) override;
    // Left-right.
    bool Mirror(CPicture& picture) override;
    bool Negative(CPicture& picture) override;
    // Black edges on white (edge_drawing.h).
    bool EdgeDetect(CPicture& picture) override;
    // "90" clockwise, "180", "270" counter-clockwise.
    bool Rotate(CPicture& picture) override;
    bool HueSaturation(CPicture& picture) override;
    bool AdjustRGB(CPicture& picture) override;

private:
    HWND m_owner;
};
