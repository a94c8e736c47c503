#pragma once
// The base of every camera family's video page: sliders each with an
// integer edit beside it, the exposure slider that may show its value in
// time units, and the single-cross and continuous-exposure boxes. Moving a
// slider updates its edit and applies the value; typing in an edit clamps
// the number into the range, moves the slider and applies it the same way.
#include <functional>
#include <optional>
#include <vector>

#include "camera_device.h"
#include "cross_lines.h"
#include "dialog.h"
#include "video_param_rules.h"

class CSliderPage : public CDialog {
public:
    // cross, aeLiving: the owner's values, kept current while the page runs.
    CSliderPage(UINT templateId, SingleCross& cross, int& aeLiving, CCameraDevice& camera);

protected:
    // A slider with the integer edit beside it, and what a new value does.
    struct Field {
        int slider;
        int edit;
        IntRange sliderRange;
        IntRange editRange;
        int* value;
        std::function<void(int)> apply;
    };
    // Sets each field's slider range and shows its value.
    void SetFields(std::vector<Field> fields);
    // Exposure in time units (slider, edit and unit label of every video
    // page): `send` hands the camera an exposure and answers the one it took.
    void SetTimedExposure(int& exposure, ExposureRange range, std::function<int(int)> send);
    // The two cross boxes and the continuous-exposure box as handed in.
    void ShowCrossAndExposureBoxes();
    // Sends the camera the cross and continuous exposure found at start.
    void RestoreCrossAndExposure(const SingleCross& cross, int aeLiving);
    void SendCross();

    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    CCameraDevice& m_camera;

private:
    struct TimedExposure {
        int* exposure;
        ExposureRange range;
        std::function<int(int)> send;
    };
    void Show(const Field& field);
    void OnEdited(const Field& field);
    void OnExposureEdited();
    void ShowExposure();
    void SendExposure(int exposure);

    SingleCross& m_cross;
    int& m_aeLiving;
    std::vector<Field> m_fields;
    std::optional<TimedExposure> m_exposure;
    ExposureUnit m_unit = ExposureUnit::microseconds;
    // Set while the page writes an edit, whose EN_CHANGE is not typing.
    bool m_writing = false;
};
