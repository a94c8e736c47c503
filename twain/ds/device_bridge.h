#pragma once
// `CDeviceBridge`: the device library KQCMos_TW.DLL beside the data source,
// its `CTWAIN` object and a copy of the camera's resolution table. It lives
// from MSG_OPENDS to MSG_CLOSEDS, whatever happens to the dialog.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ctwain.h"
#include "unique_handle.h"

namespace twain::ds {

struct Resolution {
    std::string name;
    int width = 0;
    int height = 0;
};

class CDeviceBridge {
public:
    // Loads the library from the data source's folder and opens the camera;
    // null (after telling the user) when either fails.
    static std::unique_ptr<CDeviceBridge> Create(HINSTANCE dataSource);
    ~CDeviceBridge();
    CDeviceBridge(const CDeviceBridge&) = delete;
    CDeviceBridge& operator=(const CDeviceBridge&) = delete;

    CTWAIN& Device() const { return *device_; }
    const std::vector<Resolution>& Resolutions() const { return resolutions_; }
    // Keeps the library loaded and the camera open for good: used where
    // closing them could wait on threads (the loader lock is held).
    void Abandon();

private:
    CDeviceBridge(UniqueModule library, CTWAIN* device, std::vector<Resolution> resolutions);

    UniqueModule library_;
    CTWAIN* device_;
    std::vector<Resolution> resolutions_;
};

}  // namespace twain::ds
