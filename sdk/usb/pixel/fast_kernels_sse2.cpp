// The fast kernels for the x86_64 baseline (SSE2).
#include <cstddef>
#include <cstdint>

#include <emmintrin.h>

#include "fast_kernels.h"
#include "linear_gain.h"

namespace kqcmos {
namespace {
#include "fast_kernels_vectors.h"
#include "fast_kernels_body.h"
}  // namespace

const FastKernels& KernelsSse2() {
    static constexpr FastKernels kernels{&SharpenChainRowsBody,       &SaturationRowsBody, &SharpnessRowsBody,
                                         &SaturateSharpenRowsBody,    &BayerColourRowBody, &CorrectRawRowBody,
                                         &BayerColourRowExchangedBody};
    return kernels;
}

const FastKernels& KernelsFor(SimdLevel level) { return level == SimdLevel::avx2 ? KernelsAvx2() : KernelsSse2(); }

}  // namespace kqcmos
