// Drawing documents and the undo history at a user's scale, each beside a
// plain copy of the same bytes from the same run:
// - saving and opening a document of 1000 measurement objects of every kind
//   (without a picture, and with a 2592 x 1944 picture) beside a plain write
//   and a plain read of the document file's bytes;
// - 100 history steps that change a 2592 x 1944 picture, recorded, undone
//   and redone through the store with a counting engine as the controller
//   keeps one, beside a copy of the files those steps wrote.
// Files go to the system's temporary directory, as the history's do.
// Allocations are counted per iteration.
#include <benchmark/benchmark.h>

#include "counting_allocator.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "angle_figures.h"
#include "area_figures.h"
#include "circle_figures.h"
#include "cl_arrow.h"
#include "cl_count.h"
#include "cl_scale_bar.h"
#include "cl_text.h"
#include "drawing_model.h"
#include "history_actions.h"
#include "img_count.h"
#include "line_figures.h"
#include "unique_temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr int kObjects = 1000;
constexpr int kSteps = 100;

// Every stored kind in turn, as a user's document mixes them.
constexpr std::int32_t kTags[] = {kTagLine,        kTagAngle,        kTagAngle4Point,      kTagParallel,
                                  kTagRectangle,   kTagCircle,       kTagCircleByDiameter, kTagCircleByThreePoints,
                                  kTagEllipse,     kTagCurve,        kTagPolygon,          kTagText,
                                  kTagCountCircle, kTagCountDiamond, kTagCountRect,        kTagScaleBar,
                                  kTagArrow};

PointF At(int i, int k) {
    return PointF{static_cast<float>((i * 37 + k * 53) % kWidth), static_cast<float>((i * 29 + k * 71) % kHeight)};
}

// Points where the kind has them; the rest keeps its defaults.
void PlaceObject(CCLObject& object, int i) {
    auto fill = [&](auto& points) {
        for (std::size_t k = 0; k < points.size(); ++k) points[k] = At(i, static_cast<int>(k));
    };
    if (auto* o = dynamic_cast<CCLLine*>(&object)) fill(o->points);
    if (auto* o = dynamic_cast<CCLAngle*>(&object)) fill(o->points);
    if (auto* o = dynamic_cast<CCLAngle4Point*>(&object)) fill(o->points);
    if (auto* o = dynamic_cast<CCLParallel*>(&object)) fill(o->points);
    if (auto* o = dynamic_cast<CCLCircle*>(&object)) fill(o->points);
    if (auto* o = dynamic_cast<CCLCircle_D*>(&object)) fill(o->points);
    if (auto* o = dynamic_cast<CCLCircle_T*>(&object)) fill(o->points);
    if (auto* o = dynamic_cast<CCLRectangle*>(&object)) {
        o->corner0 = At(i, 0);
        o->corner1 = At(i, 1);
    }
    if (auto* o = dynamic_cast<CCLEllipse*>(&object)) {
        o->centre = At(i, 0);
        o->corner1 = At(i, 1);
        o->corner2 = At(i, 2);
    }
    if (auto* o = dynamic_cast<CCLPolyline*>(&object)) {
        o->points.resize(12 + static_cast<std::size_t>(i % 24));
        fill(o->points);
    }
    if (auto* o = dynamic_cast<CCLText*>(&object)) {
        o->position = At(i, 0);
        o->text = u"Cell wall, sample " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
    }
    if (auto* o = dynamic_cast<CCL_Count*>(&object)) o->centre = At(i, 0);
    if (auto* o = dynamic_cast<CCLArrow*>(&object)) {
        o->tip = At(i, 0);
        o->topLeft = At(i, 1);
    }
    if (auto* o = dynamic_cast<CCL_BiaoChi*>(&object)) {
        o->origin = At(i, 0);
        o->value = 100.0f;
        o->barUnit = u"μm";
    }
    object.label.x = At(i, 3).x;
    object.label.y = At(i, 3).y;
    object.label.text = u"#" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u" 123.45 μm";
}

void FillObjects(CDrawingModel& model, int count) {
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<CCLObject> object = CreateObjectForTag(kTags[i % std::size(kTags)]);
        model.ApplyStyle(*object);
        PlaceObject(*object, i);
        model.NumberNew(*object);
        model.Objects().push_back(std::move(object));
    }
}

// A specimen-like picture: shaded background with a fine pattern, so no
// step of the history writes runs of equal bytes.
std::unique_ptr<CPicture> MakePicture() {
    auto picture = std::make_unique<CPicture>(kWidth, kHeight, 24, kPictureBmp);
    std::span<std::uint8_t> pixels = picture->Pixels();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(i * 7 + (i >> 12));
    }
    return picture;
}

std::FILE* OpenFile(const fs::path& path, bool write) {
#ifdef _WIN32
    return _wfopen(path.c_str(), write ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::vector<std::uint8_t> bytes(fs::file_size(path));
    std::FILE* f = OpenFile(path, false);
    if (f == nullptr || std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
    return bytes;
}

void WriteAll(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::FILE* f = OpenFile(path, true);
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    if (std::fclose(f) != 0) std::abort();
}

// What a plain read does: a buffer of the file's size, filled by one read.
std::size_t PlainRead(const fs::path& path) {
    std::FILE* f = OpenFile(path, false);
    if (f == nullptr) std::abort();
    std::fseek(f, 0, SEEK_END);
    const auto size = static_cast<std::size_t>(std::ftell(f));
    std::fseek(f, 0, SEEK_SET);
    auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    if (std::fread(buffer.get(), 1, size, f) != size) std::abort();
    std::fclose(f);
    benchmark::DoNotOptimize(buffer.get());
    return size;
}

void CountAllocations(benchmark::State& state, long before) {
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(testing_support::AllocationCount() - before),
                                                  benchmark::Counter::kAvgIterations);
}

// A document of 1000 objects, with the picture when the argument is 1.
struct DocumentFixture {
    explicit DocumentFixture(bool withPicture)
        : folder(testing_support::UniqueTempPath("document_bench")), model(folder) {
        fs::create_directories(folder);
        if (withPicture) {
            model.PictureHolder() = MakePicture();
            model.pictureKind = kqmk::kKindBmp;
        }
        FillObjects(model, kObjects);
        path = folder / "document.kqmk";
        if (model.SaveDocument(path) != DocumentStatus::ok) std::abort();
    }
    ~DocumentFixture() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    fs::path folder;
    CDrawingModel model;
    fs::path path;
};

void BM_DocumentPlainWrite(benchmark::State& state) {
    DocumentFixture fixture(state.range(0) != 0);
    const std::vector<std::uint8_t> bytes = ReadAll(fixture.path);
    const fs::path plain = fixture.folder / "plain.bin";
    const long before = testing_support::AllocationCount();
    for (auto _ : state) {
        WriteAll(plain, bytes);
    }
    CountAllocations(state, before);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DocumentPlainWrite)->ArgName("picture")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DocumentSave(benchmark::State& state) {
    DocumentFixture fixture(state.range(0) != 0);
    const auto size = fs::file_size(fixture.path);
    const long before = testing_support::AllocationCount();
    for (auto _ : state) {
        if (fixture.model.SaveDocument(fixture.path) != DocumentStatus::ok) state.SkipWithError("save failed");
    }
    CountAllocations(state, before);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_DocumentSave)->ArgName("picture")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DocumentPlainRead(benchmark::State& state) {
    DocumentFixture fixture(state.range(0) != 0);
    const fs::path plain = fixture.folder / "plain.bin";
    WriteAll(plain, ReadAll(fixture.path));
    std::size_t size = 0;
    const long before = testing_support::AllocationCount();
    for (auto _ : state) {
        size = PlainRead(plain);
    }
    CountAllocations(state, before);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_DocumentPlainRead)->ArgName("picture")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Opening into a model without objects, as File > Open does for a new view;
// the objects of the run before are let go outside the timed part.
void BM_DocumentOpen(benchmark::State& state) {
    DocumentFixture fixture(state.range(0) != 0);
    const auto size = fs::file_size(fixture.path);
    CDrawingModel model(fixture.folder);
    long allocations = 0;
    for (auto _ : state) {
        const long before = testing_support::AllocationCount();
        if (model.LoadDocument(fixture.path) != DocumentStatus::ok) state.SkipWithError("open failed");
        allocations += testing_support::AllocationCount() - before;
        state.PauseTiming();
        if (model.Objects().size() != kObjects) state.SkipWithError("objects lost");
        model.Objects().clear();
        model.CounterStyles().Records().clear();
        model.PictureHolder().reset();
        state.ResumeTiming();
    }
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_DocumentOpen)->ArgName("picture")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A picture of 2592 x 1944 with 1000 objects and a counting engine over it,
// as the controller holds one; each step changes the picture a little and
// is recorded as a picture action, which saves the picture and the engine's
// state besides the objects.
struct HistoryFixture {
    HistoryFixture() : folder(testing_support::UniqueTempPath("history_bench")), model(folder) {
        model.PictureHolder() = MakePicture();
        model.pictureKind = kqmk::kKindBmp;
        FillObjects(model, kObjects);
        const CPicture& picture = *model.Picture();
        if (!counter.Initialize(picture.Pixels(), picture.GetWidth(), picture.GetHeight())) std::abort();
        counter.creatGrayImg(3);
        counter.setMarkColor(0x0000FF);
        model.History().SetCounter(&counter);
    }
    ~HistoryFixture() {
        model.History().SetCounter(nullptr);
        model.History().Clear();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    // Action of step `i`: the picture actions that reset the engine in turn.
    static int ActionOf(int i) { return kHistoryBlur + i % (kHistoryAdjustRgb - kHistoryBlur + 1); }
    void ChangePicture(int i) {
        std::span<std::uint8_t> pixels = model.PictureHolder()->Pixels();
        pixels[static_cast<std::size_t>(i) * 4099 % pixels.size()] ^= 0xFF;
    }
    void StartHistory(int number) {
        model.History().CreateFolder(number);
        model.PushStep(kHistoryLoad);
    }
    void RecordSteps() {
        for (int i = 1; i <= kSteps; ++i) {
            ChangePicture(i);
            model.PushStep(ActionOf(i));
        }
    }
    fs::path folder;
    CDrawingModel model;
    CIMGCount counter;
};

void BM_HistoryRecord100(benchmark::State& state) {
    HistoryFixture fixture;
    int number = 1;
    long allocations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fixture.StartHistory(number++);
        state.ResumeTiming();
        const long before = testing_support::AllocationCount();
        fixture.RecordSteps();
        allocations += testing_support::AllocationCount() - before;
    }
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HistoryRecord100)->Unit(benchmark::kMillisecond)->Iterations(2);

// Undo 100 times one step back, then redo 100 times one step forward, as
// Ctrl+Z and Ctrl+Y do.
void BM_HistoryUndoRedo100(benchmark::State& state) {
    HistoryFixture fixture;
    fixture.StartHistory(1);
    fixture.RecordSteps();
    long allocations = 0;
    const bool redo = state.range(0) != 0;
    if (redo && !fixture.model.RestoreStep(0)) state.SkipWithError("restore failed");
    for (auto _ : state) {
        const long before = testing_support::AllocationCount();
        for (int i = 0; i < kSteps; ++i) {
            const int target = fixture.model.History().Current() + (redo ? 1 : -1);
            if (!fixture.model.RestoreStep(target)) state.SkipWithError("restore failed");
        }
        allocations += testing_support::AllocationCount() - before;
        state.PauseTiming();
        // Back to where the other direction starts.
        if (!fixture.model.RestoreStep(redo ? 0 : kSteps)) state.SkipWithError("restore failed");
        state.ResumeTiming();
    }
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HistoryUndoRedo100)->ArgName("redo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

// The yardstick: the files the 100 steps wrote, copied with plain reads and
// writes into fresh folders, one for each step, as a copy of the history's
// folder makes them.
void BM_HistoryCopyFiles100(benchmark::State& state) {
    HistoryFixture fixture;
    fixture.StartHistory(1);
    fixture.RecordSteps();
    std::vector<std::vector<fs::path>> steps;
    std::uint64_t bytes = 0;
    std::size_t files = 0;
    for (int i = 1; i <= kSteps; ++i) {
        steps.emplace_back();
        for (const auto& entry : fs::directory_iterator(fixture.model.History().StepFolder(i))) {
            steps.back().push_back(entry.path());
            bytes += entry.file_size();
            ++files;
        }
    }
    const fs::path copies = fixture.folder / "copies";
    std::vector<std::uint8_t> buffer;
    for (auto _ : state) {
        state.PauseTiming();
        std::error_code ignored;
        fs::remove_all(copies, ignored);
        state.ResumeTiming();
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const fs::path folder = copies / std::to_string(i + 1);
            fs::create_directories(folder);
            for (const fs::path& file : steps[i]) {
                std::FILE* in = OpenFile(file, false);
                if (in == nullptr) std::abort();
                buffer.resize(fs::file_size(file));
                if (std::fread(buffer.data(), 1, buffer.size(), in) != buffer.size()) std::abort();
                std::fclose(in);
                WriteAll(folder / file.filename(), buffer);
            }
        }
    }
    state.counters["files"] = static_cast<double>(files);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_HistoryCopyFiles100)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
