#pragma once
// The one narrow way the library reaches camera drivers. The Windows build
// talks to the real driver through SetupAPI, CreateFileW, DeviceIoControl and
// ReadFile; tests install a simulated bus. Nothing above this interface knows
// which one it talks to.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kq {

// One present interface of the camera interface class, as listed.
struct CameraInterface {
    std::u16string instanceId;    // empty when it could not be read
    std::u16string path;          // what Open() opens
    std::u16string friendlyName;  // friendly name, else device description
};

// An open driver interface. Destroying it closes the driver handle.
class CameraConnection {
public:
    virtual ~CameraConnection() = default;

    // Sends one control code. Returns the number of output bytes the driver
    // reported, or nothing when the request failed.
    virtual std::optional<std::size_t> Control(std::uint32_t code, std::span<const std::uint8_t> input,
                                               std::span<std::uint8_t> output) = 0;

    // Reads the next frame into buffer. Returns the bytes read (0 = no frame
    // yet), or nothing when the read failed.
    virtual std::optional<std::size_t> ReadFrame(std::span<std::uint8_t> buffer) = 0;

    // Ends a ReadFrame that another thread is blocked in: that read returns
    // nothing. Harmless when no read is pending; a read that starts later is
    // not affected, so a stopping caller repeats it until the reader is out.
    virtual void CancelRead() = 0;
};

class CameraTransport {
public:
    virtual ~CameraTransport() = default;

    // The present interfaces of the camera interface class, in system order;
    // nothing when the list cannot be made.
    virtual std::optional<std::vector<CameraInterface>> ListInterfaces() = 0;

    // Opens a listed interface for reading and writing; null when it cannot
    // be opened (gone, or held exclusively).
    virtual std::unique_ptr<CameraConnection> Open(const CameraInterface& camera) = 0;
};

}  // namespace kq
