// A camera saved a snapshot (WM_SNAPSHOT_SAVED): the view names it, the
// camera finishes its still, and the snapshot is handed to a pending Word or
// Excel export or opened as a picture. An export flag is used once; a
// snapshot that was not saved ends the export it was taken for, so that the
// user's next snapshot is not exported and deleted in its place.
#include <filesystem>
#include <optional>

#include "handed_over_text.h"
#include "lent_payload.h"
#include "main_frame.h"
#include "mikra_view.h"
#include "private_messages.h"

void CMainFrame::EndSnapshotExport() {
    m_bSnapToWord = 0;
    m_bSnapToExcel = 0;
}

LRESULT CMainFrame::OnSnapshotSaved(WPARAM pathAddress) {
    if (pathAddress == 0) {
        EndSnapshotExport();
        return 0;
    }
    // Any process can send this number: only a path one of our cameras
    // lends (sent) or hands over (posted) is read. A lent text may change as
    // soon as this handler sends anything, so it is copied.
    std::wstring saved;
    if (IsLentPayload(pathAddress)) {
        saved = *reinterpret_cast<const std::wstring*>(pathAddress);
    } else if (std::optional<std::wstring> posted = TakeHandedOverText(pathAddress)) {
        saved = std::move(*posted);
    } else {
        return 0;
    }
    CMikraView* view = GetMikraView();
    if (!view) {
        return 0;
    }
    CCameraDevice* camera = view->GetCamera();
    std::error_code error;
    if (!std::filesystem::is_regular_file(saved, error)) {
        if (camera) {
            camera->SetStillExposure();
        }
        EndSnapshotExport();
        return 0;
    }
    const std::wstring path = view->AskShotName(saved);
    if (camera) {
        camera->SetStillExposure();
    }
    if (m_bSnapToWord || m_bSnapToExcel) {
        const LPARAM target = m_bSnapToWord ? 0 : 1;
        if (m_bSnapToWord) {
            m_bSnapToWord = 0;
        } else {
            m_bSnapToExcel = 0;
        }
        const CLentPayload lent(&path);
        SendMessageW(view->GetSafeHwnd(), WM_SNAPSHOT_OPEN, lent.Get(), target);
        return 0;
    }
    if (camera && camera->IsVideoOpen() && view->IsLiveMeasuring()) {
        CLiveController& live = view->GetLiveController();
        view->OpenSnapshot(path, *live.GetObjectList(), *live.GetCounterStyles());
        return 0;
    }
    view->OpenPicture(path);
    return 0;
}
