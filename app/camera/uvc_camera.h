#pragma once
// `CUVCCamera`: camera kind 5, one UVC camera of the maker's own library
// KQUVCu, reached only through the entry points its loader bound. Its image
// parameters are sixteen numbered properties the library keeps, stored in
// section "UVC" of Config.ini; devices are numbered from 0. It runs the
// library's preview inside the view and burns the crosshairs into every
// frame, which the library delivers on its own thread; the frame callback
// draws through the base's overlay only, and stopping the preview and
// closing the device join the library's threads.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "library_camera.h"

// What the user chose in the compressor dialog: its number (from 1 as the
// dialog counts; the library counts from 0) and the compressor's name.
struct AviCompressorChoice {
    int number = 0;
    std::wstring name;
};

// Replaces the compressor dialog: the stored choice in, none on Cancel.
using AviCompressorChooser =
    std::function<std::optional<AviCompressorChoice>(int storedChoice, const std::wstring& storedName)>;

class CUVCCamera : public CLibraryCamera {
public:
    // Opens the device with this number (from 0); settingsPath as the base's.
    CUVCCamera(HWND view, int deviceNumber, const std::wstring& settingsPath = {});
    // Device 0 without a host window; StartPreview or StartRecord gives it one.
    CUVCCamera();
    ~CUVCCamera() override;

    void SaveSettings() override;
    void LoadSettings() override;
    int CaptureStillAtSize() override;
    float GetFrameRate() const override;
    int GetBW() const override { return 0; }
    int GetLightAVG() const override { return 0; }
    int GetClearView() const override { return m_clearView; }
    int GetVideoZoom() const override { return m_videoZoom; }
    int SetAutoWhiteBalance() override;
    int SetAutoExposure() override;
    int EnumDevices() override;
    // Only with an open device and a running preview: dialog 262; OK reads
    // the properties back from the library, Cancel writes the stored ones
    // back. Returns the dialog's result, 0 when it was not shown.
    int ShowVideoParams() override;
    // Dialog 137 (or the chooser set in its place): stores the user's
    // choice in section "Video" and gives it to the library.
    void SelectAviCompressor() override;
    int SetVideoZoom(int on) override;
    int SetClearView(int on) override;
    int SetLightAVG(int) override { return 0; }
    int SetBW(int) override { return 0; }
    void SetResolution(int index) override;
    int SetAEParam(int) override { return 1; }
    int SetExposureUnit(int unit) override;
    int GetParamFileIndex() const override { return -1; }
    void LoadParamFile(CIniFile&) override {}
    void CopyParamFileToSettings(const std::wstring&) override {}

    void SetCompressorChooser(AviCompressorChooser chooser) { m_chooseCompressor = std::move(chooser); }
    // The camera type the library reported at open.
    int GetDeviceType() const { return m_deviceType; }
    // The stored value of a property id, 0 when it has none.
    int GetProperty(int id) const;

private:
    void Open(int deviceNumber) override;
    void Close() override;
    void ChooseResolutionTable();
    void StartLibraryView() override;
    void StopLibraryView() override;
    int CaptureToAvi(const wchar_t* path) override;
    void LayOut() override;
    // The library places its view only through the view window, so the
    // scroll offset is kept and nothing is sent.
    void ScrollLibraryView(int, int) override {}
    // Asks the library for a capture size and publishes the frame geometry after it.
    int SendResolution(int width, int height);
    int WriteSnapshotFile(const std::wstring& path) override;
    // After the parameter dialog: the library's values, or the stored ones
    // given back to it.
    void ReadPropertiesBack();
    void WritePropertiesBack(bool colourModeChanged);

    static int WINAPI OnFrame(unsigned char* frame, int unused, void* context);

    int m_deviceType = 0;
    std::vector<std::uint8_t> m_rawBuffer;
    std::vector<std::uint8_t> m_rgbBuffer;
    int m_clearView = 0;
    int m_videoZoom = 0;
    int m_compressorNumber = -1;  // "SCompressorNum", as the dialog counts
    std::map<int, int> m_properties;
    AviCompressorChooser m_chooseCompressor;
};
