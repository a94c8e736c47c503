#pragma once
// Caller callback types. They use the platform's standard calling
// convention, which differs from the default only on 32-bit Windows.

#include <cstdint>

#if defined(_WIN32) && defined(__i386__)
#define KQ_STDCALL __stdcall
#else
#define KQ_STDCALL
#endif

namespace kq {

// (frame buffer, 0, context); the result is ignored.
using FrameCallback = int(KQ_STDCALL*)(std::uint8_t* frame, std::int32_t unused, void* context);
// (0 unplugged / 1 back, the caller's handle, context).
using DeviceEventCallback = void(KQ_STDCALL*)(std::int32_t event, void* handle, void* context);
// Results of automatic exposure and white balance: (value1, value2, context).
using AwbCallback = void(KQ_STDCALL*)(std::int32_t value1, std::int32_t value2, void* context);

}  // namespace kq
