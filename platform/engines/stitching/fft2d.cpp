#include "fft2d.h"

#include <cmath>
#include <numbers>
#include <utility>

int Fft2d::NextPowerOfTwo(int n) {
    int p = 1;
    while (p < n) {
        p *= 2;
    }
    return p;
}

void Fft2d::Tables::Make(int n) {
    if (size == n) {
        return;
    }
    size = n;
    reversed.assign(static_cast<std::size_t>(n), 0);
    int bits = 0;
    while ((1 << bits) < n) {
        ++bits;
    }
    for (int i = 0; i < n; ++i) {
        int r = 0;
        for (int b = 0; b < bits; ++b) {
            r |= ((i >> b) & 1) << (bits - 1 - b);
        }
        reversed[static_cast<std::size_t>(i)] = r;
    }
    roots.resize(static_cast<std::size_t>(n / 2));
    for (int k = 0; k < n / 2; ++k) {
        const double angle = -2.0 * std::numbers::pi * k / n;
        roots[static_cast<std::size_t>(k)] = {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
    }
}

bool Fft2d::Prepare(int width, int height) {
    if (!IsPowerOfTwo(width) || !IsPowerOfTwo(height)) {
        return false;
    }
    width_ = width;
    height_ = height;
    rows_.Make(width);
    columns_.Make(height);
    column_.resize(static_cast<std::size_t>(height));
    return true;
}

void Fft2d::Line(std::complex<float>* line, const Tables& tables, bool inverse) {
    const int n = tables.size;
    for (int i = 0; i < n; ++i) {
        const int r = tables.reversed[static_cast<std::size_t>(i)];
        if (i < r) {
            std::swap(line[i], line[r]);
        }
    }
    for (int half = 1; half < n; half *= 2) {
        const int step = n / (2 * half);
        for (int start = 0; start < n; start += 2 * half) {
            for (int k = 0; k < half; ++k) {
                std::complex<float> w = tables.roots[static_cast<std::size_t>(k * step)];
                if (inverse) {
                    w = std::conj(w);
                }
                const std::complex<float> odd = line[start + k + half] * w;
                line[start + k + half] = line[start + k] - odd;
                line[start + k] += odd;
            }
        }
    }
}

void Fft2d::Transform(std::span<std::complex<float>> data, bool inverse) {
    for (int y = 0; y < height_; ++y) {
        Line(data.data() + static_cast<std::size_t>(y) * width_, rows_, inverse);
    }
    for (int x = 0; x < width_; ++x) {
        for (int y = 0; y < height_; ++y) {
            column_[static_cast<std::size_t>(y)] = data[static_cast<std::size_t>(y) * width_ + x];
        }
        Line(column_.data(), columns_, inverse);
        for (int y = 0; y < height_; ++y) {
            data[static_cast<std::size_t>(y) * width_ + x] = column_[static_cast<std::size_t>(y)];
        }
    }
}

void Fft2d::Inverse(std::span<std::complex<float>> data) {
    Transform(data, true);
    const float scale = 1.0f / (static_cast<float>(width_) * static_cast<float>(height_));
    for (std::complex<float>& value : data) {
        value *= scale;
    }
}
