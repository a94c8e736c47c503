#pragma once
// `CCameraParamPage`: the GigE dialog's "高级选项" page: flip, colour, speed,
// zoom, valid bits, exposure level, HDR, watchdog, packet delay and size,
// correction, each acting at once through KQGEu with the camera index first
// or through the camera object; `Restore` puts back what the page found.
#include "camera_device.h"
#include "dialog.h"
#include "gige_video_params.h"
#include "param_choices.h"

class CCameraParamPage : public CDialog {
public:
    CCameraParamPage(GigeVideoParams& params, CCameraDevice& camera);
    void Restore();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    int SendColourMode(int mode);
    void SendPacketDelay();
    void SendPacketSize();
    int EditValue(int id) const;

    GigeVideoParams& m_params;
    const GigeVideoParams m_found;
    CCameraDevice& m_camera;
    ChoiceControls m_choices;
};
