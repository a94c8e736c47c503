// The model cameras' fast kernels for the x86_64 baseline (SSE2).
#include <cstddef>
#include <cstdint>

#include "model_kernels.h"

namespace kqcmos {
namespace {
#include "model_kernels_body.h"
}  // namespace

const ModelKernels& ModelKernelsSse2() {
    static constexpr ModelKernels kernels{&ContrastRgbFrameBody, &YuvRowBody};
    return kernels;
}

const ModelKernels& ModelKernelsFor(SimdLevel level) {
    return level == SimdLevel::avx2 ? ModelKernelsAvx2() : ModelKernelsSse2();
}

}  // namespace kqcmos
