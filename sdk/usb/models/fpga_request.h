#pragma once
// The FPGA cameras' 64-byte request blocks and the sensor register lists
// they carry, as pure encoders and decoders (no device, no driver): byte 0
// is the subcommand, the payload follows.
//
// A register list is the window header, N counted register writes and one
// write after them that the camera reads as well. Lists of the 8-bit
// register sensors are 36 bytes (value, address as 16 + 8 bits), those of
// the 16-bit register sensors 46 (16 + 16 bits); one builder serves both.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace kq::fpga {

inline constexpr std::size_t kRequestBytes = 64;
inline constexpr std::size_t kSerialBytes = 16;
inline constexpr std::size_t kEepromBytes = 40;

enum class Subcommand : std::uint8_t {
    serial = 3,         // transact; reply bytes 2..17
    eepromWrite = 7,    // payload bytes 2..41
    eepromRead = 8,     // transact; reply bytes 2..41
    triggerDelay = 11,  // 32-bit value at bytes 1..4
    sourceTime = 12,    // 32-bit value at bytes 1..4
    registerList = 16,  // the list at bytes 1..
};

using Request = std::array<std::uint8_t, kRequestBytes>;

struct RegisterWrite {
    std::uint16_t address = 0;
    std::uint16_t value = 0;
    bool operator==(const RegisterWrite&) const = default;
};

enum class AddressWidth { eightBit, sixteenBit };

// A computed register value, limited to the 16 bits a write carries.
inline std::uint16_t RegisterValue(std::int64_t v) {
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(v, 0, 0xFFFF));
}

class RegisterList {
public:
    static constexpr std::size_t kMaxCounted = 9;

    std::uint16_t height = 0;
    std::uint16_t width = 0;
    std::uint8_t control = 0;

    // False (list unchanged) when it holds kMaxCounted writes already.
    bool Append(RegisterWrite write);
    // The write after the counted ones; unset, the last counted one repeats.
    void SetTrailing(RegisterWrite write) { trailing_ = write; }
    void Clear();

    std::size_t Count() const { return count_; }
    std::span<const RegisterWrite> Counted() const { return std::span(writes_).first(count_); }
    RegisterWrite Trailing() const;

private:
    std::array<RegisterWrite, kMaxCounted> writes_{};
    std::size_t count_ = 0;
    std::optional<RegisterWrite> trailing_;
};

// Bytes the list takes in a request: 36 or 46.
std::size_t ListBytes(AddressWidth width);

// A request with the subcommand alone (serial and EEPROM reads).
Request PlainRequest(Subcommand subcommand);
// Trigger delay and source time: the value little-endian at bytes 1..4.
Request ValueRequest(Subcommand subcommand, std::uint32_t value);
Request EepromWriteRequest(std::span<const std::uint8_t, kEepromBytes> area);
Request RegisterListRequest(const RegisterList& list, AddressWidth width);

// Replies of transact requests, taken only when whole: `reply` is what the
// driver reported back.
std::optional<std::array<std::uint8_t, kSerialBytes>> DecodeSerialReply(std::span<const std::uint8_t> reply);
std::optional<std::array<std::uint8_t, kEepromBytes>> DecodeEepromReply(std::span<const std::uint8_t> reply);

// The list a request carries, as the camera reads it; nothing when the
// request is not a register list or its count is out of range.
std::optional<RegisterList> DecodeRegisterListRequest(std::span<const std::uint8_t> request, AddressWidth width);

}  // namespace kq::fpga
