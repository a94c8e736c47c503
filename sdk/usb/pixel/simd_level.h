// The instruction sets the fast pixel kernels are built for. SSE2 is the
// x86_64 baseline; AVX2 code runs only on a CPU that reports it, chosen once
// at run time.
#pragma once

namespace kqcmos {

enum class SimdLevel { sse2, avx2 };

// True when this CPU (and the operating system's register saving) runs `level`.
bool CpuSupports(SimdLevel level);

// The widest level this CPU supports; detected once.
SimdLevel BestSimdLevel();

}  // namespace kqcmos
