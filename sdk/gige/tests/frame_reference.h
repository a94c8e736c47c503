// The picture a camera's pipeline makes of a raw frame at neutral settings,
// from the conversion kernels, to compare what reached a frame callback with.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "conversion.h"
#include "model_table.h"
#include "raw_contrast.h"
#include "tone_correction.h"

namespace kqge::test {

inline std::vector<std::uint8_t> Reference(const ModelTraits& t, FrameSize size, OutputKind kind,
                                           std::vector<std::uint8_t> raw) {
    ImageSettings s;
    s.sensorColorKind = t.colorKind;
    s.familyMarker = t.familyMarker;
    s.validBits = t.validBits;
    s.interpolationPhase = s.measurementPhase = t.bayerPhase == 0 ? 3 : t.bayerPhase;
    if (kind == OutputKind::wide16) ApplyContrast16(raw, kNeutralContrast);
    if (kind == OutputKind::color5) CorrectAndTone(size, s.measurementPhase, true, false, raw);
    std::vector<std::uint8_t> out(OutputFrameBytes(size, kind));
    EXPECT_TRUE(ConvertByKind(kind, size, s, raw, out));
    return out;
}

}  // namespace kqge::test
