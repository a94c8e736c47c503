// The view's initial update: the camera's folders, the pictures and files of
// the last session (loaded behind the loading dialog's thread), device
// discovery per loaded camera family and the camera of the first device.
#include "mikra_view.h"
#include "startup_loading.h"

namespace {
constexpr CameraFamily kFamilies[] = {CameraFamily::directShow, CameraFamily::ccd, CameraFamily::usbCmos,
                                      CameraFamily::gigE, CameraFamily::uvc};
}  // namespace

void CMikraView::OnInitialUpdate() {
    CScrollView::OnInitialUpdate();
    if (!m_frame) {
        return;
    }
    SetScrollSizes(100, 100);
    m_controllerHost.SetWindow(m_hWnd);
    m_live->SetOwnerWindow(m_hWnd);
    LoadStartupFolders();
    DiscoverDevices();
    CreateSelectedCamera();
    if (m_camera) {
        m_camera->SetShotFolder(m_frame->GetPictureFolder());
        m_camera->SetVideoFolder(m_frame->GetVideoFolder());
        m_camera->SetParamFileIndex(m_frame->GetParamFileSelection());
    }
    // The bars as the user left them; the update hides them again while a
    // picture is shown smaller than its size.
    m_frame->ShowRulerBars();
    UpdateRulerBars(3, GetScrollPosition());
    m_measuringRuler = std::make_unique<CRulerOverlay>(static_cast<IRulerOverlayHost&>(*this));
    m_measuringRuler->SetTargetWindow(m_rulerOverlay.GetSafeHwnd());
    m_current->SetRulerOverlay(m_measuringRuler.get());
}

void CMikraView::LoadStartupFolders() {
    const std::vector<std::wstring> pictures = m_frame->TakeBrowserPictures();
    const std::vector<std::wstring> files = m_frame->TakeExportFiles();
    m_bHasPictures = pictures.empty() ? 0 : 1;
    m_bHasFiles = files.empty() ? 0 : 1;
    RunStartupLoading({pictures, files, [this](const std::wstring& path) { OpenPicture(path); },
                       [this](const std::wstring& path) { AddToFileList(path); }});
}

void CMikraView::DiscoverDevices() {
    m_camera.reset();
    for (CameraFamily kind : kFamilies) {
        if (!m_familyLoaded(kind)) {
            continue;
        }
        std::unique_ptr<CCameraDevice> camera = m_makeCamera(kind, 0, m_hWnd);
        if (!camera) {
            continue;
        }
        camera->EnumDevices();
        const auto kindOfCamera = static_cast<CameraFamily>(camera->GetCameraKind());
        for (const CameraDeviceEntry& device : camera->GetDeviceList()) {
            m_frame->AddDevice(kindOfCamera, device.number, device.name);
        }
    }
}

void CMikraView::CreateSelectedCamera() {
    const std::optional<SelectedDevice> selected = m_frame->SelectFirstDevice();
    const SelectedDevice device = selected.value_or(SelectedDevice{});
    const int kind = static_cast<int>(device.kind);
    // Any kind outside the families is taken as DirectShow.
    CreateCamera((kind >= 1 && kind <= 5) ? device.kind : CameraFamily::directShow, device.number);
}

// The old camera lets its device go before the new one opens.
void CMikraView::CreateCamera(CameraFamily kind, int number) {
    m_camera.reset();
    m_cameraUnplugged = false;
    m_camera = m_makeCamera(kind, number, m_hWnd);
    if (m_frame) {
        m_frame->SetParamFileFamily(kind);
    }
    if (m_camera && kind == CameraFamily::directShow) {
        m_camera->SelectDevice(number);
    }
}

void CMikraView::AddToFileList(const std::wstring& path) { m_frame->AddExportFile(path); }
