#pragma once
// `CGigECamera`: camera kind 4, one Gigabit Ethernet camera of KQGEu,
// addressed by its camera index from 0 and reached only through the entry
// points its loader bound. What it offers follows from the model code the
// library reports (gige_models.h); its settings live in section "GIGE" and
// in the model's own section of Config.ini. The library paints the live
// picture into the view itself and hands every frame, with the frame's own
// size and depth, to the frame callback first, which burns the crosshairs
// into it on the library's thread.
//
// A camera whose library refuses to open it, or whose model code is in no
// row of the model table, stays a camera without a device: its operations
// do nothing and nothing of it is saved over the user's settings.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "gige_models.h"
#include "gige_video_params.h"
#include "kq_gige_interface.h"
#include "library_camera.h"

class CGigECamera : public CLibraryCamera {
public:
    // Kind 4, no camera opened, no settings read.
    CGigECamera();
    // Opens camera `index`; settingsPath as the base's.
    CGigECamera(HWND view, int index, const std::wstring& settingsPath = {});
    ~CGigECamera() override;

    // Closes what is open and opens camera `index` into `view`; the library's
    // code of the first call that failed, 0 when the camera opened.
    int OpenCamera(int index, HWND view);
    float GetNICFrameRate() const;
    // While previewing: the video-parameter dialog over this camera; the
    // dialog's result, 0 when it was not shown.
    int ShowVideoParams() override;

    void SaveSettings() override;
    void LoadSettings() override;
    int CaptureStillAtSize() override;
    float GetFrameRate() const override;
    int GetBW() const override { return m_blackWhite; }
    int GetLightAVG() const override { return 0; }
    int GetClearView() const override { return 0; }
    int GetVideoZoom() const override { return 0; }
    int SetAutoWhiteBalance() override;
    int SetAutoExposure() override;
    int EnumDevices() override;
    void StartPreview(HWND host) override;
    void SelectAviCompressor() override;
    int SetVideoZoom(int) override { return 0; }
    int SetClearView(int) override { return 0; }
    int SetLightAVG(int) override { return 0; }
    int SetBW(int on) override;
    void SetResolution(int index) override;
    int SetAEParam(int on) override;
    int GetAELiving() const override { return m_aeLiving; }
    int SetZoomMode(int mode) override;
    int SetAEParamGigE(int level) override;
    int GetParamFileIndex() const override { return m_paramFileIndex; }
    void LoadParamFile(CIniFile& file) override;
    void CopyParamFileToSettings(const std::wstring& name) override;
    // The base drawing, with 16-bit frames of a late-sensor camera taking
    // 10-bit samples high byte first.
    void DrawCrossLines(std::uint8_t* frame, int width, int height, int bits) const override;

    std::uint32_t GetModelCode() const { return m_modelCode; }
    GigeColourKind GetColourKind() const { return m_colourKind; }
    int IsCmos() const { return m_cmos; }
    std::wstring GetIpAddress() const { return m_ipAddress; }
    int GetExposure() const { return m_exposure; }
    int GetColourMode() const { return m_colourMode; }
    int GetPacketSize() const { return m_packetSize; }
    CameraFrameSize GetDisplaySize() const { return {m_displayWidth, m_displayHeight}; }

private:
    bool HasDevice() const override { return m_opened != 0; }
    void Open(int index) override;
    void Close() override;
    void ResetMembers();
    void ApplyOpenSettings();
    void ReadDiscoveryRecord();
    void StartLibraryView() override;
    void StopLibraryView() override;
    void LayOut() override;
    void ScrollLibraryView(int x, int y) override;
    int CaptureToAvi(const wchar_t* path) override;
    int WriteSnapshotFile(const std::wstring& path) override;

    // What the video-parameter dialog starts from.
    GigeVideoParams VideoParams() const;

    int SetExposure(int exposure);
    int SetContrast(int contrast);
    int SetGainAll(int which, int gain);
    int SetGainR(int gain);
    int SetGainG(int gain);
    int SetGainB(int gain);
    int SetOffsetH(int offset);
    int SetOffsetV(int offset);
    int SetCapMode(int mode);
    int SetFlipMode(int mode);
    int SetSpeedMode(int mode);
    int SetColorMode(int mode);
    int SetHDR(int on);
    int SetValidBitsOff(int shift);
    int SetPackageSize(int size);

    static void WINAPI FrameCallBackProc(unsigned char* pixels, kqge::KQGE_FRAME_INFO* info, void* self);
    static void WINAPI AeCallBackProc(std::int32_t exposure, std::int32_t ignored, void* self);

    int m_cameraIndex = 0;
    int m_opened = 0;
    std::uint32_t m_modelCode = 0;
    std::wstring m_modelKey = L"default";
    GigeColourKind m_colourKind = GigeColourKind::colour;
    int m_cmos = 0;
    // Set at open, before the frame callback is registered.
    int m_lateSensor = 0;
    int m_displayWidth = 0;
    int m_displayHeight = 0;
    // Written by the library's automatic exposure on its own thread.
    std::atomic<int> m_exposure{480};
    int m_contrast = 32;
    int m_gainAll = 32;
    int m_gainR = 8;
    int m_gainG = 8;
    int m_gainB = 8;
    int m_offsetH = 0;
    int m_offsetV = 0;
    int m_colourMode = 0;
    int m_savedColourMode = 0;
    int m_flipMode = 0;
    int m_zoomMode = 0;
    int m_capMode = 1;
    int m_speedMode = 0;
    int m_blackWhite = 0;
    int m_hdr = 0;
    int m_validBitsOff = 0;
    int m_correcting = 0;
    int m_aeLiving = 0;
    int m_aeLevel = 1;
    int m_packetDelay = 0;
    int m_packetSize = 1500;
    int m_watchdog = 0;
    int m_aviCompressor = 0;
    std::wstring m_ipAddress;
};
