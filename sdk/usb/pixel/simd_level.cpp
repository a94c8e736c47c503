#include "simd_level.h"

namespace kqcmos {

bool CpuSupports(SimdLevel level) {
    switch (level) {
    case SimdLevel::sse2: return true;
    // GCC's and Clang's check reads CPUID and the XSAVE-enabled register
    // state; the explicit init makes it valid even during static construction.
    case SimdLevel::avx2: __builtin_cpu_init(); return __builtin_cpu_supports("avx2") != 0;
    }
    return false;
}

SimdLevel BestSimdLevel() {
    static const SimdLevel best = CpuSupports(SimdLevel::avx2) ? SimdLevel::avx2 : SimdLevel::sse2;
    return best;
}

}  // namespace kqcmos
