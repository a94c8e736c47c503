// The model cameras' fast kernels for CPUs with AVX2; this unit is compiled
// with -mavx2 and is reached only through ModelKernelsFor after CpuSupports.
#include <cstddef>
#include <cstdint>

#include "model_kernels.h"

namespace kqcmos {
namespace {
#include "model_kernels_body.h"
}  // namespace

const ModelKernels& ModelKernelsAvx2() {
    static constexpr ModelKernels kernels{&ContrastRgbFrameBody, &YuvRowBody};
    return kernels;
}

}  // namespace kqcmos
