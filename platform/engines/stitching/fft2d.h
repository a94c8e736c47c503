#pragma once
// A two-dimensional complex FFT over power-of-two sizes (radix 2). Prepare
// makes the tables and the column scratch for one size; the transforms then
// allocate nothing.
#include <complex>
#include <span>
#include <vector>

class Fft2d {
public:
    // width and height must be powers of two; false otherwise.
    bool Prepare(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    // In place over width x height values, row by row. The inverse is
    // scaled by 1 / (width x height), so Inverse(Forward(x)) is x.
    void Forward(std::span<std::complex<float>> data) { Transform(data, false); }
    void Inverse(std::span<std::complex<float>> data);

    static bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }
    static int NextPowerOfTwo(int n);

private:
    struct Tables {
        int size = 0;
        std::vector<int> reversed;
        std::vector<std::complex<float>> roots;  // e^{-2 pi i k / size}, k < size / 2
        void Make(int n);
    };
    void Transform(std::span<std::complex<float>> data, bool inverse);
    static void Line(std::complex<float>* line, const Tables& tables, bool inverse);

    int width_ = 0;
    int height_ = 0;
    Tables rows_;
    Tables columns_;
    std::vector<std::complex<float>> column_;
};
