// The view's private messages. A payload address (wParam or lParam) is read
// only while one of the program's own senders lends it: any process can send
// these numbers, and an address from elsewhere is not ours to read, to open
// or to delete.
#include <cwchar>
#include <filesystem>

#include "ini_file.h"
#include "lent_payload.h"
#include "module_folder.h"
#include "param_file_names.h"
#include "param_presets.h"
#include "mikra_view.h"
#include "private_messages.h"
#include "prompt_dlg.h"
#include "resource.h"
#include "resource_module.h"
#include "video_zoom.h"

namespace {
// The longest path an outside path payload may name, in characters.
constexpr std::size_t kMaxPayloadPathChars = 32768;
}  // namespace

void CMikraView::ShowPictureSizeStatus() {
    if (!m_frame) {
        return;
    }
    int width = 0;
    int height = 0;
    m_current->GetImageSize(width, height);
    std::wstring text;
    if (width != 0) {
        wchar_t size[64] = {};
        std::swprintf(size, 64, L"%d*%d", width, height);
        text = LoadResourceString(IDS_RESOLUTION) + size;
    }
    m_frame->SetStatusPane(3, text);
}

LRESULT CMikraView::OnHistoryChanged() {
    if (!m_frame) {
        return 0;
    }
    CImageController* target = GetTargetController();
    m_frame->ShowHistory(target ? &target->GetHistoryStore() : nullptr);
    ShowPictureSizeStatus();
    return 0;
}

LRESULT CMikraView::OnResolutionChanged() {
    if (!m_frame || !IsVideoActive()) {
        return 0;
    }
    SetScrollSizes(0, 0);
    m_camera->SetResolution(m_frame->GetResolutionSelection());
    InvalidateRect(m_hWnd, nullptr, TRUE);
    m_frame->RepaintFrame();
    if (m_camera->IsVideoOpen()) {
        m_live->ClearAll();
    }
    OnHistoryChanged();
    if (!m_bLiveMeasuring) {
        // A camera without a frame width yet leaves the zoom at 1.
        const std::optional<float> zoom =
            VideoZoom(m_camera->GetVideoWindowSize().width, m_camera->GetVideoSize().width);
        m_videoZoom = zoom.value_or(1.0f);
    }
    return 0;
}

LRESULT CMikraView::OnSnapshotExport(WPARAM wParam, LPARAM target) {
    if (!IsLentPayload(wParam)) {
        return 0;
    }
    const std::wstring path = *reinterpret_cast<const std::wstring*>(wParam);
    if (m_camera && m_camera->IsVideoOpen() && m_bLiveMeasuring) {
        m_live->CancelInteraction();
        m_live->SetSnapshotPath(path);
        if (target == 0) {
            m_live->ExportWord();
        } else {
            m_live->ExportExcel();
        }
        m_live->SetSnapshotPath({});
    }
    // The snapshot was taken for the export only.
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return 0;
}

LRESULT CMikraView::OnParamFileSelected(LPARAM index) {
    if (m_camera) {
        m_camera->SetParamFileIndex(static_cast<int>(index));
    }
    return 0;
}

void CMikraView::LoadCameraParamFile(const std::wstring& name) {
    if (!m_camera) {
        return;
    }
    const wchar_t* folder = nullptr;
    switch (static_cast<CameraFamily>(m_camera->GetCameraKind())) {
    case CameraFamily::usbCmos: folder = PresetFolderName(PresetFamily::usbCmos); break;
    case CameraFamily::ccd: folder = PresetFolderName(PresetFamily::ccd); break;
    case CameraFamily::gigE: folder = PresetFolderName(PresetFamily::gige); break;
    default: return;  // the other families keep no parameter files
    }
    const std::optional<std::wstring> path = ParamFilePath(GetModuleFolder(), folder, name);
    if (!path) {
        return;
    }
    CIniFile file;
    file.m_strPath = *path;
    m_camera->LoadParamFile(file);
    m_camera->CopyParamFileToSettings(name);
}

LRESULT CMikraView::OnScaleSelected(LPARAM entryAddress) {
    if (!IsLentPayload(entryAddress)) {
        return 0;
    }
    const CScaleEntry entry = *reinterpret_cast<const CScaleEntry*>(entryAddress);
    CImageController* target = GetTargetController();
    if (!target || !target->HasWindow()) {
        return 0;
    }
    // Kept as the controller's calibration: the unit switch converts it and
    // the picture's entry is selected again when it is shown again.
    target->ApplyStoredCalibration(entry.value, std::u16string(entry.unit.begin(), entry.unit.end()));
    if (m_bGridShown) {
        target->LoadCalibration();
    }
    ReloadRuler();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

LRESULT CMikraView::OnOpenPicturePath(LPARAM pathAddress) {
    if (!IsLentPayload(pathAddress)) {
        return 0;
    }
    const auto* text = reinterpret_cast<const wchar_t*>(pathAddress);
    const std::wstring path(text, wcsnlen(text, kMaxPayloadPathChars));
    if (path.empty()) {
        return 0;
    }
    OpenPicture(path);
    if (m_frame) {
        m_frame->SelectBrowserPicture(-1);
        m_frame->SelectBrowserPicture(0);
    }
    return 0;
}

LRESULT CMikraView::OnDeviceSelected() {
    if (!m_frame) {
        return 0;
    }
    CPromptDlg confirm(LoadResourceString(IDS_CONFIRM_CHANGE_DEVICE), L"Vizcam", 1, m_hWnd);
    if (confirm.DoModal() != IDOK) {
        return 0;
    }
    if (m_camera && m_camera->IsRecording()) {
        StopRecording();
    }
    if (m_camera && m_camera->IsVideoOpen()) {
        CloseVideo();
    }
    const std::optional<SelectedDevice> picked = m_frame->GetPickedDevice();
    const int kind = picked ? static_cast<int>(picked->kind) : 0;
    if (kind < 1 || kind > 5) {
        return 0;
    }
    if (m_camera && m_camera->GetCameraKind() == kind) {
        m_camera->SelectDevice(picked->number);
        return 1;
    }
    CreateCamera(picked->kind, picked->number);
    if (!m_camera) {
        return 0;
    }
    m_camera->SetShotFolder(m_frame->GetPictureFolder());
    m_camera->SetVideoFolder(m_frame->GetVideoFolder());
    return 1;
}

bool CMikraView::OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_HISTORY_CHANGED: result = OnHistoryChanged(); return true;
    case WM_RESOLUTION_CHANGED: result = OnResolutionChanged(); return true;
    case WM_SNAPSHOT_OPEN: result = OnSnapshotExport(wParam, lParam); return true;
    case WM_PARAMFILE_SELECTED: result = OnParamFileSelected(lParam); return true;
    case WM_CALIBRATION_CHANGED: result = OnCalibrationChanged(); return true;
    case WM_SCALE_SELECTED: result = OnScaleSelected(lParam); return true;
    case WM_OPEN_PICTURE_PATH: result = OnOpenPicturePath(lParam); return true;
    case WM_PICTURE_SELECTED: result = OnPictureSelected(); return true;
    case WM_DEVICE_SELECTED: result = OnDeviceSelected(); return true;
    default: return false;
    }
}
