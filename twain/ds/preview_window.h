#pragma once
// `CPreviewWindow`: the child of the settings dialog the device draws its
// live picture into; its scroll bars pan the picture through the device.

#include <windows.h>

#include "ctwain.h"

namespace twain::ds {

class CPreviewWindow {
public:
    static constexpr int kChildId = 0x55AAAA55;
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    // Placed 10 pixels inside the top-left corner of the dialog's frame control.
    CPreviewWindow(HINSTANCE instance, HWND dialog, int frameControl, CTWAIN& device, int pictureWidth,
                   int pictureHeight);
    ~CPreviewWindow();
    CPreviewWindow(const CPreviewWindow&) = delete;
    CPreviewWindow& operator=(const CPreviewWindow&) = delete;

    HWND Handle() const { return window_; }
    void SetPictureSize(int width, int height) {
        pictureWidth_ = width;
        pictureHeight_ = height;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    CTWAIN& device_;
    int pictureWidth_;
    int pictureHeight_;
    HWND window_ = nullptr;
};

}  // namespace twain::ds
