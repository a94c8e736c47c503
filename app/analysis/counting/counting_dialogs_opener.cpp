#include "counting_dialogs_opener.h"

#include "count_region_dlg.h"
#include "count_result_dlg.h"
#include "manual_count_dlg.h"

bool CCountingDialogsOpener::ManualCount(CImageController& controller, CIMGCount& engine, CPicture& picture,
                                         std::unique_ptr<CPicture> copy) {
    CManualCountDlg dialog(m_parent);
    dialog.m_pEngine = &engine;
    dialog.m_pPicture = &picture;
    dialog.m_pCopy = std::move(copy);
    dialog.m_pController = &controller;
    return dialog.DoModal() == IDOK;
}

bool CCountingDialogsOpener::ChooseCountRegion(CIMGCount& engine, CountRegionChoice& choice) {
    CCountRegionDlg dialog(&engine, m_parent);
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    choice = CountRegionChoice{dialog.m_nMode == 1, dialog.m_nX, dialog.m_nY, dialog.m_nW, dialog.m_nH};
    return true;
}

void CCountingDialogsOpener::ShowCountResults(CIMGCount& engine, int width, int height,
                                              const CountCalibration& calibration) {
    CCountResultDlg dialog(m_parent);
    dialog.SetImageSize(width, height);
    dialog.SetCounter(&engine);
    dialog.SetReportWriter(m_reportWriter);
    dialog.SetSource(calibration.scale, calibration.decimals,
                     std::wstring(calibration.unit.begin(), calibration.unit.end()));
    dialog.DoModal();
}
