#pragma once
// The counting dialogs as the image controller asks for them, modal over
// the window the shell names.
#include <windows.h>

#include "count_report.h"
#include "counting_dialogs.h"

class CCountingDialogsOpener final : public ICountingDialogs {
public:
    void SetParentWindow(HWND parent) { m_parent = parent; }
    // What the results dialog writes its Word report with.
    void SetReportWriter(ICountReportWriter* writer) { m_reportWriter = writer; }

    bool ManualCount(CImageController& controller, CIMGCount& engine, CPicture& picture,
                     std::unique_ptr<CPicture> copy) override;
    bool ChooseCountRegion(CIMGCount& engine, CountRegionChoice& choice) override;
    void ShowCountResults(CIMGCount& engine, int width, int height, const CountCalibration& calibration) override;

private:
    HWND m_parent = nullptr;
    ICountReportWriter* m_reportWriter = nullptr;
};
