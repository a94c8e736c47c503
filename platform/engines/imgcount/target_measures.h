#pragma once
// Targets of a mask: its 8-connected components, numbered from 1 in the
// order of their first pixel (rows from the bottom, left to right), and the
// measures of each.
#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "count_records.h"

struct TargetLabels {
    std::vector<std::uint32_t> labels;  // per pixel, 0 outside every target
    std::uint32_t count = 0;
};

TargetLabels LabelTargets(std::span<const std::uint8_t> mask, int width, int height);

// One record per label, numbered as labelled, none excluded. `built` counts
// the records as they are finished, for a progress display on another thread.
std::vector<_tagOBJRESULT> MeasureTargets(const TargetLabels& targets, std::span<const std::uint8_t> grey, int width,
                                          int height, std::atomic<int>& built);

// Marks excluded every record with a measure outside the filter's limits;
// a disabled filter excludes none.
void ApplyFilter(std::vector<_tagOBJRESULT>& records, const _tagOBJFILTER& filter);
