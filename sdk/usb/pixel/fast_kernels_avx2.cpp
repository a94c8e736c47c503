// The fast kernels for CPUs with AVX2; this unit alone is compiled with
// -mavx2 and is reached only through KernelsFor after CpuSupports.
#include <cstddef>
#include <cstdint>

#include <immintrin.h>

#include "fast_kernels.h"
#include "linear_gain.h"

namespace kqcmos {
namespace {
#include "fast_kernels_vectors.h"
#include "fast_kernels_body.h"
}  // namespace

const FastKernels& KernelsAvx2() {
    static constexpr FastKernels kernels{&SharpenChainRowsBody,       &SaturationRowsBody, &SharpnessRowsBody,
                                         &SaturateSharpenRowsBody,    &BayerColourRowBody, &CorrectRawRowBody,
                                         &BayerColourRowExchangedBody};
    return kernels;
}

}  // namespace kqcmos
