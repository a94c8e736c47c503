#pragma once
// `CVideoParamDlg`: the GigE camera's video-parameter dialog, its two pages
// on a tab control. OK keeps what the pages set and reads the exposure
// back; Cancel restores what the pages found; the preset button opens the
// presets dialog with the camera's values and keeps its choice.
#include <optional>

#include "camera_device.h"
#include "gige_camera_page.h"
#include "gige_video_page.h"
#include "gige_video_params.h"
#include "param_tab_dlg.h"

class CVideoParamDlg : public CParamTabDlg {
public:
    // params: the camera's values, updated while the dialog runs.
    CVideoParamDlg(GigeVideoParams& params, CCameraDevice& camera, HWND parent = nullptr);

    // The presets dialog's choice, none when it was not opened.
    std::optional<int> ChosenParamFile() const { return m_chosenParamFile; }

protected:
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    void OpenPresets();

    GigeVideoParams& m_params;
    CVideoParamPage m_videoPage;
    CCameraParamPage m_cameraPage;
    std::optional<int> m_chosenParamFile;
};
