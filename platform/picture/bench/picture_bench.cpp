// Decoding pictures and making their thumbnails at camera sizes, next to two
// yardsticks: libjpeg's own plain decode of the same JPEG and a memcpy of the
// BMP's pixel bytes. The files are made once at start from a synthetic
// scene: a 2592 x 1944 JPEG of quality 90 and a 2048 x 1536 24-bit BMP.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "picture.h"
#include "plain_jpeg_decode.h"
#include "synthetic_scene.h"
#include "thumbnail.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes& JpegFile() {
    static const Bytes bytes = [] {
        CPicture scene = SyntheticScene(2592, 1944);
        scene.SetJpegQuality(90);
        Bytes out;
        scene.Encode(out, kPictureJpeg);
        return out;
    }();
    return bytes;
}

const Bytes& BmpFile() {
    static const Bytes bytes = [] {
        Bytes out;
        SyntheticScene(2048, 1536).Encode(out, kPictureBmp);
        return out;
    }();
    return bytes;
}

void Report(benchmark::State& state, const Bytes& file) {
    state.counters["file_kB"] = static_cast<double>(file.size()) / 1000.0;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}

// libjpeg with nothing around it: RGB rows into one reused buffer.
void BM_LibjpegPlainDecode(benchmark::State& state) {
    const Bytes& file = JpegFile();
    Bytes pixels(std::size_t{2592} * 1944 * 3);
    for (auto _ : state) {
        PlainJpegDecode(file, pixels);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    Report(state, file);
}

void BM_JpegDecode(benchmark::State& state) {
    const Bytes& file = JpegFile();
    for (auto _ : state) {
        CPicture picture;
        benchmark::DoNotOptimize(picture.Decode(file, kPictureJpeg));
    }
    Report(state, file);
}

void BM_JpegThumbnail(benchmark::State& state) {
    const Bytes& file = JpegFile();
    const auto boxW = static_cast<std::uint32_t>(state.range(0));
    const auto boxH = static_cast<std::uint32_t>(state.range(1));
    for (auto _ : state) {
        auto thumbnail = vz::picture::DecodeThumbnail(file, kPictureJpeg, boxW, boxH);
        benchmark::DoNotOptimize(thumbnail.picture.IsValid());
    }
    Report(state, file);
}

void BM_MemcpyBmpPixels(benchmark::State& state) {
    const Bytes& file = BmpFile();
    const std::size_t pixelBytes = CPicture::StrideFor(2048, 24) * 1536;
    Bytes out(pixelBytes);
    for (auto _ : state) {
        std::memcpy(out.data(), file.data() + (file.size() - pixelBytes), pixelBytes);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    Report(state, file);
}

void BM_BmpDecode(benchmark::State& state) {
    const Bytes& file = BmpFile();
    for (auto _ : state) {
        CPicture picture;
        benchmark::DoNotOptimize(picture.Decode(file, kPictureBmp));
    }
    Report(state, file);
}

void BM_BmpThumbnail(benchmark::State& state) {
    const Bytes& file = BmpFile();
    const auto boxW = static_cast<std::uint32_t>(state.range(0));
    const auto boxH = static_cast<std::uint32_t>(state.range(1));
    for (auto _ : state) {
        auto thumbnail = vz::picture::DecodeThumbnail(file, kPictureBmp, boxW, boxH);
        benchmark::DoNotOptimize(thumbnail.picture.IsValid());
    }
    Report(state, file);
}

BENCHMARK(BM_LibjpegPlainDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegThumbnail)->Args({140, 140})->Args({320, 400})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyBmpPixels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpThumbnail)->Args({140, 140})->Args({320, 400})->Unit(benchmark::kMillisecond);

}  // namespace
