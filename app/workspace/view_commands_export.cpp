// The view's Office export commands: the current picture goes at once; over
// live measuring the export waits for a snapshot taken for it, which the
// frame hands back with WM_SNAPSHOT_OPEN.
#include "ini_file.h"
#include "mikra_view.h"
#include "resource.h"

void CMikraView::SetOfficeExports(IOfficeExports* exports) {
    m_officeExports = exports;
    m_live->SetOfficeExports(exports);
    for (const std::unique_ptr<CImageController>& controller : m_controllers) {
        controller->SetOfficeExports(exports);
    }
}

void CMikraView::ExportToExcel() {
    if (m_officeExports == nullptr) return;
    if (!IsVideoActive()) {
        m_current->CancelInteraction();
        m_current->ExportExcel();
        return;
    }
    if (!m_camera->IsVideoOpen() || !m_bLiveMeasuring) return;
    if (m_officeExports->Options().excelPicture) {
        m_frame->RequestSnapshotExport(false);
        TakeSnapshot();
    } else {
        m_live->ExportExcel();
    }
}

void CMikraView::ExportToWord(bool useTemplate) {
    if (m_officeExports == nullptr) return;
    constexpr int kViewTemplate = 1;
    if (!IsVideoActive()) {
        m_current->CancelInteraction();
        m_current->SetWordTemplate(kViewTemplate, useTemplate);
        m_current->ExportWord();
        return;
    }
    if (!m_camera->IsVideoOpen() || !m_bLiveMeasuring) return;
    m_live->SetWordTemplate(kViewTemplate, useTemplate);
    m_frame->RequestSnapshotExport(true);
    TakeSnapshot();
}

void RegisterExportCommands(CMikraView& view) {
    view.OnCommand(ID_EXPORT_EXCEL, [&view] { view.ExportToExcel(); });
    view.OnCommand(ID_EXPORT_WORD, [&view] { view.ExportToWord(false); });
    view.OnCommand(ID_EXCEL_EXPORT_SETTINGS, [&view] {
        if (view.m_officeExports != nullptr) view.m_officeExports->ShowExcelSettings();
    });
    view.OnCommand(ID_EXPORT_WORD_TEMPLATE, [&view] {
        // [Option] "ExportWordTemplateDlg" gives the command to the Word
        // template dialog; the template export runs only without it.
        CIniFile settings;
        int dialog = 0;
        settings.GetInt(dialog, L"Option", L"ExportWordTemplateDlg", 0);
        if (dialog == 0) {
            view.ExportToWord(true);
        } else if (view.m_officeExports != nullptr && !view.IsVideoActive()) {
            view.m_officeExports->ShowWordTemplate();
        }
    });
}
