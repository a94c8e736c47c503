// Small freestanding helpers shared by the core's sources.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kqff {

template <typename T>
constexpr T MinOf(T a, T b) {
    return a < b ? a : b;
}

inline void CopyBytes(void* to, const void* from, std::size_t count) {
    if (count != 0) __builtin_memcpy(to, from, count);
}

inline void ZeroBytes(void* to, std::size_t count) {
    if (count != 0) __builtin_memset(to, 0, count);
}

inline std::uint32_t ClampToU32(std::size_t value) {
    return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

}  // namespace kqff
