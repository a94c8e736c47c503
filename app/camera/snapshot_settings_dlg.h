#pragma once
// `CSnapshotSettingsDlg` (dialog 151): the picture format and naming of
// snapshots and the fixed snapshot resolution. The caller reads the format
// choice (0 BMP, 1 JPEG, 2 TIFF; -1 none), the naming choice (0 automatic,
// 1 user names; -1 none) and the snapshot size after OK.
#include <windows.h>

#include <span>

#include "camera_device.h"
#include "dialog.h"

class CSnapshotSettingsDlg : public CDialog {
public:
    // imageType as the camera keeps it (1 BMP, 2 JPEG, 3 TIFF), nameType 0 or 1.
    CSnapshotSettingsDlg(int imageType, int nameType, HWND parent = nullptr);

    void SetSnapshotSize(const CameraResolution& size) { m_size = size; }
    // The records stay the caller's and must outlive the dialog.
    void SetResolutionList(std::span<const CameraResolution> list) { m_list = list; }

    int GetImageTypeChoice() const { return m_imageChoice; }
    int GetNameTypeChoice() const { return m_nameChoice; }
    const CameraResolution& GetSnapshotSize() const { return m_size; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    int m_imageChoice;
    int m_nameChoice;
    CameraResolution m_size;
    std::span<const CameraResolution> m_list;
};
