#pragma once
// What the camera driver answers on its device interface: control codes,
// command codes and the fixed sizes of the blocks that cross the boundary.
// Every layout here is byte-exact and little-endian.
//
// The driver's own platform-free core will carry the authoritative copy of
// these numbers; until then this header is the library's side of the contract.

#include <cstddef>
#include <cstdint>

namespace kq::driver {

// CTL_CODE(FILE_DEVICE_UNKNOWN, 0x800 + n, METHOD_BUFFERED,
//          FILE_READ_DATA | FILE_WRITE_DATA) = 0x22E000 + 4 * n.
constexpr std::uint32_t ControlCode(std::uint32_t n) { return 0x22E000u + 4u * n; }

constexpr std::uint32_t kStartCapture = ControlCode(0);   // no input, no output
constexpr std::uint32_t kStopCapture = ControlCode(1);    // no input, no output
constexpr std::uint32_t kSetFormat = ControlCode(2);      // 36- or 52-byte format in
constexpr std::uint32_t kGetFormat = ControlCode(3);      // 36-byte video format out
constexpr std::uint32_t kSetIo = ControlCode(4);          // 3 bytes in: bytes 1 and 2 used
constexpr std::uint32_t kGetIo = ControlCode(5);          // 1 byte out
constexpr std::uint32_t kGetSerial = ControlCode(6);      // 16 bytes out
constexpr std::uint32_t kSetSerial = ControlCode(7);      // 16 bytes in
constexpr std::uint32_t kCommand5 = ControlCode(8);       // software trigger command
constexpr std::uint32_t kWriteBlock = ControlCode(10);    // 64-byte request block in
constexpr std::uint32_t kWriteCommand = ControlCode(11);  // raw, at most 64 bytes in
constexpr std::uint32_t kSetTiming = ControlCode(12);     // 5 bytes in
constexpr std::uint32_t kWriteData = ControlCode(13);     // raw, at most 64 bytes in
constexpr std::uint32_t kWriteReadData = ControlCode(14); // raw in, up to 128 bytes out
constexpr std::uint32_t kTransact = ControlCode(15);      // 64 bytes in, 64 bytes out

// Command codes carried in byte 0 of the 64-byte command block.
enum class Command : std::uint8_t {
    setFormat = 0,
    getIo = 1,
    setIo = 2,
    getSerial = 3,
    setSerial = 4,
    softwareTrigger = 5,
    setTiming = 6,
    startStreaming = 0x0E,
    stopStreaming = 0xFE,
};

constexpr std::size_t kCommandBlockBytes = 64;
constexpr std::size_t kResponseBlockBytes = 64;
constexpr std::size_t kResponseAreaBytes = 128;
constexpr std::size_t kVideoFormatBytes = 36;
constexpr std::size_t kFormatBlockBytes = 52;
constexpr std::size_t kSetIoInputBytes = 3;
constexpr std::size_t kSerialBytes = 16;
constexpr std::size_t kSetTimingInputBytes = 5;
constexpr std::size_t kRawTransferMaxBytes = 64;
constexpr std::size_t kFrameTrailerBytes = 64;
constexpr std::size_t kFrameBufferBytes = 9441280;

// 64-byte camera requests for the EEPROM, the firmware and the data area.
namespace request {
constexpr std::size_t kBytes = 64;
constexpr std::uint8_t kCameraRequest = 0x2C;   // byte 0 of EEPROM and firmware requests
constexpr std::uint8_t kEepromWrite = 8;        // byte 2
constexpr std::uint8_t kEepromRead = 7;         // byte 2
constexpr std::uint8_t kFirmwareChunk = 0xC2;   // byte 2
constexpr std::size_t kPayloadOffset = 4;       // bytes 4-63
constexpr std::size_t kPayloadBytes = 60;
constexpr std::size_t kEepromBlocks = 4;
constexpr std::size_t kEepromBytes = kEepromBlocks * kPayloadBytes;  // 240
constexpr std::uint8_t kDataRead = 8;           // data area: byte 0
constexpr std::uint8_t kDataWrite = 7;
constexpr std::uint8_t kDataPassThrough = 9;
constexpr std::size_t kDataReadRequestBytes = 6;
}  // namespace request

// Command block field offsets.
namespace command_block {
constexpr std::size_t code = 0;
constexpr std::size_t readoutMode = 3;
constexpr std::size_t width = 4;
constexpr std::size_t height = 6;
constexpr std::size_t columnStart = 8;
constexpr std::size_t rowStart = 10;
constexpr std::size_t exposure = 12;
constexpr std::size_t gains = 14;
constexpr std::size_t control = 17;
constexpr std::size_t ioBytes = 18;
constexpr std::size_t timingSelector = 20;
constexpr std::size_t timingValue = 21;
constexpr std::size_t serial = 6;
}  // namespace command_block

// Response block field offsets.
namespace response_block {
constexpr std::size_t ioValue = 3;
constexpr std::size_t serial = 4;
}  // namespace response_block

}  // namespace kq::driver
