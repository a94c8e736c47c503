#pragma once
// The advanced page of the USB CMOS (dialog 241, `CCMOSModePage`) and CCD
// (dialog 243, `CCCDModePage`) video-parameter dialogs: flip, colour mode
// (with its HDR rule), exposure level, CMOS colour correction, CCD valid
// bits, light averaging, HDR and the CMOS corrections, each sent to the
// library at once. `Restore` sends back each choice that changed, the
// exposure level included in both families, so the library ends where the
// camera's own record says it is.
#include "dialog.h"
#include "param_choices.h"
#include "usb_param_calls.h"
#include "usb_video_params.h"

class CUsbModePage : public CDialog {
public:
    CUsbModePage(UsbVideoParams& params, const UsbParamCalls& calls);
    void Restore();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    int SendColourMode(int mode);
    int SetColour(int mode);

    UsbVideoParams& m_params;
    const UsbParamCalls& m_calls;
    ChoiceControls m_choices;
};
