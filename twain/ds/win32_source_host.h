#pragma once
// The data source's platform on Windows: the device bridge, the settings
// dialog, notifications through the source manager already loaded in the
// process, and transfer files.

#include <windows.h>

#include <memory>

#include "device_bridge.h"
#include "settings_dialog.h"
#include "source_host.h"

namespace twain::ds {

class Win32SourceHost : public SourceHost {
public:
    Win32SourceHost(HINSTANCE instance, SettingsDialogOwner& buttons) : instance_(instance), buttons_(buttons) {}
    ~Win32SourceHost() override;

    bool OpenDevice() override;
    void CloseDevice() override;
    bool CreateSettingsDialog(TW_HANDLE parent, bool show) override;
    void DestroySettingsDialog() override;
    bool NotifyApplication(const TW_IDENTITY& own, const TW_IDENTITY& application, TW_UINT16 msg) override;
    bool ProcessEvent(TW_MEMREF event) override;
    ImageShape DeviceShape() override;
    bool GrabFrame(const ImageShape& shape, std::span<std::uint8_t> pixels) override;
    int FrameCount() override;
    bool CanCreateFile(const std::string& path) override;
    bool WriteFile(const std::string& path, std::span<const std::uint8_t> header,
                   std::span<const std::uint8_t> body) override;

    // Leaves the device library loaded and its camera open: for process
    // detach, where closing them could wait under the loader lock.
    void Abandon();

private:
    HINSTANCE instance_;
    SettingsDialogOwner& buttons_;
    std::unique_ptr<CDeviceBridge> bridge_;
    std::unique_ptr<CSettingsDialog> dialog_;
    int frames_ = 1;  // the dialog's count, kept while it is closed
};

}  // namespace twain::ds
