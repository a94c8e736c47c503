#pragma once
// What a model's raw frames need from the shared frame pipeline: the Bayer
// kernel each flip mode runs, the phase of the microscope filters and the
// edge the quarter turns mend. A model describes its sensor here; the
// pipeline itself is one for every model.

#include <array>
#include <cstdint>

#include "auto_exposure.h"
#include "cell_kernels.h"
#include "edge_repair.h"
#include "frame_orientation.h"

namespace kq {

// What the sensor sends: one byte per pixel of a Bayer mosaic (or grey),
// YUV 4:2:2 pairs of two bytes per pixel, RGB 5-6-5 pixels of two bytes, or
// 16-bit Bayer samples of which one byte is kept.
enum class RawFormat { bayer8, yuv422, rgb565, samples16 };

// Bytes per pixel of a raw frame as the driver sends it.
constexpr int RawBytesPerPixel(RawFormat format) { return format == RawFormat::bayer8 ? 1 : 2; }

struct PixelModel {
    RawFormat rawFormat = RawFormat::bayer8;
    // The kernel (Bayer order index, 0..3) run for flip modes 0..5. The
    // base's sensors deliver the picture upright, so each flip mode runs
    // its own kernel and the quarter turns that of flip 0.
    std::array<std::uint8_t, 6> kernelForFlip{0, 1, 2, 3, 0, 0};
    // Phase of the microscope chroma clamp and Bayer filter (member 1 to 4):
    // the one whose roles fit the sensor's cell.
    int microscopePhase = 3;
    kqcmos::TurnRepair turnRepair = kqcmos::TurnRepair::firstColumn;
    // The raw frame is plain grey, not a mosaic: the grey modes orient it
    // (by the kernel order above) and take the 2 x 2 average.
    bool greyRaw = false;
    // A plain grey raw frame whose grey modes still run the grey kernels of
    // `cellDemosaic` (3:3:3:1 over each cell) rather than the 2 x 2 average.
    bool greyKernels = false;
    // The orientation (same numbering) the grey modes give a plain grey raw
    // frame for flip modes 0..5, where it differs from the colour kernels'.
    std::array<std::uint8_t, 6> greyOrderForFlip{0, 1, 2, 3, 0, 0};
    // Where red lies in the raw frame's Bayer cell, for the gain tables and
    // the one-shot white balance, and whether the measuring region counts
    // from the frame's far edges (frames that arrive turned by half).
    kqcmos::BayerCell colourCell{};
    bool regionFromFarEdges = false;
    // The model's own kernels and raw pre-filters, reading `colourCell`.
    kqcmos::CellDemosaic cellDemosaic{};
    // The kernels apply the contrast while they demosaic (the
    // contrast-demosaic camera): no contrast step before them.
    bool contrastKernels = false;
    // A white-balance request runs the exposure and sensor-gain loop on the
    // 24-bit output instead of the one-shot gain tables.
    bool exposureBalanceLoop = false;
    // The automatic exposure measures the byte mean of the raw frame (the
    // 8-bit step) instead of the Bayer luma.
    bool byteExposure = false;
    // The automatic exposure on the raw frame: its kind and its limit (lines).
    kqcmos::BayerExposureKind exposureKind = kqcmos::BayerExposureKind::base;
    int exposureLimit = kqcmos::kAutoExposureLimit;
    kqcmos::AlternateExposureThresholds alternateThresholds{};
    // Streamed colour pictures (colour mode 0) go through the HDR tone
    // table after the demosaic while HDR is on; the FPGA pictures do not.
    bool hdrToneAfterDemosaic = true;
    // samples16: the low byte of each sample instead of the high one.
    bool lowSampleByte = false;
    // The frame goes straight to the kernel of its flip mode: the colour
    // gains are the only step before it and none follows it. No automatic
    // exposure or white balance, no corrections, tables, pre-filter or
    // sharpening, no quarter turns (flips 4 and 5 convert as 0) and no crop.
    bool plainConversion = false;
    // rgb565: the picture takes the one-shot white balance with its gains
    // on every frame and the automatic exposure on its byte mean, then the
    // saturation and sharpness. Without it the picture takes the right edge
    // repair and the stripe removal, and none of the other steps.
    bool balancedPicture = false;
    // Columns and rows at the frame's edges that the sensor delivers without
    // usable samples: mirrored from inside before any step reads them.
    kqcmos::EdgeRepair edgeRepair{};
    // A single grab repairs the edges of the frame it read before its
    // corrections, as the FPGA cameras' grab does; the others' grab starts
    // at the corrections.
    bool grabRepairsEdges = false;
    // yuv422: a white-balance request first steps the sensor's red and blue
    // gains from the frame's chroma means until both are neutral, then
    // balances the gain tables once.
    bool chromaBalance = false;

    bool operator==(const PixelModel&) const = default;
};

}  // namespace kq
