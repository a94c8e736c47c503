#include "library_camera.h"

#include <algorithm>
#include <optional>

#include "bound_call.h"
#include "file_commands_resource.h"
#include "picture.h"

CLibraryCamera::CLibraryCamera(HWND view, const std::wstring& settingsPath, const wchar_t* section)
    : CCameraDevice(view, settingsPath), m_section(section) {}

int CLibraryCamera::GetCrossLineEnabled() const { return Overlay().GetSingleCross().on ? 1 : 0; }

int CLibraryCamera::GetCrossCenter() const { return Overlay().GetSingleCross().centred ? 1 : 0; }

void CLibraryCamera::SetCrossCenter(int on) {
    SingleCross cross = Overlay().GetSingleCross();
    cross.centred = on != 0;
    Overlay().SetSingleCross(cross);
}

void CLibraryCamera::EnableCrossLine(int on, int x, int y) {
    SingleCross cross = Overlay().GetSingleCross();
    cross.on = on != 0;
    cross.x = x;
    cross.y = y;
    Overlay().SetSingleCross(cross);
}

void CLibraryCamera::GetCrosslineStatus(int* on, int* x, int* y) const {
    const SingleCross cross = Overlay().GetSingleCross();
    *on = cross.on ? 1 : 0;
    *x = cross.x;
    *y = cross.y;
}

void CLibraryCamera::SaveSnapshotSize(const std::wstring&, int width, int height) {
    if (m_resolutions.empty()) {
        return;
    }
    m_snapshotSize = m_resolutions[std::size_t(FindResolution(width, height).value_or(0))];
    m_settings.WriteInt(m_snapshotSize.width, m_section, L"ShoutWidth");
    m_settings.WriteInt(m_snapshotSize.height, m_section, L"ShoutHeight");
}

void CLibraryCamera::LoadCaptureSettings() {
    m_settings.GetInt(m_imageType, m_section, L"ImgType", 1);
    m_settings.GetInt(m_nameType, m_section, L"NameType", 0);
    m_settings.GetInt(m_captureWidth, m_section, L"Width", 0);
    m_settings.GetInt(m_captureHeight, m_section, L"Height", 0);
    m_settings.GetInt(m_snapshotSize.width, m_section, L"ShoutWidth", 0);
    m_settings.GetInt(m_snapshotSize.height, m_section, L"ShoutHeight", 0);
    LoadSingleCross();
}

void CLibraryCamera::LoadSingleCross() {
    SingleCross cross;
    int on = 0, centred = 0;
    m_settings.GetInt(on, m_section, L"CROSSLINE", 0);
    m_settings.GetInt(centred, m_section, L"CROSSCENTER", 0);
    m_settings.GetInt(cross.x, m_section, L"CROSS_OFFX", 0);
    m_settings.GetInt(cross.y, m_section, L"CROSS_OFFY", 0);
    cross.on = on != 0;
    cross.centred = centred != 0;
    Overlay().SetSingleCross(cross);
}

void CLibraryCamera::SaveSingleCross() {
    const SingleCross cross = Overlay().GetSingleCross();
    m_settings.WriteInt(cross.on ? 1 : 0, m_section, L"CROSSLINE");
    m_settings.WriteInt(cross.centred ? 1 : 0, m_section, L"CROSSCENTER");
    m_settings.WriteInt(cross.x, m_section, L"CROSS_OFFX");
    m_settings.WriteInt(cross.y, m_section, L"CROSS_OFFY");
}

void CLibraryCamera::WriteCaptureSize() {
    m_settings.WriteInt(m_captureWidth, m_section, L"Width");
    m_settings.WriteInt(m_captureHeight, m_section, L"Height");
}

void CLibraryCamera::ChooseStoredCaptureSize() {
    if (m_resolutions.empty() || FindResolution(m_captureWidth, m_captureHeight)) {
        return;
    }
    m_captureWidth = m_resolutions.front().width;
    m_captureHeight = m_resolutions.front().height;
    WriteCaptureSize();
}

void CLibraryCamera::StartPreview(HWND host) {
    if (!HasDevice() || m_previewing) {
        return;
    }
    m_hostWindow = host;
    StartLibraryView();
    m_previewing = 1;
    LayOut();
}

void CLibraryCamera::StopPreview() {
    if (!HasDevice() || !m_previewing) {
        return;
    }
    if (m_recording) {
        CaptureToAvi(nullptr);
        m_recording = 0;
    }
    StopLibraryView();
    m_previewing = 0;
    SetFillWindow(0);
}

void CLibraryCamera::FitVideoWindow(int toggle) {
    if ((toggle != 0) != (m_stretched != 0)) {
        m_stretched = m_stretched ? 0 : 1;
    }
    LayOut();
}

void CLibraryCamera::SetVideoWindowPos(int x) {
    if (x != -1) {
        m_scrollX = x;
    }
    if (HasDevice() && m_previewing) {
        ScrollLibraryView(m_scrollX, m_scrollY);
    }
}

void CLibraryCamera::SetScrollOffset(int y) {
    if (y != -1) {
        m_scrollY = y;
    }
    if (HasDevice() && m_previewing) {
        ScrollLibraryView(m_scrollX, m_scrollY);
    }
}

void CLibraryCamera::StartRecord(HWND host) {
    if (!HasDevice() || m_recording) {
        return;
    }
    const std::optional<std::wstring> path = NewRecordingPath();
    if (!path) {
        return;
    }
    if (!m_previewing) {
        m_hostWindow = host;
        StartLibraryView();
        LayOut();
    }
    if (CaptureToAvi(path->c_str()) == 0) {
        m_recording = 1;
    } else if (!m_previewing) {
        StopLibraryView();
    }
}

void CLibraryCamera::StopRecord(HWND) {
    if (!HasDevice()) {
        return;
    }
    CaptureToAvi(nullptr);
    if (!m_previewing) {
        StopLibraryView();
    }
    m_recording = 0;
}

void CLibraryCamera::SelectDevice(int number) {
    if (number == m_deviceIndex && HasDevice()) {
        return;
    }
    const HWND host = m_hostWindow;
    SaveSettings();
    Close();
    Open(number);
    m_hostWindow = host;
}

int CLibraryCamera::SaveSnapshot() {
    if (!HasDevice()) {
        return 0;
    }
    const std::optional<std::wstring> path = NextSnapshotPath();
    if (!path) {
        return 0;
    }
    if (WriteSnapshotFile(*path) != 0) {
        // A full or write-protected picture folder is told at once; a timed
        // series goes on quietly rather than piling up one prompt per shot.
        if (!IsTimedCapture()) {
            Tell(IDS_SAVE_FAILED, m_hostWindow);
        }
        return 0;
    }
    AnnounceSnapshot();
    return 1;
}

VideoPlacement CLibraryCamera::PlaceVideo(FillRounding fillRounding) {
    return PlaceVideo(fillRounding, {m_captureWidth, m_captureHeight});
}

VideoPlacement CLibraryCamera::PlaceVideo(FillRounding fillRounding, VideoSize capture) {
    RECT client{};
    GetClientRect(m_hostWindow, &client);
    const VideoSize area{client.right - client.left, client.bottom - client.top};
    VideoPlacement placement;
    if (m_fillWindow) {
        placement = FillWindowLayout(area, fillRounding);
    } else if (m_stretched) {
        placement = StretchedLayout(capture, area);
    } else {
        placement = OneToOneLayout(capture, area);
        m_scrollX = -placement.x;
        m_scrollY = -placement.y;
    }
    m_videoPos = {placement.x, placement.y};
    m_videoWindowSize = {placement.width, placement.height};
    return placement;
}

int CLibraryCamera::SaveTiff(std::span<const std::uint8_t> rows, int width, int height, int bits,
                             const std::wstring& path) {
    const std::size_t stride = std::size_t(std::max(width, 0)) * std::size_t(bits / 8);
    const std::size_t bytes = stride * std::size_t(std::max(height, 0));
    if (width <= 0 || height <= 0 || bytes > rows.size()) {
        return kUnboundEntryFailure;
    }
    CPicture picture;
    const bool saved = picture.CreateFromArray(rows.first(bytes), width, height, bits, int(stride), false) &&
                       picture.Save(path, kPictureTiff);
    return saved ? 0 : kUnboundEntryFailure;
}

void CLibraryCamera::EndView() {
    if (!m_previewing && !m_recording) {
        return;
    }
    if (m_recording) {
        CaptureToAvi(nullptr);
    }
    StopLibraryView();
    m_previewing = 0;
    m_recording = 0;
}

void CLibraryCamera::ForgetDevice() {
    m_device = nullptr;
    Overlay().Suspend();
    m_resolutions.clear();
    m_exposureRange.reset();
}
