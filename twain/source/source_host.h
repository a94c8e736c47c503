#pragma once
// What the data source's protocol core asks of its platform: the device
// bridge, the settings dialog, the way back to the application and files.
// On Windows the data source module implements it; the native tests and
// the fuzzer give their own.

#include <cstdint>
#include <span>
#include <string>

#include "transfer_geometry.h"
#include "twain_protocol.h"

namespace twain {

class SourceHost {
public:
    virtual ~SourceHost() = default;
    // Loads the device library and opens the camera; false when either fails.
    virtual bool OpenDevice() = 0;
    virtual void CloseDevice() = 0;
    // The modeless settings dialog under parent, shown or hidden.
    virtual bool CreateSettingsDialog(TW_HANDLE parent, bool show) = 0;
    virtual void DestroySettingsDialog() = 0;
    // A DAT_NULL notification through the source manager.
    virtual bool NotifyApplication(const TW_IDENTITY& own, const TW_IDENTITY& application, TW_UINT16 msg) = 0;
    // True when the dialog or the preview consumed the event.
    virtual bool ProcessEvent(TW_MEMREF event) = 0;
    // The device's current output size and bits (8 or 24).
    virtual ImageShape DeviceShape() = 0;
    // One new frame as bottom-up DIB pixels of ImageBytes(shape).
    virtual bool GrabFrame(const ImageShape& shape, std::span<std::uint8_t> pixels) = 0;
    // The dialog's frame count, 1 to 10000.
    virtual int FrameCount() = 0;
    virtual bool CanCreateFile(const std::string& path) = 0;
    // Writes header and body as one new file (replacing an older one).
    virtual bool WriteFile(const std::string& path, std::span<const std::uint8_t> header,
                           std::span<const std::uint8_t> body) = 0;
};

}  // namespace twain
