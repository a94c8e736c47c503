// The view's picture file commands: open several pictures, delete the
// current one, store and open drawing documents, the document-type
// association, and renaming a browser item. Each does nothing while the
// camera shows video or records.
#include <filesystem>

#include "file_commands_resource.h"
#include "mikra_view.h"
#include "picture_file_names.h"
#include "prompt_dlg.h"
#include "resource.h"
#include "resource_module.h"
#include "wait_cursor.h"

namespace {

// The document entry is joined from its parts as the document filter reads.
const std::wstring kPictureFilter =
    std::wstring(L"BMP File(*.bmp)|*.bmp|JPEG File(*.jpg)|*.jpg|TIFF File(*.tiff)|*.tiff|") + L"kqmk" + L" File(*." +
    L"kqmk" + L")|*" + L"kqmk" + L"|";
const std::wstring kDocumentFilter = L"kqmk File(*.kqmk)|*.kqmk|";
constexpr DWORD kPictureDialogFlags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_OVERWRITEPROMPT;

}  // namespace

CImageController* CMikraView::FindController(const std::wstring& path) const {
    for (const std::unique_ptr<CImageController>& controller : m_controllers) {
        if (controller->GetPicturePath() == std::filesystem::path(path)) {
            return controller.get();
        }
    }
    return nullptr;
}

void CMikraView::ShowNewestPicture() {
    m_frame->SelectBrowserPicture(-1);
    m_frame->SelectBrowserPicture(0);
}

void CMikraView::OpenPictureFiles() {
    if (IsVideoActive() || !m_frame) {
        return;
    }
    m_current->CancelInteraction();
    const FileSelection chosen = m_dialogs->OpenFiles(m_hWnd, {kPictureFilter, kPictureDialogFlags, L""});
    if (chosen.tooMany) {
        ShowMessage(IDS_TOO_MANY_FILES);
        return;
    }
    if (chosen.paths.empty()) {
        return;
    }
    WaitCursor wait;
    for (const std::wstring& path : chosen.paths) {
        OpenPicture(path);
    }
    ShowNewestPicture();
}

void CMikraView::DeleteCurrentPicture() {
    if (IsVideoActive() || !m_frame || !m_current->HasWindow()) {
        return;
    }
    m_current->CancelInteraction();
    CPromptDlg confirm(LoadResourceString(IDS_CONFIRM_DELETE_PICTURE), L"Vizcam", 1, m_hWnd);
    if (confirm.DoModal() != 1) {
        return;
    }
    WaitCursor wait;
    const std::wstring path = m_current->GetPicturePath().wstring();
    m_frame->RemoveBrowserPicture(path);
    RemovePicture(path, true);
}

void CMikraView::SaveDocument() {
    if (IsVideoActive()) {
        return;
    }
    m_current->CancelInteraction();
    const std::optional<std::wstring> path = m_dialogs->SaveFile(m_hWnd, {kDocumentFilter, 0, L""});
    if (path && m_current->SaveDrawingFile(*path) != DocumentStatus::ok) {
        ShowMessage(IDS_SAVE_FAILED);
    }
}

void CMikraView::OpenDocument() {
    if (IsVideoActive() || !m_frame) {
        return;
    }
    m_current->CancelInteraction();
    const FileSelection chosen = m_dialogs->OpenFiles(m_hWnd, {kDocumentFilter, 0, L""});
    if (chosen.paths.empty()) {
        return;
    }
    const std::size_t listed = m_controllers.size();
    AppendPicture(chosen.paths.front(), true, nullptr);
    if (m_controllers.size() > listed) {
        ShowNewestPicture();
    }
}

void CMikraView::RenameCurrentPicture() {
    if (!m_frame) {
        return;
    }
    const std::optional<BrowserItem> item = m_frame->GetBrowserMenuItem();
    CImageController* controller = item ? FindController(item->path) : nullptr;
    const std::optional<RenameParts> parts = item ? SplitForRename(item->path, item->caption) : std::nullopt;
    if (!controller || !parts) {
        return;
    }
    const std::optional<std::wstring> name = m_frame->AskPictureName(parts->baseName);
    if (!name || *name == parts->baseName) {
        return;
    }
    const std::optional<std::wstring> target = RenamedPath(*parts, *name);
    if (!target) {
        ShowMessage(IDS_NAME_NOT_PLAIN);
        return;
    }
    std::error_code error;
    if (std::filesystem::exists(*target, error) || FindController(*target)) {
        ShowMessage(IDS_NAME_TAKEN);
        return;
    }
    // Without MOVEFILE_REPLACE_EXISTING a file that appeared meanwhile is
    // not replaced either.
    if (!MoveFileExW(item->path.c_str(), target->c_str(), 0)) {
        ShowMessage(IDS_RENAME_FAILED);
        return;
    }
    controller->SetPicturePath(*target);
    m_frame->RenameBrowserItem(item->index, *target, *name + parts->extension);
}
