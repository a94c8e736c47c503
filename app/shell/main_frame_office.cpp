// The frame's side of the Office exports: the application's export options
// and folder, the export file list, and snapshots taken for a live export.
#include "main_frame.h"
#include "mikra_app.h"

COfficeExportService::Frame CMainFrame::OfficeExportFrame(CMainFrame& frame) {
    COfficeExportService::Frame side;
    side.options = [] {
        const CMikraApp& app = GetMikraApp();
        OfficeExportOptions options;
        options.excelPicture = app.m_bExportExcelPic != 0;
        options.excelOne = app.m_bExportExcelOne != 0;
        options.excelOneDefault = app.m_bExportExcelOneDefault != 0;
        options.excelOneFile = app.m_strExportExcelOneFile == L"NULL" ? std::wstring() : app.m_strExportExcelOneFile;
        options.wordPictureAutoSize = app.m_bExportWordPicAutoSize != 0;
        return options;
    };
    side.exportFolder = [] { return GetMikraApp().GetFilesFolder(); };
    side.addExportFile = [&frame](const std::wstring& path) { frame.AddExportFile(path); };
    side.storeOptions = [](const OfficeExportOptions& options) {
        CMikraApp& app = GetMikraApp();
        app.m_bExportExcelPic = options.excelPicture ? 1 : 0;
        app.m_bExportExcelOne = options.excelOne ? 1 : 0;
        app.m_bExportExcelOneDefault = options.excelOneDefault ? 1 : 0;
        app.m_strExportExcelOneFile = options.excelOneFile;
    };
    side.parent = [&frame] { return frame.GetSafeHwnd(); };
    side.pictureFolder = [&frame] { return frame.GetPictureFolder(); };
    return side;
}

void CMainFrame::RequestSnapshotExport(bool word) {
    if (word) {
        m_bSnapToWord = 1;
    } else {
        m_bSnapToExcel = 1;
    }
}
