#pragma once
// `CVideoParamDlg`: the GigE camera's video-parameter dialog, its two pages
// on a tab control. OK keeps what the pages set and reads the exposure
// back; Cancel restores what the pages found; the preset button opens the
// presets dialog with the camera's values and keeps its choice.
#include <optional>

#include "camera_device.h"
#include "dialog.h"
#include "gige_param_pages.h"
#include "gige_video_params.h"
#include "work_tab_ctrl.h"

class CVideoParamDlg : public CDialog {
public:
    // params: the camera's values, updated while the dialog runs.
    CVideoParamDlg(GigeVideoParams& params, CCameraDevice& camera, HWND parent = nullptr);

    // The presets dialog's choice, none when it was not opened.
    std::optional<int> ChosenParamFile() const { return m_chosenParamFile; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowPage(int index);
    void OpenPresets();

    GigeVideoParams& m_params;
    CWorkTabCtrl m_tabs;
    CVideoParamPage m_videoPage;
    CCameraParamPage m_cameraPage;
    std::optional<int> m_chosenParamFile;
};
