// Half-size pictures keep the sample at every even row and column.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "files/half_picture.h"

namespace kq::files {
namespace {

struct HalfCase {
    std::int32_t width, height, bytesPerPixel;
};

class HalfPicture : public ::testing::TestWithParam<HalfCase> {};

TEST_P(HalfPicture, KeepsEvenRowsAndColumns) {
    const HalfCase c = GetParam();
    std::vector<std::uint8_t> picture(static_cast<std::size_t>(c.width) * c.height * c.bytesPerPixel);
    for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<std::uint8_t>(i * 7 + i / 13);
    const HalfSize size = HalfOf(c.width, c.height);
    std::vector<std::uint8_t> half(static_cast<std::size_t>(size.width) * size.height * c.bytesPerPixel, 0xEE);
    ASSERT_TRUE(HalvePicture(picture, c.width, c.height, c.bytesPerPixel, half));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            for (int k = 0; k < c.bytesPerPixel; ++k) {
                const std::size_t from = (static_cast<std::size_t>(2 * y) * c.width + 2 * x) * c.bytesPerPixel + k;
                const std::size_t to = (static_cast<std::size_t>(y) * size.width + x) * c.bytesPerPixel + k;
                ASSERT_EQ(half[to], picture[from]) << "x " << x << " y " << y << " byte " << k;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, HalfPicture,
                         ::testing::Values(HalfCase{8, 6, 3}, HalfCase{7, 5, 3}, HalfCase{9, 4, 1}, HalfCase{2, 2, 1}));

TEST(HalfPictureLimits, RefusesBuffersTooSmallForTheirPicture) {
    std::vector<std::uint8_t> picture(4 * 4 * 3);
    std::vector<std::uint8_t> half(2 * 2 * 3);
    EXPECT_TRUE(HalvePicture(picture, 4, 4, 3, half));
    EXPECT_FALSE(HalvePicture(std::span(picture).first(picture.size() - 1), 4, 4, 3, half));
    EXPECT_FALSE(HalvePicture(picture, 4, 4, 3, std::span(half).first(half.size() - 1)));
    EXPECT_FALSE(HalvePicture(picture, 0, 4, 3, half));
}

}  // namespace
}  // namespace kq::files
