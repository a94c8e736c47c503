// KQFF wire contract: the driver's public header, the one definition of what
// crosses its device interface, shared with its user-mode callers.
//
// Platform-free and dependency-free (only <cstdint>), no Windows header: the
// driver core and the WDM shell include it to parse requests, the USB camera
// SDK to build them. Every layout here is little-endian with fixed offsets;
// nothing depends on pointer size.
#pragma once

#include <cstdint>

namespace kqff {

// ---------------------------------------------------------------------------
// Statuses. The numeric values are the kernel's NTSTATUS codes, so the WDM
// shell completes requests with them unchanged and user mode sees the usual
// Win32 translations.
using NtStatus = std::int32_t;

inline constexpr NtStatus kStatusSuccess = 0;
inline constexpr NtStatus kStatusTimeout = 0x00000102;
inline constexpr NtStatus kStatusUnsuccessful = static_cast<NtStatus>(0xC0000001u);
inline constexpr NtStatus kStatusInvalidParameter = static_cast<NtStatus>(0xC000000Du);
inline constexpr NtStatus kStatusInvalidDeviceRequest = static_cast<NtStatus>(0xC0000010u);
inline constexpr NtStatus kStatusBufferTooSmall = static_cast<NtStatus>(0xC0000023u);
inline constexpr NtStatus kStatusDeletePending = static_cast<NtStatus>(0xC0000056u);
inline constexpr NtStatus kStatusInsufficientResources = static_cast<NtStatus>(0xC000009Au);
inline constexpr NtStatus kStatusCancelled = static_cast<NtStatus>(0xC0000120u);
inline constexpr NtStatus kStatusDeviceNotConnected = static_cast<NtStatus>(0xC000009Du);

constexpr bool IsSuccess(NtStatus status) { return status >= 0; }

// USB bus statuses reported with a transfer (the URB status).
using UsbdStatus = std::int32_t;
inline constexpr UsbdStatus kUsbdSuccess = 0;
inline constexpr UsbdStatus kUsbdXactError = static_cast<UsbdStatus>(0xC0000011u);
inline constexpr UsbdStatus kUsbdBabbleDetected = static_cast<UsbdStatus>(0xC0000012u);
inline constexpr UsbdStatus kUsbdCanceled = static_cast<UsbdStatus>(0xC0010000u);

// ---------------------------------------------------------------------------
// Device control codes: CTL_CODE(FILE_DEVICE_UNKNOWN, 0x800 + n,
// METHOD_BUFFERED, FILE_READ_DATA | FILE_WRITE_DATA) = 0x22E000 + 4 n.
constexpr std::uint32_t ControlCode(std::uint32_t n) { return 0x22E000u + 4u * n; }

inline constexpr std::uint32_t kIoctlStartCapture = ControlCode(0);    // no input, no output
inline constexpr std::uint32_t kIoctlStopCapture = ControlCode(1);     // no input, no output
inline constexpr std::uint32_t kIoctlSetFormat = ControlCode(2);       // >= 28 bytes of a capture record
inline constexpr std::uint32_t kIoctlGetFormat = ControlCode(3);       // 36 bytes out
inline constexpr std::uint32_t kIoctlSetIo = ControlCode(4);           // SetIoInput (3 bytes)
inline constexpr std::uint32_t kIoctlGetIo = ControlCode(5);           // 1 byte out
inline constexpr std::uint32_t kIoctlGetSerial = ControlCode(6);       // 16 bytes out
inline constexpr std::uint32_t kIoctlSetSerial = ControlCode(7);       // 16 bytes in
inline constexpr std::uint32_t kIoctlCommand5 = ControlCode(8);        // software trigger
inline constexpr std::uint32_t kIoctlWriteBlock = ControlCode(10);     // <= 64 bytes raw (EEPROM, LED, firmware)
inline constexpr std::uint32_t kIoctlWriteCommand = ControlCode(11);   // <= 64 bytes raw
inline constexpr std::uint32_t kIoctlSetTiming = ControlCode(12);      // 5 bytes in
inline constexpr std::uint32_t kIoctlWriteData = ControlCode(13);      // <= 64 bytes raw
inline constexpr std::uint32_t kIoctlWriteReadData = ControlCode(14);  // <= 64 in, up to 128 out
inline constexpr std::uint32_t kIoctlTransact = ControlCode(15);       // <= 64 in, <= 64 out

// ---------------------------------------------------------------------------
// Command block: 64 bytes sent on the bulk OUT command pipe.
inline constexpr std::uint32_t kBlockBytes = 64;

namespace command {
inline constexpr std::uint8_t kSetFormat = 0;
inline constexpr std::uint8_t kGetIo = 1;
inline constexpr std::uint8_t kSetIo = 2;
inline constexpr std::uint8_t kGetSerial = 3;
inline constexpr std::uint8_t kSetSerial = 4;
inline constexpr std::uint8_t kSoftwareTrigger = 5;
inline constexpr std::uint8_t kSetTiming = 6;
inline constexpr std::uint8_t kStartStreaming = 0x0E;
inline constexpr std::uint8_t kStopStreaming = 0xFE;
}  // namespace command

namespace block {
inline constexpr std::uint32_t kCommand = 0;          // 8-bit command code
inline constexpr std::uint32_t kReadoutMode = 3;      // 8-bit
inline constexpr std::uint32_t kWidth = 4;            // 16-bit
inline constexpr std::uint32_t kHeight = 6;           // 16-bit
inline constexpr std::uint32_t kColumnStart = 8;      // 16-bit
inline constexpr std::uint32_t kRowStart = 10;        // 16-bit
inline constexpr std::uint32_t kExposure = 12;        // 16-bit
inline constexpr std::uint32_t kGains = 14;           // 3 x 8-bit
inline constexpr std::uint32_t kControl = 17;         // 8-bit
inline constexpr std::uint32_t kIo = 18;              // 2 x 8-bit
inline constexpr std::uint32_t kTimingSelector = 20;  // 8-bit, 0..3
inline constexpr std::uint32_t kTimingValue = 21;     // 32-bit, unaligned
inline constexpr std::uint32_t kSerial = 6;           // 16 bytes, command 4 only
inline constexpr std::uint32_t kSerialBytes = 16;
}  // namespace block

// Response block: 64 bytes read from the bulk IN response pipe into a
// 128-byte response area whose upper half stays zero.
inline constexpr std::uint32_t kResponseAreaBytes = 128;
namespace response {
inline constexpr std::uint32_t kIoValue = 3;  // command 1
inline constexpr std::uint32_t kSerial = 4;   // command 3, 16 bytes
}  // namespace response

// ---------------------------------------------------------------------------
// Capture record (the SDK's 36-byte capture information). The driver reads
// offsets 4..27 of it; IOCTL_KQ_SET_FORMAT accepts any input of at least
// kCaptureRecordMinInput bytes (the SDK sends 36 or 52).
inline constexpr std::uint32_t kCaptureRecordBytes = 36;
inline constexpr std::uint32_t kCaptureRecordMinInput = 28;
namespace record {
inline constexpr std::uint32_t kHeight = 4;        // 32-bit
inline constexpr std::uint32_t kWidth = 8;         // 32-bit
inline constexpr std::uint32_t kColumnStart = 12;  // 32-bit
inline constexpr std::uint32_t kRowStart = 16;     // 32-bit
inline constexpr std::uint32_t kExposure = 20;     // 32-bit
inline constexpr std::uint32_t kGains = 24;        // 3 x 8-bit
inline constexpr std::uint32_t kControl = 27;      // 8-bit
}  // namespace record

// ---------------------------------------------------------------------------
// IOCTL_KQ_SET_IO input, agreed between driver and SDK: exactly the driver's
// three-byte layout. Byte 0 is reserved (send 0); byte 1 is the IO value that
// goes to command block offset 18; byte 2 goes to offset 19 (send 0 when the
// camera has one IO byte). A shorter input is refused with
// kStatusInvalidParameter, so a client that sends the value alone in byte 0
// fails loudly instead of writing garbage to the camera.
inline constexpr std::uint32_t kSetIoInputBytes = 3;
namespace set_io {
inline constexpr std::uint32_t kReserved = 0;
inline constexpr std::uint32_t kIoByte0 = 1;  // -> block offset 18
inline constexpr std::uint32_t kIoByte1 = 2;  // -> block offset 19
}  // namespace set_io

// IOCTL_KQ_SET_TIMING input: byte 0 selector (values above 3 become 3),
// bytes 1..4 an unsigned 32-bit time, little-endian.
inline constexpr std::uint32_t kSetTimingInputBytes = 5;

// IOCTL_KQ_WRITE_BLOCK (n = 10), agreed with the SDK: the 64-byte request
// blocks of EEPROM writes, LED settings and firmware chunks travel exactly like
// IOCTL_KQ_WRITE_COMMAND: at most 64 input bytes, zero-padded to one 64-byte
// transfer on the command pipe, no response read, information = input length.

// Raw transfers carry at most this many caller bytes.
inline constexpr std::uint32_t kRawTransferMaxInput = 64;
inline constexpr std::uint32_t kTransactMaxOutput = 64;

// Camera requests: the blocks the SDK sends with the raw transfers. The driver
// passes them on untouched; the camera reads them.
namespace camera_request {
inline constexpr std::uint32_t kBytes = 64;
// EEPROM and firmware: byte 0 kCameraRequest, byte 2 the operation, byte 3
// the EEPROM block (1 to kEepromBlocks) or the firmware chunk counter, bytes
// 4-63 the payload. Writes and chunks go with IOCTL_KQ_WRITE_BLOCK. The SDK
// sends EEPROM reads with IOCTL_KQ_WRITE_COMMAND, which reads no response:
// the camera's answer (data length in byte 0, data from byte 4) does not come
// back through this driver.
inline constexpr std::uint8_t kCameraRequest = 0x2C;
inline constexpr std::uint8_t kEepromRead = 7;
inline constexpr std::uint8_t kEepromWrite = 8;
inline constexpr std::uint8_t kFirmwareChunk = 0xC2;
inline constexpr std::uint32_t kPayloadOffset = 4;
inline constexpr std::uint32_t kPayloadBytes = 60;
inline constexpr std::uint32_t kEepromBlocks = 4;
inline constexpr std::uint32_t kEepromBytes = kEepromBlocks * kPayloadBytes;  // 240
// The camera's data area, bytes 1-63 of a block: byte 0 says what to do. A read
// (kDataReadRequestBytes with IOCTL_KQ_WRITE_READ_DATA) is answered with the
// area; a write (64 bytes with IOCTL_KQ_WRITE_DATA) stores bytes 1-63; a
// pass-through carries a 32-bit value in bytes 1-4.
inline constexpr std::uint8_t kDataWrite = 7;
inline constexpr std::uint8_t kDataRead = 8;
inline constexpr std::uint8_t kDataPassThrough = 9;
inline constexpr std::uint32_t kDataReadRequestBytes = 6;
}  // namespace camera_request

// ---------------------------------------------------------------------------
// Frames.
inline constexpr std::uint32_t kFrameBufferBytes = 9441280;  // each of the two frame buffers
inline constexpr std::uint32_t kChunkBytes = 524288;         // one bulk read
inline constexpr std::uint32_t kTrailerBytes = 64;           // after the frame in a read
inline constexpr std::uint32_t kTrailerFrameStartFlag = 2;   // the only trailer byte written
inline constexpr std::uint32_t kStartMarkerBytes = 64;       // start-of-frame packet
inline constexpr std::uint32_t kStartMarkerFlagOffset = 2;   // == 1 in a start marker

// Port status bits returned by the hub.
inline constexpr std::uint32_t kPortEnabled = 0x1;
inline constexpr std::uint32_t kPortConnected = 0x2;

// ---------------------------------------------------------------------------
// Model identities that decide how IOCTL_KQ_SET_FORMAT sizes a frame: on a
// camera of one of the maker's vendor ids whose product id is not in
// kTableProductIds, frame bytes = width x height and the readout mode is left
// alone; every other camera uses the width table. These are our own product
// data; the SDK's identification table uses the same values.
inline constexpr std::uint16_t kMakerVendorIds[2] = {0xF5A1, 0xF5A2};
inline constexpr std::uint16_t kTableProductIds[3] = {
    0x0801,  // Quessa colour
    0x0802,  // Quessa mono
    0x0701,  // Zundra
};

// Device interface class the driver registers for every camera.
// {00873FDF-61A8-11D1-AA5E-00C94FB1728B}
struct InterfaceGuid {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};
inline constexpr InterfaceGuid kCameraInterfaceGuid = {
    0x00873FDF, 0x61A8, 0x11D1, {0xAA, 0x5E, 0x00, 0xC9, 0x4F, 0xB1, 0x72, 0x8B}};

}  // namespace kqff
