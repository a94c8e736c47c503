#pragma once
// Focus fusion of pictures of one scene taken at different focus planes:
// each output pixel is the pixel of the input that is sharpest around it.
// Sharpness is the sum of the absolute Laplacian of the grey level over a
// (2 x kRadius + 1) square window; on a tie the earlier input wins.
//
// Inputs are added one at a time, so a caller never holds more than the
// inputs themselves and this class's scratch. Once sized by Reset for a
// picture size, Add and Compose allocate nothing.
#include <cstdint>
#include <span>
#include <vector>

#include "bgr_image.h"

class FocusStack {
public:
    static constexpr int kRadius = 4;
    static constexpr int kMaxInputs = 255;

    // Starts a fusion of pictures of width x height; forgets earlier inputs.
    void Reset(int width, int height);
    // Weighs one input (its size must be the one given to Reset); false and
    // nothing weighed for another size or beyond kMaxInputs.
    bool Add(const BgrView& input);
    // Writes the fusion of `inputs`, the pictures added in the same order,
    // into `output` (width x height x 3 bytes). False when the count or a
    // size differs from what was added.
    bool Compose(std::span<const BgrView> inputs, std::span<std::uint8_t> output) const;

    int Count() const { return count_; }
    // The input chosen for each pixel, top row first.
    std::span<const std::uint8_t> Choices() const { return choice_; }

private:
    void WeighRow(int y, std::uint8_t index);

    int width_ = 0;
    int height_ = 0;
    int count_ = 0;
    std::vector<std::uint8_t> grey_;
    std::vector<std::uint16_t> rowSums_;   // horizontal window sums of |Laplacian|
    std::vector<std::uint32_t> columns_;   // running vertical sums of rowSums_
    std::vector<std::uint32_t> best_;      // the best sharpness so far
    std::vector<std::uint8_t> choice_;     // which input gave it
};
