// The adapter list from the adapter service: this process's id in one
// message on "\\.\pipe\KQGE_xPipe", one reply on "\\.\pipe\KQGE_xPipe_SW".
#pragma once

#include <cstdint>

#include "adapter_reply.h"

namespace kqge {

inline constexpr wchar_t kAdapterRequestPipe[] = LR"(\\.\pipe\KQGE_xPipe)";
inline constexpr wchar_t kAdapterReplyPipe[] = LR"(\\.\pipe\KQGE_xPipe_SW)";

// 23 when the reply pipe does not open (no service) or lists no adapter;
// 22 when the reply cannot be read or its count lies; else 0 and the
// records that arrived whole.
AdapterReply RequestAdapters(std::uint32_t processId);

}  // namespace kqge
