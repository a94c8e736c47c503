#include "focus_stack.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

std::size_t Index(int x, int y, int width) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
}

}  // namespace

void FocusStack::Reset(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    count_ = 0;
    const std::size_t pixels = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    grey_.resize(pixels);
    rowSums_.resize(pixels);
    columns_.resize(static_cast<std::size_t>(width_));
    best_.assign(pixels, 0);
    choice_.assign(pixels, 0);
}

bool FocusStack::Add(const BgrView& input) {
    if (!input.Valid() || input.width != width_ || input.height != height_ || count_ >= kMaxInputs) {
        return false;
    }
    const std::size_t pixels = grey_.size();
    const std::uint8_t* bgr = input.pixels.data();
    for (std::size_t i = 0; i < pixels; ++i) {
        grey_[i] = static_cast<std::uint8_t>((bgr[3 * i] + 2 * bgr[3 * i + 1] + bgr[3 * i + 2] + 2) >> 2);
    }

    // |Laplacian| with the border repeated, summed along each row over the
    // window (the window shrinks at the picture's sides).
    const int w = width_;
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* up = &grey_[Index(0, std::max(y - 1, 0), w)];
        const std::uint8_t* row = &grey_[Index(0, y, w)];
        const std::uint8_t* down = &grey_[Index(0, std::min(y + 1, height_ - 1), w)];
        std::uint16_t* sums = &rowSums_[Index(0, y, w)];
        // Laplacian values go through `columns_` as a row scratch.
        std::uint32_t* lap = columns_.data();
        for (int x = 0; x < w; ++x) {
            const int left = row[x > 0 ? x - 1 : 0];
            const int right = row[x + 1 < w ? x + 1 : w - 1];
            lap[x] = static_cast<std::uint32_t>(std::abs(4 * row[x] - left - right - up[x] - down[x]));
        }
        std::uint32_t window = 0;
        for (int x = 0; x < std::min(kRadius, w); ++x) {
            window += lap[x];
        }
        for (int x = 0; x < w; ++x) {
            if (x + kRadius < w) {
                window += lap[x + kRadius];
            }
            if (x - kRadius - 1 >= 0) {
                window -= lap[x - kRadius - 1];
            }
            sums[x] = static_cast<std::uint16_t>(window);
        }
    }

    // Vertical window over the row sums, compared with the best so far.
    const std::uint8_t index = static_cast<std::uint8_t>(count_);
    std::fill(columns_.begin(), columns_.end(), 0u);
    for (int y = 0; y < std::min(kRadius, height_); ++y) {
        const std::uint16_t* sums = &rowSums_[Index(0, y, w)];
        for (int x = 0; x < w; ++x) {
            columns_[x] += sums[x];
        }
    }
    for (int y = 0; y < height_; ++y) {
        if (y + kRadius < height_) {
            const std::uint16_t* add = &rowSums_[Index(0, y + kRadius, w)];
            for (int x = 0; x < w; ++x) {
                columns_[x] += add[x];
            }
        }
        if (y - kRadius - 1 >= 0) {
            const std::uint16_t* drop = &rowSums_[Index(0, y - kRadius - 1, w)];
            for (int x = 0; x < w; ++x) {
                columns_[x] -= drop[x];
            }
        }
        WeighRow(y, index);
    }
    ++count_;
    return true;
}

void FocusStack::WeighRow(int y, std::uint8_t index) {
    std::uint32_t* best = &best_[Index(0, y, width_)];
    std::uint8_t* choice = &choice_[Index(0, y, width_)];
    for (int x = 0; x < width_; ++x) {
        // The first input always takes its pixels, even a flat one.
        if (index == 0 || columns_[x] > best[x]) {
            best[x] = columns_[x];
            choice[x] = index;
        }
    }
}

bool FocusStack::Compose(std::span<const BgrView> inputs, std::span<std::uint8_t> output) const {
    const std::size_t pixels = choice_.size();
    if (count_ == 0 || inputs.size() != static_cast<std::size_t>(count_) || output.size() != pixels * 3) {
        return false;
    }
    for (const BgrView& input : inputs) {
        if (!input.Valid() || input.width != width_ || input.height != height_) {
            return false;
        }
    }
    std::uint8_t* out = output.data();
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* source = inputs[choice_[i]].pixels.data() + 3 * i;
        out[3 * i] = source[0];
        out[3 * i + 1] = source[1];
        out[3 * i + 2] = source[2];
    }
    return true;
}
