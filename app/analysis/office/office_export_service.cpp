#include "office_export_service.h"

#include <windows.h>
#include <shellapi.h>

#include "common_dialogs.h"
#include "excel_export_dlg.h"
#include "office_rows.h"
#include "program_folders.h"
#include "prompt_dlg.h"
#include "resource_module.h"
#include "word_template_dlg.h"

void COfficeExportService::ExportExcel(const ObjectList& objects, const CounterStyleList& counters,
                                       const std::filesystem::path& target, const std::filesystem::path& picture) {
    if (!MakeFolder(target.parent_path())) return;
    COfficeExport engine(*this);
    engine.SetObjectList(&objects);
    engine.SetCounterList(&counters);
    engine.ExportExcel(target.wstring(), picture.wstring());
}

void COfficeExportService::ExportWord(const ObjectList& objects, const std::filesystem::path& target,
                                      const std::filesystem::path& picture, float pictureScale, int templateNumber,
                                      bool useTemplate) {
    if (!MakeFolder(target.parent_path())) return;
    COfficeExport engine(*this);
    engine.SetObjectList(&objects);
    engine.SetPictureScale(pictureScale);
    engine.SetTemplate(templateNumber, useTemplate);
    engine.ExportWord(target.wstring(), picture.wstring());
}

bool COfficeExportService::MakeFolder(const std::filesystem::path& folder) {
    return EnsureProgramFolder(frame_.parent ? frame_.parent() : nullptr, folder.wstring());
}

void COfficeExportService::ShowMessage(int stringId) {
    CPromptDlg prompt(Text(stringId), L"Vizcam", 1);
    prompt.DoModal();
}

void COfficeExportService::ExportWritten(const std::filesystem::path& file, bool open) {
    if (frame_.addExportFile) frame_.addExportFile(file.wstring());
    if (open) ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOW);
}

std::wstring COfficeExportService::Text(int stringId) {
    const std::wstring text = LoadResourceString(static_cast<UINT>(stringId));
    return text.empty() ? OfficeFallbackText(stringId) : text;
}

void COfficeExportService::ShowExcelSettings() {
    OfficeExportOptions options = Options();
    CSystemDialogs dialogs;
    const auto browse = [&dialogs](HWND owner) -> std::optional<std::wstring> {
        const FileSelection chosen =
            dialogs.OpenFiles(owner, {CExcelExportDlg::kBrowseFilter, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L""});
        if (chosen.paths.empty()) return std::nullopt;
        return chosen.paths.front();
    };
    CExcelExportDlg dialog(options, browse, frame_.parent ? frame_.parent() : nullptr);
    if (dialog.DoModal() == IDOK && frame_.storeOptions) frame_.storeOptions(options);
}

void COfficeExportService::ShowWordTemplate() {
    CPictureFileDialogs pictures(frame_.pictureFolder ? frame_.pictureFolder() : std::wstring());
    const auto folder = [this]() -> std::optional<std::wstring> {
        const std::wstring made = ExportFolder().wstring();
        if (!MakeFolder(made)) return std::nullopt;
        return made;
    };
    CWordTemplateDlg dialog(pictures, *this, folder, frame_.parent ? frame_.parent() : nullptr);
    dialog.DoModal();
}
