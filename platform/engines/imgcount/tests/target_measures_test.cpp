#include <gtest/gtest.h>

#include <random>

#include "target_measures.h"

namespace {

// Breadth-first 8-connected components, numbered in raster order of their
// first pixel: the labelling written the obvious way.
std::vector<std::uint32_t> ReferenceLabels(const std::vector<std::uint8_t>& mask, int width, int height) {
    std::vector<std::uint32_t> labels(mask.size(), 0);
    std::uint32_t next = 0;
    for (int start = 0; start < width * height; ++start) {
        if (mask[static_cast<std::size_t>(start)] == 0 || labels[static_cast<std::size_t>(start)] != 0) {
            continue;
        }
        labels[static_cast<std::size_t>(start)] = ++next;
        std::vector<int> queue{start};
        for (std::size_t i = 0; i < queue.size(); ++i) {
            const int x = queue[i] % width;
            const int y = queue[i] / width;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    const int at = ny * width + nx;
                    if (nx >= 0 && ny >= 0 && nx < width && ny < height && mask[static_cast<std::size_t>(at)] != 0 &&
                        labels[static_cast<std::size_t>(at)] == 0) {
                        labels[static_cast<std::size_t>(at)] = next;
                        queue.push_back(at);
                    }
                }
            }
        }
    }
    return labels;
}

TEST(TargetLabels, MatchTheReferenceOnRandomMasks) {
    std::mt19937 random(21);
    struct Size {
        int width;
        int height;
    };
    for (const Size size : {Size{1, 1}, Size{2, 7}, Size{7, 2}, Size{13, 11}, Size{64, 48}, Size{641, 5}}) {
        for (const int percent : {10, 45, 60, 90}) {
            std::vector<std::uint8_t> mask(static_cast<std::size_t>(size.width) *
                                           static_cast<std::size_t>(size.height));
            for (std::uint8_t& m : mask) {
                m = static_cast<int>(random() % 100) < percent ? 255 : 0;
            }
            const TargetLabels got = LabelTargets(mask, size.width, size.height);
            const std::vector<std::uint32_t> want = ReferenceLabels(mask, size.width, size.height);
            ASSERT_EQ(got.labels, want) << size.width << "x" << size.height << " " << percent << "%";
            ASSERT_EQ(got.count, want.empty() ? 0 : *std::max_element(want.begin(), want.end()));
        }
    }
}

TEST(TargetLabels, DiagonalPixelsJoinButFourApartDoNot) {
    // Rows from the bottom: a diagonal staircase and a pixel two columns off.
    const std::vector<std::uint8_t> mask = {
        255, 0,   0,   0, 255,  //
        0,   255, 0,   0, 0,    //
        0,   0,   255, 0, 0,
    };
    const TargetLabels got = LabelTargets(mask, 5, 3);
    EXPECT_EQ(got.count, 2u);
    EXPECT_EQ(got.labels[0], 1u);
    EXPECT_EQ(got.labels[4], 2u);
    EXPECT_EQ(got.labels[12], 1u);
}

TEST(TargetFilter, ExcludesEveryMeasureOutsideItsLimits) {
    std::vector<_tagOBJRESULT> records(3);
    for (int i = 0; i < 3; ++i) {
        records[static_cast<std::size_t>(i)].area = 10.0 * (i + 1);
        records[static_cast<std::size_t>(i)].greyMean = static_cast<std::uint32_t>(50 * (i + 1));
    }
    _tagOBJFILTER filter;
    filter.upper.area = filter.upper.perimeter = filter.upper.width = filter.upper.height = 1e9;
    filter.upper.radius = filter.upper.roundness = 1e9;
    filter.upper.greyMin = filter.upper.greyMax = 255;
    filter.upper.greyMean = filter.upper.greySum = UINT32_MAX;
    filter.enabled = 1;
    filter.lower.area = 20;       // excludes the first
    filter.upper.greyMean = 100;  // excludes the third
    ApplyFilter(records, filter);
    EXPECT_EQ(records[0].excluded, 1);
    EXPECT_EQ(records[1].excluded, 0);
    EXPECT_EQ(records[2].excluded, 1);
    filter.enabled = 0;
    ApplyFilter(records, filter);
    for (const _tagOBJRESULT& r : records) {
        EXPECT_EQ(r.excluded, 0);
    }
}

}  // namespace
