#include "kqff_start.h"

#include "le_bytes.h"

namespace kqff {
namespace {

constexpr std::uint32_t kVendorIdOffset = 8;
constexpr std::uint32_t kProductIdOffset = 10;
constexpr std::uint32_t kTotalLengthOffset = 2;

}  // namespace

NtStatus ReadUsbIdentity(UsbSide& usb, UsbIdentity& identity) {
    std::uint8_t descriptor[kDeviceDescriptorBytes] = {};
    std::uint32_t transferred = 0;
    const NtStatus status = usb.GetDescriptor(kDeviceDescriptorType, descriptor, transferred);
    if (!IsSuccess(status)) return status;
    if (transferred < kProductIdOffset + 2) return kStatusDeviceConfigurationError;
    identity.vendorId = vz::GetLE16(descriptor, kVendorIdOffset);
    identity.productId = vz::GetLE16(descriptor, kProductIdOffset);
    return kStatusSuccess;
}

NtStatus ReadConfigurationHead(UsbSide& usb, std::uint32_t& bufferBytes) {
    std::uint8_t head[kConfigurationHeadBytes] = {};
    std::uint32_t transferred = 0;
    const NtStatus status = usb.GetDescriptor(kConfigurationDescriptorType, head, transferred);
    if (!IsSuccess(status)) return status;
    if (transferred < kConfigurationDescriptorBytes) return kStatusDeviceConfigurationError;
    const std::uint32_t totalLength = vz::GetLE16(head, kTotalLengthOffset);
    if (totalLength < kConfigurationDescriptorBytes) return kStatusDeviceConfigurationError;
    bufferBytes = totalLength + kConfigurationSlackBytes;
    return kStatusSuccess;
}

NtStatus ReadConfiguration(UsbSide& usb, std::span<std::uint8_t> buffer, std::uint32_t& transferred) {
    transferred = 0;
    const NtStatus status = usb.GetDescriptor(kConfigurationDescriptorType, buffer, transferred);
    if (!IsSuccess(status)) return status;
    if (transferred < kConfigurationDescriptorBytes) return kStatusDeviceConfigurationError;
    // The parser walks wTotalLength bytes: they must all have arrived.
    const std::uint32_t totalLength = vz::GetLE16(buffer, kTotalLengthOffset);
    if (totalLength < kConfigurationDescriptorBytes || totalLength > transferred)
        return kStatusDeviceConfigurationError;
    return kStatusSuccess;
}

}  // namespace kqff
