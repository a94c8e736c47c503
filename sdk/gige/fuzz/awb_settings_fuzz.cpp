// KQGE.ini text of any shape: the gains read from it, the tables built from
// them, and a conversion with geometry and settings taken from the input
// must neither crash nor touch memory outside their buffers.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "awb_settings.h"
#include "image_algorithm.h"
#include "simcam/ini_text.h"

namespace {

class FixedFile final : public kqge::AwbSettingsFile {
public:
    explicit FixedFile(kqge::AwbGains gains) : gains_(gains) {}
    bool Exists() const override { return true; }
    kqge::AwbGains Read(std::u16string_view) const override { return gains_; }
    bool Write(std::u16string_view, const kqge::AwbGains&) override { return true; }

private:
    kqge::AwbGains gains_;
};

class Camera final : public kqge::ExposureControl {
public:
    std::int32_t ExposureLines() const override { return 100; }
    std::int32_t LinesToExposure(std::int32_t lines) const override { return lines; }
    void SetExposure(std::int32_t) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const auto file = kq::simcam::IniText::Parse(input);
    const kqge::AwbGains gains = kqge::ReadAwbGains(file, kqge::AwbSectionName(0x14000));
    (void)kqge::BuildAwbTables(gains);

    // The first bytes choose the frame and the settings.
    std::uint8_t pick[12] = {};
    for (std::size_t i = 0; i < sizeof pick && i < size; ++i) pick[i] = data[i];
    const kqge::FrameSize frame{1 + pick[0] % 48, 1 + pick[1] % 40};
    kqge::OutputKind kind;
    if (!kqge::ToOutputKind(pick[2] % 6, kind)) return 0;
    kqge::ImageSettings s;
    s.contrast = 1 + pick[3] % 63;
    s.saturation = 1 + pick[4] % 16;
    s.sharpness = 1 + pick[5] % 8;
    s.flipMode = pick[6] % 6;
    s.interpolationPhase = pick[7] % 6;
    s.measurementPhase = pick[8] % 6;
    s.sensorColorKind = pick[9] % 4;
    s.validBits = 8 + 2 * (pick[10] % 4);
    s.hdr = (pick[11] & 1) != 0;
    s.convert = (pick[11] & 2) != 0;
    s.monoPath = (pick[11] & 4) != 0;
    s.familyMarker = (pick[11] >> 3) % 3;

    FixedFile settingsFile(gains);
    Camera camera;
    kqge::CImageAlgorithm algorithm(camera, settingsFile, 0x14000);
    algorithm.settings().Store(s);
    algorithm.LoadAwb();
    (void)algorithm.SetDoAWB(1, (pick[11] & 0x20) != 0, nullptr, nullptr);
    algorithm.AEParam((pick[11] & 0x40) != 0, pick[11] % 3);
    std::vector<std::uint8_t> raw(kqge::RawFrameBytes(frame, kind));
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = size == 0 ? 0 : data[i % size];
    std::vector<std::uint8_t> out(kqge::OutputFrameBytes(frame, kind));
    std::vector<std::uint8_t> scratch(kqge::ScratchBytes(frame, kind));
    for (int n = 0; n < 5; ++n) {
        (void)algorithm.Convert(frame, kind, raw, out, scratch, kqge::FramePath::display);
    }
    return 0;
}
