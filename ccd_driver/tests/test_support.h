// Helpers shared by the driver core tests.
#pragma once

#include <cstdint>
#include <vector>

#include "kqff_bytes.h"
#include "kqff_device.h"
#include "kqff_protocol.h"

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

inline std::vector<std::uint8_t> CaptureRecord(const Format& f, std::size_t bytes = kCaptureRecordBytes) {
  std::vector<std::uint8_t> r(bytes, 0);
  StoreLe32(&r[record::kHeight], f.height);
  StoreLe32(&r[record::kWidth], f.width);
  StoreLe32(&r[record::kColumnStart], f.columnStart);
  StoreLe32(&r[record::kRowStart], f.rowStart);
  StoreLe32(&r[record::kExposure], f.exposure);
  for (int i = 0; i < 3; ++i) r[record::kGains + i] = f.gains[i];
  r[record::kControl] = f.control;
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
