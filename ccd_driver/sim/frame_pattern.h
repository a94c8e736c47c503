// Deterministic frame contents for the simulated camera.
//
// The frame pattern: bytes 0..3 carry the frame number, every other byte
// depends on the frame number and its offset, so a misplaced chunk, a stale
// chunk or a torn frame is visible. The Bayer test picture: what a colour
// sensor sees of a smooth scene, for tests of the pixel path. The moving
// scene (scene_picture.h): a test card for viewers.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kqff::sim {

enum class Picture : std::uint8_t { Pattern, Bayer, Scene, Yuv };

// Writes the bytes [offset, offset + out.size()) of frame frameNumber.
void FillFramePattern(std::uint32_t frameNumber, std::uint32_t offset, std::span<std::uint8_t> out);

// The frame number when every byte of frame matches that frame's pattern.
std::optional<std::uint32_t> CheckFramePattern(std::span<const std::uint8_t> frame);

// Writes the bytes [offset, offset + out.size()) of frame frameNumber (from 1)
// of the Bayer test picture with rows of rowBytes: each of the four 2 x 2
// phases has its own base level (160, 96 / 88, 32), plus a small ramp that
// moves on by one with each frame and is 0 in frame 1.
void FillBayerPicture(std::uint32_t frameNumber, std::uint32_t rowBytes, std::uint32_t offset,
                      std::span<std::uint8_t> out);

// Writes the bytes [offset, offset + out.size()) of frame frameNumber (from 1)
// of the YUV 4:2:2 test picture with rows of rowBytes (two bytes a pixel,
// each pixel pair Y0, red difference, Y1, blue difference): a warm tone,
// red difference 160 and blue difference 100, over a luma ramp across the
// row that moves on by one with each frame.
void FillYuvPicture(std::uint32_t frameNumber, std::uint32_t rowBytes, std::uint32_t offset,
                    std::span<std::uint8_t> out);

}  // namespace kqff::sim
