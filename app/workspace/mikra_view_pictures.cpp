// The view's picture list: every opened picture or drawing document is a
// controller of its own, listed newest first in the frame's picture
// browser; one of them is current and painted.
#include <filesystem>
#include <fstream>

#include "mikra_view.h"
#include "picture_paths.h"
#include "wait_cursor.h"

namespace {

// The picture itself is read only when it is shown; a file that cannot even
// be read now would be listed as an empty picture.
bool IsReadableFile(const std::wstring& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) == 0 || error) {
        return false;
    }
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return file.good();
}

}  // namespace

void CMikraView::OpenPicture(const std::wstring& path) {
    WaitCursor wait;
    AppendPicture(path, IsDrawingDocumentPath(path), nullptr);
}

void CMikraView::OpenSnapshot(const std::wstring& path, const ObjectList& objects, const CCounterStyles& styles) {
    AppendPicture(path, IsDrawingDocumentPath(path),
                  [&objects, &styles](CImageController& controller) { controller.CloneObjectsFrom(objects, styles); });
}

void CMikraView::AppendPicture(const std::wstring& path, bool isDocument,
                               const std::function<void(CImageController&)>& prepare) {
    if (!m_frame) {
        return;
    }
    std::unique_ptr<CImageController> controller;
    std::wstring caption;
    if (isDocument) {
        controller = std::make_unique<CImageController>();
        controller->SetHost(&m_controllerHost);
        controller->SetFilterCommands(m_filters);
        controller->SetSequenceNumber(m_nextControllerNumber++);
        controller->GetHistoryStore().CreateFolder(controller->GetSequenceNumber());
        if (prepare) {
            prepare(*controller);
        }
        controller->SetOwnerWindow(m_hWnd);
        if (controller->LoadDrawingFile(path) != DocumentStatus::ok) {
            m_frame->ReportUnreadableFile(path);
            return;
        }
        // Only the current controller holds its picture; the document's
        // picture waits in its first history step.
        controller->ClosePicture();
        caption = FileNameOfPath(path);
    } else {
        if (!IsReadableFile(path)) {
            m_frame->ReportUnreadableFile(path);
            return;
        }
        controller = std::make_unique<CImageController>(path, m_hWnd);
        controller->SetHost(&m_controllerHost);
        controller->SetFilterCommands(m_filters);
        controller->SetPictureKind(PictureTypeOfPath(path));
        controller->SetSequenceNumber(m_nextControllerNumber++);
        controller->GetHistoryStore().CreateFolder(controller->GetSequenceNumber());
        if (prepare) {
            prepare(*controller);
        }
    }
    controller->SetScrollSizeSink(this);
    controller->SetCountingDialogs(m_countingDialogs);
    controller->SetOfficeExports(m_officeExports);
    // The browser's item n is list entry (count - 1 - n): a picture the
    // browser refuses (its path is listed already) stays out of the list.
    if (!m_frame->AddBrowserPicture(controller->GetPicturePath().wstring(), caption)) {
        return;
    }
    m_controllers.push_back(std::move(controller));
}

void CMikraView::MakeEmptyControllerCurrent() {
    m_windowless = std::make_unique<CImageController>();
    m_windowless->SetHost(&m_controllerHost);
    m_windowless->SetFilterCommands(m_filters);
    m_current = m_windowless.get();
}

void CMikraView::SetFilterCommands(IImageFilterCommands* filters) {
    m_filters = filters;
    m_windowless->SetFilterCommands(filters);
    for (const std::unique_ptr<CImageController>& controller : m_controllers) {
        controller->SetFilterCommands(filters);
    }
}

void CMikraView::ShowCurrentMeasurements() {
    // Only the current controller writes to the data bar.
    for (const std::unique_ptr<CImageController>& controller : m_controllers) {
        controller->SetWorkspaceBar(nullptr);
    }
    if (m_frame) {
        m_current->SetWorkspaceBar(m_frame->GetWorkspaceBar());
        m_current->RefreshWorkspaceBar();
    }
}

void CMikraView::ShowPicture(const std::wstring& path) {
    if (path.empty()) {
        m_current->ClosePicture();
        MakeEmptyControllerCurrent();
    }
    const float zoom = m_current->GetZoom();
    for (const std::unique_ptr<CImageController>& controller : m_controllers) {
        if (controller->GetPicturePath() != std::filesystem::path(path) || controller.get() == m_current) {
            continue;
        }
        m_current->ClosePicture();
        if (!m_current->HasWindow()) {
            m_windowless.reset();
        }
        m_current = controller.get();
    }
    m_current->OpenPicture();
    ShowCurrentMeasurements();
    m_current->SetZoom(zoom);
    SetScrollSizes(0, 0);
    m_current->ShowCountingGrid(m_bGridShown);
    m_current->SetRulerOverlay(m_measuringRuler.get());
    if (m_measuringRuler) {
        m_measuringRuler->LoadSettings(1);
    }
    m_current->Render(1);
    if (m_frame) {
        m_frame->SetStatusPane(1, L"");
        m_frame->SetStatusPane(2, L"");
        ShowPictureSizeStatus();
        const std::u16string& unit = m_current->GetCalibrationUnit();
        m_frame->SelectCalibration(m_current->GetCalibrationScale(), std::wstring(unit.begin(), unit.end()));
    }
    if (m_bGridShown) {
        m_current->LoadCalibration();
    }
}

void CMikraView::RemovePicture(const std::wstring& path, bool deleteFiles) {
    std::vector<std::unique_ptr<CImageController>> kept;
    for (std::unique_ptr<CImageController>& controller : m_controllers) {
        if (controller->GetPicturePath() != std::filesystem::path(path)) {
            kept.push_back(std::move(controller));
            continue;
        }
        if (deleteFiles) {
            controller->DeletePictureFiles();
        }
        if (controller.get() == m_current) {
            MakeEmptyControllerCurrent();
        }
    }
    m_controllers = std::move(kept);
    ShowCurrentMeasurements();
    if (m_controllers.empty()) {
        MakeEmptyControllerCurrent();
        SetScrollSizes(0, 0);
        if (m_frame) {
            for (int pane = 1; pane <= 3; ++pane) {
                m_frame->SetStatusPane(pane, L"");
            }
            m_frame->RepaintFrame();
        }
    }
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CMikraView::OnPictureSelected() {
    if (!m_frame) {
        return 0;
    }
    m_frame->ClearBackgroundPicture();
    WaitCursor wait;
    const std::wstring path = m_frame->GetBrowserPicture();
    if (!path.empty()) {
        ShowPicture(path);
    }
    if (m_camera && m_camera->IsRecording()) {
        StopRecording();
    }
    if (m_camera && m_camera->IsVideoOpen()) {
        CloseVideo();
    }
    // Back from video a picture fits the window whatever its zoom; otherwise
    // a picture at its actual size keeps it and any other zoom fits.
    if (m_bFitPending && m_current->HasWindow()) {
        m_current->ZoomToFit();
        m_bFitPending = 0;
    }
    if (m_current->GetZoom() != 1.0f) {
        m_current->ZoomToFit();
    }
    if (!path.empty()) {
        m_frame->RepaintFrame();
    }
    m_current->ShowCountingGrid(m_bGridShown);
    m_frame->SetStatusPane(1, L"");
    m_frame->SetStatusPane(2, L"");
    ShowPictureSizeStatus();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}
