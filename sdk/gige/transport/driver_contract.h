// The capture driver's control requests and the fixed-width records they
// carry: the one definition the library, its Win32 port and the loopback
// stand-in share.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kqge {

// Device type 0x12, functions 0x207..0x20E, buffered, read and write access.
enum class DriverControl : std::uint32_t {
    sendCommand = 0x12C81C,   // in: one GigE Vision command; out: none
    setAckEvent = 0x12C824,   // in: 4-byte event handle; out: none
    deviceList = 0x12C828,    // in: none; out: up to 4096 bytes of discovery records
    addStream = 0x12C82C,     // in: stream record; out: none
    deleteStream = 0x12C830,  // in: stream record; out: none
    lastAck = 0x12C838,       // in: none; out: the last acknowledgement message
};

inline constexpr std::array<DriverControl, 6> kDriverControls = {
    DriverControl::sendCommand, DriverControl::setAckEvent,  DriverControl::deviceList,
    DriverControl::addStream,   DriverControl::deleteStream, DriverControl::lastAck};

// Output sizes the library offers for the two requests that return bytes.
inline constexpr std::size_t kDeviceListBytes = 4096;
inline constexpr std::size_t kReadRegAckBytes = 1024;
inline constexpr std::size_t kWriteMemAckBytes = 2048;

// Which stream a start or stop request concerns. Width and height are the
// output picture's on start and the raw line length and line count on stop.
struct StreamRecord {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t hostPort = 0;
    std::uint16_t payloadBytesPerPacket = 0;  // packet size minus 36

    bool operator==(const StreamRecord&) const = default;
};

inline constexpr std::size_t kStreamRecordBytes = 8;

// Width, height and payload little-endian, the port big-endian.
std::array<std::uint8_t, kStreamRecordBytes> EncodeStreamRecord(const StreamRecord& record);
// Empty unless exactly one record's bytes are given.
std::optional<StreamRecord> DecodeStreamRecord(std::span<const std::uint8_t> bytes);

}  // namespace kqge
