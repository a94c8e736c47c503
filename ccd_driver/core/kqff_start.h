// The descriptor reads of a device start: the device descriptor for the
// camera's USB identity, then configuration descriptor 0, first its head and
// then whole. The shell parses the configuration and selects it; these
// functions decide what is asked of the camera and check what it answered.
#pragma once

#include <cstdint>
#include <span>

#include "kqff_ports.h"

namespace kqff {

inline constexpr std::uint8_t kDeviceDescriptorType = 1;
inline constexpr std::uint8_t kConfigurationDescriptorType = 2;
inline constexpr std::uint32_t kDeviceDescriptorBytes = 18;
// The head covers the configuration, its first interface and first endpoint
// descriptors (9 + 9 + 7 bytes).
inline constexpr std::uint32_t kConfigurationHeadBytes = 25;
// Room beyond wTotalLength in the buffer the whole configuration is read into.
inline constexpr std::uint32_t kConfigurationSlackBytes = 16;
inline constexpr std::uint32_t kConfigurationDescriptorBytes = 9;
inline constexpr NtStatus kStatusDeviceConfigurationError = static_cast<NtStatus>(0xC0000182u);

struct UsbIdentity {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// Reads the 18-byte device descriptor; a device that answers without the
// vendor and product fields fails with kStatusDeviceConfigurationError.
NtStatus ReadUsbIdentity(UsbSide& usb, UsbIdentity& identity);

// Reads the head of configuration descriptor 0; bufferBytes gets the size of
// the buffer to read the whole descriptor into (wTotalLength plus slack). A
// head without a complete configuration descriptor, or one whose wTotalLength
// is shorter than that, fails with kStatusDeviceConfigurationError.
NtStatus ReadConfigurationHead(UsbSide& usb, std::uint32_t& bufferBytes);

// Reads configuration descriptor 0 asking for all of buffer (sized by
// ReadConfigurationHead); transferred gets the bytes the camera returned. A
// descriptor whose wTotalLength exceeds what arrived fails with
// kStatusDeviceConfigurationError, so a parser bounded by it stays inside
// the received bytes.
NtStatus ReadConfiguration(UsbSide& usb, std::span<std::uint8_t> buffer, std::uint32_t& transferred);

}  // namespace kqff
