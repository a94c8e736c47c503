#pragma once
// The modeless settings dialog (resource 105): every camera setting as a
// control, a live preview, and the capture and exit buttons. Controls and
// the device meet through `ControlToParam` (the user changed a control) and
// `ParamToControl` (the device changed a value, message 1174).

#include <windows.h>

#include <map>
#include <memory>

#include "device_bridge.h"
#include "preview_window.h"

namespace twain::ds {

class SettingsDialogOwner {
public:
    virtual void OnCaptureButton() = 0;
    virtual void OnExitButton() = 0;

protected:
    ~SettingsDialogOwner() = default;
};

class CSettingsDialog {
public:
    static constexpr UINT kParamChanged = WM_USER + 150;  // 1174, from the device library
    static constexpr UINT kApplyControl = WM_USER + 151;  // 1175

    CSettingsDialog(HINSTANCE instance, HWND parent, CDeviceBridge& bridge, SettingsDialogOwner& owner, bool show,
                    int frames);
    ~CSettingsDialog();
    CSettingsDialog(const CSettingsDialog&) = delete;
    CSettingsDialog& operator=(const CSettingsDialog&) = delete;

    HWND Handle() const { return dialog_; }
    HWND PreviewHandle() const { return preview_ ? preview_->Handle() : nullptr; }
    int FrameCount() const;
    // Destroys the window without stopping the preview, which waits for the
    // device's capture thread: for the loader lock, where that would hang.
    void CloseWithoutWaiting();

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void InitSettingsDialog();
    void ControlToParam(int control);
    void ParamToControl(unsigned id, int value);
    void OnDestroy();
    int Get(unsigned id) const;
    void SelectCombo(int control, int index);

    HINSTANCE instance_;
    CDeviceBridge& bridge_;
    SettingsDialogOwner& owner_;
    int initialFrames_;
    bool show_;
    bool stopPreview_ = true;
    HWND dialog_ = nullptr;
    std::unique_ptr<CPreviewWindow> preview_;
    // The value each control last gave the device, by control id.
    std::map<int, int> mirror_;
};

}  // namespace twain::ds
