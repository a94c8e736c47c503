#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "edge_detection.h"
#include "edge_reference.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

enum class Content { noise, blocks, shading, stark };

// Random pictures of four kinds: noise, flat blocks (ties between
// neighbouring magnitudes), a slow ramp with faint grain (magnitudes of 0
// and 1, where the division of the smoothing shows) and black and white
// pixels (magnitudes up to 360 without smoothing).
Bytes RandomPicture(int width, int height, Content content, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes grey(static_cast<std::size_t>(width) * height);
    switch (content) {
    case Content::noise:
        for (auto& v : grey) v = static_cast<std::uint8_t>(rng());
        break;
    case Content::blocks: {
        for (auto& v : grey) v = 40;
        for (int block = 0; block < 12; ++block) {
            const int x0 = static_cast<int>(rng() % width);
            const int y0 = static_cast<int>(rng() % height);
            const int x1 = std::min(width, x0 + 1 + static_cast<int>(rng() % 9));
            const int y1 = std::min(height, y0 + 1 + static_cast<int>(rng() % 9));
            const auto level = static_cast<std::uint8_t>(rng());
            for (int y = y0; y < y1; ++y) {
                for (int x = x0; x < x1; ++x) grey[static_cast<std::size_t>(y) * width + x] = level;
            }
        }
        break;
    }
    case Content::stark:
        for (auto& v : grey) v = rng() % 2 ? 255 : 0;
        break;
    case Content::shading:
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                grey[static_cast<std::size_t>(y) * width + x] =
                    static_cast<std::uint8_t>((x * 3 + y * 2) % 256 + static_cast<int>(rng() % 2));
            }
        }
        break;
    }
    return grey;
}

struct Size {
    int width;
    int height;
};

TEST(DetectEdges, MatchesThePlainDetectorByteForByte) {
    const Size sizes[] = {{1, 1}, {1, 9}, {9, 1},   {2, 2},   {2, 17},  {17, 2},
                          {3, 3}, {5, 7}, {31, 19}, {64, 48}, {97, 61}, {130, 3}};
    const double sigmas[] = {0.0, 0.1, 0.4, 1.3};
    const Content contents[] = {Content::noise, Content::blocks, Content::shading, Content::stark};
    struct Thresholds {
        double lowRatio;
        double percentile;
    };
    const Thresholds thresholds[] = {{0.9, 0.76}, {0.5, 0.3}, {1.2, 0.99}};
    std::uint32_t seed = 1;
    int pictures = 0;
    int withEdges = 0;
    for (const Size size : sizes) {
        for (const double sigma : sigmas) {
            for (const Content content : contents) {
                for (const Thresholds& t : thresholds) {
                    const Bytes grey = RandomPicture(size.width, size.height, content, seed++);
                    Bytes expected(grey.size(), 7);
                    Bytes actual(grey.size(), 9);
                    ASSERT_TRUE(
                        ReferenceEdges(grey, size.width, size.height, sigma, t.lowRatio, t.percentile, expected));
                    ASSERT_TRUE(DetectEdges(grey, size.width, size.height, sigma, t.lowRatio, t.percentile, actual));
                    ASSERT_EQ(actual, expected) << size.width << "x" << size.height << " sigma " << sigma << " kind "
                                                << static_cast<int>(content) << " seed " << seed - 1;
                    ++pictures;
                    for (int y = 0; y < size.height; ++y) {
                        for (int x = 0; x < size.width; ++x) {
                            const std::uint8_t v = actual[static_cast<std::size_t>(y) * size.width + x];
                            ASSERT_TRUE(v == 0 || v == 255);
                            const bool border = x == 0 || y == 0 || x == size.width - 1 || y == size.height - 1;
                            ASSERT_FALSE(border && v == 255) << "border pixel " << x << "," << y;
                        }
                    }
                    withEdges += std::count(actual.begin(), actual.end(), 255) > 0 ? 1 : 0;
                }
            }
        }
    }
    // The comparison means something only if many pictures have edges (those
    // narrower than 3 pixels have none).
    EXPECT_GT(withEdges, pictures / 3);
}

// Rows 0 0 0 243 243 243 243 243 (thirds that are exact in doubles): the
// smoothing gives 0 0 0 81 162 243 243 243, the magnitudes 0 0 81 162 162 81
// 0 0 and columns 3 and 4 are the ridge. Six candidates of magnitude 162:
// high stops one below that bin (161), so all six are edges.
TEST(DetectEdges, AStepGivesTheTwoRidgeColumnsInTheInnerRows) {
    const int width = 8;
    const int height = 5;
    Bytes grey;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) grey.push_back(x < 4 ? 0 : 243);
    }
    Bytes expected(grey.size(), 0);
    for (int y = 1; y <= 3; ++y) {
        expected[static_cast<std::size_t>(y) * width + 3] = 255;
        expected[static_cast<std::size_t>(y) * width + 4] = 255;
    }
    Bytes edges(grey.size(), 1);
    ASSERT_TRUE(DetectEdges(grey, width, height, 0.1, 0.9, 0.76, edges));
    EXPECT_EQ(edges, expected);
}

// Levels whose two thirds are whole numbers smooth to themselves in the
// first and last row too, so nothing differs anywhere.
TEST(DetectEdges, AUniformPictureOfAMultipleOfThreeHasNoEdges) {
    for (const std::uint8_t level : {0, 129, 255}) {
        const Bytes grey(40 * 30, level);
        Bytes edges(grey.size(), 255);
        ASSERT_TRUE(DetectEdges(grey, 40, 30, 0.1, 0.9, 0.76, edges));
        EXPECT_EQ(edges, Bytes(grey.size(), 0)) << int{level};
    }
}

// The vertical pass truncates its sum before dividing by the weights: in the
// first and last row two taps give trunc(2/3 x 128) = 85, and 85 / (2/3)
// truncates to 127. Rows 1 and height - 2 then see a difference of 1, all
// candidates sit in bin 1, high is 1, and both rows (inner columns) are edges.
TEST(DetectEdges, AUniformPictureOf128GetsEdgesBesideTheFirstAndLastRow) {
    const int width = 12;
    const int height = 9;
    const Bytes grey(static_cast<std::size_t>(width) * height, 128);
    Bytes expected(grey.size(), 0);
    for (const int row : {1, height - 2}) {
        for (int x = 1; x < width - 1; ++x) expected[static_cast<std::size_t>(row) * width + x] = 255;
    }
    Bytes edges(grey.size(), 7);
    ASSERT_TRUE(DetectEdges(grey, width, height, 0.1, 0.9, 0.76, edges));
    EXPECT_EQ(edges, expected);
}

TEST(DetectEdges, RefusesBadArgumentsAndLeavesTheMapAlone) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        int width;
        int height;
        std::size_t greyBytes;
        std::size_t edgeBytes;
        double sigma;
        double lowRatio;
        double percentile;
    };
    const Case cases[] = {
        {"zero width", 0, 4, 0, 0, 0.1, 0.9, 0.76},
        {"negative height", 4, -4, 16, 16, 0.1, 0.9, 0.76},
        {"short grey", 4, 4, 15, 16, 0.1, 0.9, 0.76},
        {"long edge map", 4, 4, 16, 17, 0.1, 0.9, 0.76},
        {"NaN sigma", 4, 4, 16, 16, nan, 0.9, 0.76},
        {"negative sigma", 4, 4, 16, 16, -0.5, 0.9, 0.76},
        {"huge sigma", 4, 4, 16, 16, kMaxEdgeSigma * 2, 0.9, 0.76},
        {"infinite ratio", 4, 4, 16, 16, 0.1, inf, 0.76},
        {"NaN percentile", 4, 4, 16, 16, 0.1, 0.9, nan},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes grey(c.greyBytes, 50);
        Bytes edges(c.edgeBytes, 77);
        EXPECT_FALSE(DetectEdges(grey, c.width, c.height, c.sigma, c.lowRatio, c.percentile, edges));
        EXPECT_EQ(edges, Bytes(c.edgeBytes, 77));
    }
}

TEST(ChooseEdgeThresholds, FollowsTheRunningCountToThePercentile) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::int64_t>> bins;
        double lowRatio;
        double percentile;
        double high;
        double low;
    };
    std::vector<std::pair<int, std::int64_t>> oneEach;
    for (int bin = 1; bin <= 100; ++bin) oneEach.emplace_back(bin, 1);
    const Case cases[] = {
        // 100 candidates at 0.76: the target is 76, reached at bin 76.
        {"one per bin", oneEach, 0.9, 0.76, 76, 68},
        {"no candidates", {}, 0.9, 0.76, 1, 1},
        // The count stops one bin below the highest bin in use.
        {"one bin", {{50, 10}}, 0.9, 0.76, 49, 44},
        // trunc(7 x 0.5 + 0.5) = 4 is reached in bin 4 (1 + 2 + 1).
        {"target rounds half up", {{2, 1}, {3, 2}, {4, 1}, {9, 3}}, 0.5, 0.5, 4, 2},
        // Bin 1 alone already holds the target.
        {"first bin enough", {{1, 8}, {20, 2}}, 0.9, 0.76, 1, 1},
        {"zero percentile", {{30, 5}, {40, 5}}, 0.9, 0.0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EdgeHistogram histogram{};
        for (const auto& [bin, count] : c.bins) histogram[static_cast<std::size_t>(bin)] = count;
        const EdgeThresholds t = ChooseEdgeThresholds(histogram, c.lowRatio, c.percentile);
        EXPECT_EQ(t.high, c.high);
        EXPECT_EQ(t.low, c.low);
    }
}

}  // namespace
