// The camera settings the video toolbar and menu switch: each is a camera
// call or the crosshair dialog while the video is open (the snapshot
// settings and the compressor choice in any state).
#include "cross_line_dlg.h"
#include "mikra_view.h"
#include "resource.h"
#include "snapshot_settings_dlg.h"

void RegisterCameraCommands(CMikraView& view) {
    // While the video is open, with the camera.
    const auto onVideo = [&view](auto action) {
        return [&view, action] {
            CCameraDevice* camera = view.GetCamera();
            if (camera && camera->IsVideoOpen()) {
                action(*camera);
            }
        };
    };
    // An automatic adjustment leaves no parameter file chosen.
    const auto forgetParamFile = [&view](CCameraDevice& camera) {
        if (view.m_frame) {
            view.m_frame->SetParamFileSelection(-1);
        }
        camera.SetParamFileIndex(-1);
    };
    view.OnCommand(ID_VIDEO_AUTO_EXPOSURE, onVideo([forgetParamFile](CCameraDevice& camera) {
                       camera.SetAutoExposure();
                       forgetParamFile(camera);
                   }));
    view.OnCommand(ID_VIDEO_AUTO_WHITE_BALANCE, onVideo([forgetParamFile](CCameraDevice& camera) {
                       camera.SetAutoWhiteBalance();
                       forgetParamFile(camera);
                   }));
    view.OnCommand(ID_VIDEO_RULER_SETTINGS, [&view] { view.ShowRulerSettings(); });
    view.OnCommand(ID_VIDEO_CROSS_LINE, onVideo([](CCameraDevice& camera) {
                       const CameraFrameSize frame = camera.GetVideoSize();
                       camera.EnableCrossLine(camera.GetCrossLineEnabled() ? 0 : 1, frame.width / 2, frame.height / 2);
                   }));
    view.OnCommand(ID_VIDEO_CROSS_LINE_SETTINGS, onVideo([&view](CCameraDevice& camera) {
                       CCrossLineDlg dialog(&camera, view.m_hWnd);
                       dialog.DoModal();
                   }));
    // The dialog may save or delete parameter files and choose one; the
    // combo lists the folder again and shows the choice.
    view.OnCommand(ID_VIDEO_PARAMETERS, onVideo([&view](CCameraDevice& camera) {
                       camera.ShowVideoParams();
                       if (view.m_frame) {
                           view.m_frame->RefillParamFiles();
                           view.m_frame->SetParamFileSelection(camera.GetParamFileIndex());
                       }
                   }));
    view.OnCommand(ID_VIDEO_BLACK_WHITE, onVideo([](CCameraDevice& camera) { camera.SetBW(camera.GetBW() ? 0 : 1); }));
    view.OnCommand(ID_VIDEO_BAD_PIXEL_CORRECTION, onVideo([](CCameraDevice& camera) { camera.SetFinBadPNT(1); }));
    view.OnCommand(ID_VIDEO_LIGHT_AVERAGE,
                   onVideo([](CCameraDevice& camera) { camera.SetLightAVG(camera.GetLightAVG() ? 0 : 1); }));
    view.OnCommand(ID_VIDEO_SHARPEN,
                   onVideo([](CCameraDevice& camera) { camera.SetClearView(camera.GetClearView() ? 0 : 1); }));
    view.OnCommand(ID_VIDEO_CROP_ZOOM,
                   onVideo([](CCameraDevice& camera) { camera.SetVideoZoom(camera.GetVideoZoom() ? 0 : 1); }));
    view.OnCommand(ID_VIDEO_EXPOSURE_LINES, onVideo([](CCameraDevice& camera) { camera.SetExposureUnit(0); }));
    view.OnCommand(ID_VIDEO_EXPOSURE_TIME, onVideo([](CCameraDevice& camera) { camera.SetExposureUnit(1); }));
    view.OnCommand(ID_VIDEO_SNAPSHOT_SETTINGS, [&view] {
        CCameraDevice* camera = view.GetCamera();
        if (!camera) {
            return;
        }
        CSnapshotSettingsDlg dialog(camera->GetImageType(), camera->GetNameType(), view.m_hWnd);
        dialog.SetSnapshotSize(camera->GetSnapshotSizeSetting());
        dialog.SetResolutionList(camera->GetResolutionList());
        if (dialog.DoModal() != IDOK) {
            return;
        }
        // Choices 0, 1, 2 are the camera's types 1, 2, 3; no choice keeps the type.
        if (dialog.GetImageTypeChoice() >= 0) {
            camera->SetImageType(dialog.GetImageTypeChoice() + 1);
        }
        if (dialog.GetNameTypeChoice() >= 0) {
            camera->SetNameType(dialog.GetNameTypeChoice());
        }
        const CameraResolution& size = dialog.GetSnapshotSize();
        camera->SaveSnapshotSize(size.label, size.width, size.height);
    });
    view.OnCommand(ID_VIDEO_COMPRESSOR, [&view] {
        if (CCameraDevice* camera = view.GetCamera()) {
            camera->SelectAviCompressor();
        }
    });
}
