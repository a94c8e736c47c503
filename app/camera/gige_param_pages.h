#pragma once
// The two pages of the GigE video-parameter dialog. Every control acts at
// once on the live camera, through KQGEu with the camera index first and
// through the camera object for the crosshair, the zoom and the automatic
// exposure; `Restore` puts back what the page found when it opened.
#include <functional>
#include <vector>

#include "camera_device.h"
#include "dialog.h"
#include "gige_video_params.h"
#include "video_param_rules.h"

// "参数调节": exposure, contrast, gains, offsets, crosshair, saturation,
// sharpness.
class CVideoParamPage : public CDialog {
public:
    CVideoParamPage(GigeVideoParams& params, CCameraDevice& camera);
    void Restore();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // A slider with the integer edit beside it, and what a new value does.
    struct Field {
        int slider;
        int edit;
        IntRange sliderRange;
        IntRange editRange;
        int* value;
        std::function<void(int)> apply;
    };
    void Show(const Field& field);
    void OnEdited(const Field& field);
    void OnExposureEdited();
    void ShowExposure();
    void SendExposure(int exposure);
    void SendCross();

    GigeVideoParams& m_params;
    GigeVideoParams m_found;
    CCameraDevice& m_camera;
    std::vector<Field> m_fields;
    ExposureUnit m_unit = ExposureUnit::microseconds;
    bool m_writing = false;
};

// "高级选项": flip, colour, speed, zoom, valid bits, exposure level, HDR,
// watchdog, packet delay and size, correction.
class CCameraParamPage : public CDialog {
public:
    CCameraParamPage(GigeVideoParams& params, CCameraDevice& camera);
    void Restore();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    void OnCombo(int id);
    void OnBox(int id);
    void SendPacketDelay();
    void SendPacketSize();
    int EditValue(int id) const;

    GigeVideoParams& m_params;
    const GigeVideoParams m_found;
    CCameraDevice& m_camera;
};
