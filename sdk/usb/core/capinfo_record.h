#pragma once
// The 36-byte capture-information record callers pass to open, set and get
// the capture parameters, and its little-endian wire form: the driver's
// capture record, which IOCTL_KQ_GET_FORMAT reports.

#include <array>
#include <cstdint>
#include <span>

#include "kqff_protocol.h"

namespace kq {

struct CapInfo {
    std::uint32_t reserved = 0;  // caller's value, kept and returned, never sent
    std::uint32_t height = 0;
    std::uint32_t width = 0;
    std::uint32_t columnStart = 0;
    std::uint32_t rowStart = 0;
    std::uint32_t exposure = 0;  // lines, or time with exposure unit 1
    std::array<std::uint8_t, 3> gain{};
    std::uint8_t control = 0;            // bit 0 half readout, 1 trigger, 2 zoom, 4-5 speed, 7 soft trigger
    std::array<std::uint8_t, 4> mode{};  // mode[3] bit 0: 2 x 2 binning
    std::uint32_t extra = 0;             // bytes 32-35 as one value

    bool operator==(const CapInfo&) const = default;
};

constexpr std::size_t kCapInfoBytes = kqff::kCaptureRecordBytes;
using CapInfoBytes = std::array<std::uint8_t, kCapInfoBytes>;

namespace capinfo_bits {
constexpr std::uint8_t halfReadout = 0x01;
constexpr std::uint8_t trigger = 0x02;
constexpr std::uint8_t zoom = 0x04;
constexpr std::uint8_t speedMask = 0x30;
constexpr std::uint8_t softwareTrigger = 0x80;
constexpr std::uint8_t binning = 0x01;  // in mode[3]
}  // namespace capinfo_bits

// The caller's control byte with the bits of `kept` as they are now: the
// camera's own setters own those bits.
constexpr std::uint8_t ControlKeeping(std::uint8_t requested, std::uint8_t current, std::uint8_t kept) {
    return static_cast<std::uint8_t>((requested & ~kept) | (current & kept));
}

// The fields a model takes from the caller's record as they stand (window
// starts, gains, modes, the extra and reserved words, the control byte but
// `keptControl`), the size and exposure left as they are now, for the model
// to work out.
constexpr CapInfo TakeRecordFields(const CapInfo& current, const CapInfo& record, std::uint8_t keptControl) {
    CapInfo next = current;
    next.reserved = record.reserved;
    next.gain = record.gain;
    next.mode = record.mode;
    next.extra = record.extra;
    next.columnStart = record.columnStart;
    next.rowStart = record.rowStart;
    next.control = ControlKeeping(record.control, current.control, keptControl);
    return next;
}

CapInfoBytes EncodeCapInfo(const CapInfo& record);
CapInfo DecodeCapInfo(std::span<const std::uint8_t, kCapInfoBytes> bytes);

}  // namespace kq
