#pragma once
// The system's video compressor choice, titled "Video Compressor": video
// compressors only, quality 7500 and a key frame every 15 frames, the
// current choice offered first. Modal on the caller's thread; a null owner
// gives a dialog without owner.
#include <windows.h>

#include <cstdint>
#include <optional>

// The chosen compressor's four-character code (0: uncompressed); none when
// the user cancelled.
std::optional<std::uint32_t> ChooseVideoCompressor(HWND owner, std::uint32_t current);
