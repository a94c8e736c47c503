#pragma once
// The edge detector written as plainly as its steps read, one whole-picture
// buffer per step: the yardstick the detector is tested and benchmarked
// against. Same contract as DetectEdges.
#include <cstdint>
#include <span>

bool ReferenceEdges(std::span<const std::uint8_t> grey, int width, int height, double sigma, double lowRatio,
                    double percentile, std::span<std::uint8_t> edges);
