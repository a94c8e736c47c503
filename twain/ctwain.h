#pragma once
// `CTWAIN`: the device object the TWAIN data source gets from
// KQCMos_TW.dll. One header for both modules, built by the same compiler:
// the data source writes the two window members right after creating the
// object and calls the eight operations through the vtable, in this order.

#include <windows.h>

#include <cstdint>

#include "device/resolution_table.h"

// What CTWAIN::GetFrame fills: the data source describes a bottom-up DIB
// (rows padded to 4 bytes) of copyBytes bytes at data; the device writes
// the frame's height and width.
struct TwainImageRecord {
    std::int32_t height;
    std::int32_t width;
    std::int32_t imageBytes;
    std::int32_t bitsPerPixel;
    std::uint8_t* data;
    std::int32_t copyBytes;
    std::int32_t outputBits;
};

class CTWAIN {
public:
    HWND m_settingsDialog = nullptr;  // receives message 1174
    HWND m_previewWindow = nullptr;   // the live picture and its scroll bars

    virtual void StartPreview(int x, int y, int width, int height) = 0;
    virtual void StopPreview() = 0;
    // 1 and the value (value | range << 16 where the id has a range), or 0
    // for an id it does not answer.
    virtual int GetParam(unsigned int id, int* value) = 0;
    virtual void SetParam(unsigned int id, int value) = 0;
    // The 256 grey entries; returns 256.
    virtual int GetPalette(RGBQUAD* palette) = 0;
    virtual void GetFrame(TwainImageRecord* record) = 0;
    // WM_HSCROLL or WM_VSCROLL of the preview: 1 when the window should run
    // its default processing, 0 when the move was refused or stopped at a
    // limit.
    virtual int OnScroll(HWND window, UINT message, WPARAM wParam, int unused1, int unused2, int unused3) = 0;
    // The capture sizes; the caller copies them. 0 when there are none.
    virtual int GetResolutions(const twain::ResolutionEntry** table, int* count) = 0;

protected:
    CTWAIN() = default;
    // Destroyed only by UnRegsterMVTwain, which knows the real type.
    ~CTWAIN() = default;
    CTWAIN(const CTWAIN&) = delete;
    CTWAIN& operator=(const CTWAIN&) = delete;
};

extern "C" {
// The first camera as a device object with its settings applied, or null
// when no camera opens.
CTWAIN* RegsterMVTwain();
// Saves the settings, closes the camera and destroys the object; null does
// nothing.
void __stdcall UnRegsterMVTwain(CTWAIN* device);
}

using RegsterMVTwainFunction = CTWAIN* (*)();
using UnRegsterMVTwainFunction = void(__stdcall*)(CTWAIN*);
