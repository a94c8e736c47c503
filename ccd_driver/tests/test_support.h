// Helpers shared by the driver core tests.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "kqff_device.h"
#include "kqff_protocol.h"
#include "le_bytes.h"

namespace kqff::test {

struct ControlReply {
    RequestResult result;
    std::vector<std::uint8_t> output;
};

inline ControlReply Call(Device& device, std::uint32_t code, const std::vector<std::uint8_t>& input = {},
                         std::size_t outputBytes = 0, std::uint8_t outputFill = 0xCC) {
    ControlReply reply;
    reply.output.assign(outputBytes, outputFill);
    reply.result = device.Control(code, input, reply.output);
    return reply;
}

struct Format {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t columnStart = 0;
    std::uint32_t rowStart = 0;
    std::uint32_t exposure = 0;
    std::uint8_t gains[3] = {};
    std::uint8_t control = 0;
};

// The record's fields, then zeros up to `bytes` (at least the record).
inline std::vector<std::uint8_t> CaptureRecord(const Format& f, std::size_t bytes = kCaptureRecordBytes) {
    std::array<std::uint8_t, kCaptureRecordBytes> fields{};
    vz::PutLE32(fields, record::kHeight, f.height);
    vz::PutLE32(fields, record::kWidth, f.width);
    vz::PutLE32(fields, record::kColumnStart, f.columnStart);
    vz::PutLE32(fields, record::kRowStart, f.rowStart);
    vz::PutLE32(fields, record::kExposure, f.exposure);
    for (int i = 0; i < 3; ++i) fields[record::kGains + i] = f.gains[i];
    fields[record::kControl] = f.control;
    std::vector<std::uint8_t> r(fields.begin(), fields.end());
    r.resize(bytes, 0);
    return r;
}

inline RequestResult SetFormat(Device& device, std::uint32_t width, std::uint32_t height) {
    Format f;
    f.width = width;
    f.height = height;
    f.exposure = 10;
    return Call(device, kIoctlSetFormat, CaptureRecord(f)).result;
}

}  // namespace kqff::test
