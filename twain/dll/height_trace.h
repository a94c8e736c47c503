#pragma once
// The one trace line of the TWAIN device library: a height change appends
// the time and the device handle to "C:\SDK.log", section "TW_TEST".

#include <windows.h>

namespace twain::win32 {

inline constexpr const char* kTraceFile = "C:\\SDK.log";
inline constexpr const char* kTraceSection = "TW_TEST";

void AppendHeightTrace(HANDLE device);

}  // namespace twain::win32
