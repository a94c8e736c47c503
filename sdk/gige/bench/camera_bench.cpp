// The camera's per-frame step at real frame sizes: a delivered frame stored
// into the ring as the receive thread does, then the display thread's step
// (take the oldest frame, convert to 24-bit colour, call back). Reported:
// frames per second, heap allocations per frame (the step allocates none),
// and beside it a memcpy of the same raw bytes as the yardstick.
#include <benchmark/benchmark.h>

#include "counting_allocator.h"

#include <atomic>
#include <cstring>
#include <vector>

#include "discovery_records.h"
#include "models/cmos_ebrant.h"
#include "models/cmos_navelo.h"

namespace kqge {
namespace {

using Bytes = std::vector<std::uint8_t>;

class NoFile final : public AwbSettingsFile {
public:
    bool Exists() const override { return false; }
    AwbGains Read(std::u16string_view) const override { return {}; }
    bool Write(std::u16string_view, const AwbGains&) override { return false; }
};

void KQ_STDCALL Touch(std::uint8_t* pixels, FrameInfo*, void* user) { *static_cast<std::uint8_t*>(user) ^= pixels[0]; }

// A camera without adapter at its full sensor size: buffers, ring and
// conversion are all the step needs.
template <typename Camera>
void BM_CameraFrameStep(benchmark::State& state, std::string_view modelName) {
    const Bytes list = standin::DiscoveryListFor(std::vector<std::string_view>{modelName});
    const DiscoveryRecord record{std::span<const std::uint8_t>(list).first<kDiscoveryRecordBytes>()};
    NoFile file;
    Camera camera(0, nullptr, record, file);
    (void)camera.InitCamera(nullptr);
    (void)camera.SetColorMode(0);
    const FrameSize size = camera.RawSize();
    std::uint8_t sink = 0;
    camera.SetFrameCallBack(&Touch, &sink);
    Bytes frame(camera.PayloadBytes() + static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 7);
    const std::atomic<bool> stop{false};
    long shown = 0;
    testing_support::MeasureFrames(state, frame.size() * 3, [&] {
        camera.StoreFrame({frame, 55005, false});
        shown += camera.DisplayFrame(stop) ? 1 : 0;
    });
    if (shown != static_cast<long>(state.iterations())) state.SkipWithError("a frame was not shown");
    state.counters["allocs/frame"] = state.counters["allocs"].value / static_cast<double>(state.iterations());
    (void)camera.UnInitCamera();
}
void BM_CameraFrameStep2048x1536(benchmark::State& state) {
    BM_CameraFrameStep<CKQGigE_CMOSNavelo>(state, "Gige-CMOSNavelo");
}
void BM_CameraFrameStep2592x1944(benchmark::State& state) {
    BM_CameraFrameStep<CKQGigE_CMOSEbrant>(state, "Gige-CMOSEbrant");
}
BENCHMARK(BM_CameraFrameStep2048x1536)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CameraFrameStep2592x1944)->Unit(benchmark::kMillisecond);

void BM_MemcpyRawFrame(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) * static_cast<std::size_t>(state.range(1));
    Bytes from(bytes, 1), to(bytes);
    testing_support::MeasureFrames(state, bytes, [&] { std::memcpy(to.data(), from.data(), bytes); });
}
BENCHMARK(BM_MemcpyRawFrame)->Args({2048, 1536})->Args({2592, 1944})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kqge
