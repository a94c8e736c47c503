#pragma once
// The real main frame built in the test's process, its view making its
// cameras with the camera double: only the DirectShow family is loaded and it
// lists one device, "Capture", with the given resolutions.
#include <windows.h>

#include <memory>
#include <vector>

#include "fake_camera.h"
#include "main_frame.h"
#include "mikra_view.h"
#include "pump_until.h"
#include "resource.h"

inline bool LoadFrameWithCameraDouble(CMainFrame& frame, CDocument& document,
                                      std::vector<CameraResolution> resolutions = {}) {
    auto factory = [resolutions](CameraFamily kind, int, HWND) -> std::unique_ptr<CCameraDevice> {
        auto camera = std::make_unique<FakeCamera>();
        camera->kind = kind;
        camera->devices = {{L"Capture", 0}};
        camera->resolutions = resolutions;
        return camera;
    };
    CCreateContext context{&document, [factory] {
                               return std::make_unique<CMikraView>(
                                   factory, [](CameraFamily kind) { return kind == CameraFamily::directShow; });
                           }};
    return frame.LoadFrame(IDR_MAINFRAME, context);
}

// Shows the frame for painting without taking the focus from other windows.
inline void ShowWithoutActivating(CMainFrame& frame) {
    SetWindowPos(frame.GetSafeHwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    UpdateWindow(frame.GetSafeHwnd());
}

// Pumps the frame's messages until the browser has loaded every thumbnail it
// was asked for: its loader reads the picture files, so a test deletes them
// only afterwards. False when they are not loaded within the time.
inline bool WaitForBrowserThumbnails(CMainFrame& frame) {
    const CPictureBrowser& browser = frame.GetBrowserBar().GetPictureBrowser();
    return testing_support::PumpUntil([&browser] { return browser.GetPendingThumbnails() == 0; });
}
