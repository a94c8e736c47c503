#pragma once
// `CUVCVideoParamDlg` (dialog 262): the UVC camera's colour mode (stream
// format) and its library's own property page. A new colour mode goes to
// the library at once, so Cancel does not take it back; the caller compares
// the chosen mode with the one it started with.
#include <windows.h>

#include "camera_device.h"
#include "dialog.h"

class CUVCVideoParamDlg : public CDialog {
public:
    explicit CUVCVideoParamDlg(HWND parent = nullptr);

    void SetOwnerCamera(CCameraDevice* camera) { m_camera = camera; }
    // Sets the current and the initial colour mode.
    void SetColorModeIndex(int mode) { m_colourMode = m_initialColourMode = mode; }
    void SetDeviceHandle(HANDLE device) { m_device = device; }

    int GetColorModeIndex() const { return m_colourMode; }
    int GetInitialColorModeIndex() const { return m_initialColourMode; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    CCameraDevice* m_camera = nullptr;
    int m_colourMode = 0;
    int m_initialColourMode = 0;
    HANDLE m_device = nullptr;
};
