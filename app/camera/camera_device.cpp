#include "camera_device.h"

#include <cmath>

#include "capture_file_names.h"
#include "lent_payload.h"
#include "prompt_dlg.h"
#include "private_messages.h"
#include "resource_module.h"
#include "timed_interval.h"

namespace {

LocalTimestamp Now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

CCameraDevice::CCameraDevice(HWND view, const std::wstring& settingsPath) : m_viewWindow(view), m_hostWindow(view) {
    if (!settingsPath.empty()) {
        m_settings.m_strPath = settingsPath;
    }
}

void CCameraDevice::SetStillExposure() { m_stillPending = 0; }

int CCameraDevice::DoWhiteBalanceOnce(int, int, int, int) { return 0; }

int CCameraDevice::DoExposureOnce(int, int, int, int) { return 0; }

int CCameraDevice::CheckDeviceType() const { return 0; }

void CCameraDevice::SetCaptureFormat() {}

void CCameraDevice::SetFinBadPNT(int) {}

void CCameraDevice::ResetLightAvg() {}

int CCameraDevice::SetTimedCapture(int on, float seconds) {
    if (!IsVideoOpen()) {
        m_timedCapture = 0;
        return 0;
    }
    if (on) {
        const std::optional<std::int32_t> intervalMs = TimedCaptureIntervalMs(seconds);
        if (!intervalMs) {
            return 0;
        }
        SetTimer(m_viewWindow, kTimedCaptureTimerId, static_cast<UINT>(*intervalMs), nullptr);
        m_timedCapture = 1;
    } else {
        KillTimer(m_viewWindow, kTimedCaptureTimerId);
        m_timedCapture = 0;
    }
    return 1;
}

int CCameraDevice::SetAEParam(int) { return 0; }

int CCameraDevice::GetAELiving() const { return 0; }

int CCameraDevice::SetExposureUnit(int) { return 0; }

int CCameraDevice::SetZoomMode(int) { return 0; }

int CCameraDevice::ShowVideoParams() { return 0; }

int CCameraDevice::SetAEParamGigE(int) { return 0; }

CameraResolution CCameraDevice::GetSnapshotSizeSetting() const { return m_snapshotSize; }

int CCameraDevice::IsTimedCapture() const { return m_timedCapture; }

int CCameraDevice::IsRecordDisabled() const { return m_eightBitFrames; }

CameraPoint CCameraDevice::GetVideoPos() const { return m_videoPos; }

CameraFrameSize CCameraDevice::GetVideoWindowSize() const { return m_videoWindowSize; }

int CCameraDevice::GetCameraKind() const { return m_cameraKind; }

std::wstring CCameraDevice::GetLastShotPath() const { return m_lastShotPath; }

int CCameraDevice::GetImageType() const { return m_imageType; }

void CCameraDevice::SetImageType(int type) { m_imageType = type; }

int CCameraDevice::GetNameType() const { return m_nameType; }

void CCameraDevice::SetNameType(int type) { m_nameType = type; }

void CCameraDevice::SetShotName(const std::wstring& name) { m_pendingShotName = name; }

std::wstring CCameraDevice::GetShotFolder() const { return m_shotFolder; }

void CCameraDevice::SetShotFolder(const std::wstring& folder) { m_shotFolder = folder; }

std::wstring CCameraDevice::GetVideoFolder() const { return m_videoFolder; }

void CCameraDevice::SetVideoFolder(const std::wstring& folder) { m_videoFolder = folder; }

std::wstring CCameraDevice::GetDeviceName() const { return m_deviceName; }

void CCameraDevice::SetDeviceName(const std::wstring& name) { m_deviceName = name; }

void CCameraDevice::SetFillWindow(int on) { m_fillWindow = on; }

int CCameraDevice::IsMonochrome() const { return m_monochrome; }

void CCameraDevice::SetOpenAfterSave(int open) { m_openAfterSave = open; }

std::vector<CameraDeviceEntry> CCameraDevice::GetDeviceList() const { return m_deviceList; }

std::span<const CameraResolution> CCameraDevice::GetResolutionList() const { return m_resolutions; }

int CCameraDevice::GetExposureUnit() const { return m_exposureUnit; }

int CCameraDevice::IsExposureUnitSupported() const { return m_exposureUnitSupported; }

const std::optional<std::array<int, 2>>& CCameraDevice::GetExposureRange() const { return m_exposureRange; }

void CCameraDevice::SetParamFileIndex(int index) { m_paramFileIndex = index; }

void CCameraDevice::DrawCrossLines(std::uint8_t* frame, int width, int height, int bits) const {
    if (frame == nullptr || width <= 0 || height <= 0 || bits <= 0) {
        return;
    }
    const std::size_t bytes = std::size_t(width) * std::size_t(height) * std::size_t(bits / 8);
    m_crossLines.DrawInto({std::span<std::uint8_t>(frame, bytes), width, height, bits});
}

int CCameraDevice::SetCrossLineCount(int count) {
    m_crossLines.Grow(count);
    return 1;
}

int CCameraDevice::SetCrossLine(int i, int index, int draw, int centre, int xOffset, int yOffset, ColourRef colour) {
    return m_crossLines.Set(i, {index, draw, centre, xOffset, yOffset, colour & 0x00FFFFFF}) ? 1 : 0;
}

int CCameraDevice::GetCrossLineCount() const { return m_crossLines.Count(); }

std::optional<CrossLineEntry> CCameraDevice::GetCrossLine(int i) const { return m_crossLines.Get(i); }

std::optional<std::wstring> CCameraDevice::NextSnapshotPath() {
    const std::optional<std::wstring> name =
        NextSnapshotFileName(m_imageType, Now(), m_nameType == 1, m_pendingShotName);
    if (!name) {
        return std::nullopt;
    }
    m_lastShotPath = m_shotFolder + *name;
    return m_lastShotPath;
}

void CCameraDevice::Tell(UINT textId, HWND owner) const {
    if (m_showMessage) {
        m_showMessage(textId);
    } else {
        CPromptDlg(LoadResourceString(textId), L"Vizcam", 0, owner).DoModal();
    }
}

void CCameraDevice::AnnounceSnapshot() {
    if (!m_openAfterSave || !m_viewWindow) {
        return;
    }
    const HWND mainWindow = GetAncestor(m_viewWindow, GA_ROOT);
    const std::wstring path = m_lastShotPath;
    const CLentPayload lent(&path);
    SendMessageW(mainWindow, WM_SNAPSHOT_SAVED, lent.Get(), 0);
}

std::optional<std::wstring> CCameraDevice::NewRecordingPath() const {
    return NewVideoPath(m_videoFolder, Now(), FileExists);
}

void CCameraDevice::SetVideoStatusTimer(bool on) {
    if (!m_viewWindow) {
        return;
    }
    if (on) {
        SetTimer(m_viewWindow, kVideoStatusTimerId, kVideoStatusIntervalMs, nullptr);
    } else {
        KillTimer(m_viewWindow, kVideoStatusTimerId);
    }
}

std::optional<int> CCameraDevice::FindResolution(int width, int height) const {
    for (std::size_t i = 0; i < m_resolutions.size(); ++i) {
        if (m_resolutions[i].width == width && m_resolutions[i].height == height) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}
