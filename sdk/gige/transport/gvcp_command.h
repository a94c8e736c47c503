// GigE Vision control commands as the capture driver takes them (a 20-byte
// addressing header, then the body) and the acknowledgements it hands back.
// Pure encoders and decoders: no handle, no thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kqge {

enum class GvcpCommand : std::uint16_t { readReg = 0x0080, writeReg = 0x0082, writeMem = 0x0086 };

// The acknowledgement code a camera answers each command with.
std::uint16_t AckCodeFor(GvcpCommand command);

// Where a command goes. The addresses are the four bytes in network order
// exactly as the adapter service and the discovery record deliver them.
struct CommandTarget {
    std::array<std::uint8_t, 6> cameraMac{};
    std::array<std::uint8_t, 4> adapterIp{};
    std::array<std::uint8_t, 4> adapterMask{};
    std::array<std::uint8_t, 4> cameraIp{};
};

struct RegisterWrite {
    std::uint32_t address = 0;
    std::uint32_t value = 0;
};

inline constexpr std::size_t kCommandHeaderBytes = 20;

// Addresses and values are written big-endian. A command without pairs or
// data has no body to send and encodes to nothing.
std::vector<std::uint8_t> EncodeWriteRegs(const CommandTarget& target, std::span<const RegisterWrite> writes);
std::vector<std::uint8_t> EncodeReadReg(const CommandTarget& target, std::uint32_t address);
std::vector<std::uint8_t> EncodeWriteMem(const CommandTarget& target, std::uint32_t address,
                                         std::span<const std::uint8_t> data);

// A command as the driver takes it apart; empty when the header is cut or
// the code is none of the three.
struct DriverCommand {
    GvcpCommand command = GvcpCommand::readReg;
    CommandTarget target;
    std::span<const std::uint8_t> body;
};
std::optional<DriverCommand> DecodeCommand(std::span<const std::uint8_t> bytes);

// The acknowledgement message: status, code, length and id, big-endian,
// then the payload. Empty when fewer than the 8 header bytes came back.
struct GvcpAck {
    std::uint16_t status = 0;
    std::uint16_t code = 0;
    std::uint16_t length = 0;
    std::uint16_t id = 0;
    std::span<const std::uint8_t> payload;
};
std::optional<GvcpAck> DecodeAck(std::span<const std::uint8_t> bytes);

// True when the message acknowledges `command` with success: status 0 and
// the matching code; a READREG acknowledgement must also carry its value.
bool AckConfirms(std::span<const std::uint8_t> bytes, GvcpCommand command);

// The register value of a confirming READREG acknowledgement.
std::optional<std::uint32_t> ReadRegValue(std::span<const std::uint8_t> bytes);

}  // namespace kqge
