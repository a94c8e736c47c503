#include "kq_library.h"

#include "kq_test_seam.h"
#include "transport/win32_transport.h"

namespace kq {
namespace {
Win32Transport& DriverTransport() {
    static Win32Transport transport;
    return transport;
}
}  // namespace

DeviceLibrary& Library() {
    static DeviceLibrary library(&DriverTransport());
    return library;
}

}  // namespace kq

extern "C" void KQAPI KQTest_SetTransport(void* transport) {
    auto* chosen = static_cast<kq::CameraTransport*>(transport);
    kq::Library().SetTransport(chosen != nullptr ? chosen : &kq::DriverTransport());
}
