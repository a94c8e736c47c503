#include "mikra_view.h"

#include <cstdio>

#include "background_placement.h"
#include "command_line.h"
#include "copy_data.h"
#include "gdi_objects.h"
#include "gige_sdk_startup.h"
#include "handover_resource.h"
#include "module_folder.h"
#include "picture_gdi.h"
#include "private_messages.h"
#include "resource.h"
#include "resource_module.h"

void RegisterVideoCommands(CMikraView& view);
void RegisterToolCommands(CMikraView& view);
void RegisterCameraCommands(CMikraView& view);
void RegisterCountingCommands(CMikraView& view);
void RegisterImagingCommands(CMikraView& view);
void RegisterExportCommands(CMikraView& view);
void RegisterStyleCommands(CMikraView& view);
void RegisterInputCommands(CMikraView& view);
void RegisterCommandUpdates(CMikraView& view);
void RegisterFileCommands(CMikraView& view);
void RegisterLayoutCommands(CMikraView& view);
void RegisterPictureCommands(CMikraView& view);
void RegisterPictureToolCommands(CMikraView& view);
void RegisterPrintCommands(CMikraView& view);
void RegisterClipboardCommands(CMikraView& view);

namespace {
constexpr UINT_PTR kTimedCaptureTimer = 2;
constexpr UINT_PTR kStatusTimer = 3;
}  // namespace

CMikraView::CMikraView(CameraFactory makeCamera, std::function<bool(CameraFamily)> familyLoaded)
    : m_makeCamera(std::move(makeCamera)),
      m_familyLoaded(std::move(familyLoaded)),
      m_windowless(std::make_unique<CImageController>()),
      m_current(m_windowless.get()),
      m_live(std::make_unique<CLiveController>()) {
    m_windowless->SetHost(&m_controllerHost);
    m_live->SetHost(&m_controllerHost);
    RegisterVideoCommands(*this);
    RegisterToolCommands(*this);
    RegisterCameraCommands(*this);
    RegisterCountingCommands(*this);
    RegisterImagingCommands(*this);
    RegisterExportCommands(*this);
    RegisterStyleCommands(*this);
    RegisterInputCommands(*this);
    RegisterFileCommands(*this);
    RegisterLayoutCommands(*this);
    RegisterPictureCommands(*this);
    RegisterPictureToolCommands(*this);
    RegisterPrintCommands(*this);
    RegisterClipboardCommands(*this);
    // Last: every command registered above gets its enabling rule.
    RegisterCommandUpdates(*this);
}

CMikraView::~CMikraView() {
    // The camera stops preview and recording while the window still exists.
    m_camera.reset();
    m_current = nullptr;
    m_windowless.reset();
    m_controllers.clear();
    m_live.reset();
    m_background.reset();
    ShutDownGigESdk();
}

bool CMikraView::IsVideoActive() const { return m_camera && (m_camera->IsVideoOpen() || m_camera->IsRecording()); }

CImageController* CMikraView::GetTargetController() const {
    if (!IsVideoActive()) {
        return m_current;
    }
    if (m_camera->IsVideoOpen() && m_bLiveMeasuring) {
        return m_live.get();
    }
    return nullptr;
}

void CMikraView::SetScrollSizes(int width, int height) { CScrollView::SetScrollSizes(MM_TEXT, SIZE{width, height}); }

void CMikraView::OnDraw(HDC dc) {
    if (IsVideoActive()) {
        if (m_camera->IsVideoOpen() && m_bLiveMeasuring) {
            m_live->Render(1);
        }
        if (m_camera->IsVideoOpen() && m_measuringRuler) {
            m_measuringRuler->PaintOnView();
        }
        return;
    }
    m_bPrinting = GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER ? 1 : 0;
    if (!m_bPrinting) {
        m_current->Render(1);
    }
}

bool CMikraView::OnEraseBkgnd(HDC dc) {
    if (IsVideoActive() || !m_current->HasWindow()) {
        RECT clip{};
        GetClipBox(dc, &clip);
        InflateRect(&clip, 3, 3);
        const CBrush grey(RGB(192, 192, 192));
        FillRect(dc, &clip, grey.GetSafeHandle());
    }
    if (m_frame && m_frame->IsBackgroundPictureOn()) {
        if (!m_background) {
            auto picture = std::make_unique<CPicture>(GetModuleFolder() + L"img\\AD.jpg", kPictureJpeg);
            // A failed load is tried again at the next erase.
            if (picture->GetWidth() > 0) {
                m_background = std::move(picture);
            }
        }
        if (m_background) {
            RECT client{};
            GetClientRect(m_hWnd, &client);
            const BackgroundPlacement place = PlaceBackgroundPicture(
                client.right, client.bottom, m_background->GetWidth(), m_background->GetHeight());
            picture_gdi::Draw(*m_background, dc, place.x, place.y, place.width, place.height);
        }
    }
    return true;
}

void CMikraView::OnTimer(UINT_PTR id) {
    if (id == kTimedCaptureTimer) {
        TakeSnapshot(false);
    } else if (id == kStatusTimer) {
        RefreshVideoStatus();
    }
}

void CMikraView::RefreshVideoStatus() {
    if (!m_frame) {
        return;
    }
    std::wstring rate;
    std::wstring size;
    if (IsVideoActive()) {
        wchar_t text[64] = {};
        std::swprintf(text, 64, L"%.0f F/s", static_cast<double>(m_camera->GetFrameRate()));
        rate = LoadResourceString(IDS_FRAME_RATE) + text;
        const CameraFrameSize frame = m_camera->GetVideoSize();
        std::swprintf(text, 64, L"%d*%d", frame.width, frame.height);
        size = LoadResourceString(IDS_RESOLUTION) + text;
    }
    m_frame->SetStatusPane(1, m_cameraUnplugged ? LoadResourceString(IDS_CAMERA_UNPLUGGED) : std::wstring());
    m_frame->SetStatusPane(2, rate);
    m_frame->SetStatusPane(3, size);
}

void CMikraView::OnCopyData(const COPYDATASTRUCT* record) {
    const std::optional<std::wstring> text = ReadCopyDataText(record);
    // Only drawing documents come this way; anything else is dropped.
    if (!text || text->empty() || !NamesDrawingDocument(*text)) {
        return;
    }
    // The sender waits in SendMessage (a second start of the program):
    // the document opens, and any message about it shows, after it is
    // released.
    m_handedDocuments.push_back(ExtractDocumentPath(*text));
    PostMessageW(m_hWnd, WM_OPEN_HANDED_DOCUMENTS, 0, 0);
}

void CMikraView::OpenHandedDocuments() {
    std::vector<std::wstring> handed;
    handed.swap(m_handedDocuments);
    for (const std::wstring& path : handed) {
        OpenHandedDocument(path);
    }
}

LRESULT CMikraView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA: OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam)); return TRUE;
    case WM_TIMER: OnTimer(wParam); break;
    case WM_OPEN_HANDED_DOCUMENTS: OpenHandedDocuments(); return 0;
    case WM_CAMERA_PLUGGED: OnCameraPlugged(wParam != 0); return 0;
    case WM_CREATE: {
        const LRESULT created = CScrollView::WindowProc(message, wParam, lParam);
        if (created != -1) {
            CreateOverlays();
        }
        return created;
    }
    // The overlays are pop-ups: they follow the view when it moves or
    // changes size inside the frame.
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = CScrollView::WindowProc(message, wParam, lParam);
        LayoutVideoOverlays();
        return result;
    }
    // The overlays are owned by the frame's window, which outlives the view's.
    case WM_DESTROY:
        m_gridOverlay.DestroyWindow();
        m_rulerOverlay.DestroyWindow();
        m_liveOverlay.DestroyWindow();
        m_videoHost.DestroyWindow();
        break;
    case WM_HSCROLL:
    case WM_VSCROLL: {
        const LRESULT result = CScrollView::WindowProc(message, wParam, lParam);
        OnScrolled(message == WM_HSCROLL ? SB_HORZ : SB_VERT);
        return result;
    }
    case WM_MOUSEWHEEL: {
        const LRESULT result = CScrollView::WindowProc(message, wParam, lParam);
        OnWheelScrolled();
        return result;
    }
    case WM_SIZE: {
        const LRESULT result = CScrollView::WindowProc(message, wParam, lParam);
        UpdateLayout();
        return result;
    }
    default: break;
    }
    if (LRESULT result = 0; OnInputMessage(message, wParam, lParam, result)) {
        return result;
    }
    if (LRESULT result = 0; OnPrivateMessage(message, wParam, lParam, result)) {
        return result;
    }
    return CScrollView::WindowProc(message, wParam, lParam);
}
