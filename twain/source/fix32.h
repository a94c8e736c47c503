#pragma once
// TW_FIX32 conversions. Values are kept as floats, as the capability table
// keeps them; output rounds half away from zero so that negative values
// come out as exactly as positive ones (-1000 is Whole -1000, Frac 0).

#include "twain_protocol.h"

namespace twain {

TW_FIX32 ToFix32(float value);
float FromFix32(TW_FIX32 value);

// The 32 bits of a TW_FIX32 as a container item carries them.
TW_UINT32 Fix32Bits(TW_FIX32 value);
TW_FIX32 Fix32FromBits(TW_UINT32 bits);

}  // namespace twain
