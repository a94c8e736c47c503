#pragma once
// The real main frame built in the test's process, its view making its
// cameras with the camera double: by default only the DirectShow family is
// loaded and it lists one device, "Capture", with the given resolutions.
#include <windows.h>

#include <memory>
#include <vector>

#include "fake_camera.h"
#include "main_frame.h"
#include "mikra_view.h"
#include "pump_until.h"
#include "resource.h"

// A camera family the double offers and the devices its cameras list.
struct DoubleFamily {
    CameraFamily kind;
    std::vector<CameraDeviceEntry> devices;
};

// The real main frame whose view makes its cameras with the double: only the
// given families are loaded; each camera has the resolutions given.
inline bool LoadFrameWithCameraDoubles(CMainFrame& frame, CDocument& document, std::vector<DoubleFamily> families,
                                       std::vector<CameraResolution> resolutions = {}) {
    auto devicesOf = [families](CameraFamily kind) -> const DoubleFamily* {
        for (const DoubleFamily& family : families) {
            if (family.kind == kind) {
                return &family;
            }
        }
        return nullptr;
    };
    auto factory = [devicesOf, resolutions](CameraFamily kind, int index, HWND) -> std::unique_ptr<CCameraDevice> {
        auto camera = std::make_unique<FakeCamera>();
        camera->kind = kind;
        camera->deviceIndex = index;
        if (const DoubleFamily* family = devicesOf(kind)) {
            camera->devices = family->devices;
        }
        camera->resolutions = resolutions;
        return camera;
    };
    CCreateContext context{&document, [factory, devicesOf] {
                               return std::make_unique<CMikraView>(
                                   factory, [devicesOf](CameraFamily kind) { return devicesOf(kind) != nullptr; });
                           }};
    return frame.LoadFrame(IDR_MAINFRAME, context);
}

inline bool LoadFrameWithCameraDouble(CMainFrame& frame, CDocument& document,
                                      std::vector<CameraResolution> resolutions = {}) {
    return LoadFrameWithCameraDoubles(frame, document, {{CameraFamily::directShow, {{L"Capture", 0}}}},
                                      std::move(resolutions));
}

// Shows the frame for painting without taking the focus from other windows.
inline void ShowWithoutActivating(CMainFrame& frame) {
    SetWindowPos(frame.GetSafeHwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    UpdateWindow(frame.GetSafeHwnd());
}

// The real main frame with the double, shown without activation, and its
// view after its first update; null when the frame could not be loaded.
inline CMikraView* LoadShownFrameView(CMainFrame& frame, CDocument& document) {
    if (!LoadFrameWithCameraDouble(frame, document)) {
        return nullptr;
    }
    ShowWithoutActivating(frame);
    auto* view = dynamic_cast<CMikraView*>(frame.GetActiveView());
    if (view != nullptr) {
        view->OnInitialUpdate();
    }
    return view;
}

// Pumps the frame's messages until the browser has loaded every thumbnail it
// was asked for: its loader reads the picture files, so a test deletes them
// only afterwards. False when they are not loaded within the time.
inline bool WaitForBrowserThumbnails(CMainFrame& frame) {
    const CPictureBrowser& browser = frame.GetBrowserBar().GetPictureBrowser();
    return testing_support::PumpUntil([&browser] { return browser.GetPendingThumbnails() == 0; });
}
