#include "dshow_camera.h"

#include <objbase.h>

#include <algorithm>
#include <utility>

#include "capture_file_names.h"
#include "camera_resource.h"
#include "capture_size_rules.h"
#include "compressor_dlg.h"
#include "cross_line_settings.h"
#include "video_layout.h"

namespace {

constexpr const wchar_t* kVideo = L"Video";
constexpr const wchar_t* kPin = L"Pin";

LocalTimestamp LocalNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

VIDEOINFOHEADER* VideoInfo(AM_MEDIA_TYPE* type) {
    if (!type || type->formattype != FORMAT_VideoInfo || type->cbFormat < sizeof(VIDEOINFOHEADER) || !type->pbFormat) {
        return nullptr;
    }
    return reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
}

// A getter keeps the stored value when the device does not answer, so a
// property the device lacks is never saved (or applied later) as -1.
int ReadInto(int& stored, CKsProperty* properties, long (CKsProperty::*get)(long&)) {
    if (properties) {
        long value = stored;
        if ((properties->*get)(value) == 0) stored = static_cast<int>(value);
    }
    return stored;
}

void DeleteType(AM_MEDIA_TYPE* type) {
    if (!type) return;
    CoTaskMemFree(type->pbFormat);
    if (type->pUnk) type->pUnk->Release();
    CoTaskMemFree(type);
}

}  // namespace

CDShowCamera::CDShowCamera(HWND view, int deviceIndex, const std::wstring& settingsPath)
    : CCameraDevice(view, settingsPath) {
    m_cameraKind = static_cast<int>(CameraFamily::directShow);
    m_deviceIndex = deviceIndex;
    LoadSettings();
}

CDShowCamera::~CDShowCamera() {
    SaveSettings();
    StopRecord(nullptr);
    StopPreview();
    Close();
}

CKsProperty* CDShowCamera::OpenProperties() const { return m_graph ? m_property.get() : nullptr; }

void CDShowCamera::Message(UINT textId) { Tell(textId, m_view); }

IAMStreamConfig* CDShowCamera::StreamConfig() const {
    IAMStreamConfig* config = nullptr;
    if (m_graph && m_graph->GetSource()) {
        m_graph->FindPinInterface(m_graph->GetSource(), IID_IAMStreamConfig, reinterpret_cast<void**>(&config));
    }
    return config;
}

void CDShowCamera::RegisterGraph() {
    IRunningObjectTable* table = nullptr;
    IMoniker* moniker = nullptr;
    m_tableCookie = 0;
    const std::wstring name = GraphTableName(reinterpret_cast<std::uintptr_t>(m_graph->GetGraph()), GetCurrentProcessId());
    if (SUCCEEDED(GetRunningObjectTable(0, &table)) && table &&
        SUCCEEDED(CreateItemMoniker(L"!", name.c_str(), &moniker)) && moniker) {
        // The whole cookie is kept, whatever its size, so that it is always revoked.
        if (SUCCEEDED(table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, m_graph->GetGraph(), moniker, &m_tableCookie))) {
            m_tableName = name;
        } else {
            m_tableCookie = 0;
        }
    }
    if (moniker) moniker->Release();
    if (table) table->Release();
}

void CDShowCamera::RevokeGraph() {
    if (m_tableCookie == 0) return;
    IRunningObjectTable* table = nullptr;
    if (SUCCEEDED(GetRunningObjectTable(0, &table)) && table) {
        table->Revoke(m_tableCookie);
        table->Release();
    }
    m_tableCookie = 0;
    m_tableName.clear();
}

void CDShowCamera::ApplyFormat(int width, int height, std::int64_t frameDuration) {
    IAMStreamConfig* config = StreamConfig();
    if (!config) return;
    AM_MEDIA_TYPE* type = nullptr;
    if (SUCCEEDED(config->GetFormat(&type))) {
        if (VIDEOINFOHEADER* info = VideoInfo(type)) {
            if (width > 0 && height > 0) {
                info->bmiHeader.biWidth = width;
                info->bmiHeader.biHeight = height;
                info->bmiHeader.biSizeImage =
                    static_cast<DWORD>(((width * info->bmiHeader.biBitCount / 8 + 3) & ~3) * height);
                type->lSampleSize = info->bmiHeader.biSizeImage;
            }
            if (frameDuration > 0) info->AvgTimePerFrame = frameDuration;
            config->SetFormat(type);
        }
        DeleteType(type);
    }
    config->Release();
}

std::int64_t CDShowCamera::GetFrameDuration() const {
    IAMStreamConfig* config = StreamConfig();
    if (!config) return 0;
    std::int64_t duration = 0;
    AM_MEDIA_TYPE* type = nullptr;
    if (SUCCEEDED(config->GetFormat(&type))) {
        if (VIDEOINFOHEADER* info = VideoInfo(type)) duration = info->AvgTimePerFrame;
        DeleteType(type);
    }
    config->Release();
    return duration;
}

bool CDShowCamera::Open(bool recording) {
    Close();
    m_graph = std::make_unique<CCaptureGraph>();
    m_graph->Grabber().SetImageType(m_imageType);
    m_graph->Grabber().SetCrossLines(&CrossLines());
    if (!m_graph->BuildFilters()) {
        Close();
        return false;
    }
    RegisterGraph();
    m_graph->QueryControls();
    m_graph->EnumVideoDevices(m_monikers);
    if (m_graph->BindDevice(m_monikers, m_deviceIndex) != S_OK || !m_graph->GetSource()) {
        Close();
        return false;
    }
    if (m_useCompressor) {
        m_graph->AddCompressor(m_compressorName);
    }
    m_graph->AddSampleGrabber();
    m_property = std::make_unique<CKsProperty>(m_graph->GetSource());

    int savedWidth = 0, savedHeight = 0;
    m_settings.GetInt(savedWidth, kPin, L"Width", 0);
    m_settings.GetInt(savedHeight, kPin, L"Height", 0);
    m_formats.clear();
    m_resolutions.clear();
    if (IAMStreamConfig* config = StreamConfig()) {
        int count = 0, size = 0;
        if (SUCCEEDED(config->GetNumberOfCapabilities(&count, &size)) && size == sizeof(VIDEO_STREAM_CONFIG_CAPS)) {
            for (int i = 0; i < count; ++i) {
                AM_MEDIA_TYPE* type = nullptr;
                VIDEO_STREAM_CONFIG_CAPS caps{};
                if (config->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps)) != S_OK) continue;
                if (const VIDEOINFOHEADER* info = VideoInfo(type)) {
                    const int w = info->bmiHeader.biWidth, h = info->bmiHeader.biHeight;
                    m_formats.push_back({FormatLabel(w, h), w, h});
                    m_resolutions.push_back({FormatLabel(w, h), w, h});
                }
                DeleteType(type);
            }
        }
        config->Release();
    }
    for (const ListedFormat& format : m_formats) {
        if (format.width == savedWidth) {
            ApplyFormat(savedWidth, savedHeight, 0);
        }
    }
    SaveSnapshotSize(m_snapshotSize.label, m_snapshotSize.width, m_snapshotSize.height);
    if (IAMStreamConfig* config = StreamConfig()) {
        AM_MEDIA_TYPE* type = nullptr;
        if (SUCCEEDED(config->GetFormat(&type))) {
            if (const VIDEOINFOHEADER* info = VideoInfo(type)) {
                m_videoWidth = info->bmiHeader.biWidth;
                m_videoHeight = info->bmiHeader.biHeight;
            }
            DeleteType(type);
        }
        config->Release();
    }
    m_captureWidth = m_videoWidth;
    m_captureHeight = m_videoHeight;
    if (recording) {
        int framesPerSecond = 0;
        m_settings.GetInt(framesPerSecond, L"TPF", FrameRateKey(m_videoWidth).c_str(), 0);
        ApplyFormat(0, 0, RecordingFrameDuration(framesPerSecond));
    }
    return true;
}

void CDShowCamera::Close() {
    if (m_graph) {
        SetVideoStatusTimer(false);
        m_graph->Stop();
        for (ComPtr<IMoniker>& moniker : m_monikers) moniker.reset();
        m_graph->SetDroppedFrames(nullptr);
        // The property object holds the source filter; a closed camera keeps
        // no device alive.
        m_property.reset();
        m_graph->TearDown();
        m_graph.reset();
        m_view = nullptr;
        RevokeGraph();
    }
    m_formats.clear();
}

bool CDShowCamera::ConnectRecording() {
    CCaptureGraph& g = *m_graph;
    g.RemoveFilter(g.GetGrabberFilter());
    g.RemoveFilter(g.GetNullRenderer());
    if (FAILED(g.ConnectFilters(g.GetSource(), g.GetSmartTee()))) {
        return false;
    }
    const std::optional<std::wstring> path = NewRecordingPath();
    // Without a sink the recording could not be named: refused, not run.
    if (!path || FAILED(g.SetFileName(*path))) {
        return false;
    }
    m_recordingPath = *path;
    // The mux is joined to the writer before anything reaches its input.
    if (FAILED(g.ConnectFilters(g.GetMux(), g.GetFileWriter()))) {
        return false;
    }
    if (!g.WriterTakesStream()) {
        Message(IDS_RECORDING_UNWRITABLE);
        return false;
    }
    if (m_useCompressor && g.GetCompressor()) {
        if (FAILED(g.ConnectFilters(g.GetSmartTee(), g.GetCompressor())) ||
            FAILED(g.ConnectFilters(g.GetCompressor(), g.GetMux()))) {
            Message(IDS_COMPRESSOR_CONNECT_FAILED);
            return false;
        }
    } else if (m_useCompressor) {
        Message(IDS_COMPRESSOR_CONNECT_FAILED);
        return false;
    } else {
        g.RemoveFilter(g.GetCompressor());
        if (FAILED(g.ConnectFilters(g.GetSmartTee(), g.GetMux()))) {
            return false;
        }
    }
    g.GetCaptureBuilder()->RenderStream(nullptr, nullptr, g.GetSmartTee(), nullptr, g.GetRenderer());
    return true;
}

bool CDShowCamera::BuildAndConnect(HWND view) {
    if (!m_graph || !view) return false;
    CCaptureGraph& g = *m_graph;
    if (m_recording) {
        if (!ConnectRecording()) return false;
    } else {
        g.RemoveFilter(g.GetFileWriter());
        g.RemoveFilter(g.GetCompressor());
        g.RemoveFilter(g.GetMux());
        HRESULT code = g.ConnectFilters(g.GetSource(), g.GetSmartTee());
        if (SUCCEEDED(code)) {
            code = g.GetCaptureBuilder()->RenderStream(nullptr, nullptr, g.GetSmartTee(), g.GetGrabberFilter(),
                                                       g.GetRenderer());
        }
        if (SUCCEEDED(code)) {
            code = g.GetCaptureBuilder()->RenderStream(nullptr, nullptr, g.GetSmartTee(), nullptr, g.GetNullRenderer());
        }
        if (FAILED(code)) return false;
        g.UpdateGrabberFrameSize();
    }
    m_view = view;
    m_hostWindow = view;
    g.Grabber().SetNoticeWindow(GetAncestor(view, GA_ROOT));
    RECT client{};
    GetClientRect(view, &client);
    if (m_stretch) {
        g.SetVideoOwner(view, client);
    } else {
        const int left = std::max(0, static_cast<int>(client.right - m_videoWidth - client.left) / 2);
        const int top = std::max(0, static_cast<int>(client.bottom - m_videoHeight - client.top) / 2);
        g.SetVideoOwner(view, RECT{left, top, left + m_videoWidth, top + m_videoHeight});
    }
    FitVideoWindow(m_stretch);
    if (m_property) {
        m_property->EnableCrossLine(0, 0, 0);
        // The start goes on without automatic exposure switched off.
        if (m_property->SetAE(0) != 0) Message(IDS_AUTO_EXPOSURE_FAILED);
    }
    SetVideoStatusTimer(true);
    if (!g.GetDroppedFrames()) {
        IAMDroppedFrames* dropped = nullptr;
        ICaptureGraphBuilder2* builder = g.GetCaptureBuilder();
        if (builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, g.GetSource(), IID_IAMDroppedFrames,
                                   reinterpret_cast<void**>(&dropped)) != S_OK) {
            dropped = nullptr;
            builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, g.GetSource(), IID_IAMDroppedFrames,
                                   reinterpret_cast<void**>(&dropped));
        }
        // A pin without the counters still previews; the frame rate reads 0.
        g.SetDroppedFrames(dropped);
    }
    m_lastNotDropped = 0;
    if (IAMDroppedFrames* dropped = g.GetDroppedFrames()) {
        dropped->GetNumNotDropped(&m_lastNotDropped);
    }
    return true;
}

void CDShowCamera::StartPreview(HWND host) {
    if (m_previewing || m_recording) return;
    if (Open(false) && BuildAndConnect(host) && m_graph->Run()) {
        m_previewing = 1;
        LoadSettings();
    } else {
        Close();
    }
}

void CDShowCamera::StopPreview() {
    if (!m_previewing) return;
    SaveSettings();
    if (m_graph) m_graph->Stop();
    Close();
    SetFillWindow(0);
    m_previewing = 0;
    m_recording = 0;
}

void CDShowCamera::StartRecord(HWND host) {
    if (m_recording) return;
    m_settings.GetInt(m_useCompressor, kVideo, L"bCompressor", 0);
    m_settings.GetString(m_compressorName, kVideo, L"SCompressor");
    if (m_previewing) {
        StopPreview();
        m_previewing = 1;
    }
    m_recording = 1;
    m_recordingPath.clear();
    if (!Open(true)) {
        Close();
        m_recording = 0;
        m_previewing = 0;
        return;
    }
    if (BuildAndConnect(host) && m_graph->Run()) {
        return;
    }
    Close();
    RemoveEmptyRecording();
    m_recording = 0;
    if (m_previewing) {
        m_previewing = 0;
        StartPreview(host);
    }
}

void CDShowCamera::StopRecord(HWND host) {
    if (!m_recording) return;
    SaveSettings();
    m_recording = 0;
    if (m_graph) m_graph->Stop();
    Close();
    RemoveEmptyRecording();
    if (m_previewing) {
        m_previewing = 0;
        if (host) StartPreview(host);
    }
}

void CDShowCamera::RemoveEmptyRecording() {
    if (m_recordingPath.empty()) return;
    const std::wstring path = std::exchange(m_recordingPath, std::wstring());
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0 ||
        data.nFileSizeLow != 0) {
        return;
    }
    if (DeleteFileW(path.c_str())) Message(IDS_RECORDING_EMPTY_REMOVED);
}

float CDShowCamera::GetFrameRate() const {
    if (!m_graph || !m_graph->GetDroppedFrames()) return 0.0f;
    long notDropped = 0;
    if (FAILED(m_graph->GetDroppedFrames()->GetNumNotDropped(&notDropped))) return 0.0f;
    const float rate = static_cast<float>(notDropped - m_lastNotDropped);
    m_lastNotDropped = notDropped;
    return rate;
}

void CDShowCamera::FitVideoWindow(int stretch) {
    m_stretch = stretch;
    if (!m_graph || !m_view || !m_graph->GetVideoWindow()) return;
    RECT client{};
    GetClientRect(m_view, &client);
    const VideoSize area{client.right - client.left, client.bottom - client.top};
    const VideoSize capture{m_videoWidth, m_videoHeight};
    const VideoPlacement placement = m_fillWindow ? FillWindowLayout(area, FillRounding::multipleOf4)
                                     : stretch    ? StretchedLayout(capture, area)
                                                  : OneToOneLayout(capture, area);
    m_graph->GetVideoWindow()->SetWindowPosition(placement.x, placement.y, placement.width, placement.height);
    m_videoPos = {placement.x, placement.y};
    m_videoWindowSize = {placement.width, placement.height};
}

CameraFrameSize CDShowCamera::GetVideoSize() const {
    return m_graph ? CameraFrameSize{m_videoWidth, m_videoHeight} : CameraFrameSize{};
}

int CDShowCamera::ArmStill(int width, int height, bool userNaming) {
    std::wstring unusedName;
    std::optional<std::wstring> name = NextSnapshotFileName(m_imageType, LocalNow(), userNaming && m_nameType == 1,
                                                            userNaming ? m_pendingShotName : unusedName);
    if (!name) return 0;
    m_lastShotPath = m_shotFolder + *name;
    m_graph->Grabber().SetImageType(m_imageType);
    return m_graph->Grabber().Arm({width, height, m_lastShotPath, m_imageType, m_openAfterSave != 0}) ? 1 : 0;
}

int CDShowCamera::SaveSnapshot() {
    // A recording graph has no grabber; a pending still is still being written.
    if (!m_graph || m_recording || m_graph->Grabber().IsPending()) return 0;
    return ArmStill(m_videoWidth, m_videoHeight, true);
}

int CDShowCamera::CaptureStillAtSize() {
    if (!m_graph || m_recording || m_graph->Grabber().IsPending()) return 0;
    m_stillPending = 1;
    long exposure = 0;
    if (!m_property || m_property->GetExposure(exposure) != 0 || exposure < 0) exposure = 0;
    m_savedExposure = exposure;
    // The exposure counts lines: the larger frame keeps the same time per frame.
    const StillPlan plan = PlanStillAtSize({m_videoWidth, m_videoHeight}, {m_snapshotSize.width, m_snapshotSize.height},
                                           static_cast<std::uint32_t>(exposure), true);
    int width = m_videoWidth, height = m_videoHeight;
    if (plan.switchSize) {
        if (m_property) m_property->SetExposure(static_cast<long>(plan.exposure));
        SetFormatSize(m_snapshotSize.width, m_snapshotSize.height, false, true);
        width = m_snapshotSize.width;
        height = m_snapshotSize.height;
    }
    return ArmStill(width, height, false);
}

void CDShowCamera::SetStillExposure() {
    if (!m_stillPending) return;
    m_stillPending = 0;
    if (m_graph && m_videoWidth != m_snapshotSize.width && m_videoHeight != m_snapshotSize.height) {
        if (m_property) m_property->SetExposure(m_savedExposure);
        SetFormatSize(m_videoWidth, m_videoHeight, false, true);
    }
}

void CDShowCamera::SetFormatSize(int width, int height, bool save, bool run) {
    if (!m_graph) return;
    m_graph->Stop();
    m_graph->DisconnectDownstream(m_graph->GetSource());
    ApplyFormat(width, height, 0);
    if (save) {
        m_videoWidth = width;
        m_videoHeight = height;
        m_settings.WriteInt(width, kPin, L"Width");
        m_settings.WriteInt(height, kPin, L"Height");
    }
    BuildAndConnect(m_view);
    if (run) m_graph->Run();
}

void CDShowCamera::SaveSnapshotSize(const std::wstring& label, int width, int height) {
    const std::optional<ListedFormat> chosen = ChooseSnapshotSize(m_formats, label, width, height);
    if (!chosen) return;
    m_snapshotSize = {chosen->label, chosen->width, chosen->height};
    m_settings.WriteInt(chosen->width, kVideo, L"ShoutWidth");
    m_settings.WriteInt(chosen->height, kVideo, L"ShoutHeight");
}

void CDShowCamera::SetResolution(int index) {
    if (!m_graph || index < 0 || index >= static_cast<int>(m_formats.size())) return;
    const bool running = m_previewing || m_recording;
    const ListedFormat format = m_formats[static_cast<std::size_t>(index)];
    SetFormatSize(format.width, format.height, true, running);
}

void CDShowCamera::SetCaptureFormat() {
    if (!m_graph) return;
    m_graph->Stop();
    m_graph->DisconnectDownstream(m_graph->GetSource());
    IPin* pin = nullptr;
    m_graph->FindPinInterface(m_graph->GetSource(), IID_IPin, reinterpret_cast<void**>(&pin));
    if (pin) {
        m_graph->ShowPinPages(pin, m_view);
        pin->Release();
    }
    if (IAMStreamConfig* config = StreamConfig()) {
        AM_MEDIA_TYPE* type = nullptr;
        if (SUCCEEDED(config->GetFormat(&type))) {
            if (const VIDEOINFOHEADER* info = VideoInfo(type)) {
                m_videoWidth = info->bmiHeader.biWidth;
                m_videoHeight = info->bmiHeader.biHeight;
                m_settings.WriteInt(m_videoWidth, kPin, L"Width");
                m_settings.WriteInt(m_videoHeight, kPin, L"Height");
            }
            DeleteType(type);
        }
        config->Release();
    }
    BuildAndConnect(m_view);
    m_graph->Run();
}

int CDShowCamera::ShowVideoParams() {
    if (!m_graph) return 0;
    m_graph->ShowFilterPages(m_graph->GetSource(), m_view);
    return 1;
}

void CDShowCamera::SelectDevice(int index) {
    if (index != m_deviceIndex) m_deviceIndex = index;
}

int CDShowCamera::EnumDevices() {
    if (m_graph) return 0;
    m_deviceList.clear();
    CCaptureGraph listing;
    DeviceMonikers monikers;
    if (listing.BuildFilters()) {
        listing.QueryControls();
        listing.EnumVideoDevices(monikers);
        for (int i = 0; i < listing.GetDeviceCount(); ++i) {
            m_deviceList.push_back({listing.GetDeviceName(i), i});
        }
    }
    m_deviceCount = static_cast<int>(m_deviceList.size());
    listing.TearDown();
    return 1;
}

void CDShowCamera::SelectAviCompressor() {
    m_settings.GetInt(m_useCompressor, kVideo, L"bCompressor", 0);
    m_settings.GetString(m_compressorName, kVideo, L"SCompressor");
    const auto chosen = m_chooseCompressor ? m_chooseCompressor(m_useCompressor, m_compressorName)
                                           : RunCompressorDlg(m_useCompressor, m_compressorName, m_view);
    if (!chosen) return;
    m_useCompressor = chosen->first;
    m_compressorName = chosen->second;
    m_settings.WriteInt(m_useCompressor, kVideo, L"bCompressor");
    m_settings.WriteString(m_compressorName.c_str(), kVideo, L"SCompressor");
}

int CDShowCamera::GetBW() const { return ReadInto(m_bw, OpenProperties(), &CKsProperty::GetBW); }
int CDShowCamera::GetLightAVG() const { return ReadInto(m_lightAvg, OpenProperties(), &CKsProperty::GetLightAVG); }
int CDShowCamera::GetClearView() const { return ReadInto(m_clearView, OpenProperties(), &CKsProperty::GetClearView); }
int CDShowCamera::GetVideoZoom() const { return ReadInto(m_videoZoom, OpenProperties(), &CKsProperty::GetVideoZoom); }

int CDShowCamera::GetCrossLineEnabled() const {
    if (CKsProperty* properties = OpenProperties()) {
        long on = m_crossLine, x = 0, y = 0;
        if (properties->GetCrosslineStatus(on, x, y) == 0 && on >= 0) m_crossLine = static_cast<int>(on);
    }
    return m_crossLine;
}

// Setters answer the property call's result (0 when it was taken).
int CDShowCamera::SetVideoZoom(int on) {
    CKsProperty* properties = OpenProperties();
    if (!properties) return 0;
    m_videoZoom = on;
    return static_cast<int>(properties->SetVideoZoom(on));
}
int CDShowCamera::SetClearView(int on) {
    CKsProperty* properties = OpenProperties();
    if (!properties) return 0;
    m_clearView = on;
    return static_cast<int>(properties->SetClearView(on));
}
int CDShowCamera::SetLightAVG(int on) {
    CKsProperty* properties = OpenProperties();
    if (!properties) return 0;
    m_lightAvg = on;
    return static_cast<int>(properties->SetLightAVG(on));
}
int CDShowCamera::SetBW(int on) {
    CKsProperty* properties = OpenProperties();
    if (!properties) return 0;
    m_bw = on;
    return static_cast<int>(properties->SetBW(on));
}

int CDShowCamera::SetAutoWhiteBalance() {
    CKsProperty* properties = OpenProperties();
    return properties ? static_cast<int>(properties->SetAWB(1)) : 0;
}
int CDShowCamera::SetAutoExposure() {
    CKsProperty* properties = OpenProperties();
    return properties ? static_cast<int>(properties->SetAE(1)) : 0;
}

void CDShowCamera::SetFinBadPNT(int on) {
    if (CKsProperty* properties = OpenProperties()) properties->SetFinBadPNT(on);
}

// Types 2 and 5 are one group of cameras.
int CDShowCamera::CheckDeviceType() const {
    CKsProperty* properties = OpenProperties();
    if (!properties) return 0;
    const KSP_DEVICE_TYPE type = properties->CheckDeviceType();
    return type == 2 || type == 5 ? 1 : 0;
}

void CDShowCamera::EnableCrossLine(int on, int x, int y) {
    CKsProperty* properties = OpenProperties();
    if (!properties) return;
    properties->EnableCrossLine(on, x, y);
    m_crossLine = on;
}

void CDShowCamera::GetCrosslineStatus(int* on, int* x, int* y) const {
    CKsProperty* properties = OpenProperties();
    if (!properties) return;
    long lineOn = 0, lineX = 0, lineY = 0;
    properties->GetCrosslineStatus(lineOn, lineX, lineY);
    if (on) *on = static_cast<int>(lineOn);
    if (x) *x = static_cast<int>(lineX);
    if (y) *y = static_cast<int>(lineY);
}

void CDShowCamera::SaveSettings() {
    CIniFile& s = m_settings;
    s.WriteInt(m_bw, kVideo, L"BW");
    s.WriteInt(m_lightAvg, kVideo, L"AVG");
    s.WriteInt(m_clearView, kVideo, L"ClearVideo");
    s.WriteInt(m_videoZoom, kVideo, L"ZoomVideo");
    s.WriteInt(m_crossLine, kVideo, L"Crossline");
    s.WriteInt(m_imageType, kVideo, L"ImgType");
    s.WriteInt(m_nameType, kVideo, L"NameType");
    SaveCrossLineSettings(s, *this);
    // The device's own values, each only when the device answered it.
    CKsProperty* properties = OpenProperties();
    if (!properties) return;
    const std::pair<long (CKsProperty::*)(long&), const wchar_t*> readings[] = {
        {&CKsProperty::GetExposure, L"Exposure"},
        {&CKsProperty::GetGain_R, L"Gain_R"},
        {&CKsProperty::GetGain_G, L"Gain_G"},
        {&CKsProperty::GetGain_B, L"Gain_B"},
    };
    for (const auto& [get, key] : readings) {
        long value = 0;
        if ((properties->*get)(value) == 0) s.WriteInt(static_cast<int>(value), kVideo, key);
    }
    long on = 0, x = 0, y = 0;
    if (properties->GetCrosslineStatus(on, x, y) == 0) {
        s.WriteInt(static_cast<int>(x), kVideo, L"Crossline_x");
        s.WriteInt(static_cast<int>(y), kVideo, L"Crossline_y");
    }
}

void CDShowCamera::LoadSettings() {
    CIniFile& s = m_settings;
    s.GetInt(m_bw, kVideo, L"BW", 0);
    s.GetInt(m_lightAvg, kVideo, L"AVG", 0);
    s.GetInt(m_clearView, kVideo, L"ClearVideo", 0);
    s.GetInt(m_videoZoom, kVideo, L"ZoomVideo", 0);
    int crossX = 0, crossY = 0;
    s.GetInt(m_crossLine, kVideo, L"Crossline", 0);
    s.GetInt(crossX, kVideo, L"Crossline_x", 0);
    s.GetInt(crossY, kVideo, L"Crossline_y", 0);
    s.GetInt(m_nameType, kVideo, L"NameType", 0);
    int width = 0, height = 0;
    s.GetInt(width, kVideo, L"ShoutWidth", 0);
    s.GetInt(height, kVideo, L"ShoutHeight", 0);
    m_snapshotSize = {FormatLabel(width, height), width, height};
    s.GetInt(m_imageType, kVideo, L"ImgType", 1);
    LoadCrossLineSettings(s, *this);
    EnableCrossLine(m_crossLine, crossX, crossY);
    SetClearView(m_clearView);
    SetVideoZoom(m_videoZoom);
    SetLightAVG(m_lightAvg);
    SetBW(m_bw);
}
