#pragma once
// The system's video compressor dialog, for the compressor of recordings.

#include <windows.h>

#include <cstdint>

namespace kq {

// Shows the dialog titled "Video Compressor" for frames of this size and
// depth (8 or 24 bits) with `current` preselected. The chosen four-character
// code, or 0 when the user cancels.
std::int32_t ChooseCompressor(HWND parent, std::int32_t width, std::int32_t height, std::int32_t bits,
                              std::int32_t current);

}  // namespace kq
