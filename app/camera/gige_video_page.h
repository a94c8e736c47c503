#pragma once
// `CVideoParamPage`: the GigE dialog's "参数调节" page: exposure, contrast,
// gains, offsets, crosshair, saturation and sharpness, each acting at once
// through KQGEu with the camera index first; `Restore` puts back what the
// page found when it opened.
#include "gige_video_params.h"
#include "slider_page.h"

class CVideoParamPage : public CSliderPage {
public:
    CVideoParamPage(GigeVideoParams& params, CCameraDevice& camera);
    void Restore();

protected:
    BOOL OnInitDialog() override;

private:
    GigeVideoParams& m_params;
    GigeVideoParams m_found;
};
