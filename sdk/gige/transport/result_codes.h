// Result codes shared by every layer of the GigE library; the numbers are
// the ones its C interface returns.
#pragma once

#include <cstdint>

namespace kqge::result {

inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kNullOutput = 2;
inline constexpr std::int32_t kFileNotOpened = 3;
inline constexpr std::int32_t kNoCameraOnPort = 16;
inline constexpr std::int32_t kOutOfRange = 20;
inline constexpr std::int32_t kNoCameraAtIndex = 21;
inline constexpr std::int32_t kAdapterListUnread = 22;
inline constexpr std::int32_t kNoAdapter = 23;
inline constexpr std::int32_t kNotInitialized = 25;
inline constexpr std::int32_t kDeviceListRefused = 36;
inline constexpr std::int32_t kNoDriverHandle = 37;
inline constexpr std::int32_t kReceiveRunning = 39;
inline constexpr std::int32_t kReceiveStopped = 40;
inline constexpr std::int32_t kAdapterListEmpty = 41;
inline constexpr std::int32_t kNotAcknowledged = -1;

}  // namespace kqge::result
