// The view's picture file commands: open several pictures, delete the
// current one, save it as a copy or under a chosen name, store and open
// drawing documents, the document-type association, and saving or renaming
// a browser item. Picture commands do nothing while the camera shows video
// or records; a save that fails is told and opens nothing.
#include <filesystem>

#include "file_commands_resource.h"
#include "mikra_view.h"
#include "picture_file_names.h"
#include "picture_paths.h"
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

LocalTime LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

bool FileExists(const std::wstring& path) {
    std::error_code error;
    return std::filesystem::exists(path, error) || error;
}

// Writes the controller under the chosen path by its extension: the picture
// with its objects drawn in at its own size in that image type, or a
// drawing document. The path written; none when nothing was.
std::optional<std::wstring> WriteChosenCopy(CImageController& controller, const std::wstring& chosen) {
    const int type = SaveAsTypeOfExtension(ExtensionOfPath(chosen));
    if (type == kSaveAsDocument) {
        const std::wstring document = DocumentSavePath(chosen);
        return controller.SaveDrawingFile(document) == DocumentStatus::ok ? std::optional(document) : std::nullopt;
    }
    return controller.SaveRenderedImage(chosen, type, 1.0f) != 0 ? std::optional(chosen) : std::nullopt;
}

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

void CMikraView::SaveCurrentPicture() {
    if (IsVideoActive() || !m_current->HasWindow()) {
        return;
    }
    m_current->CancelInteraction();
    WaitCursor wait;
    if (m_current->IsDocument()) {
        if (m_current->SaveDrawingFile(m_current->GetDocumentPath()) != DocumentStatus::ok) {
            ShowMessage(IDS_SAVE_FAILED);
        } else if (m_frame) {
            m_frame->AddRecentDocument(m_current->GetDocumentPath().wstring());
        }
        return;
    }
    // A copy beside the picture, never over it or any other file.
    const int kind = m_current->GetPictureKind();
    const std::wstring copy = FreeSavedCopyPath(m_current->GetPicturePath().wstring(), kind, LocalNow(), FileExists);
    if (m_current->SaveRenderedImage(copy, SavedCopyType(kind), 1.0f) == 0) {
        ShowMessage(IDS_SAVE_FAILED);
        return;
    }
    OpenPicture(copy);
}

void CMikraView::SaveCurrentPictureAs() {
    if (IsVideoActive() || !m_frame || !m_current->HasWindow()) {
        return;
    }
    m_current->CancelInteraction();
    const std::optional<std::wstring> chosen = m_dialogs->SaveFile(m_hWnd, {kPictureFilter, kPictureDialogFlags, L""});
    if (!chosen) {
        return;
    }
    const std::optional<std::wstring> written = WriteChosenCopy(*m_current, *chosen);
    if (!written) {
        ShowMessage(IDS_SAVE_FAILED);
        return;
    }
    if (IsDrawingDocumentPath(*written)) {
        m_frame->AddRecentDocument(*written);
    }
    OpenPicture(*written);
    ShowNewestPicture();
}

void CMikraView::SaveImageAs() {
    if (!m_frame) {
        return;
    }
    const std::optional<BrowserItem> item = m_frame->GetBrowserMenuItem();
    CImageController* listed = item ? FindController(item->path) : nullptr;
    if (!listed || listed->GetPicturePath().empty()) {
        return;
    }
    const std::optional<std::wstring> chosen = m_dialogs->SaveFile(m_hWnd, {kPictureFilter, kPictureDialogFlags, L""});
    if (!chosen) {
        return;
    }
    // A controller of its own, with a history folder no open picture uses,
    // takes the listed picture and copies of its objects.
    CImageController copy(listed->GetPicturePath(), m_hWnd);
    copy.SetHost(&m_controllerHost);
    copy.SetPictureKind(SaveAsTypeOfExtension(ExtensionOfPath(*chosen)));
    copy.SetSequenceNumber(m_nextControllerNumber++);
    copy.GetHistoryStore().CreateFolder(copy.GetSequenceNumber());
    copy.ReloadPicture();
    copy.CloneObjectsFrom(*listed->GetObjectList(), *listed->GetCounterStyles());
    if (!WriteChosenCopy(copy, *chosen)) {
        ShowMessage(IDS_SAVE_FAILED);
    }
}

void CMikraView::SaveDocument() {
    if (IsVideoActive()) {
        return;
    }
    m_current->CancelInteraction();
    const std::optional<std::wstring> path = m_dialogs->SaveFile(m_hWnd, {kDocumentFilter, 0, L""});
    if (!path) {
        return;
    }
    if (m_current->SaveDrawingFile(*path) != DocumentStatus::ok) {
        ShowMessage(IDS_SAVE_FAILED);
        return;
    }
    if (m_frame) {
        m_frame->AddRecentDocument(*path);
    }
}

void CMikraView::OpenDocument() {
    if (IsVideoActive() || !m_frame) {
        return;
    }
    m_current->CancelInteraction();
    const FileSelection chosen = m_dialogs->OpenFiles(m_hWnd, {kDocumentFilter, 0, L""});
    if (!chosen.paths.empty()) {
        ShowDocument(chosen.paths.front());
    }
}

bool CMikraView::OpenHandedDocument(const std::wstring& path) {
    if (!m_frame || path.empty()) {
        return false;
    }
    m_current->CancelInteraction();
    return ShowDocument(path);
}

bool CMikraView::ShowDocument(const std::wstring& path) {
    const std::size_t listed = m_controllers.size();
    AppendPicture(path, true, nullptr);
    if (m_controllers.size() == listed) {
        return false;
    }
    m_frame->AddRecentDocument(path);
    ShowNewestPicture();
    return true;
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
