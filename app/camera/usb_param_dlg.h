#pragma once
// The video-parameter dialog of the USB CMOS (`CCMOSParamDlg`, dialog 239)
// and CCD (`CCCDParamDlg`, dialog 244) cameras: the adjustment and advanced
// pages on a tab control, acting at once on the library. OK reads the
// capture record back into the camera's values; Cancel restores what the
// pages found; the preset button opens the presets dialog with what the
// library holds now. Without a device handle the dialog ends at once with
// IDCANCEL, so the camera takes nothing back.
#include <optional>

#include "camera_device.h"
#include "param_tab_dlg.h"
#include "usb_mode_page.h"
#include "usb_param_calls.h"
#include "usb_video_page.h"
#include "usb_video_params.h"

class CUsbParamDlg : public CParamTabDlg {
public:
    // params: the camera's values, updated while the dialog runs.
    CUsbParamDlg(UsbVideoParams& params, UsbParamCalls calls, CCameraDevice& camera, HWND parent);

    // The presets dialog's choice, none when it was not opened.
    std::optional<int> ChosenParamFile() const { return m_chosenParamFile; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    void OpenPresets();

    UsbVideoParams& m_params;
    const UsbParamCalls m_calls;
    CUsbVideoPage m_videoPage;
    CUsbModePage m_modePage;
    std::optional<int> m_chosenParamFile;
};

class CCMOSParamDlg : public CUsbParamDlg {
public:
    CCMOSParamDlg(UsbVideoParams& params, CCameraDevice& camera, HWND parent)
        : CUsbParamDlg(params, CmosParamCalls(), camera, parent) {}
};

class CCCDParamDlg : public CUsbParamDlg {
public:
    CCCDParamDlg(UsbVideoParams& params, CCameraDevice& camera, HWND parent)
        : CUsbParamDlg(params, CcdParamCalls(), camera, parent) {}
};
