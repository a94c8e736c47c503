#pragma once
// Status codes of the camera C interface (signed 32-bit).

#include <cstdint>

namespace kq::status {

constexpr std::int32_t kSuccess = 0;
constexpr std::int32_t kBadHandle = 1;          // no open camera has the handle, or null
constexpr std::int32_t kNoDevice = 3;           // no camera there, cannot open, or unplugged
constexpr std::int32_t kEnumerationFailed = 4;  // the interface list could not be made
constexpr std::int32_t kNullFrameBuffer = 6;
constexpr std::int32_t kNotSupported = 10;  // model, state or argument not supported
constexpr std::int32_t kNoFrame = 13;
constexpr std::int32_t kNoResources = 19;  // eight cameras open, or allocation failed
constexpr std::int32_t kRefused = -1;
constexpr std::int32_t kSubRectangleRefused = 255;

}  // namespace kq::status
