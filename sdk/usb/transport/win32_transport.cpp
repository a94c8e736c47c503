#include "win32_transport.h"

#include <windows.h>
#include <setupapi.h>

#include <limits>

#include "kqff_protocol.h"

namespace kq {
namespace {

// Registered by the driver for every camera.
constexpr auto& kGuid = kqff::kCameraInterfaceGuid;
const GUID kCameraInterfaceClass = {kGuid.data1,
                                    kGuid.data2,
                                    kGuid.data3,
                                    {kGuid.data4[0], kGuid.data4[1], kGuid.data4[2], kGuid.data4[3], kGuid.data4[4],
                                     kGuid.data4[5], kGuid.data4[6], kGuid.data4[7]}};

constexpr DWORD kInstanceIdChars = 512;
constexpr DWORD kNameBytes = 512;

class DeviceInfoSet {
public:
    explicit DeviceInfoSet(HDEVINFO set) : set_(set) {}
    ~DeviceInfoSet() {
        if (valid()) SetupDiDestroyDeviceInfoList(set_);
    }
    DeviceInfoSet(const DeviceInfoSet&) = delete;
    DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;
    bool valid() const { return set_ != INVALID_HANDLE_VALUE; }
    HDEVINFO get() const { return set_; }

private:
    HDEVINFO set_;
};

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (valid()) CloseHandle(h_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

std::u16string FromWide(const wchar_t* text, std::size_t maxChars) {
    std::u16string out;
    for (std::size_t i = 0; i < maxChars && text[i] != 0; ++i) out.push_back(static_cast<char16_t>(text[i]));
    return out;
}

std::u16string RegistryText(HDEVINFO set, SP_DEVINFO_DATA& info, DWORD property) {
    wchar_t buffer[kNameBytes / sizeof(wchar_t) + 1] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(set, &info, property, nullptr, reinterpret_cast<BYTE*>(buffer), kNameBytes,
                                           nullptr)) {
        return {};
    }
    return FromWide(buffer, kNameBytes / sizeof(wchar_t));
}

std::optional<std::u16string> InterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& iface, SP_DEVINFO_DATA& info) {
    DWORD needed = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &needed, nullptr);
    if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return std::nullopt;
    std::vector<std::uint8_t> storage(needed + sizeof(wchar_t));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, needed, nullptr, &info)) {
        return std::nullopt;
    }
    const std::size_t maxChars = (needed - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(wchar_t);
    return FromWide(detail->DevicePath, maxChars);
}

class Win32Connection : public CameraConnection {
public:
    explicit Win32Connection(HANDLE handle) : file_(handle) {}

    std::optional<std::size_t> Control(std::uint32_t code, std::span<const std::uint8_t> input,
                                       std::span<std::uint8_t> output) override {
        if (input.size() > std::numeric_limits<DWORD>::max() || output.size() > std::numeric_limits<DWORD>::max()) {
            return std::nullopt;
        }
        DWORD returned = 0;
        const BOOL ok =
            DeviceIoControl(file_.get(), code, input.empty() ? nullptr : const_cast<std::uint8_t*>(input.data()),
                            static_cast<DWORD>(input.size()), output.empty() ? nullptr : output.data(),
                            static_cast<DWORD>(output.size()), &returned, nullptr);
        if (!ok) return std::nullopt;
        return returned;
    }

    void CancelRead() override {
        // Cancels the reads of every thread of this process on the handle,
        // synchronous ones included.
        CancelIoEx(file_.get(), nullptr);
    }

    std::optional<std::size_t> ReadFrame(std::span<std::uint8_t> buffer) override {
        if (buffer.size() > std::numeric_limits<DWORD>::max()) return std::nullopt;
        DWORD read = 0;
        if (!ReadFile(file_.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            return std::nullopt;
        }
        return read;
    }

private:
    FileHandle file_;
};

}  // namespace

std::optional<std::vector<CameraInterface>> Win32Transport::ListInterfaces() {
    DeviceInfoSet set(
        SetupDiGetClassDevsW(&kCameraInterfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set.valid()) return std::nullopt;
    std::vector<CameraInterface> cameras;
    for (DWORD i = 0;; ++i) {
        SP_DEVICE_INTERFACE_DATA iface{};
        iface.cbSize = sizeof(iface);
        if (!SetupDiEnumDeviceInterfaces(set.get(), nullptr, &kCameraInterfaceClass, i, &iface)) break;
        SP_DEVINFO_DATA info{};
        info.cbSize = sizeof(info);
        CameraInterface camera;
        if (auto path = InterfacePath(set.get(), iface, info)) camera.path = std::move(*path);
        wchar_t instanceId[kInstanceIdChars] = {};
        if (SetupDiGetDeviceInstanceIdW(set.get(), &info, instanceId, kInstanceIdChars, nullptr)) {
            camera.instanceId = FromWide(instanceId, kInstanceIdChars);
        }
        camera.friendlyName = RegistryText(set.get(), info, SPDRP_FRIENDLYNAME);
        if (camera.friendlyName.empty()) camera.friendlyName = RegistryText(set.get(), info, SPDRP_DEVICEDESC);
        cameras.push_back(std::move(camera));
    }
    return cameras;
}

std::unique_ptr<CameraConnection> Win32Transport::Open(const CameraInterface& camera) {
    if (camera.path.empty()) return nullptr;
    const std::wstring path(camera.path.begin(), camera.path.end());
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32Connection>(handle);
}

}  // namespace kq
