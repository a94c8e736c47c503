#pragma once
// The driver transport of the Windows build: SetupAPI lists the camera
// interface class, CreateFileW opens an interface, DeviceIoControl sends
// control codes and ReadFile reads frames.

#include "camera_transport.h"

namespace kq {

class Win32Transport : public CameraTransport {
public:
    std::optional<std::vector<CameraInterface>> ListInterfaces() override;
    std::unique_ptr<CameraConnection> Open(const CameraInterface& camera) override;
};

}  // namespace kq
